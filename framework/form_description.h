#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nitko {

// The syntax tree of a form description (the format is described in
// framework/form_reader.h). Parsing checks syntax only; names are resolved
// by the reader.

struct TFormValue {
  enum class Kind { Integer, Float, String, Identifier, Set, List, Binary };
  Kind kind = Kind::Integer;
  std::string text;                // Integer, Float: as written; String: unquoted; Identifier;
                                   // Binary: the bytes
  std::vector<std::string> items;  // Set: element names; List: unquoted strings
  std::string source;              // as written, for messages
};

struct TFormObject;

// A property line, or a nested object when object is set.
struct TFormEntry {
  int line = 0;
  std::string path;  // Font.Color
  TFormValue value;
  std::unique_ptr<TFormObject> object;
};

struct TFormObject {
  int line = 0;
  std::string name;
  std::string class_name;
  std::vector<TFormEntry> entries;  // in file order
};

// Objects nest at most this deep; deeper is a malformed description.
inline constexpr int kMaxFormNesting = 64;

// Raises EReadError on a syntax error.
TFormObject ParseFormDescription(std::string_view text);

}  // namespace nitko
