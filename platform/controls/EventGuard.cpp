#include "controls/EventGuard.h"
#include "forms/Exceptions.h"
#include <QtGlobal>

namespace vcl {

namespace {
ErrorReporter& reporter()
{
    static ErrorReporter r;
    return r;
}
} // namespace

ErrorReporter setErrorReporter(ErrorReporter r)
{
    return std::exchange(reporter(), std::move(r));
}

bool runGuarded(const std::function<void()>& fn)
{
    try {
        fn();
        return true;
    } catch (const EAbort&) {
        return false;
    } catch (const std::exception& e) {
        if (reporter())
            reporter()(e);
        else
            qWarning("unhandled error: %s", e.what());
        return false;
    }
}

} // namespace vcl
