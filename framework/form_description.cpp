#include "framework/form_description.h"

#include <cstdint>
#include <string>

#include "framework/read_error.h"

namespace nitko {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || IsDigit(c);
}

// Length of the well-formed UTF-8 sequence at s[i], or 0.
size_t Utf8Length(std::string_view s, size_t i) {
  auto c0 = static_cast<unsigned char>(s[i]);
  size_t n;
  uint32_t cp, min;
  if (c0 < 0x80) return 1;
  if ((c0 & 0xE0) == 0xC0) {
    n = 2, cp = c0 & 0x1F, min = 0x80;
  } else if ((c0 & 0xF0) == 0xE0) {
    n = 3, cp = c0 & 0x0F, min = 0x800;
  } else if ((c0 & 0xF8) == 0xF0) {
    n = 4, cp = c0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (n > s.size() - i) return 0;
  for (size_t k = 1; k < n; ++k) {
    auto ck = static_cast<unsigned char>(s[i + k]);
    if ((ck & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (ck & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }

  TFormObject Parse() {
    TFormObject root;
    bool have_root = false;
    std::vector<TFormObject*> open;
    for (;;) {
      SkipBlanks();
      if (pos_ >= text_.size()) break;
      if (text_[pos_] == '\n') {
        NextLine();
        continue;
      }
      const int line = line_;
      if (have_root && open.empty())
        RaiseReadError(line, "Text after the end of the description", {});
      if (!IsIdentStart(text_[pos_])) Malformed("expected object, end or a property");
      std::string word = Ident("");
      if (word == "object") {
        if (open.size() >= static_cast<size_t>(kMaxFormNesting))
          RaiseReadError(line, "Objects nested too deep", {});
        TFormObject obj;
        obj.line = line;
        SkipBlanks();
        obj.name = Ident("an object name");
        SkipBlanks();
        Expect(':', "after the object name");
        SkipBlanks();
        obj.class_name = Ident("a class name");
        EndOfLine();
        if (open.empty()) {
          root = std::move(obj);
          have_root = true;
          open.push_back(&root);
        } else {
          TFormEntry& e = open.back()->entries.emplace_back();
          e.line = line;
          e.object = std::make_unique<TFormObject>(std::move(obj));
          open.push_back(e.object.get());
        }
      } else if (word == "end") {
        EndOfLine();
        if (open.empty()) RaiseReadError(line, "end without object", {});
        open.pop_back();
      } else {
        if (open.empty()) Malformed("property outside of an object");
        TFormEntry e;
        e.line = line;
        e.path = std::move(word);
        while (pos_ < text_.size() && text_[pos_] == '.') {
          ++pos_;
          e.path += '.';
          e.path += Ident("a property name after .");
        }
        SkipBlanks();
        Expect('=', "after the property name");
        SkipBlanks();
        e.value = Value();
        EndOfLine();
        open.back()->entries.push_back(std::move(e));
      }
    }
    if (!have_root) RaiseReadError(line_, "Description holds no object", {});
    if (!open.empty())
      RaiseReadError(open.back()->line, "Missing end of object %s", {open.back()->name});
    return root;
  }

 private:
  [[noreturn]] void Malformed(std::string_view detail) {
    RaiseReadError(line_, "Malformed line: %s", {detail});
  }

  void NextLine() {
    ++pos_;
    ++line_;
  }

  // Spaces, tabs, carriage returns and a comment up to the end of the line.
  void SkipBlanks() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  void EndOfLine() {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] != '\n') Malformed("unexpected text at the end");
  }

  void Expect(char c, std::string_view where) {
    if (pos_ >= text_.size() || text_[pos_] != c)
      Malformed(FormatMessage("expected %s %s", {std::string_view(&c, 1), where}));
    ++pos_;
  }

  std::string Ident(std::string_view what) {
    if (pos_ >= text_.size() || !IsIdentStart(text_[pos_]))
      Malformed(FormatMessage("expected %s", {what}));
    size_t start = pos_;
    while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  TFormValue Value() {
    TFormValue v;
    const size_t start = pos_;
    char c = pos_ < text_.size() ? text_[pos_] : '\n';
    if (c == '\'') {
      v.kind = TFormValue::Kind::String;
      v.text = QuotedString();
    } else if (c == '-' || IsDigit(c)) {
      v.kind = Number();
      v.text = std::string(text_.substr(start, pos_ - start));
    } else if (IsIdentStart(c)) {
      v.kind = TFormValue::Kind::Identifier;
      v.text = Ident("");
    } else if (c == '[') {
      v.kind = TFormValue::Kind::Set;
      SetItems(v.items);
    } else if (c == '(') {
      v.kind = TFormValue::Kind::List;
      ListItems(v.items);
    } else if (c == '{') {
      v.kind = TFormValue::Kind::Binary;
      v.text = HexBytes();
    } else {
      Malformed("expected a value");
    }
    v.source = std::string(text_.substr(start, pos_ - start));
    return v;
  }

  bool DigitAt(size_t i) const { return i < text_.size() && IsDigit(text_[i]); }

  TFormValue::Kind Number() {
    auto kind = TFormValue::Kind::Integer;
    if (text_[pos_] == '-') ++pos_;
    if (!DigitAt(pos_)) Malformed("expected a digit");
    if (text_[pos_] == '0' && pos_ + 1 < text_.size() &&
        (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X')) {
      pos_ += 2;
      if (pos_ >= text_.size() || !IsHexDigit(text_[pos_])) Malformed("malformed number");
      while (pos_ < text_.size() && IsHexDigit(text_[pos_])) ++pos_;
    } else {
      while (DigitAt(pos_)) ++pos_;
      if (pos_ < text_.size() && text_[pos_] == '.') {
        kind = TFormValue::Kind::Float;
        ++pos_;
        if (!DigitAt(pos_)) Malformed("malformed number");
        while (DigitAt(pos_)) ++pos_;
      }
      if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
        kind = TFormValue::Kind::Float;
        ++pos_;
        if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
        if (!DigitAt(pos_)) Malformed("malformed number");
        while (DigitAt(pos_)) ++pos_;
      }
    }
    if (pos_ < text_.size() && (IsIdentChar(text_[pos_]) || text_[pos_] == '.'))
      Malformed("malformed number");
    return kind;
  }

  // 'text' with '' for a quote; UTF-8, on one line.
  std::string QuotedString() {
    std::string out;
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') Malformed("unterminated string");
      char c = text_[pos_];
      if (c == '\'') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
          out += '\'';
          pos_ += 2;
          continue;
        }
        ++pos_;
        return out;
      }
      auto uc = static_cast<unsigned char>(c);
      if (uc < 0x20 && c != '\t') Malformed("control character in a string");
      size_t n = Utf8Length(text_, pos_);
      if (n == 0) Malformed("invalid UTF-8 in a string");
      out.append(text_.substr(pos_, n));
      pos_ += n;
    }
  }

  // [a, b] on one line.
  void SetItems(std::vector<std::string>& items) {
    ++pos_;
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ']') {
      ++pos_;
      return;
    }
    for (;;) {
      items.push_back(Ident("a set element"));
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        SkipBlanks();
        continue;
      }
      Expect(']', "or , in the set");
      return;
    }
  }

  // ('a' 'b'), which may run over several lines.
  void ListItems(std::vector<std::string>& items) {
    const int start_line = line_;
    ++pos_;
    for (;;) {
      SkipBlanks();
      if (pos_ >= text_.size()) RaiseReadError(start_line, "Missing ) of the list", {});
      char c = text_[pos_];
      if (c == '\n') {
        NextLine();
      } else if (c == ')') {
        ++pos_;
        return;
      } else if (c == '\'') {
        items.push_back(QuotedString());
      } else {
        Malformed("expected a string or ) in the list");
      }
    }
  }

  // {0A 1B}: pairs of hex digits, which may run over several lines.
  std::string HexBytes() {
    const int start_line = line_;
    std::string bytes;
    ++pos_;
    for (;;) {
      SkipBlanks();
      if (pos_ >= text_.size()) RaiseReadError(start_line, "Missing } of the data", {});
      const char c = text_[pos_];
      if (c == '\n') {
        NextLine();
      } else if (c == '}') {
        ++pos_;
        return bytes;
      } else if (IsHexDigit(c) && pos_ + 1 < text_.size() && IsHexDigit(text_[pos_ + 1])) {
        bytes += static_cast<char>(std::stoi(std::string(text_.substr(pos_, 2)), nullptr, 16));
        pos_ += 2;
      } else {
        Malformed("expected two hex digits or } in the data");
      }
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

TFormObject ParseFormDescription(std::string_view text) {
  return Parser(text).Parse();
}

}  // namespace nitko
