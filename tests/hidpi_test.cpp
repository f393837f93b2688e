// Self-drawn surfaces at a desktop scale of 2 (this test's main sets it).
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <memory>
#include <tuple>
#include <typeinfo>

#include "app/formularz.h"
#include "app/gallery/galeria.h"
#include "chart/chart.h"
#include "controls/calendar.h"
#include "controls/directory_outline.h"
#include "controls/gauge.h"
#include "controls/performance_graph.h"
#include "controls/spin_button.h"
#include "controls/spin_edit.h"
#include "controls/timer_speed_button.h"
#include "dialogs/message_form.h"
#include "framework/bitmap.h"
#include "framework/gui_thread.h"
#include "framework/image.h"

using namespace nitko;

// Aligned 2 x 2 blocks of device pixels not all of one colour: a picture
// drawn at one device pixel a pixel and stretched has none.
static int MixedBlocks(const QImage& m) {
  int mixed = 0;
  for (int y = 0; y + 1 < m.height(); y += 2)
    for (int x = 0; x + 1 < m.width(); x += 2)
      mixed += m.pixel(x + 1, y) != m.pixel(x, y) || m.pixel(x, y + 1) != m.pixel(x, y) ||
               m.pixel(x + 1, y + 1) != m.pixel(x, y);
  return mixed;
}

// The program's window, the gallery with a directory outline, a message.
TEST(Scale2, EverySelfDrawnSurfaceHasTwiceThePixelsAndDetailAtSingleOnes) {
  RegisterFormularzClasses();
  RegisterGaleriaClasses();
  InitGuiThread();
  std::unique_ptr<TFormularz> window(Formularz = new TFormularz(nullptr));
  std::unique_ptr<TGaleria> gallery(Galeria = new TGaleria(nullptr));
  auto* dirs = new TCDirectoryOutline(gallery.get());
  dirs->SetParent(gallery.get());
  dirs->SetBounds(0, 0, 280, 260);
  dirs->BuildTree();
  TMessageForm message("Czas pracy", MessageDialogKind::mtInformation, {MessageDialogButton::mbOK});
  window->Show();
  gallery->Show();
  message.Show();
  QApplication::processEvents();
  TPerformanceGraph& graph = *gallery->PerformanceGraph1;
  graph.SetGraphKind(TGraphKind::pgLine);
  graph.SetScale(100);
  for (int i = 0; i < 40; ++i) {
    graph.DataPoint(clLime, i % 2 ? 90 : 10);
    graph.Update();
  }
  auto* spin = window->CSpinEdit1->SpinButton()->UpButton();
  auto* icon = dynamic_cast<TImage*>(message.FindComponent("Image"));
  // The spin glyph has six mixed blocks; the style's message icons are 32 device pixels.
  const struct {
    TControl* control;
    TCanvas& canvas;
    int detail;
  } surfaces[] = {
      {window->Chart1, window->Chart1->TCustomControl::Canvas(), 6},
      {window->CGauge1, window->CGauge1->Canvas(), 6},
      {spin, spin->Canvas(), 6},
      {icon, icon->Canvas(), 0},
      {&graph, graph.Canvas(), 6},
      {gallery->CCalendar1, gallery->CCalendar1->Canvas(), 6},
      {gallery->Outline1, gallery->Outline1->Canvas(), 6},
      {dirs, dirs->Canvas(), 6},
  };
  for (const auto& s : surfaces) {
    SCOPED_TRACE(typeid(*s.control).name());
    s.control->Repaint();
    const QImage first = s.canvas.Surface()->Image().copy();
    EXPECT_EQ(first.size(), QSize(2 * s.control->ClientWidth(), 2 * s.control->ClientHeight()));
    EXPECT_EQ(first.devicePixelRatio(), 2.0);
    EXPECT_GE(MixedBlocks(first), s.detail);
    // Again: the chart and the graph copy the pictures they keep aside.
    s.control->Repaint();
    EXPECT_EQ(s.canvas.Surface()->Image(), first);
  }
  window.reset();
  ShutdownGuiThread();
}

// Pictures of another ratio are stretched, by device pixels.
TEST(Scale2, PicturesOfOneDevicePixelAPixelAreStretched) {
  TBitmap glyph, plus, drawn(14, 14);  // the glyph is drawn for two device pixels, PLUS not
  ASSERT_TRUE(glyph.LoadFromResourceName("SpinUp") && plus.LoadFromResourceName("PLUS"));
  glyph.SetSize(0, 0);  // emptied and grown again, it keeps its ratio
  glyph.SetSize(9, 6);
  EXPECT_EQ(std::tuple(glyph.Width(), glyph.Surface().Ratio()), std::tuple(9, 2));
  drawn.Canvas().Draw(0, 0, plus);
  for (int i = 0; i < 28 * 28; ++i)
    ASSERT_EQ(drawn.Surface().Image().pixel(i % 28, i / 28),
              plus.Surface().Image().pixel(i % 28 / 2, i / 28 / 2));
}
