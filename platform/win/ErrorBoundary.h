#pragma once
// The one error boundary. An exception must never cross into Qt: code that Qt calls (input
// events, posted messages, window procedures, widget signals, deferred clicks) runs inside
// Guarded, which hands whatever it raises to the installed error display. The application
// installs its own (a message box); without one the message goes to standard error.

#include <exception>
#include <functional>

using TExceptionHandler = std::function<void(std::exception_ptr)>;

// Installs the error display; null restores the fallback. The window layer does not know the
// application, so the application registers itself here.
void SetExceptionHandler(TExceptionHandler handler);

// Hands an exception that has been caught to the installed error display.
void ReportException(std::exception_ptr error);

// Runs `code`; an exception it raises is reported and goes no further. True when `code` ran to
// its end, false when it raised.
template <class F>
bool Guarded(F&& code) {
  try {
    code();
    return true;
  } catch (...) {
    ReportException(std::current_exception());
    return false;
  }
}
