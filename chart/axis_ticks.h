#pragma once

#include <functional>
#include <vector>

namespace nitko {

// Grid lines of the major ticks (pixels in label order); centred grids lie
// halfway between neighbours, one fewer than the ticks.
std::vector<int> GridPositions(const std::vector<int>& ticks, bool centered);

// Minor ticks of a linear axis: count per gap between neighbours and as many
// beyond the outermost labels, kept strictly between pixelStart and pixelEnd.
std::vector<int> MinorTickPositions(const std::vector<int>& ticks, int count, int pixelStart,
                                    int pixelEnd);

// Minor ticks of a logarithmic axis: count values per gap spread linearly
// over one power of base, up to rangeMax.
std::vector<int> LogMinorTickPositions(const std::vector<int>& ticks, int count, int pixelStart,
                                       int pixelEnd, double base, double rangeMax,
                                       const std::function<int(double)>& pixelOf,
                                       const std::function<double(int)>& valueAtPixel);

}  // namespace nitko
