#pragma once

#include <exception>
#include <functional>

namespace nitko {

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
