#pragma once
// Every handler of the program runs inside this guard: an exception that
// escapes it stops the handler, never crosses into the toolkit's event
// dispatch, and is reported by the application (a message box).
#include <exception>
#include <functional>

namespace vcl {

using ErrorReporter = std::function<void(const std::exception&)>;

// Installs the reporter (the application sets its message box here) and
// returns the previous one. Without one, errors are written to the log.
ErrorReporter setErrorReporter(ErrorReporter reporter);

// Runs fn; returns true when it finished, false when it raised. EAbort is
// swallowed silently, anything else goes to the reporter.
bool runGuarded(const std::function<void()>& fn);

} // namespace vcl
