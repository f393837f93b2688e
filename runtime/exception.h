#pragma once

#include <exception>
#include <string>

namespace nitko {

// Base of every error the system raises; carries the message shown to the user.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A text that does not convert to a number.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A list index outside 0..count-1.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

// A value outside the range a container or a control can hold.
class ERangeError : public Exception {
 public:
  using Exception::Exception;
};

// Silent exception: ends an operation without a message.
class EAbort : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SListIndexError = "List index out of bounds (%d)";

[[noreturn]] void RaiseListError(long long index);

// Raises the list error unless 0 <= index < count.
inline void CheckListIndex(long long index, long long count) {
  if (index < 0 || index >= count) RaiseListError(index);
}

}  // namespace nitko
