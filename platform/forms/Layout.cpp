#include "forms/Layout.h"
#include <QFile>
#include <QRegularExpression>

namespace vcl {

namespace {

QString where(const QString& source, int line)
{
    return QStringLiteral("%1:%2").arg(source).arg(line);
}

bool isIdentifier(const QString& s)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]*$"));
    return re.match(s).hasMatch();
}

} // namespace

Layout parseLayout(const QString& text, const QString& source)
{
    Layout layout;
    layout.source = source;
    LayoutObject* current = nullptr;
    bool haveForm = false;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString raw = lines[i];
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const bool indented = raw.front().isSpace();
        if (!indented) {
            const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
            if (words.value(0) == QLatin1String("form")) {
                if (haveForm)
                    throw LayoutError(QStringLiteral("%1: a second form in one layout").arg(where(source, lineNo)));
                if (words.size() != 3 || !isIdentifier(words[1]) || !isIdentifier(words[2]))
                    throw LayoutError(QStringLiteral("%1: expected \"form <Class> <Name>\"").arg(where(source, lineNo)));
                haveForm = true;
                layout.form = {words[1], words[2], {}, lineNo, {}};
                current = &layout.form;
                continue;
            }
            if (words.value(0) == QLatin1String("control")) {
                if (!haveForm)
                    throw LayoutError(QStringLiteral("%1: a control before the form").arg(where(source, lineNo)));
                const bool nested = words.size() == 5 && words[3] == QLatin1String("in");
                if ((words.size() != 3 && !nested) || !isIdentifier(words[1]) || !isIdentifier(words[2])
                    || (nested && !isIdentifier(words[4])))
                    throw LayoutError(QStringLiteral("%1: expected \"control <Class> <Name> [in <Parent>]\"")
                                          .arg(where(source, lineNo)));
                for (const auto& c : layout.controls)
                    if (c.name == words[2])
                        throw LayoutError(QStringLiteral("%1: control %2 is declared twice").arg(where(source, lineNo), words[2]));
                layout.controls.push_back({words[1], words[2], nested ? words[4] : QString(), lineNo, {}});
                current = &layout.controls.back();
                continue;
            }
            throw LayoutError(QStringLiteral("%1: expected \"form\" or \"control\", found \"%2\"").arg(where(source, lineNo), line));
        }
        if (!current)
            throw LayoutError(QStringLiteral("%1: a setting outside any form or control").arg(where(source, lineNo)));
        LayoutEntry e;
        e.line = lineNo;
        const qsizetype arrow = line.indexOf(QLatin1String("->"));
        const qsizetype eq = line.indexOf(u'=');
        if (arrow > 0 && (eq < 0 || arrow < eq)) {
            e.kind = LayoutEntry::Kind::Link;
            e.key = line.left(arrow).trimmed();
            e.value = line.mid(arrow + 2).trimmed();
            if (!isIdentifier(e.value))
                throw LayoutError(QStringLiteral("%1: a link needs a control name").arg(where(source, lineNo)));
        } else if (eq > 0) {
            e.key = line.left(eq).trimmed();
            e.value = line.mid(eq + 1).trimmed();
            e.kind = e.key.startsWith(QLatin1String("On")) && e.key.size() > 2 && e.key[2].isUpper()
                ? LayoutEntry::Kind::Event
                : LayoutEntry::Kind::Property;
            if (e.kind == LayoutEntry::Kind::Event && !isIdentifier(e.value))
                throw LayoutError(QStringLiteral("%1: an event needs a handler name").arg(where(source, lineNo)));
        } else {
            throw LayoutError(QStringLiteral("%1: expected \"Key = value\" or \"Key -> Control\"").arg(where(source, lineNo)));
        }
        if (!isIdentifier(e.key))
            throw LayoutError(QStringLiteral("%1: \"%2\" is not a property name").arg(where(source, lineNo), e.key));
        current->entries.push_back(e);
    }
    if (!haveForm)
        throw LayoutError(QStringLiteral("%1: no form in the layout").arg(source));
    for (const auto& c : layout.controls) {
        if (c.parentName.isEmpty())
            continue;
        bool earlier = false;
        for (const auto& o : layout.controls) {
            if (&o == &c)
                break;
            earlier = earlier || o.name == c.parentName;
        }
        if (!earlier)
            throw LayoutError(QStringLiteral("%1: parent %2 of %3 must be declared before it")
                                  .arg(where(source, c.line), c.parentName, c.name));
    }
    return layout;
}

Layout loadLayout(const QString& resourcePath)
{
    QFile f(resourcePath);
    if (!f.open(QIODevice::ReadOnly))
        throw LayoutError(QStringLiteral("The window layout %1 could not be found").arg(resourcePath));
    return parseLayout(QString::fromUtf8(f.readAll()), resourcePath);
}

} // namespace vcl
