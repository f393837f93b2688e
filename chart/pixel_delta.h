#pragma once

namespace nitko {

// The distance from pixel b to pixel a along one axis. Zoomed far in, pixels
// take the whole int range, and their differences do not fit into an int.
inline long long PixelDelta(int a, int b) {
  return static_cast<long long>(a) - b;
}

}  // namespace nitko
