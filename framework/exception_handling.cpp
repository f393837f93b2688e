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

TCaughtException DescribeException(std::exception_ptr error) {
  TCaughtException caught;
  if (!error) {
    caught.silent = true;
    return caught;
  }
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
    caught.silent = true;
  } catch (const std::exception& e) {  // an Exception's what() is its message
    caught.known = true;
    caught.message = e.what();
  } catch (...) {
  }
  return caught;
}

void WriteExceptionToStderr(std::exception_ptr error, const char* prefix,
                            const char* unknown_text) {
  const TCaughtException caught = DescribeException(error);
  if (caught.silent) return;
  if (caught.known)
    std::fprintf(stderr, "%s: %s\n", prefix, caught.message.c_str());
  else
    std::fprintf(stderr, "%s\n", unknown_text);
}

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
  WriteExceptionToStderr(error, "Exception", "Exception of unknown type");
}

}  // namespace nitko
