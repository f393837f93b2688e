#include "runtime/locale_chars.h"

#include <langinfo.h>
#include <locale.h>

#include <atomic>
#include <cstring>

namespace nitko {

namespace {

std::atomic<char> gDecimal{'.'};
std::atomic<char> gThousands{','};

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

char LocaleDecimalChar() {
  return gDecimal.load(std::memory_order_relaxed);
}
char LocaleThousandsChar() {
  return gThousands.load(std::memory_order_relaxed);
}
void SetLocaleDecimalChar(char c) {
  gDecimal.store(c, std::memory_order_relaxed);
}
void SetLocaleThousandsChar(char c) {
  gThousands.store(c, std::memory_order_relaxed);
}

void ReadLocaleChars() {
  // A private locale object: the process-wide C locale stays untouched.
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) {
    SetLocaleDecimalChar('.');
    SetLocaleThousandsChar(',');
    return;
  }
  const char decimal = SingleByteOr(nl_langinfo_l(RADIXCHAR, loc), '.');
  SetLocaleDecimalChar(decimal);
  SetLocaleThousandsChar(ThousandsFrom(nl_langinfo_l(THOUSEP, loc), decimal));
  freelocale(loc);
}

}  // namespace nitko
