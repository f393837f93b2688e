#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace nitko {

// One argument of a message pattern: %s takes text, %d and %i take integers.
class FormatArg {
 public:
  FormatArg(long long v) : value_(v) {}
  FormatArg(int v) : value_(static_cast<long long>(v)) {}
  FormatArg(unsigned v) : value_(static_cast<long long>(v)) {}
  FormatArg(std::string_view v) : value_(v) {}
  FormatArg(const std::string& v) : value_(std::string_view(v)) {}
  FormatArg(const char* v) : value_(std::string_view(v)) {}

  bool IsText() const { return std::holds_alternative<std::string_view>(value_); }
  std::string_view Text() const { return std::get<std::string_view>(value_); }
  long long Integer() const { return std::get<long long>(value_); }

 private:
  std::variant<long long, std::string_view> value_;
};

// Fills a message pattern: "%s", "%d", "%i" take the next argument, "%%" is a
// percent sign. A directive whose argument is missing or of the other kind is
// written out as it stands, so a faulty pattern still yields a readable message.
std::string FormatMessage(std::string_view pattern, std::initializer_list<FormatArg> args);

}  // namespace nitko
