#include "runtime/file_name_order.h"

#include <locale.h>
#include <wchar.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "runtime/file_name_case.h"
#include "runtime/insertion_order.h"
#include "runtime/utf8.h"

namespace nitko {

namespace {

// A null locale means code-point order, which is what C and POSIX collate by,
// and needs no transformation.
struct Collation {
  locale_t loc = static_cast<locale_t>(0);
};

std::mutex gMutex;
bool gChosen = false;
Collation gCollation;

bool IsCodePointLocale(const char* name) {
  for (const char* c : {"", "C", "POSIX", "C.UTF-8", "C.utf8"})
    if (std::strcmp(name, c) == 0) return true;
  return false;
}

const char* UserCollationName() {
  for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* v = std::getenv(var);
    if (v != nullptr && *v != '\0') return v;
  }
  return "C";
}

// Locales once made stay alive: a comparison on another thread may still hold
// one, and only tests and benchmarks switch.
bool Choose(const char* name) {
  if (IsCodePointLocale(name)) {
    gCollation = Collation{};
    return true;
  }
  const locale_t l = newlocale(LC_COLLATE_MASK, name, static_cast<locale_t>(0));
  if (l == static_cast<locale_t>(0)) return false;
  gCollation = Collation{l};
  return true;
}

Collation Current() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (!gChosen) {
    if (!Choose(UserCollationName())) gCollation = Collation{};
    gChosen = true;
  }
  return gCollation;
}

// The lower-cased characters of a name, appended to out.
void AppendFolded(std::wstring& out, std::string_view name) {
  for (size_t i = 0; i < name.size();) {
    const unsigned char b = static_cast<unsigned char>(name[i]);
    if (b < 0x80) {
      out += static_cast<wchar_t>(b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b);
      ++i;
      continue;
    }
    const Utf8Char c = ReadUtf8Char(name, i);
    out += static_cast<wchar_t>(LowerCaseChar(c.code));
    i += static_cast<size_t>(c.length);
  }
}

// Keys compare (as wide strings) the way the collation compares the folded
// names. A name with a zero character is collated up to it; its bytes still
// tell it apart.
void AppendKey(std::wstring& out, std::string_view name, const Collation& c, std::wstring& scratch) {
  if (c.loc == static_cast<locale_t>(0)) {
    AppendFolded(out, name);
    return;
  }
  scratch.clear();
  AppendFolded(scratch, name);
  const size_t at = out.size();
  const size_t n = wcsxfrm_l(nullptr, scratch.c_str(), 0, c.loc);
  out.resize(at + n + 1);
  wcsxfrm_l(out.data() + at, scratch.c_str(), n + 1, c.loc);
  out.resize(at + n);
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

bool SetFileNameCollation(const char* localeName) {
  std::lock_guard<std::mutex> lock(gMutex);
  const char* name = (localeName != nullptr && *localeName == '\0') ? UserCollationName() : localeName;
  if (name == nullptr || !Choose(name)) return false;
  gChosen = true;
  return true;
}

int CompareFileNames(std::string_view a, std::string_view b) {
  const Collation c = Current();
  std::wstring ka, kb, scratch;
  AppendKey(ka, a, c, scratch);
  AppendKey(kb, b, c, scratch);
  const int byKey = ka.compare(kb);
  return byKey != 0 ? Sign(byKey) : Sign(a.compare(b));
}

std::vector<size_t> FileNameInsertionOrder(const std::vector<std::string>& names) {
  const Collation c = Current();
  // All keys in one buffer: a hundred thousand names cost one allocation.
  struct Span {
    size_t begin, length;
  };
  std::wstring pool, scratch;
  std::vector<Span> spans(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    const size_t at = pool.size();
    AppendKey(pool, names[i], c, scratch);
    spans[i] = {at, pool.size() - at};
  }
  return InsertionOrder(names.size(), [&](size_t a, size_t b) {
    const std::wstring_view ka(pool.data() + spans[a].begin, spans[a].length);
    const std::wstring_view kb(pool.data() + spans[b].begin, spans[b].length);
    const int byKey = ka.compare(kb);
    return byKey != 0 ? byKey < 0 : names[a] < names[b];
  });
}

}  // namespace nitko
