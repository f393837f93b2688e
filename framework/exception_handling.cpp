#include "framework/exception_handling.h"

#include <cstdio>
#include <utility>

#include "runtime/exception.h"

namespace nitko {

namespace {

TExceptionHandler& Handler() {
  static TExceptionHandler handler;
  return handler;
}

}  // namespace

void SetEventExceptionHandler(TExceptionHandler handler) { Handler() = std::move(handler); }

void HandleEventException(std::exception_ptr error) {
  if (Handler()) {
    try {
      Handler()(error);
      return;
    } catch (...) {
      // The display itself failed: fall through to stderr.
    }
  }
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Exception: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "Exception of unknown type\n");
  }
}

}  // namespace nitko
