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

}  // namespace

char LocaleDecimalChar() { return gDecimal.load(std::memory_order_relaxed); }
char LocaleThousandsChar() { return gThousands.load(std::memory_order_relaxed); }
void SetLocaleDecimalChar(char c) { gDecimal.store(c, std::memory_order_relaxed); }
void SetLocaleThousandsChar(char c) { gThousands.store(c, std::memory_order_relaxed); }

void ReadLocaleChars() {
  // A private locale object: the process-wide C locale stays untouched.
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) {
    SetLocaleDecimalChar('.');
    SetLocaleThousandsChar(',');
    return;
  }
  SetLocaleDecimalChar(SingleByteOr(nl_langinfo_l(RADIXCHAR, loc), '.'));
  SetLocaleThousandsChar(SingleByteOr(nl_langinfo_l(THOUSEP, loc), ','));
  freelocale(loc);
}

}  // namespace nitko
