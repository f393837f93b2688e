// A mouse-and-key sequence on the main window's Chart1, both series filled:
// the zoom and scroll settings, a few extra points and every event come from
// the input; events go through Qt's dispatch to the chart's widget, and the
// event loop paints between them.
#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>
#include <cstdint>

#include "app/formularz.h"
#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/point_series.h"
#include "framework/colors.h"
#include "framework/gui_thread.h"
#include "fuzz_qt.h"

using namespace nitko;

namespace {

constexpr int kMaxEvents = 64;
constexpr Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
constexpr Qt::KeyboardModifier kModifiers[] = {Qt::ShiftModifier, Qt::ControlModifier,
                                               Qt::AltModifier};
constexpr int kKeys[] = {Qt::Key_Escape, Qt::Key_Shift, Qt::Key_Control, Qt::Key_Left,
                         Qt::Key_Up,     Qt::Key_Space, Qt::Key_Plus,    Qt::Key_Minus};

// Worker 2's curve, walked from 10 down to 0 as coloured markers.
void FillSeries2(TPointSeries& series) {
  for (int i = 100; i >= 0; --i) {
    const double x = i / 10.0;
    series.AddPoint(x, std::exp(-x) - std::cos(x) + x / 10, "", i % 2 ? clRed : clBlue);
  }
}

Qt::KeyboardModifiers ConsumeModifiers(FuzzedDataProvider& in) {
  Qt::KeyboardModifiers modifiers;
  const unsigned bits = in.ConsumeIntegralInRange(0, 7);
  for (unsigned i = 0; i < 3; ++i)
    if (bits & (1u << i)) modifiers |= kModifiers[i];
  return modifiers;
}

void SendEvents(FuzzedDataProvider& in, QWidget& widget) {
  Qt::MouseButtons held;
  for (int n = 0; n < kMaxEvents && in.remaining_bytes() > 0; ++n) {
    const int kind = in.ConsumeIntegralInRange(0, 6);
    const QPointF pos(in.ConsumeIntegralInRange(-64, widget.width() + 64),
                      in.ConsumeIntegralInRange(-64, widget.height() + 64));
    const QPointF global = widget.mapToGlobal(pos);
    const Qt::MouseButton button = kButtons[in.ConsumeIntegralInRange(0, 2)];
    const Qt::KeyboardModifiers modifiers = ConsumeModifiers(in);
    switch (kind) {
      case 0: {
        held |= button;
        QMouseEvent e(QEvent::MouseButtonPress, pos, global, button, held, modifiers);
        QApplication::sendEvent(&widget, &e);
        break;
      }
      case 1: {
        QMouseEvent e(QEvent::MouseMove, pos, global, Qt::NoButton, held, modifiers);
        QApplication::sendEvent(&widget, &e);
        break;
      }
      case 2: {
        held &= ~button;
        QMouseEvent e(QEvent::MouseButtonRelease, pos, global, button, held, modifiers);
        QApplication::sendEvent(&widget, &e);
        break;
      }
      case 3: {
        const QPoint delta(0, in.ConsumeIntegral<int16_t>());
        QWheelEvent e(pos, global, QPoint(), delta, held, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &e);
        break;
      }
      case 4: {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(&widget, &e);
        break;
      }
      case 5: {
        const int key = kKeys[in.ConsumeIntegralInRange<size_t>(0, std::size(kKeys) - 1)];
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(&widget, &release);
        break;
      }
      default:
        break;  // only the painting below
    }
    QApplication::processEvents();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::StartQt(argc, argv);
  InitGuiThread();
  RegisterFormularzClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  {
    TFormularz window(nullptr);
    window.Show();
    TChart& chart = *window.Chart1;
    FillSeries2(*window.Series2);
    chart.SetAllowZoom(in.ConsumeBool());
    chart.SetAllowPanning(static_cast<TPanningMode>(in.ConsumeIntegralInRange(0, 3)));
    chart.SetAnimatedZoom(in.ConsumeBool());
    chart.SetAnimatedZoomSteps(in.ConsumeIntegral<int>());
    chart.SetView3D(in.ConsumeBool());
    for (int extra = in.ConsumeIntegralInRange(0, 3); extra > 0; --extra) {
      const double x = in.ConsumeFloatingPoint<double>();
      window.Series2->AddPoint(x, in.ConsumeFloatingPoint<double>(), "", clGreen);
    }
    QApplication::processEvents();
    SendEvents(in, *chart.Widget());
  }
  ProcessPostedCalls();
  fuzz::FinishInput();
  return 0;
}
