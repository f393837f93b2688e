#include "chart/marker_cover.h"

#include <algorithm>

namespace nitko {

TMarkerCover::TMarkerCover(const TRect& area) : area_(area) {
  const int w = std::max(0, area.Right - area.Left);
  const int h = std::max(0, area.Bottom - area.Top);
  words_per_column_ = (h + 63) / 64;
  bits_.assign(static_cast<size_t>(w) * static_cast<size_t>(words_per_column_), 0);
}

// Calls f(word, mask) for the bits of box's rows in every column of box.
// The rows, and so the words and masks, are the same in every column.
template <typename F>
void TMarkerCover::ForEachWord(const TRect& box, F f) const {
  const int l = std::max(box.Left, area_.Left) - area_.Left;
  const int r = std::min(box.Right, area_.Right) - area_.Left;
  const int t = std::max(box.Top, area_.Top) - area_.Top;
  const int b = std::min(box.Bottom, area_.Bottom) - area_.Top;
  if (l >= r || t >= b) return;
  struct Part {
    int word;
    std::uint64_t mask;
  };
  // A box taller than a few words is split as it goes.
  constexpr int kHeld = 4;
  Part parts[kHeld];
  for (int row = t; row < b;) {
    int n = 0;
    for (; row < b && n < kHeld; ++n) {
      const int word = row / 64;
      const int first = row % 64;
      const int last = std::min(b - word * 64, 64);  // exclusive bit
      const std::uint64_t high = last == 64 ? ~0ULL : (1ULL << last) - 1;
      parts[n] = {word, high & ~((1ULL << first) - 1)};
      row = word * 64 + last;
    }
    for (int x = l; x < r; ++x) {
      std::uint64_t* column = bits_.data() + static_cast<size_t>(x) * words_per_column_;
      for (int i = 0; i < n; ++i)
        if (!f(column[parts[i].word], parts[i].mask)) return;
    }
  }
}

bool TMarkerCover::Covers(const TRect& box) const {
  bool all = true;
  ForEachWord(box, [&all](const std::uint64_t& word, std::uint64_t mask) {
    all = (word & mask) == mask;
    return all;
  });
  return all;
}

void TMarkerCover::Add(const TRect& box) {
  ForEachWord(box, [](std::uint64_t& word, std::uint64_t mask) {
    word |= mask;
    return true;
  });
}

}  // namespace nitko
