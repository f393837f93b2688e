#include "framework/canvas_record.h"

#include <QImage>
#include <algorithm>
#include <cstring>

#include "framework/canvas.h"
#include "framework/surface.h"
#include "framework/system_colors.h"

namespace nitko {

namespace {

template <class T>
void Put(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(bytes, sizeof(T));
}

void PutText(std::string& out, std::string_view text) {
  Put(out, text.size());
  out.append(text);
}

}  // namespace

void TCanvas::BeginRecord(TCanvasRecord* record, bool draw) {
  record_ = record;
  recordDraws_ = draw;
  if (record_ == nullptr) return;
  Put(record_->calls, surface_ ? surface_->Width() : -1);
  Put(record_->calls, surface_ ? surface_->Height() : -1);
  Put(record_->calls, surface_ ? surface_->Ratio() : 0);
}

void TCanvas::Touched(long long l, long long t, long long r, long long b, long long margin) {
  const auto fit = [](long long v) {
    return static_cast<int>(std::clamp<long long>(v, -kMaxSurfaceSide, 2LL * kMaxSurfaceSide));
  };
  changes_->push_back({fit(std::min(l, r) - margin), fit(std::min(t, b) - margin),
                       fit(std::max(l, r) + margin), fit(std::max(t, b) + margin)});
}

void TCanvas::TouchedAll() {
  Touched(-kMaxSurfaceSide, -kMaxSurfaceSide, 2LL * kMaxSurfaceSide, 2LL * kMaxSurfaceSide, 0);
}

void TCanvas::EndRecord() {
  record_ = nullptr;
  recordDraws_ = true;
}

bool TCanvas::Recorded(char call, std::initializer_list<long long> args, std::string_view text,
                       const TSurface* source, std::span<const TPoint> points) {
  std::string& out = record_->calls;
  out.push_back(call);
  for (long long a : args) Put(out, a);
  PutText(out, text);
  Put(out, points.size());
  for (const TPoint& p : points) {
    Put(out, p.X);
    Put(out, p.Y);
  }
  // System colours are taken as they are now.
  Put(out, ColorToRGB(pen_.Color()));
  Put(out, pen_.Width());
  Put(out, pen_.Style());
  Put(out, pen_.Mode());
  Put(out, ColorToRGB(brush_.Color()));
  Put(out, brush_.Style());
  PutText(out, font_.Name());
  Put(out, font_.Height());
  Put(out, ColorToRGB(font_.Color()));
  Put(out, font_.Style());
  Put(out, font_.Charset());
  Put(out, font_.Pitch());
  Put(out, textAlign_);
  Put(out, copyMode_);
  SyncBackground();
  Put(out, bkMode_);
  Put(out, ColorToRGB(bkColor_));
  // A picture is known by its pixels' key, which changes with every change.
  if (source != nullptr) {
    Put(out, source);
    Put(out, source->Image().cacheKey());
  }
  return recordDraws_;
}

}  // namespace nitko
