#include "FontMapping.h"
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QMutex>

namespace kelpora::mf {

namespace {

QString firstInstalled(std::initializer_list<const char*> names)
{
    const QStringList families = QFontDatabase::families();
    for (const char* n : names) {
        QString name = QString::fromLatin1(n);
        if (families.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return QString::fromLatin1(*(names.end() - 1));
}

QString sans() { static const QString s = firstInstalled({"Liberation Sans", "Arimo", "DejaVu Sans"}); return s; }
QString serif() { static const QString s = firstInstalled({"Liberation Serif", "Tinos", "DejaVu Serif"}); return s; }
QString mono() { static const QString s = firstInstalled({"Liberation Mono", "Cousine", "DejaVu Sans Mono"}); return s; }

} // namespace

QString familyForFace(const QString& face, int pitchAndFamily)
{
    static QMutex mutex;
    static QHash<QString, QString> cache;
    const QString key = face.toLower() + QChar(u'#') + QString::number(pitchAndFamily & 0xF3);
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;

    const QString f = face.trimmed().toLower();
    QString result;
    static const char* const sansFaces[] = {"arial", "helvetica", "ms sans serif", "microsoft sans serif", "tahoma",
                                            "verdana", "calibri", "segoe ui", "system", "ms shell dlg",
                                            "ms shell dlg 2", "arial narrow", "trebuchet ms", "univers",
                                            "swiss", "small fonts", "arial unicode ms", "lucida sans unicode"};
    static const char* const serifFaces[] = {"times new roman", "times", "ms serif", "georgia", "cambria",
                                             "garamond", "book antiqua", "century schoolbook", "roman", "tms rmn",
                                             "palatino linotype", "bookman old style"};
    static const char* const monoFaces[] = {"courier new", "courier", "consolas", "lucida console", "fixedsys",
                                            "terminal", "modern", "andale mono"};
    auto in = [&](const auto& list) {
        for (const char* n : list)
            if (f == QLatin1String(n))
                return true;
        return false;
    };
    if (in(sansFaces))
        result = sans();
    else if (in(serifFaces))
        result = serif();
    else if (in(monoFaces))
        result = mono();
    else if (f == u"symbol" || f.startsWith(u"wingdings") || f == u"webdings" || f == u"marlett")
        result = sans(); // the broadest symbol coverage among the families kept installed
    else if (!f.isEmpty() && QFontDatabase::families().contains(face.trimmed(), Qt::CaseInsensitive))
        result = face.trimmed();
    else {
        int family = pitchAndFamily & 0xF0;
        if (family == 0x10)
            result = serif();
        else if (family == 0x30 || (pitchAndFamily & 3) == 1)
            result = mono();
        else
            result = sans();
    }
    cache.insert(key, result);
    return result;
}

double emPerCellFor(const QString& family)
{
    static QMutex mutex;
    static QHash<QString, double> cache;
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(family);
    if (it != cache.constEnd())
        return *it;
    QFont font(family);
    font.setPixelSize(100);
    QFontMetricsF fm(font);
    double cell = fm.ascent() + fm.descent();
    double ratio = cell > 1 ? 100.0 / cell : 0.85;
    cache.insert(family, ratio);
    return ratio;
}

QString mapSymbolText(const QString& text)
{
    // Greek letters of the Symbol encoding, 'A'..'Z' and 'a'..'z'.
    static const char16_t upper[26] = {u'Α', u'Β', u'Χ', u'Δ', u'Ε', u'Φ', u'Γ', u'Η', u'Ι', u'ϑ', u'Κ', u'Λ', u'Μ',
                                       u'Ν', u'Ο', u'Π', u'Θ', u'Ρ', u'Σ', u'Τ', u'Υ', u'ς', u'Ω', u'Ξ', u'Ψ', u'Ζ'};
    static const char16_t lower[26] = {u'α', u'β', u'χ', u'δ', u'ε', u'φ', u'γ', u'η', u'ι', u'ϕ', u'κ', u'λ', u'μ',
                                       u'ν', u'ο', u'π', u'θ', u'ρ', u'σ', u'τ', u'υ', u'ϖ', u'ω', u'ξ', u'ψ', u'ζ'};
    QString out = text;
    for (QChar& c : out) {
        char16_t u = c.unicode();
        if (u >= 0xF020 && u <= 0xF0FF)
            u = char16_t(u - 0xF000);
        if (u >= 'A' && u <= 'Z')
            u = upper[u - 'A'];
        else if (u >= 'a' && u <= 'z')
            u = lower[u - 'a'];
        else if (u == 0xB7)
            u = 0x2022;
        else if (u == 0xD6)
            u = 0x221A;
        else if (u == 0xA5)
            u = 0x221E;
        c = QChar(u);
    }
    return out;
}

} // namespace kelpora::mf
