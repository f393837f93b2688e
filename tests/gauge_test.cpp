#include "controls/gauge.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/control_classes.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/form_reader.h"
#include "framework/read_error.h"
#include "runtime/exception.h"

using namespace nitko;

namespace {

TColor Px(TCGauge& g, int x, int y) {
  return g.Canvas().Pixel(x, y);
}

// Checks every pixel of r against want(x, y); reports the first mismatch.
template <class F>
::testing::AssertionResult EveryPixel(TCGauge& g, const TRect& r, F want) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (!want(x, y, Px(g, x, y)))
        return ::testing::AssertionFailure()
               << "pixel (" << x << ", " << y << ") is 0x" << std::hex << Px(g, x, y);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult FrameIsBlack(TCGauge& g) {
  const int w = g.Width(), h = g.Height();
  return EveryPixel(g, Rect(0, 0, w, h), [&](int x, int y, TColor c) {
    const bool ring = x == 0 || y == 0 || x == w - 1 || y == h - 1;
    return !ring || c == clBlack;
  });
}

// The percentage as the gauge should print it: white on black, centred in
// r's size (its corner not added), drawn with the gauge's font.
std::unique_ptr<TBitmap> TextLayer(TCGauge& g, const TRect& r, const std::string& s) {
  auto layer = std::make_unique<TBitmap>(g.Width(), g.Height());
  TCanvas& c = layer->Canvas();
  c.Brush().SetColor(clBlack);
  c.FillRect(g.ClientRect());
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Font().Assign(g.Font());
  c.Font().SetColor(clWhite);
  c.TextRect(r, (r.Right - r.Left + 1 - c.TextWidth(s)) / 2,
             (r.Bottom - r.Top + 1 - c.TextHeight(s)) / 2, s);
  return layer;
}

std::unique_ptr<TCGauge> MakeGauge(int w, int h, TCGaugeKind kind = TCGaugeKind::gkHorizontalBar) {
  auto g = std::make_unique<TCGauge>(nullptr);
  g->SetBounds(0, 0, w, h);
  g->SetKind(kind);
  return g;
}

bool SamePicture(TCGauge& a, TCGauge& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  return EveryPixel(a, a.ClientRect(), [&](int x, int y, TColor c) { return c == Px(b, x, y); });
}

}  // namespace

TEST(GaugeArithmetic, PercentagesAreExactFloors) {
  EXPECT_EQ(PercentOfRange(0, 0), 0);
  EXPECT_EQ(PercentOfRange(5, 0), 0);
  // part × 100 no longer fits 32 bits
  EXPECT_EQ(PercentOfRange(999999999, 1000000000), 99);
  EXPECT_EQ(PercentOfRange(4294967295LL, 4294967295LL), 100);
  for (long long whole = 1; whole <= 300; ++whole)
    for (long long part = 0; part <= whole; ++part)
      ASSERT_EQ(PercentOfRange(part, whole), part * 100 / whole) << part << "/" << whole;

  const int sizes[] = {0, 1, 3, 17, 99, 100, 199, 200, 201, 333, 65535, 1000007, 2147483647};
  for (int size : sizes)
    for (int p = 0; p <= 100; ++p)
      ASSERT_EQ(ScaleByPercent(p, size), static_cast<long long>(p) * size / 100)
          << p << "% of " << size;
}

TEST(Gauge, NewGaugeIsAFramedHorizontalBarShowingZero) {
  TCGauge g(nullptr);
  EXPECT_EQ(g.Width(), 100);
  EXPECT_EQ(g.Height(), 100);
  EXPECT_EQ(g.Kind(), TCGaugeKind::gkHorizontalBar);
  EXPECT_TRUE(g.ShowText());
  EXPECT_EQ(g.BorderStyle(), TFormBorderStyle::bsSingle);
  EXPECT_EQ(g.ForeColor(), clBlack);
  EXPECT_EQ(g.BackColor(), clWhite);
  EXPECT_EQ(g.MinValue(), 0);
  EXPECT_EQ(g.MaxValue(), 100);
  EXPECT_EQ(g.Progress(), 0);
  EXPECT_EQ(g.GetPercentDone(), 0);

  g.Repaint();
  EXPECT_TRUE(FrameIsBlack(g));
  const TRect r = Rect(1, 1, 99, 99);
  const auto text = TextLayer(g, r, "0%");
  int textPixels = 0;
  EXPECT_TRUE(EveryPixel(g, r, [&](int x, int y, TColor c) {
    const bool ink = text->Canvas().Pixel(x, y) == clWhite;
    textPixels += ink;
    return c == (ink ? clBlack : clWhite);
  }));
  EXPECT_GT(textPixels, 0);
}

TEST(Gauge, ProgressIsClampedAndRangeChangesPullItAlong) {
  TCGauge g(nullptr);
  g.SetProgress(150);
  EXPECT_EQ(g.Progress(), 100);
  EXPECT_EQ(g.GetPercentDone(), 100);
  g.SetProgress(-5);
  EXPECT_EQ(g.Progress(), 0);
  g.AddProgress(-1);
  EXPECT_EQ(g.Progress(), 0);

  g.SetProgress(80);
  g.SetMaxValue(50);
  EXPECT_EQ(g.Progress(), 50);
  g.SetProgress(10);
  g.SetMinValue(20);
  EXPECT_EQ(g.Progress(), 20);
  EXPECT_EQ(g.GetPercentDone(), 0);
  g.SetProgress(35);
  EXPECT_EQ(g.GetPercentDone(), 50);

  // An empty range is allowed and reads 0 %.
  g.SetMinValue(50);
  EXPECT_EQ(g.Progress(), 50);
  EXPECT_EQ(g.GetPercentDone(), 0);
  g.SetMaxValue(50);
  EXPECT_EQ(g.MaxValue(), 50);

  // The widest range still gives a true percentage, and large steps saturate.
  TCGauge wide(nullptr);
  wide.SetMinValue(-2147483647 - 1);
  wide.SetMaxValue(2147483647);
  wide.SetProgress(-1);
  EXPECT_EQ(wide.GetPercentDone(), 49);
  wide.SetProgress(2147483600);
  wide.AddProgress(1000);
  EXPECT_EQ(wide.Progress(), 2147483647);
  EXPECT_EQ(wide.GetPercentDone(), 100);
}

TEST(Gauge, RangeErrorsCarryTheirLimitsAndChangeNothing) {
  TCGauge g(nullptr);
  g.SetProgress(40);
  const int paints = g.PaintCount();
  try {
    g.SetMinValue(101);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Value must be between -2147483647 and 99");
  }
  try {
    g.SetMaxValue(-1);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Value must be between 1 and 2147483647");
  }
  EXPECT_EQ(g.MinValue(), 0);
  EXPECT_EQ(g.MaxValue(), 100);
  EXPECT_EQ(g.Progress(), 40);
  EXPECT_EQ(g.PaintCount(), paints);

  g.SetMinValue(30);
  g.SetMaxValue(60);
  EXPECT_THROW(g.SetMaxValue(29), Exception);
  try {
    g.SetMinValue(61);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Value must be between -2147483647 and 59");
  }
}

TEST(Gauge, RepaintsOnlyWhenWhatItShowsChanges) {
  TCGauge g(nullptr);
  g.SetMaxValue(1000);
  g.SetProgress(10);
  int n = g.PaintCount();
  g.SetProgress(11);  // 1 % -> 1 %
  g.SetProgress(19);
  EXPECT_EQ(g.PaintCount(), n);
  EXPECT_EQ(g.Progress(), 19);
  g.SetProgress(20);  // -> 2 %
  EXPECT_EQ(g.PaintCount(), ++n);
  g.SetProgress(20);
  g.SetProgress(5000);
  EXPECT_EQ(g.PaintCount(), ++n);  // clamped to 1000: 100 %
  g.SetProgress(1001);
  EXPECT_EQ(g.PaintCount(), n);
  g.AddProgress(0);
  EXPECT_EQ(g.PaintCount(), ++n);
  g.AddProgress(-1);  // 99 %: once for the change, once unconditionally
  n += 2;
  EXPECT_EQ(g.PaintCount(), n);

  // Appearance and range: the current value is no change.
  g.SetKind(g.Kind());
  g.SetShowText(g.ShowText());
  g.SetBorderStyle(g.BorderStyle());
  g.SetForeColor(g.ForeColor());
  g.SetBackColor(g.BackColor());
  g.SetMinValue(g.MinValue());
  g.SetMaxValue(g.MaxValue());
  EXPECT_EQ(g.PaintCount(), n);
  g.SetKind(TCGaugeKind::gkPie);
  g.SetShowText(false);
  g.SetBorderStyle(TFormBorderStyle::bsNone);
  g.SetForeColor(clRed);
  g.SetBackColor(clYellow);
  g.SetMinValue(1);
  g.SetMaxValue(999);
  EXPECT_EQ(g.PaintCount(), n + 7);
}

TEST(GaugePicture, MainWindowGaugeAtFortyFivePercent) {
  auto g = MakeGauge(201, 17);
  g->SetProgress(45);
  g->Repaint();
  EXPECT_TRUE(FrameIsBlack(*g));
  const TRect r = Rect(1, 1, 200, 16);
  const auto text = TextLayer(*g, r, "45%");
  int whiteOverBar = 0, blackOverEmpty = 0;
  // Bar (1, 1, 90, 16) black, the rest of r white; the text inverts.
  EXPECT_TRUE(EveryPixel(*g, r, [&](int x, int y, TColor c) {
    const TColor under = x < 90 ? clBlack : clWhite;
    if (text->Canvas().Pixel(x, y) != clWhite) return c == under;
    (x < 90 ? whiteOverBar : blackOverEmpty)++;
    return c == (under ^ 0xFFFFFF);
  }));
  EXPECT_GT(whiteOverBar, 0);
  EXPECT_GT(blackOverEmpty, 0);
}

TEST(GaugePicture, TextOverAColouredBarShowsTheComplement) {
  auto g = MakeGauge(60, 20);
  g->SetForeColor(clBlue);
  g->SetProgress(100);
  g->Repaint();
  int complement = 0;
  EXPECT_TRUE(EveryPixel(*g, Rect(1, 1, 59, 19), [&](int, int, TColor c) {
    if (c == clYellow) ++complement;
    return c == clBlue || c == clYellow;
  }));
  EXPECT_GT(complement, 0);
}

TEST(GaugePicture, VerticalBarGrowsUpwardAndFillsTheFrameWhenFull) {
  auto g = MakeGauge(30, 50, TCGaugeKind::gkVerticalBar);
  g->SetShowText(false);
  g->SetProgress(50);
  g->Repaint();
  EXPECT_TRUE(FrameIsBlack(*g));
  // H = 49, F = 24: rows 25..48 filled.
  EXPECT_TRUE(EveryPixel(*g, Rect(1, 1, 29, 49),
                         [](int, int y, TColor c) { return c == (y >= 25 ? clBlack : clWhite); }));
  g->SetForeColor(clRed);
  g->SetProgress(100);
  g->Repaint();
  EXPECT_TRUE(EveryPixel(*g, Rect(1, 1, 29, 49), [](int, int, TColor c) { return c == clRed; }));
  EXPECT_TRUE(FrameIsBlack(*g));

  // Without a frame the top row stays empty even when full.
  g->SetBorderStyle(TFormBorderStyle::bsNone);
  g->Repaint();
  EXPECT_TRUE(EveryPixel(*g, g->ClientRect(),
                         [](int, int y, TColor c) { return c == (y == 0 ? clWhite : clRed); }));
}

TEST(GaugePicture, WithoutAFrameTheBarReachesTheEdges) {
  auto g = MakeGauge(40, 10);
  g->SetBorderStyle(TFormBorderStyle::bsNone);
  g->SetShowText(false);
  g->SetForeColor(clRed);
  g->SetProgress(50);
  g->Repaint();
  // W = 41, F = 20, and the bar spans every row.
  EXPECT_TRUE(EveryPixel(*g, g->ClientRect(),
                         [](int x, int, TColor c) { return c == (x < 20 ? clRed : clWhite); }));
  g->SetProgress(100);  // one pixel wider than the control, clipped
  g->Repaint();
  EXPECT_TRUE(EveryPixel(*g, g->ClientRect(), [](int, int, TColor c) { return c == clRed; }));
}

TEST(GaugePicture, AnEmptyRangeDrawsLikeZeroInEveryKind) {
  for (auto kind : {TCGaugeKind::gkText, TCGaugeKind::gkHorizontalBar, TCGaugeKind::gkVerticalBar,
                    TCGaugeKind::gkPie, TCGaugeKind::gkNeedle}) {
    auto empty = MakeGauge(80, 60, kind);
    empty->SetColor(clLime);
    empty->SetMinValue(100);
    empty->Repaint();
    auto zero = MakeGauge(80, 60, kind);
    zero->SetColor(clLime);
    zero->Repaint();
    EXPECT_TRUE(SamePicture(*empty, *zero)) << static_cast<int>(kind);
    // Progress makes a difference, so the comparison means something.
    zero->SetProgress(70);
    EXPECT_FALSE(SamePicture(*empty, *zero)) << static_cast<int>(kind);
  }
}

TEST(GaugePicture, PieFillsClockwiseFromTwelve) {
  auto g = MakeGauge(100, 100, TCGaugeKind::gkPie);
  g->SetColor(clLime);
  g->SetShowText(false);
  g->SetProgress(25);
  g->Repaint();
  EXPECT_EQ(Px(*g, 2, 2), clLime);  // outside the disc
  EXPECT_EQ(Px(*g, 75, 25), clBlack);
  EXPECT_EQ(Px(*g, 25, 25), clWhite);
  EXPECT_EQ(Px(*g, 75, 75), clWhite);
  EXPECT_EQ(Px(*g, 25, 75), clWhite);

  // At 100 % all the disc but a hairline just left of twelve o'clock.
  auto gap = [&](int percent) {
    g->SetProgress(percent);
    g->Repaint();
    int count = 0, minX = 1000, maxX = -1;
    EXPECT_TRUE(EveryPixel(*g, Rect(1, 1, 99, 99), [&](int x, int y, TColor c) {
      if (c != clWhite) return c == clBlack || c == clLime;
      ++count;
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      return y < 50 && x < 50;
    }));
    return std::make_pair(count, maxX - minX + 1);
  };
  const auto [full, fullWidth] = gap(100);
  EXPECT_GT(full, 0);
  EXPECT_LE(fullWidth, 2);  // a one-pixel line, stepping once
  const auto [almost, almostWidth] = gap(99);
  EXPECT_GT(almost, full);
  EXPECT_GT(almostWidth, 2);
}

TEST(GaugePicture, NeedleSwingsFromLeftToUp) {
  auto g = MakeGauge(100, 100, TCGaugeKind::gkNeedle);
  g->SetColor(clLime);
  g->SetShowText(false);
  auto blackIn = [&](const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += Px(*g, x, y) == clBlack;
    return n;
  };
  const TRect middle = Rect(25, 30, 75, 90);  // inside the dial, clear of its outline
  g->Repaint();
  EXPECT_EQ(blackIn(middle), 0);
  EXPECT_EQ(Px(*g, 50, 50), clWhite);

  g->SetProgress(50);
  g->Repaint();
  for (int y = 5; y < 95; ++y) {
    EXPECT_TRUE(Px(*g, 49, y) == clBlack || Px(*g, 50, y) == clBlack) << y;
    EXPECT_EQ(Px(*g, 45, y), clWhite) << y;
    EXPECT_EQ(Px(*g, 55, y), clWhite) << y;
  }

  g->SetProgress(10);
  g->Repaint();
  EXPECT_GT(blackIn(Rect(10, 75, 45, 95)), 0);
  EXPECT_EQ(blackIn(Rect(25, 30, 75, 65)), 0);
  EXPECT_EQ(blackIn(Rect(52, 40, 80, 95)), 0);
}

TEST(GaugeForms, PropertiesComeFromADescriptionInOrder) {
  RegisterControlClasses();
  RegisterControlClasses();  // a second call does nothing
  std::unique_ptr<TComponent> root(TFormReader().Create(R"(
object CGauge1: TCGauge
  Width = 201
  Height = 17
  Kind = gkVerticalBar
  ShowText = False
  BorderStyle = bsNone
  ForeColor = clRed
  BackColor = 0x00FFFF
  MinValue = 20
  MaxValue = 300
  Progress = 160
end
)",
                                                        nullptr));
  auto* g = dynamic_cast<TCGauge*>(root.get());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->Name(), "CGauge1");
  EXPECT_EQ(g->Width(), 201);
  EXPECT_EQ(g->Kind(), TCGaugeKind::gkVerticalBar);
  EXPECT_FALSE(g->ShowText());
  EXPECT_EQ(g->BorderStyle(), TFormBorderStyle::bsNone);
  EXPECT_EQ(g->ForeColor(), clRed);
  EXPECT_EQ(g->BackColor(), clYellow);
  EXPECT_EQ(g->MinValue(), 20);
  EXPECT_EQ(g->MaxValue(), 300);
  EXPECT_EQ(g->Progress(), 160);
  EXPECT_EQ(g->GetPercentDone(), 50);

  // MaxValue is still 100 when MinValue arrives.
  try {
    delete TFormReader().Create("object G: TCGauge\n  MinValue = 200\n  MaxValue = 300\nend\n",
                                nullptr);
    ADD_FAILURE() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_NE(e.Message().find("Value must be between -2147483647 and 99"), std::string::npos)
        << e.Message();
  }
}

// Paints reuse their bitmaps: after every kind, size and progress in turn, a
// gauge shows what a new one shows.
TEST(GaugePicture, APaintLeavesNothingForTheNext) {
  const TCGaugeKind kinds[] = {TCGaugeKind::gkPie, TCGaugeKind::gkText, TCGaugeKind::gkNeedle,
                               TCGaugeKind::gkVerticalBar, TCGaugeKind::gkHorizontalBar};
  auto used = MakeGauge(60, 40);
  for (int step = 0; step < 10; ++step) {
    used->SetKind(kinds[step % 5]);
    used->SetBounds(0, 0, 40 + step * 7, 30 + step % 3 * 5);
    used->SetProgress(step * 11);
    used->SetForeColor(step % 2 ? clBlue : clRed);
    used->Repaint();
    auto fresh = MakeGauge(used->Width(), used->Height(), used->Kind());
    fresh->SetProgress(used->Progress());
    fresh->SetForeColor(used->ForeColor());
    fresh->Repaint();
    ASSERT_TRUE(SamePicture(*used, *fresh)) << "step " << step;
  }
}
