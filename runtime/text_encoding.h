#pragma once

#include <string>
#include <string_view>

namespace nitko {

// Windows-1250 bytes to UTF-8. The five codes the code page leaves undefined
// become U+FFFD.
std::string DecodeWindows1250(std::string_view bytes);

// The Windows-1250 code of a Unicode character, or -1 when it has none.
int EncodeWindows1250(char32_t c);

}  // namespace nitko
