// Any bytes as number text, with "." and "," as the decimal character: the two
// parsers agree, and a parsed value prints as text that parses back to a value
// printing the same.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/number_text.h"
#include "runtime/exception.h"
#include "runtime/locale_chars.h"

using namespace nitko;

namespace {

void Check(std::string_view text) {
  Extended tried = 0;
  const bool ok = TryParseNumber(text, tried);
  try {
    const Extended parsed = ParseNumber(text);
    if (!ok || !(parsed == tried || (std::isnan(parsed) && std::isnan(tried)))) std::abort();
  } catch (const EConvertError&) {
    if (ok) std::abort();
  }
  if (!ok || !std::isfinite(tried)) return;
  const std::string printed = FormatNumber(tried);
  Extended again = 0;
  if (!TryParseNumber(printed, again) || FormatNumber(again) != printed) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (char decimal : {'.', ','}) {
    SetLocaleDecimalChar(decimal);
    Check(text);
  }
  return 0;
}
