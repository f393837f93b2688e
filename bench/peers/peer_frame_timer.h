#pragma once

// Times the frames of a peer chart the same way for every peer: one first
// frame on its own, then frames until a second has passed (at least three),
// printed as one line the benchmark script reads. A first frame of a second
// or more is the figure by itself, so a slow peer ends soon after it.

#include <chrono>
#include <cstdio>

namespace frame_bench {

template <typename Frame>
void TimeFrames(const char* peer, int points, Frame&& frame) {
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
  };
  const auto start = Clock::now();
  frame();
  const double first = ms(Clock::now() - start);
  if (first >= 1000.0) {
    std::printf("peer %s points %d first_ms %.4f frames 1 ms_per_frame %.4f\n", peer, points,
                first, first);
    std::fflush(stdout);
    return;
  }
  int frames = 0;
  const auto loop = Clock::now();
  Clock::duration spent{};
  while (frames < 3 || spent < std::chrono::seconds(1)) {
    frame();
    ++frames;
    spent = Clock::now() - loop;
  }
  std::printf("peer %s points %d first_ms %.4f frames %d ms_per_frame %.4f\n", peer, points,
              first, frames, ms(spent) / frames);
  std::fflush(stdout);
}

// A frame as a shown window draws it after a change: a replot, then the
// paint into the image. The plot is never shown: its size reaches the layout
// with the first render, so that render lays it out first, untimed.
template <typename Plot, typename Image>
void TimeReplotFrames(const char* peer, int points, Plot& plot, Image& image) {
  plot.render(&image);
  TimeFrames(peer, points, [&] {
    plot.replot();
    plot.render(&image);
  });
}

}  // namespace frame_bench
