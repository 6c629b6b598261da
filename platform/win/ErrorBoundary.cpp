#include "platform/win/ErrorBoundary.h"

#include <cstdio>
#include <utility>

namespace {
TExceptionHandler& Handler() {
  static TExceptionHandler handler;
  return handler;
}
}  // namespace

void SetExceptionHandler(TExceptionHandler handler) { Handler() = std::move(handler); }

void ReportException(std::exception_ptr error) {
  if (Handler()) {
    Handler()(error);
    return;
  }
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    fprintf(stderr, "markedit: %s\n", e.what());
  } catch (...) {
    fprintf(stderr, "markedit: unknown error\n");
  }
}
