#pragma once
// The common face of every control a stored layout can create: a name, a
// place, a tab position, and the three hooks through which the layout reader
// gives it its settings, its links to other controls and its event handlers.
#include <QChar>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <variant>

class QWidget;
class QObject;

namespace vcl {

using TObject = QObject;
using TNotifyEvent = std::function<void(TObject* Sender)>;
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;
using EventHandler = std::variant<TNotifyEvent, TKeyPressEvent>;

// Outcome of handing one layout entry to a control.
enum class Accept { Yes, UnknownKey, BadValue };

class TControl {
public:
    explicit TControl(QWidget* self) : m_self(self) {}
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    QWidget* widget() const { return m_self; }

    QString Name;
    int TabOrder = -1;   // -1: not in the tab chain
    bool TabStop = true;

    // Bounds as stored (96 dpi pixels, relative to the parent's client area).
    QRect StoredBounds;

    // A "Key = value" setting. The base understands nothing; classes answer
    // for their own keys and pass the rest to their base class.
    virtual Accept setLayoutProperty(const QString& key, const QString& value);
    // A "Key -> Control" link, wired after every control of the window exists.
    virtual Accept setLayoutLink(const QString& key, TControl* target);
    // An "OnEvent = Handler" binding. Returns BadValue when the handler's
    // signature does not fit the event.
    virtual Accept bindEvent(const QString& event, const EventHandler& handler);
    // Called once every property of this control has been read.
    virtual void layoutLoaded() {}

    // Layout value helpers shared by the control classes.
    static bool parseBool(const QString& v, bool* ok);
    static int parseInt(const QString& v, bool* ok);
    // A quoted string: "text", with "" standing for one quote inside.
    static QString parseString(const QString& v, bool* ok);

private:
    QWidget* m_self;
};

// Layout values handed to a setter once they parse: a quoted string, true or
// false, or an integer within [lo, hi].
template <class Set>
Accept takeString(const QString& value, Set&& set)
{
    bool ok = false;
    const QString v = TControl::parseString(value, &ok);
    if (!ok)
        return Accept::BadValue;
    set(v);
    return Accept::Yes;
}
template <class Set>
Accept takeBool(const QString& value, Set&& set)
{
    bool ok = false;
    const bool v = TControl::parseBool(value, &ok);
    if (!ok)
        return Accept::BadValue;
    set(v);
    return Accept::Yes;
}
template <class Set>
Accept takeInt(const QString& value, int lo, int hi, Set&& set)
{
    bool ok = false;
    const int v = TControl::parseInt(value, &ok);
    if (!ok || v < lo || v > hi)
        return Accept::BadValue;
    set(v);
    return Accept::Yes;
}

// Wires a link to a control of class T through set(), or refuses a control
// of another class.
template <class T, class Set>
Accept linkTo(TControl* target, Set&& set)
{
    T* t = dynamic_cast<T*>(target);
    if (!t)
        return Accept::BadValue;
    set(t);
    return Accept::Yes;
}

// Connects a notify event from the layout to a handler slot.
Accept bindNotify(const EventHandler& handler, TNotifyEvent& slot);
Accept bindKeyPress(const EventHandler& handler, TKeyPressEvent& slot);

} // namespace vcl
