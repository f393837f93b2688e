#include "core/number_text.h"

#include <cmath>

#include "runtime/exception.h"
#include "runtime/locale_chars.h"
#include "runtime/message_format.h"

namespace nitko {

namespace {

constexpr uint64_t kIntegerBit = 0x8000000000000000ull;
constexpr Extended k1E17 = 1e17L;
constexpr Extended k1E18 = 1e18L;

// |v| scaled to an 18-digit integer for the estimated exponent e.
Extended ScaledDigits(Extended v, int e) {
  return std::nearbyint(ScaleByPowerOf10(std::fabs(v), 18 - e));
}

}  // namespace

TDecimalForm ToDecimalDigits(Extended v, int precision, int decimals) {
  TDecimalForm form;
  const ExtendedParts parts = Decompose(v);
  const int x = parts.exponentField;
  if (x == 0) return form;  // zero or denormal
  if (x == 0x7FFF) {
    if (parts.significand == kIntegerBit || (parts.significand & kIntegerBit) == 0) {
      form.exponent = TDecimalForm::kInfinity;
      form.negative = parts.negative;
    } else {
      form.exponent = TDecimalForm::kNaN;
    }
    return form;
  }

  // 19728 / 65536 is log10(2) in 16-bit fixed point; >> on a negative int is
  // an arithmetic shift in C++20.
  int e = (((x - 16383) * 19728) >> 16) + 1;
  Extended n = ScaledDigits(v, e);
  if (n >= k1E18) {
    n = std::nearbyint(n / 10.0L);
    ++e;
  } else if (n < k1E17) {
    // The fixed-point estimate can overshoot by one for tiny values; a
    // leading zero digit would shift every later digit.
    --e;
    n = ScaledDigits(v, e);
  }

  uint64_t integer = static_cast<uint64_t>(n);
  char d[18];
  for (int i = 17; i >= 0; --i) {
    d[i] = static_cast<char>('0' + integer % 10);
    integer /= 10;
  }

  long long k = static_cast<long long>(e) + decimals;
  if (k < 0) return form;  // rounds away entirely: zero
  if (k > precision) k = precision;
  int count = 18;
  if (k < 18) {
    count = static_cast<int>(k);
    if (d[count] >= '5') {
      // Half up, carrying leftwards; digits that overflow past 9 are cut.
      int i = count - 1;
      while (i >= 0 && d[i] == '9') --i;
      if (i < 0) {
        d[0] = '1';
        count = 1;
        ++e;
      } else {
        ++d[i];
        count = i + 1;
      }
    }
  }
  while (count > 0 && d[count - 1] == '0') --count;
  form.exponent = static_cast<int16_t>(e);
  if (count == 0) return form;
  for (int i = 0; i < count; ++i) form.digits[i] = d[i];
  form.digits[count] = '\0';
  form.negative = parts.negative;
  return form;
}

std::string FormatNumber(Extended v) {
  const TDecimalForm form = ToDecimalDigits(v, 15, 9999);
  char buf[64];
  int len = 0;
  auto put = [&](char c) { buf[len++] = c; };

  if (form.exponent == TDecimalForm::kNaN) return "NAN";
  if (form.exponent == TDecimalForm::kInfinity) return form.negative ? "-INF" : "INF";

  const char decimal = LocaleDecimalChar();
  const char* digits = form.digits;
  const int e = form.exponent;
  if (form.negative) put('-');
  if (e > 15 || e < -3) {
    put(digits[0]);
    if (digits[0] != '\0' && digits[1] != '\0') {
      put(decimal);
      for (const char* p = digits + 1; *p; ++p) put(*p);
    }
    put('E');
    int exp = e - 1;
    if (exp < 0) {
      put('-');
      exp = -exp;
    }
    char tmp[8];
    int t = 0;
    do {
      tmp[t++] = static_cast<char>('0' + exp % 10);
      exp /= 10;
    } while (exp != 0);
    while (t > 0) put(tmp[--t]);
  } else if (e <= 0) {
    put('0');
    if (digits[0] != '\0') {
      put(decimal);
      for (int i = 0; i < -e; ++i) put('0');
      for (const char* p = digits; *p; ++p) put(*p);
    }
  } else {
    const char* p = digits;
    for (int i = 0; i < e; ++i) put(*p ? *p++ : '0');
    if (*p) {
      put(decimal);
      for (; *p; ++p) put(*p);
    }
  }
  return std::string(buf, static_cast<size_t>(len));
}

bool TryParseNumber(std::string_view text, Extended& value) {
  FpuControlScope fpu(kFpuControlMasked);
  const char decimal = LocaleDecimalChar();
  const char* s = text.data();
  const char* const end = s + text.size();
  auto at = [&](char c) { return s < end && *s == c; };
  auto digit = [&] { return s < end && *s >= '0' && *s <= '9'; };

  // Digits accumulate exactly in an integer while they fit: the same result
  // as extended arithmetic, which is exact below 2^64, only cheaper.
  uint64_t whole = 0;
  bool exact = true;
  Extended v = 0;
  auto addDigit = [&](int d) {
    if (exact && whole < 1000000000000000000ull) {
      whole = whole * 10 + static_cast<unsigned>(d);
      return;
    }
    if (exact) {
      v = static_cast<Extended>(whole);
      exact = false;
    }
    v = v * 10 + d;
  };
  while (at(' ')) ++s;
  const bool minus = at('-');
  if (minus || at('+')) ++s;
  const char* const start = s;
  while (digit()) addDigit(*s++ - '0');

  // Saturated: the exponent only matters up to the 5120 cut-off.
  long long e = 0;
  if (decimal != '\0' && at(decimal)) {
    ++s;
    while (digit()) {
      addDigit(*s++ - '0');
      if (e > -100000) --e;
    }
  }
  if (s == start) return false;

  if (at('E') || at('e')) {
    ++s;
    const bool expMinus = at('-');
    if (expMinus || at('+')) ++s;
    int n = 0;
    while (digit() && n < 500) n = n * 10 + (*s++ - '0');
    e += expMinus ? -n : n;
  }
  while (at(' ')) ++s;
  if (s != end) return false;

  if (exact) v = static_cast<Extended>(whole);
  const int scale = e < -100000 ? -100000 : static_cast<int>(e);
  v = ScaleByPowerOf10(v, scale);
  if (minus) v = -v;
  // Through memory, so the flags are read after the last operation.
  volatile Extended stored = v;
  value = stored;
  return (GetFpuStatusWord() & (kFpuInvalid | kFpuOverflow)) == 0;
}

Extended ParseNumber(std::string_view text) {
  Extended value;
  if (!TryParseNumber(text, value))
    throw EConvertError(FormatMessage("'%s' is not a valid floating point value", {text}));
  return value;
}

}  // namespace nitko
