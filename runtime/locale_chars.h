#pragma once

namespace nitko {

// The locale's decimal and thousands characters, one byte each. Written on the
// GUI thread at start and on a settings change; read by any thread.
struct LocaleChars {
  char decimal = '.';
  char thousands = ',';
};

// Both characters are published as one value: a reader never sees the
// decimal character of one locale with the thousands character of another.
LocaleChars CurrentLocaleChars();
void SetLocaleChars(LocaleChars chars);

char LocaleDecimalChar();
char LocaleThousandsChar();
void SetLocaleDecimalChar(char c);
void SetLocaleThousandsChar(char c);

// Reads both from the user's LC_NUMERIC. An empty or multi-byte decimal
// character becomes "."; a multi-byte thousands separator (the wide spaces of
// Polish, French, ...) becomes a plain space, an empty one "," (or a space
// where "," is the decimal character), and one equal to the decimal
// character a space.
void ReadLocaleChars();

}  // namespace nitko
