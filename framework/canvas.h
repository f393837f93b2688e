#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/brush.h"
#include "framework/colors.h"
#include "framework/font.h"
#include "framework/pen.h"
#include "framework/types.h"

namespace nitko {

class TBitmap;
class TSurface;
struct TCanvasRecord;

// How CopyRect and Draw combine a source pixel S with the destination D.
// The values are the raster-operation codes the components are written with.
enum class TCopyMode : uint32_t {
  cmBlackness = 0x00000042,    // 0
  cmNotSrcErase = 0x001100A6,  // ~(S | D)
  cmNotSrcCopy = 0x00330008,   // ~S
  cmSrcErase = 0x00440328,     // S & ~D
  cmDstInvert = 0x00550009,    // ~D
  cmSrcInvert = 0x00660046,    // S ^ D
  cmSrcAnd = 0x008800C6,       // S & D
  cmMergePaint = 0x00BB0226,   // ~S | D
  cmSrcCopy = 0x00CC0020,      // S
  cmSrcPaint = 0x00EE0086,     // S | D
  cmWhiteness = 0x00FF0062,    // 1
};

// Text background: transparent leaves what lies beneath, opaque fills the
// text's cell with the background colour.
enum class TBackgroundMode { bmTransparent = 1, bmOpaque = 2 };

// TextOut alignment: one horizontal and one vertical value, plus taUpdateCP.
using TTextAlign = unsigned;
inline constexpr TTextAlign taLeft = 0;
inline constexpr TTextAlign taUpdateCP = 1;  // output at PenPos, then move it
inline constexpr TTextAlign taRight = 2;
inline constexpr TTextAlign taCenter = 6;
inline constexpr TTextAlign taTop = 0;
inline constexpr TTextAlign taBottom = 8;
inline constexpr TTextAlign taBaseline = 24;

// DrawText flags.
using TDrawTextFlags = unsigned;
inline constexpr TDrawTextFlags dtLeft = 0;
inline constexpr TDrawTextFlags dtTop = 0;
inline constexpr TDrawTextFlags dtCenter = 0x1;
inline constexpr TDrawTextFlags dtRight = 0x2;
inline constexpr TDrawTextFlags dtVCenter = 0x4;
inline constexpr TDrawTextFlags dtBottom = 0x8;
inline constexpr TDrawTextFlags dtWordBreak = 0x10;
inline constexpr TDrawTextFlags dtSingleLine = 0x20;
inline constexpr TDrawTextFlags dtExpandTabs = 0x40;
inline constexpr TDrawTextFlags dtNoClip = 0x100;
inline constexpr TDrawTextFlags dtCalcRect = 0x400;
inline constexpr TDrawTextFlags dtNoPrefix = 0x800;

// Draws into a surface with a pen, a brush and a font, which it reads at
// every operation. A canvas without a surface draws nothing but still
// measures text. Raster rules: no smoothing; rectangles, ellipses and fills
// leave out their right column and bottom row; a line leaves out its end
// pixel; the pen mode applies to pen and brush of lines and shapes.
class TCanvas {
 public:
  explicit TCanvas(TSurface* surface = nullptr);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TSurface* Surface() const { return surface_; }
  // Attaching another surface drops the clip, which belongs to a surface.
  void SetSurface(TSurface* surface);
  // Takes other's pen, brush, font, modes and pen position (not its clip),
  // so that drawing goes on as it would on other.
  void AssignState(const TCanvas& other);

  TPen& Pen() { return pen_; }
  const TPen& Pen() const { return pen_; }
  TBrush& Brush() { return brush_; }
  const TBrush& Brush() const { return brush_; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

  // Called before and after each operation that changes pixels.
  std::function<void()> OnChanging;
  std::function<void()> OnChange;

  // Lines and shapes. Wider pens keep rectangles and curves inside their
  // boxes; dash styles apply to one-pixel straight outlines.
  TPoint PenPos() const { return penPos_; }
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // Open path; the last point is not painted, PenPos is left alone.
  void Polyline(std::span<const TPoint> points);
  // Closed, filled with the brush (alternate rule), outlined with the pen.
  void Polygon(std::span<const TPoint> points);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Rectangle(int left, int top, int right, int bottom);
  // Rectangle(box) for each in turn with the pen in the colour pen and a
  // solid brush of colour brush; the pen and brush keep their own colours.
  struct TPaintedRect {
    TRect box;
    TColor pen;
    TColor brush;
  };
  void Rectangles(std::span<const TPaintedRect> rects);
  void RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(int left, int top, int right, int bottom);
  // Bounding box (x1, y1)-(x2, y2); the curve runs counter-clockwise from
  // where the radial through (x3, y3) meets it to the radial through
  // (x4, y4). Equal radials give the whole ellipse.
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

  // Brush only: [Left, Right) x [Top, Bottom), always copied.
  void FillRect(const TRect& r);
  // A one-pixel frame just inside r in the brush colour.
  void FrameRect(const TRect& r);
  // An inverted dotted frame just inside r; drawing it again removes it.
  void DrawFocusRect(const TRect& r);

  // clNone outside the surface.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  // Text, UTF-8. The background follows the brush (solid: opaque in the
  // brush colour; clear or hatched: transparent) until SetBackgroundMode or
  // SetBackgroundColor is called, and again after the brush changes.
  void TextOut(int x, int y, const std::string& text);
  // Output at (x, y) clipped to r; an opaque background fills all of r.
  void TextRect(const TRect& r, int x, int y, const std::string& text);
  // TextOut turned counter-clockwise about (x, y) by tenths of a degree;
  // the background is never filled.
  void TextOutRotated(int x, int y, const std::string& text, int angleTenths);
  int TextWidth(const std::string& text) const;
  // The sum of the characters' own advances: TextWidth without kerning,
  // which only draws characters together in the fonts in use, and without
  // shaping, so cheap enough to size a column to a million texts.
  int SumOfCharWidths(const std::string& text) const;
  // The font's cell height, whatever the text.
  int TextHeight(const std::string& text) const;
  TSize TextExtent(const std::string& text) const;
  // Formats text inside rect; returns the height of the text. With
  // dtCalcRect it draws nothing and sets rect's Right and Bottom to the
  // extent (lines broken inside rect's width with dtWordBreak). A single
  // "&" underlines the next character ("&&" is "&") unless dtNoPrefix.
  int DrawText(TRect& rect, const std::string& text, TDrawTextFlags flags);
  TTextAlign TextAlign() const { return textAlign_; }
  void SetTextAlign(TTextAlign flags) { textAlign_ = flags; }
  TBackgroundMode BackgroundMode() const;
  void SetBackgroundMode(TBackgroundMode mode);
  TColor BackgroundColor() const;
  void SetBackgroundColor(TColor color);

  // Copies between surfaces, combined by CopyMode. A source rectangle of
  // another size is stretched (nearest pixel). The source may be this canvas.
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
  void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
  // The whole bitmap at (x, y); a Transparent bitmap leaves out the pixels
  // of its TransparentColor.
  void Draw(int x, int y, const TBitmap& bitmap);
  void StretchDraw(const TRect& dest, const TBitmap& bitmap);
  void DrawTransparent(int x, int y, const TBitmap& bitmap, TColor transparentColor);

  // Clipping, in surface pixels. Without a clip the whole surface is open.
  void SetClipRect(const TRect& r);
  void IntersectClipRect(const TRect& r);
  // Pixels inside the polygon by the alternate rule.
  void SetClipPolygon(std::span<const TPoint> points);
  void ClearClip();
  bool HasClip() const { return clipped_; }
  // The bounding box of the pixels that can be painted.
  TRect ClipRect() const;

  // While a record is attached, each drawing call and clip change appends
  // itself to it; with draw false it then changes no pixel. Measuring and
  // the pen position work as always, and a pixel read marks the record.
  void BeginRecord(TCanvasRecord* record, bool draw);
  void EndRecord();
  // While a list is attached, each drawing call adds to it a rectangle that
  // holds every pixel the call may change (text: the whole surface).
  void TrackChanges(std::vector<TRect>* changes) { changes_ = changes; }

  struct State;  // the Qt side, framework-internal

 private:
  void SyncBackground() const;
  // Appends a call to the attached record; false when it is to draw nothing.
  bool Recorded(char call, std::initializer_list<long long> args, std::string_view text = {},
                const TSurface* source = nullptr, std::span<const TPoint> points = {});
  // Adds [l, r) x [t, b) grown by margin on every side to the tracked changes.
  void Touched(long long l, long long t, long long r, long long b, long long margin);
  void TouchedAll();
  void Copy(const TRect& dest, const TSurface* source, const TRect& sourceRect,
            const TColor* transparent);

  TSurface* surface_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TPoint penPos_;
  TCopyMode copyMode_ = TCopyMode::cmSrcCopy;
  TTextAlign textAlign_ = taLeft;
  bool clipped_ = false;
  // The text background, derived again from the brush after it changed.
  mutable TBackgroundMode bkMode_ = TBackgroundMode::bmOpaque;
  mutable TColor bkColor_ = clWhite;
  mutable bool brushChanged_ = false;
  std::unique_ptr<State> state_;
  TCanvasRecord* record_ = nullptr;
  std::vector<TRect>* changes_ = nullptr;
  bool recordDraws_ = true;
};

}  // namespace nitko
