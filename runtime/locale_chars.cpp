#include "runtime/locale_chars.h"

#include <langinfo.h>
#include <locale.h>

#include <atomic>
#include <cstdint>
#include <cstring>

namespace nitko {

namespace {

// Decimal character in the low byte, thousands character in the high one.
uint16_t Pack(LocaleChars c) {
  return static_cast<uint16_t>(static_cast<unsigned char>(c.decimal) |
                               static_cast<unsigned char>(c.thousands) << 8);
}
LocaleChars Unpack(uint16_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

std::atomic<uint16_t> gChars{Pack(LocaleChars{})};

// Changes one of the two characters without losing a concurrent change of the other.
template <typename Change>
void Update(Change change) {
  uint16_t old = gChars.load(std::memory_order_relaxed);
  for (;;) {
    LocaleChars c = Unpack(old);
    change(c);
    if (gChars.compare_exchange_weak(old, Pack(c), std::memory_order_relaxed)) return;
  }
}

char SingleByteOr(const char* s, char fallback) {
  return (s != nullptr && std::strlen(s) == 1) ? s[0] : fallback;
}

// A wide space (U+00A0, U+202F) becomes a plain one; the default "," would
// read as the decimal comma of the locales that use such spaces.
char ThousandsFrom(const char* s, char decimal) {
  if (s == nullptr || *s == '\0') return decimal == ',' ? ' ' : ',';
  const char c = SingleByteOr(s, ' ');
  return c == decimal ? ' ' : c;
}

}  // namespace

LocaleChars CurrentLocaleChars() {
  return Unpack(gChars.load(std::memory_order_relaxed));
}
void SetLocaleChars(LocaleChars chars) {
  gChars.store(Pack(chars), std::memory_order_relaxed);
}

char LocaleDecimalChar() {
  return CurrentLocaleChars().decimal;
}
char LocaleThousandsChar() {
  return CurrentLocaleChars().thousands;
}
void SetLocaleDecimalChar(char c) {
  Update([c](LocaleChars& chars) { chars.decimal = c; });
}
void SetLocaleThousandsChar(char c) {
  Update([c](LocaleChars& chars) { chars.thousands = c; });
}

void ReadLocaleChars() {
  // A private locale object: the process-wide C locale stays untouched.
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) {
    SetLocaleChars(LocaleChars{});
    return;
  }
  LocaleChars chars;
  chars.decimal = SingleByteOr(nl_langinfo_l(RADIXCHAR, loc), '.');
  chars.thousands = ThousandsFrom(nl_langinfo_l(THOUSEP, loc), chars.decimal);
  freelocale(loc);
  SetLocaleChars(chars);
}

}  // namespace nitko
