#pragma once

#include <cstdint>
#include <vector>

#include "framework/types.h"

namespace nitko {

// The pixels of an area that markers drawn later in a pass are known to
// paint. Walking a pass backwards, a marker whose every pixel is already
// covered cannot change the final picture and need not be drawn.
class TMarkerCover {
 public:
  explicit TMarkerCover(const TRect& area);

  // Whether every pixel of box that lies inside the area is covered; pixels
  // outside it count as covered (they are never painted).
  bool Covers(const TRect& box) const;
  // Marks the pixels of box inside the area as covered.
  void Add(const TRect& box);

 private:
  // Per column, the rows of the area as bits, 64 to a word.
  template <typename F>
  void ForEachWord(const TRect& box, F f) const;

  TRect area_;
  int words_per_column_ = 0;
  mutable std::vector<std::uint64_t> bits_;
};

}  // namespace nitko
