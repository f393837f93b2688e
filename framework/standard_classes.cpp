#include "framework/standard_classes.h"

#include "framework/brush.h"
#include "framework/button.h"
#include "framework/class_registry.h"
#include "framework/custom_edit.h"
#include "framework/custom_grid.h"
#include "framework/font.h"
#include "framework/form.h"
#include "framework/image.h"
#include "framework/label.h"
#include "framework/memo.h"
#include "framework/open_dialog.h"
#include "framework/pen.h"
#include "framework/progress_bar.h"
#include "framework/strings.h"
#include "framework/timer.h"
#include "runtime/exception.h"

namespace nitko {

namespace {

void RegisterGraphics(TClassRegistry& r) {
  r.Register<TFont>("TFont", "TPersistent")
      .String("Name", &TFont::SetName)
      .Int("Height", &TFont::SetHeight)
      .Int("Size", &TFont::SetSize)
      .Color("Color", &TFont::SetColor)
      .Set<TFontStyle>("Style", [](TFont& f, unsigned long long v) { f.SetStyle(static_cast<TFontStyles>(v)); },
                       {{"fsBold", TFontStyle::fsBold},
                        {"fsItalic", TFontStyle::fsItalic},
                        {"fsUnderline", TFontStyle::fsUnderline},
                        {"fsStrikeOut", TFontStyle::fsStrikeOut}})
      .Int("Charset", &TFont::SetCharset,
           {{"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", kDefaultCharset}, {"EASTEUROPE_CHARSET", 238}})
      .Enum<TFontPitch>("Pitch", &TFont::SetPitch,
                        {{"fpDefault", TFontPitch::fpDefault},
                         {"fpVariable", TFontPitch::fpVariable},
                         {"fpFixed", TFontPitch::fpFixed}});
  r.Register<TPen>("TPen", "TPersistent")
      .Color("Color", &TPen::SetColor)
      .Int("Width", &TPen::SetWidth)
      .Enum<TPenStyle>("Style", &TPen::SetStyle,
                       {{"psSolid", TPenStyle::psSolid},
                        {"psDash", TPenStyle::psDash},
                        {"psDot", TPenStyle::psDot},
                        {"psDashDot", TPenStyle::psDashDot},
                        {"psDashDotDot", TPenStyle::psDashDotDot},
                        {"psClear", TPenStyle::psClear},
                        {"psInsideFrame", TPenStyle::psInsideFrame}})
      .Enum<TPenMode>("Mode", &TPen::SetMode,
                      {{"pmCopy", TPenMode::pmCopy},
                       {"pmXor", TPenMode::pmXor},
                       {"pmNotXor", TPenMode::pmNotXor}});
  r.Register<TBrush>("TBrush", "TPersistent")
      .Color("Color", &TBrush::SetColor)
      .Enum<TBrushStyle>("Style", &TBrush::SetStyle,
                         {{"bsSolid", TBrushStyle::bsSolid},
                          {"bsClear", TBrushStyle::bsClear},
                          {"bsHorizontal", TBrushStyle::bsHorizontal},
                          {"bsVertical", TBrushStyle::bsVertical},
                          {"bsFDiagonal", TBrushStyle::bsFDiagonal},
                          {"bsBDiagonal", TBrushStyle::bsBDiagonal},
                          {"bsCross", TBrushStyle::bsCross},
                          {"bsDiagCross", TBrushStyle::bsDiagCross}});
  r.Register<TStrings>("TStrings", "TPersistent")
      .Strings("Strings", [](TStrings& s, const std::vector<std::string>& v) { s.Assign(v); });
}

const TIdentList<TScrollStyle> kScrollStyles = {{"ssNone", TScrollStyle::ssNone},
                                                {"ssHorizontal", TScrollStyle::ssHorizontal},
                                                {"ssVertical", TScrollStyle::ssVertical},
                                                {"ssBoth", TScrollStyle::ssBoth}};

const TIdentList<TBiDiMode> kBiDiModes = {
    {"bdLeftToRight", TBiDiMode::bdLeftToRight},
    {"bdRightToLeft", TBiDiMode::bdRightToLeft},
    {"bdRightToLeftNoAlign", TBiDiMode::bdRightToLeftNoAlign},
    {"bdRightToLeftReadingOnly", TBiDiMode::bdRightToLeftReadingOnly}};

void RegisterControls(TClassRegistry& r) {
  r.Register<TControl>("TControl", "TComponent")
      .Int("Left", &TControl::SetLeft)
      .Int("Top", &TControl::SetTop)
      .Int("Width", &TControl::SetWidth)
      .Int("Height", &TControl::SetHeight)
      .Bool("Visible", &TControl::SetVisible)
      .Bool("Enabled", &TControl::SetEnabled)
      .Color("Color", &TControl::SetColor)
      .Bool("ParentColor", &TControl::SetParentColor)
      .Object("Font", [](TControl& c) -> TFont& { return c.Font(); }, "TFont")
      .Bool("ParentFont", &TControl::SetParentFont)
      .String("Caption", &TControl::SetCaption)
      .String("Text", &TControl::SetText)
      .Int("Tag", &TControl::SetTag)
      .Enum<TBiDiMode>("BiDiMode", &TControl::SetBiDiMode, kBiDiModes)
      .Bool("ParentBiDiMode", &TControl::SetParentBiDiMode)
      .Enum<TCursor>("Cursor", &TControl::SetCursor,
                     {{"crDefault", TCursor::crDefault},
                      {"crArrow", TCursor::crArrow},
                      {"crCross", TCursor::crCross},
                      {"crIBeam", TCursor::crIBeam},
                      {"crSizeAll", TCursor::crSizeAll},
                      {"crHandPoint", TCursor::crHandPoint}})
      .Event("OnClick", &TControl::OnClick)
      .Event("OnDblClick", &TControl::OnDblClick)
      .Event("OnResize", &TControl::OnResize);
  r.Register<TWinControl>("TWinControl", "TControl")
      .Int("TabOrder", &TWinControl::SetTabOrder)
      .Bool("TabStop", &TWinControl::SetTabStop)
      .Event("OnEnter", &TWinControl::OnEnter)
      .Event("OnExit", &TWinControl::OnExit);
  r.Register<TGraphicControl>("TGraphicControl", "TControl");
  r.Register<TCustomControl>("TCustomControl", "TWinControl");

  r.Register<TLabel>("TLabel", "TGraphicControl")
      .Bool("WordWrap", &TLabel::SetWordWrap)
      .Bool("Transparent", &TLabel::SetTransparent)
      .Bool("ShowAccelChar", &TLabel::SetShowAccelChar)
      .Enum<TAlignment>("Alignment", &TLabel::SetAlignment,
                        {{"taLeftJustify", TAlignment::taLeftJustify},
                         {"taRightJustify", TAlignment::taRightJustify},
                         {"taCenter", TAlignment::taCenter}});
  r.Register<TImage>("TImage", "TGraphicControl")
      .Bool("Center", &TImage::SetCenter)
      .Bool("Stretch", &TImage::SetStretch);
  r.Register<TCustomEdit>("TCustomEdit", "TWinControl")
      .Bool("ReadOnly", &TCustomEdit::SetReadOnly)
      .Bool("AutoSelect", &TCustomEdit::SetAutoSelect)
      .Int("MaxLength", &TCustomEdit::SetMaxLength)
      .Event("OnChange", &TCustomEdit::OnChange);
  r.Register<TMaskEdit>("TMaskEdit", "TCustomEdit").String("EditMask", &TMaskEdit::SetEditMask);
  r.Register<TButton>("TButton", "TWinControl")
      .Bool("Default", &TButton::SetDefault)
      .Bool("Cancel", &TButton::SetCancel)
      .Int("ModalResult", &TButton::SetModalResult);
  r.Register<TBitBtn>("TBitBtn", "TButton")
      .Enum<TBitBtnKind>("Kind", &TBitBtn::SetKind,
                         {{"bkCustom", TBitBtnKind::bkCustom},
                          {"bkOK", TBitBtnKind::bkOK},
                          {"bkCancel", TBitBtnKind::bkCancel},
                          {"bkHelp", TBitBtnKind::bkHelp},
                          {"bkYes", TBitBtnKind::bkYes},
                          {"bkNo", TBitBtnKind::bkNo},
                          {"bkClose", TBitBtnKind::bkClose}});
  r.Register<TProgressBar>("TProgressBar", "TWinControl")
      .Int("Min", &TProgressBar::SetMin)
      .Int("Max", &TProgressBar::SetMax)
      .Int("Step", &TProgressBar::SetStep)
      .Int("Position", &TProgressBar::SetPosition);
  r.Register<TMemo>("TMemo", "TWinControl")
      .Object("Lines", [](TMemo& m) -> TStrings& { return m.Lines(); }, "TStrings")
      .Bool("ReadOnly", &TMemo::SetReadOnly)
      .Enum<TScrollStyle>("ScrollBars", &TMemo::SetScrollBars, kScrollStyles)
      .Event("OnChange", &TMemo::OnChange);
  // Counts before fixed counts: a stored grid is applied in file order.
  r.Register<TCustomGrid>("TCustomGrid", "TCustomControl", nullptr)
      .Int("ColCount", &TCustomGrid::SetColCount)
      .Int("RowCount", &TCustomGrid::SetRowCount)
      .Int("FixedCols", &TCustomGrid::SetFixedCols)
      .Int("FixedRows", &TCustomGrid::SetFixedRows)
      .Int("DefaultColWidth", &TCustomGrid::SetDefaultColWidth)
      .Int("DefaultRowHeight", &TCustomGrid::SetDefaultRowHeight)
      .Int("GridLineWidth", &TCustomGrid::SetGridLineWidth)
      .Set<TGridOption>(
          "Options", [](TCustomGrid& g, unsigned long long v) { g.SetOptions(static_cast<TGridOptions>(v)); },
          {{"goFixedVertLine", TGridOption::goFixedVertLine},
           {"goFixedHorzLine", TGridOption::goFixedHorzLine},
           {"goVertLine", TGridOption::goVertLine},
           {"goHorzLine", TGridOption::goHorzLine},
           {"goRangeSelect", TGridOption::goRangeSelect},
           {"goDrawFocusSelected", TGridOption::goDrawFocusSelected}})
      .Bool("DefaultDrawing", &TCustomGrid::SetDefaultDrawing)
      .Enum<TScrollStyle>("ScrollBars", &TCustomGrid::SetScrollBars, kScrollStyles)
      .Enum<TFormBorderStyle>("BorderStyle", &TCustomGrid::SetBorderStyle,
                              {{"bsNone", TFormBorderStyle::bsNone},
                               {"bsSingle", TFormBorderStyle::bsSingle}})
      .Bool("Ctl3D", &TCustomGrid::SetCtl3D)
      .Color("FixedColor", &TCustomGrid::SetFixedColor);
}

// Components without a window of their own.
void RegisterComponents(TClassRegistry& r) {
  r.Register<TOpenDialog>("TOpenDialog", "TComponent")
      .String("Title", &TOpenDialog::SetTitle)
      .String("Filter", &TOpenDialog::SetFilter)
      .String("InitialDir", &TOpenDialog::SetInitialDir)
      .String("FileName", &TOpenDialog::SetFileName);
  r.Register<TTimer>("TTimer", "TComponent")
      .Bool("Enabled", &TTimer::SetEnabled)
      .Int("Interval",
           [](TTimer& t, int ms) {
             if (ms < 0) throw Exception("Timer interval must not be negative");
             t.SetInterval(static_cast<unsigned>(ms));
           })
      .Event("OnTimer", &TTimer::OnTimer);
}

void RegisterForms(TClassRegistry& r) {
  r.Register<TCustomForm>("TCustomForm", "TWinControl", nullptr)
      .Int("ClientWidth", &TCustomForm::SetClientWidth)
      .Int("ClientHeight", &TCustomForm::SetClientHeight)
      .Bool("KeyPreview", &TCustomForm::SetKeyPreview)
      .Int("HelpContext", &TCustomForm::SetHelpContext)
      .Enum<TPosition>("Position", &TCustomForm::SetPosition,
                       {{"poDesigned", TPosition::poDesigned},
                        {"poDefault", TPosition::poDefault},
                        {"poScreenCenter", TPosition::poScreenCenter},
                        {"poDesktopCenter", TPosition::poDesktopCenter}})
      .Enum<TFormBorderStyle>("BorderStyle", &TCustomForm::SetBorderStyle,
                              {{"bsNone", TFormBorderStyle::bsNone},
                               {"bsSingle", TFormBorderStyle::bsSingle},
                               {"bsSizeable", TFormBorderStyle::bsSizeable},
                               {"bsDialog", TFormBorderStyle::bsDialog},
                               {"bsToolWindow", TFormBorderStyle::bsToolWindow},
                               {"bsSizeToolWin", TFormBorderStyle::bsSizeToolWin}})
      // Settings of the design tool with no effect at run time.
      .Bool("OldCreateOrder", [](TCustomForm&, bool) {})
      .Int("PixelsPerInch", [](TCustomForm&, int) {})
      .Int("TextHeight", [](TCustomForm&, int) {});
  r.Register<TForm>("TForm", "TCustomForm");
}

}  // namespace

void RegisterStandardClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  TClassRegistry& r = Classes();
  RegisterGraphics(r);
  RegisterControls(r);
  RegisterComponents(r);
  RegisterForms(r);
}

}  // namespace nitko
