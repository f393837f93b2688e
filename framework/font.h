#pragma once

#include <string>

#include "framework/colors.h"
#include "framework/graphics_object.h"

namespace nitko {

enum class TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // a set of TFontStyle bits
enum class TFontPitch { fpDefault, fpVariable, fpFixed };

inline constexpr int kDefaultCharset = 1;
inline constexpr int kScreenPixelsPerInch = 96;

// Height < 0 is the character height in pixels; Height > 0 the cell height.
// Size is in points at the screen's 96 pixels per inch.
class TFont : public TGraphicsObject {
 public:
  const std::string& Name() const { return name_; }
  void SetName(const std::string& value) { Change(name_, value); }
  int Height() const { return height_; }
  void SetHeight(int value) { Change(height_, value); }
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return color_; }
  void SetColor(TColor value) { Change(color_, value); }
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value) { Change(style_, value); }
  bool Has(TFontStyle s) const { return (style_ & static_cast<unsigned>(s)) != 0; }
  int Charset() const { return charset_; }
  void SetCharset(int value) { Change(charset_, value); }
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch value) { Change(pitch_, value); }
  void Assign(const TFont& other);
  bool SameAs(const TFont& other) const;

 private:
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
  int charset_ = kDefaultCharset;
  TFontPitch pitch_ = TFontPitch::fpDefault;
};

}  // namespace nitko
