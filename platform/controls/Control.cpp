#include "controls/Control.h"

namespace vcl {

Accept TControl::setLayoutProperty(const QString&, const QString&) { return Accept::UnknownKey; }
Accept TControl::setLayoutLink(const QString&, TControl*) { return Accept::UnknownKey; }
Accept TControl::bindEvent(const QString&, const EventHandler&) { return Accept::UnknownKey; }

bool TControl::parseBool(const QString& v, bool* ok)
{
    *ok = (v == QLatin1String("true") || v == QLatin1String("false"));
    return v == QLatin1String("true");
}

int TControl::parseInt(const QString& v, bool* ok) { return v.trimmed().toInt(ok); }

QString TControl::parseString(const QString& v, bool* ok)
{
    *ok = v.size() >= 2 && v.front() == u'"' && v.back() == u'"';
    if (!*ok)
        return {};
    QString inner = v.mid(1, v.size() - 2);
    inner.replace(QLatin1String("\"\""), QLatin1String("\""));
    return inner;
}

Accept bindNotify(const EventHandler& handler, TNotifyEvent& slot)
{
    if (auto* fn = std::get_if<TNotifyEvent>(&handler)) {
        slot = *fn;
        return Accept::Yes;
    }
    return Accept::BadValue;
}

Accept bindKeyPress(const EventHandler& handler, TKeyPressEvent& slot)
{
    if (auto* fn = std::get_if<TKeyPressEvent>(&handler)) {
        slot = *fn;
        return Accept::Yes;
    }
    return Accept::BadValue;
}

} // namespace vcl
