#include "controls/StdControls.h"
#include "controls/EventGuard.h"
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

namespace vcl {

// ---- TEdit ---------------------------------------------------------------

TEdit::TEdit(QWidget* parent) : QLineEdit(parent), TControl(this) {}

Accept TEdit::setLayoutProperty(const QString& key, const QString& value)
{
    bool ok = false;
    if (key == QLatin1String("Text")) {
        QString t = parseString(value, &ok);
        if (!ok)
            return Accept::BadValue;
        setText(t);
        setCursorPosition(0);   // a line longer than the box shows its start
        return Accept::Yes;
    }
    return TControl::setLayoutProperty(key, value);
}

Accept TEdit::bindEvent(const QString& event, const EventHandler& handler)
{
    if (event == QLatin1String("OnKeyPress"))
        return bindKeyPress(handler, OnKeyPress);
    return TControl::bindEvent(event, handler);
}

namespace {
// The character a key press delivers to an edit line, or 0 for keys that
// deliver none (arrows, Delete, function keys, Tab).
QChar characterOf(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Escape:
        return QChar(27);
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QChar(0);
    default:
        break;
    }
    if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return QChar(e->key() - Qt::Key_A + 1);
    const QString t = e->text();
    if (t.size() == 1 && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return t.front();
    return QChar(0);
}
} // namespace

void TEdit::keyPressEvent(QKeyEvent* e)
{
    const QChar ch = characterOf(e);
    if (ch.isNull() || !OnKeyPress) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    QChar key = ch;
    const bool finished = runGuarded([&] { OnKeyPress(this, key); });
    // A handler that raised has consumed the key as well.
    if (!finished || key.isNull()) {
        e->accept();
        return;
    }
    if (key == ch) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    // The handler changed the character: deliver the new one instead.
    QKeyEvent replaced(e->type(), 0, Qt::NoModifier, QString(key));
    QLineEdit::keyPressEvent(&replaced);
}

void TEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    // Entering the line by tab or at activation selects all of its text.
    if (e->reason() != Qt::MouseFocusReason)
        selectAll();
}

// ---- TCheckBox -----------------------------------------------------------

TCheckBox::TCheckBox(QWidget* parent) : QCheckBox(parent), TControl(this)
{
    connect(this, &QCheckBox::clicked, this, [this] {
        if (OnClick)
            runGuarded([this] { OnClick(this); });
    });
}

Accept TCheckBox::setLayoutProperty(const QString& key, const QString& value)
{
    bool ok = false;
    if (key == QLatin1String("Caption")) {
        QString t = parseString(value, &ok);
        if (!ok)
            return Accept::BadValue;
        setText(t);
        return Accept::Yes;
    }
    if (key == QLatin1String("Checked")) {
        bool b = parseBool(value, &ok);
        if (!ok)
            return Accept::BadValue;
        setChecked(b);
        return Accept::Yes;
    }
    return TControl::setLayoutProperty(key, value);
}

Accept TCheckBox::bindEvent(const QString& event, const EventHandler& handler)
{
    if (event == QLatin1String("OnClick"))
        return bindNotify(handler, OnClick);
    return TControl::bindEvent(event, handler);
}

// ---- TBitBtn -------------------------------------------------------------

TBitBtn::TBitBtn(QWidget* parent) : QPushButton(parent), TControl(this)
{
    setAutoDefault(false);
    setDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (OnClick)
            runGuarded([this] { OnClick(this); });
    });
}

Accept TBitBtn::setLayoutProperty(const QString& key, const QString& value)
{
    bool ok = false;
    if (key == QLatin1String("Caption")) {
        QString t = parseString(value, &ok);
        if (!ok)
            return Accept::BadValue;
        setText(t); // QAbstractButton installs the Alt+letter shortcut from "&"
        m_accel = QChar();
        for (qsizetype i = 0; i + 1 < t.size(); ++i) {
            if (t[i] == u'&') {
                if (t[i + 1] != u'&') {
                    m_accel = t[i + 1].toUpper();
                    break;
                }
                ++i;
            }
        }
        return Accept::Yes;
    }
    return TControl::setLayoutProperty(key, value);
}

Accept TBitBtn::bindEvent(const QString& event, const EventHandler& handler)
{
    if (event == QLatin1String("OnClick"))
        return bindNotify(handler, OnClick);
    return TControl::bindEvent(event, handler);
}

void TBitBtn::keyPressEvent(QKeyEvent* e)
{
    // Enter presses a focused button as Space does.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && e->modifiers() == Qt::NoModifier) {
        animateClick();
        return;
    }
    QPushButton::keyPressEvent(e);
}

// ---- TPanel --------------------------------------------------------------

TPanel::TPanel(QWidget* parent) : QWidget(parent), TControl(this)
{
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
}

Accept TPanel::setLayoutProperty(const QString& key, const QString& value)
{
    if (key == QLatin1String("BevelInner")) {
        if (value != QLatin1String("bvLowered") && value != QLatin1String("bvRaised") && value != QLatin1String("bvNone"))
            return Accept::BadValue;
        m_innerLowered = value == QLatin1String("bvLowered");
        return Accept::Yes;
    }
    if (key == QLatin1String("BevelOuter")) {
        if (value != QLatin1String("bvRaised") && value != QLatin1String("bvLowered"))
            return Accept::BadValue;
        m_outerRaised = value == QLatin1String("bvRaised");
        return Accept::Yes;
    }
    if (key == QLatin1String("BevelWidth")) {
        bool ok = false;
        int w = parseInt(value, &ok);
        if (!ok || w < 1 || w > 16)
            return Accept::BadValue;
        m_bevelWidth = w;
        return Accept::Yes;
    }
    return TControl::setLayoutProperty(key, value);
}

QRect TPanel::clientArea() const
{
    const int b = 2 * m_bevelWidth;
    return QRect(b, b, width() - 2 * b, height() - 2 * b);
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Button));
    const QColor light = pal.color(QPalette::Light);
    const QColor dark = pal.color(QPalette::Dark);
    // One bevel: top and left lines in one colour, bottom and right in the other.
    auto bevel = [&](QRect r, bool raised) {
        const QColor tl = raised ? light : dark;
        const QColor br = raised ? dark : light;
        for (int i = 0; i < m_bevelWidth; ++i) {
            p.setPen(tl);
            p.drawLine(r.left(), r.top(), r.right(), r.top());
            p.drawLine(r.left(), r.top(), r.left(), r.bottom());
            p.setPen(br);
            p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
            p.drawLine(r.right(), r.top(), r.right(), r.bottom());
            r.adjust(1, 1, -1, -1);
        }
        return r;
    };
    QRect r = bevel(rect(), m_outerRaised);
    bevel(r, !m_innerLowered);
}

} // namespace vcl
