#pragma once

namespace nitko {

// The locale's decimal and thousands characters, one byte each. Written on the
// GUI thread at start and on a settings change; read by any thread.
char LocaleDecimalChar();
char LocaleThousandsChar();
void SetLocaleDecimalChar(char c);
void SetLocaleThousandsChar(char c);

// Reads both from the user's LC_NUMERIC. A separator that is empty or longer
// than one byte falls back to the default ("." and ",").
void ReadLocaleChars();

}  // namespace nitko
