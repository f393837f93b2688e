#include "runtime/string_table.h"

#include "runtime/embedded_resource.h"
#include "runtime/exception.h"
#include "runtime/message_format.h"
#include "runtime/text_encoding.h"

namespace nitko {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

[[noreturn]] void Malformed(std::string_view table, int line) {
  throw Exception(FormatMessage("String table %s: line %d is malformed", {table, line}));
}

std::string Unquote(std::string_view table, int line, std::string_view value) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') Malformed(table, line);
  std::string out;
  for (size_t i = 1; i + 1 < value.size(); ++i) {
    char c = value[i];
    if (c == '\\') {
      if (i + 2 >= value.size()) Malformed(table, line);
      c = value[++i];
      if (c != '"' && c != '\\') Malformed(table, line);
    } else if (c == '"') {
      Malformed(table, line);
    }
    out += c;
  }
  return out;
}

}  // namespace

std::string ResourceStringBytes(std::string_view table, std::string_view name) {
  std::string_view text = FindResource(table);
  int lineNo = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNo;
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) Malformed(table, lineNo);
    if (Trim(line.substr(0, eq)) == name) return Unquote(table, lineNo, Trim(line.substr(eq + 1)));
  }
  throw Exception(FormatMessage("String %s not found in %s", {name, table}));
}

std::string LoadResourceString(std::string_view table, std::string_view name) {
  return DecodeWindows1250(ResourceStringBytes(table, name));
}

}  // namespace nitko
