#include "controls/control_classes.h"

#include "controls/calendar.h"
#include "controls/directory_outline.h"
#include "controls/gauge.h"
#include "controls/outline.h"
#include "controls/outline_strings.h"
#include "controls/performance_graph.h"
#include "controls/spin_button.h"
#include "controls/spin_edit.h"
#include "framework/class_registry.h"
#include "framework/form.h"
#include "framework/standard_classes.h"
#include "runtime/exception.h"

namespace nitko {

namespace {

// The value names another class publishes for a property, so both read
// alike.
template <class E>
TIdentList<E> NamesOf(const TClassRegistry& r, const char* cls, const char* property) {
  const TClassInfo* info = r.Find(cls);
  const TPropertyInfo* p = info ? info->FindProperty(property) : nullptr;
  if (p == nullptr)
    throw Exception(std::string(cls) + "." + property + " is not registered");
  TIdentList<E> names;
  for (const auto& [name, value] : p->names) names.emplace_back(name, static_cast<E>(value));
  return names;
}

TIdentList<TFormBorderStyle> BorderStyleNames(const TClassRegistry& r) {
  return NamesOf<TFormBorderStyle>(r, "TCustomForm", "BorderStyle");
}

void RegisterGauge(TClassRegistry& r) {
  // MinValue before MaxValue: a stored range is applied in this order.
  r.Register<TCGauge>("TCGauge", "TGraphicControl")
      .Enum<TCGaugeKind>("Kind", &TCGauge::SetKind,
                         {{"gkText", TCGaugeKind::gkText},
                          {"gkHorizontalBar", TCGaugeKind::gkHorizontalBar},
                          {"gkVerticalBar", TCGaugeKind::gkVerticalBar},
                          {"gkPie", TCGaugeKind::gkPie},
                          {"gkNeedle", TCGaugeKind::gkNeedle}})
      .Bool("ShowText", &TCGauge::SetShowText)
      .Enum<TFormBorderStyle>("BorderStyle", &TCGauge::SetBorderStyle, BorderStyleNames(r))
      .Color("ForeColor", &TCGauge::SetForeColor)
      .Color("BackColor", &TCGauge::SetBackColor)
      .Int("MinValue", &TCGauge::SetMinValue)
      .Int("MaxValue", &TCGauge::SetMaxValue)
      .Int("Progress", &TCGauge::SetProgress);
}

// Gradient is read like any other property; a graph without it in its
// description keeps the constructor's 100 (see GradientStored).
void RegisterPerformanceGraph(TClassRegistry& r) {
  r.Register<TPerformanceGraph>("TPerformanceGraph", "TGraphicControl")
      .Enum<TGraphKind>("Kind", &TPerformanceGraph::SetGraphKind,
                        {{"pgBar", TGraphKind::pgBar}, {"pgLine", TGraphKind::pgLine}})
      .Color("ForeColor", &TPerformanceGraph::SetForeColor)
      .Color("BackColor", &TPerformanceGraph::SetBackColor)
      .Int("GridSize", &TPerformanceGraph::SetGridSize)
      .Int("StepSize", &TPerformanceGraph::SetStepSize)
      .Int("Scale", &TPerformanceGraph::SetScale)
      .Int("Gradient", &TPerformanceGraph::SetGradient)
      .Bool("Gridlines", &TPerformanceGraph::SetGridlines)
      .Int("PenWidth", &TPerformanceGraph::SetPenWidth)
      .Event("OnScaleChange", &TPerformanceGraph::OnScaleChange);
}

// FocusControl is set by code only; AutoSelect, ReadOnly and OnChange come
// from TCustomEdit, TabStop from TWinControl.
void RegisterSpinControls(TClassRegistry& r) {
  r.Register<TCSpinButton>("TCSpinButton", "TWinControl")
      .Event("OnUpClick", &TCSpinButton::OnUpClick)
      .Event("OnDownClick", &TCSpinButton::OnDownClick);
  r.Register<TCSpinEdit>("TCSpinEdit", "TCustomEdit")
      .Bool("EditorEnabled", &TCSpinEdit::SetEditorEnabled)
      .Int("Increment", &TCSpinEdit::SetIncrement)
      .Int("MaxValue", &TCSpinEdit::SetMaxValue)
      .Int("MinValue", &TCSpinEdit::SetMinValue)
      .Int("Value", &TCSpinEdit::SetValue);
}

// Year, Month and Day are never stored: a stored calendar shows today.
void RegisterCalendar(TClassRegistry& r) {
  r.Register<TCCalendar>("TCCalendar", "TCustomGrid")
      .Bool("ReadOnly", &TCCalendar::SetReadOnly)
      .Int("StartOfWeek",
           [](TCCalendar& c, int v) {
             c.SetStartOfWeek(static_cast<short>(v < 1 || v > 7 ? 1 : v));
           })
      .Bool("UseCurrentDate", &TCCalendar::SetUseCurrentDate)
      .Event("OnChange", &TCCalendar::OnChange);
}

// The grid's row and column settings are the outline's own business, so it
// stands on TCustomControl with the grid's frame and scroll bars. Its events
// that carry an item number or a drawing state are set by code.
void RegisterOutline(TClassRegistry& r) {
  auto picture = [](int index) {
    return [index](TCustomOutline& o, const TBytes& bmp) { o.ReadPicture(index, bmp); };
  };
  r.Register<TCustomOutline>("TCustomOutline", "TCustomControl")
      .Enum<TScrollStyle>("ScrollBars", &TCustomOutline::SetScrollBars,
                          NamesOf<TScrollStyle>(r, "TCustomGrid", "ScrollBars"))
      .Enum<TFormBorderStyle>("BorderStyle", &TCustomOutline::SetBorderStyle,
                              NamesOf<TFormBorderStyle>(r, "TCustomGrid", "BorderStyle"))
      .Bool("Ctl3D", &TCustomOutline::SetCtl3D)
      .Enum<TOutlineLook>("Look", &TCustomOutline::SetLook,
                          {{"lkText", TOutlineLook::lkText},
                           {"lkButtonText", TOutlineLook::lkButtonText},
                           {"lkPictureText", TOutlineLook::lkPictureText},
                           {"lkButtonPictureText", TOutlineLook::lkButtonPictureText},
                           {"lkTreeText", TOutlineLook::lkTreeText},
                           {"lkTreePictureText", TOutlineLook::lkTreePictureText}})
      .Enum<TOutlineType>(
          "Style", &TCustomOutline::SetStyle,
          {{"otStandard", TOutlineType::otStandard}, {"otOwnerDraw", TOutlineType::otOwnerDraw}})
      .Set<TOutlineOption>("Options",
                           [](TCustomOutline& o, unsigned long long v) {
                             o.SetOptions(static_cast<TOutlineOptions>(v));
                           },
                           {{"ooDrawTreeRoot", TOutlineOption::ooDrawTreeRoot},
                            {"ooDrawFocusRect", TOutlineOption::ooDrawFocusRect},
                            {"ooStretchBitmaps", TOutlineOption::ooStretchBitmaps}})
      .Int("ItemHeight", &TCustomOutline::SetItemHeight)
      .String("Separator", &TCustomOutline::SetSeparator)
      .Binary("PicturePlus", picture(kPicturePlus))
      .Binary("PictureMinus", picture(kPictureMinus))
      .Binary("PictureOpen", picture(kPictureOpen))
      .Binary("PictureClosed", picture(kPictureClosed))
      .Binary("PictureLeaf", picture(kPictureLeaf))
      .Binary("Data", &TCustomOutline::ReadData, &TCustomOutline::StoredData)
      .Strings("Nodes", &TCustomOutline::ReadNodes, &TCustomOutline::StoredNodes)
      .Object(
          "Lines", [](TCustomOutline& o) -> TStrings& { return o.Lines(); }, "TStrings");
  // Its tree comes from the disk when loading ends, never from the form.
  r.Register<TCDirectoryOutline>("TCDirectoryOutline", "TCustomOutline")
      .Enum<TTextCase>("TextCase", &TCDirectoryOutline::SetTextCase,
                       {{"tcLowerCase", TTextCase::tcLowerCase},
                        {"tcUpperCase", TTextCase::tcUpperCase},
                        {"tcAsIs", TTextCase::tcAsIs}})
      .Event("OnChange", &TCDirectoryOutline::OnChange);
}

}  // namespace

void RegisterControlClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStandardClasses();
  TClassRegistry& r = Classes();
  RegisterGauge(r);
  RegisterPerformanceGraph(r);
  RegisterSpinControls(r);
  RegisterCalendar(r);
  RegisterOutline(r);
}

}  // namespace nitko
