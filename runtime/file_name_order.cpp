#include "runtime/file_name_order.h"

#include <locale.h>
#include <wchar.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "runtime/file_name_case.h"
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

// Locales once made stay alive, one per name: a comparison on another thread
// may still hold one, and only tests and benchmarks switch.
bool Choose(const char* name) {
  static auto* const made = new std::vector<std::pair<std::string, locale_t>>;
  if (IsCodePointLocale(name)) {
    gCollation = Collation{};
    return true;
  }
  for (const auto& [n, l] : *made)
    if (n == name) {
      gCollation = Collation{l};
      return true;
    }
  const locale_t l = newlocale(LC_COLLATE_MASK, name, static_cast<locale_t>(0));
  if (l == static_cast<locale_t>(0)) return false;
  made->emplace_back(name, l);
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

// Bytes that compare as the numbers they encode: UTF-8's lead-byte scheme,
// extended to 31 bits.
void AppendOrdered(std::string& out, uint32_t v) {
  if (v < 0x200000) {
    AppendUtf8(out, v);
    return;
  }
  const int tail = v < 0x4000000 ? 4 : 5;
  out += static_cast<char>((tail == 4 ? 0xF8 : 0xFC) | (v >> (6 * tail)));
  for (int k = tail - 1; k >= 0; --k) out += static_cast<char>(0x80 | ((v >> (6 * k)) & 0x3F));
}

// Calls f with each lower-cased character of a name; ill-formed parts read
// as U+FFFD.
template <typename F>
void ForEachFolded(std::string_view name, F f) {
  for (size_t i = 0; i < name.size();) {
    const unsigned char b = static_cast<unsigned char>(name[i]);
    if (b < 0x80) {
      f(static_cast<char32_t>(b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b));
      ++i;
      continue;
    }
    const Utf8Char c = ReadUtf8Char(name, i);
    f(LowerCaseChar(c.code));
    i += static_cast<size_t>(c.length);
  }
}

// Keys compare as bytes the way the collation compares the folded names. In
// code-point order the key is the folded name's UTF-8 itself. A name with a
// zero character is collated up to it; its bytes still tell it apart.
void AppendKey(std::string& out, std::string_view name, const Collation& c, std::wstring& folded,
               std::wstring& key) {
  if (c.loc == static_cast<locale_t>(0)) {
    ForEachFolded(name, [&](char32_t ch) { AppendUtf8(out, ch); });
    return;
  }
  folded.clear();
  ForEachFolded(name, [&](char32_t ch) { folded += static_cast<wchar_t>(ch); });
  // Room for the usual key at once: asking for the size first would collate twice.
  key.resize(std::max(key.size(), 8 * folded.size() + 16));
  size_t n = wcsxfrm_l(key.data(), folded.c_str(), key.size() + 1, c.loc);
  if (n > key.size()) {
    key.resize(n);
    n = wcsxfrm_l(key.data(), folded.c_str(), key.size() + 1, c.loc);
  }
  for (size_t i = 0; i < n; ++i) AppendOrdered(out, static_cast<uint32_t>(key[i]) & 0x7FFFFFFF);
}

// Eight bytes of a key from at on, as a number; past its end a key is
// padded with zeros. Where two such numbers differ, the keys differ the same
// way (a key that ends first is the smaller), so equal ones fall back to the
// whole keys.
uint64_t Prefix(std::string_view key, size_t at) {
  uint64_t p = 0;
  for (size_t i = at; i < at + 8; ++i) p = p << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
  return p;
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
  std::string ka, kb;
  std::wstring folded, key;
  AppendKey(ka, a, c, folded, key);
  AppendKey(kb, b, c, folded, key);
  const int byKey = ka.compare(kb);
  return byKey != 0 ? Sign(byKey) : Sign(a.compare(b));
}

// Sorted by key, then by bytes, then later arrivals first: a total order, so
// any sort gives the one result, which is InsertionOrder's.
std::vector<size_t> FileNameInsertionOrder(const std::vector<std::string>& names) {
  const Collation c = Current();
  // All keys in one buffer; each entry carries its key's first 16 bytes, so
  // most comparisons touch no key, even among names that begin alike.
  struct Entry {
    uint64_t head, next;
    size_t index;
  };
  std::string pool;
  std::wstring folded, key;
  std::vector<size_t> starts(names.size() + 1);
  std::vector<Entry> entries(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    starts[i] = pool.size();
    AppendKey(pool, names[i], c, folded, key);
  }
  starts[names.size()] = pool.size();
  const auto keyOf = [&](size_t i) {
    return std::string_view(pool).substr(starts[i], starts[i + 1] - starts[i]);
  };
  for (size_t i = 0; i < names.size(); ++i) entries[i] = {Prefix(keyOf(i), 0), Prefix(keyOf(i), 8), i};
  std::sort(entries.begin(), entries.end(), [&](const Entry& x, const Entry& y) {
    if (x.head != y.head) return x.head < y.head;
    if (x.next != y.next) return x.next < y.next;
    if (const int byKey = keyOf(x.index).compare(keyOf(y.index)); byKey != 0) return byKey < 0;
    if (const int byName = names[x.index].compare(names[y.index]); byName != 0) return byName < 0;
    return x.index > y.index;
  });
  std::vector<size_t> order(names.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = entries[i].index;
  return order;
}

}  // namespace nitko
