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
template <typename F>
void TMarkerCover::ForEachWord(const TRect& box, F f) const {
  const int l = std::max(box.Left, area_.Left) - area_.Left;
  const int r = std::min(box.Right, area_.Right) - area_.Left;
  const int t = std::max(box.Top, area_.Top) - area_.Top;
  const int b = std::min(box.Bottom, area_.Bottom) - area_.Top;
  if (l >= r || t >= b) return;
  for (int x = l; x < r; ++x) {
    std::uint64_t* column = bits_.data() + static_cast<size_t>(x) * words_per_column_;
    for (int row = t; row < b;) {
      const int word = row / 64;
      const int first = row % 64;
      const int last = std::min(b - word * 64, 64);  // exclusive bit
      const std::uint64_t high = last == 64 ? ~0ULL : (1ULL << last) - 1;
      const std::uint64_t mask = high & ~((1ULL << first) - 1);
      if (!f(column[word], mask)) return;
      row = word * 64 + last;
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
