#pragma once

#include <exception>
#include <functional>
#include <string>

namespace nitko {

// What a caught exception gives to whoever reports it: every report in the
// framework reads exceptions through this one translation.
struct TCaughtException {
  bool silent = false;  // EAbort (or nothing thrown): ends an operation without a message
  bool known = false;   // an Exception or a std::exception: message holds its text
  std::string message;
};
TCaughtException DescribeException(std::exception_ptr error);

// For an exception nothing displays: writes "<prefix>: <message>" to stderr,
// or unknown_text for a thrown object without a message; EAbort stays silent.
void WriteExceptionToStderr(std::exception_ptr error, const char* prefix, const char* unknown_text);

// Where an exception goes that escapes an event handler: the application
// object installs its display; until then it is written to stderr.
using TExceptionHandler = std::function<void(std::exception_ptr)>;
void SetEventExceptionHandler(TExceptionHandler handler);
void HandleEventException(std::exception_ptr error);

// Runs an event dispatch so that nothing it throws unwinds through Qt.
template <typename F>
void Guarded(F&& dispatch) {
  try {
    dispatch();
  } catch (...) {
    HandleEventException(std::current_exception());
  }
}

}  // namespace nitko
