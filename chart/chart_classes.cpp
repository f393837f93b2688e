#include "chart/chart_classes.h"

#include "chart/chart.h"
#include "chart/chart_axis.h"
#include "chart/chart_brush.h"
#include "chart/chart_gradient.h"
#include "chart/chart_legend.h"
#include "chart/chart_pen.h"
#include "chart/chart_title.h"
#include "chart/chart_wall.h"
#include "chart/view_3d_options.h"
#include "framework/class_registry.h"
#include "framework/panel.h"
#include "framework/standard_classes.h"
#include "framework/strings.h"

namespace nitko {

namespace {

void RegisterPensAndBrushes(TClassRegistry& r) {
  if (r.Find("TChartPen") == nullptr)
    r.Register<TChartPen>("TChartPen", "TPen")
        .Bool("Visible", &TChartPen::SetVisible)
        .Bool("SmallDots", &TChartPen::SetSmallDots);
  if (r.Find("TChartBrush") == nullptr) r.Register<TChartBrush>("TChartBrush", "TBrush");
}

void RegisterParts(TClassRegistry& r) {
  r.Register<TChartGradient>("TChartGradient", "TPersistent")
      .Bool("Visible", &TChartGradient::SetVisible)
      .Enum<TGradientDirection>("Direction", &TChartGradient::SetDirection,
                                {{"gdTopBottom", TGradientDirection::gdTopBottom},
                                 {"gdBottomTop", TGradientDirection::gdBottomTop},
                                 {"gdLeftRight", TGradientDirection::gdLeftRight},
                                 {"gdRightLeft", TGradientDirection::gdRightLeft},
                                 {"gdFromCenter", TGradientDirection::gdFromCenter},
                                 {"gdFromTopLeft", TGradientDirection::gdFromTopLeft},
                                 {"gdFromBottomLeft", TGradientDirection::gdFromBottomLeft}})
      .Color("StartColor", &TChartGradient::SetStartColor)
      .Color("EndColor", &TChartGradient::SetEndColor);
  r.Register<TChartTitle>("TChartTitle", "TPersistent")
      .Object("Text", [](TChartTitle& t) -> TStrings& { return t.Text(); }, "TStrings")
      .Bool("Visible", &TChartTitle::SetVisible)
      .Enum<TAlignment>("Alignment", &TChartTitle::SetAlignment,
                        {{"taLeftJustify", TAlignment::taLeftJustify},
                         {"taRightJustify", TAlignment::taRightJustify},
                         {"taCenter", TAlignment::taCenter}})
      .Bool("AdjustFrame", &TChartTitle::SetAdjustFrame)
      .Color("Color", &TChartTitle::SetColor)
      .Object("Brush", &TChartTitle::Brush, "TChartBrush")
      .Object("Frame", &TChartTitle::Frame, "TChartPen")
      .Object("Font", &TChartTitle::Font, "TFont");
  r.Register<TChartWall>("TChartWall", "TPersistent")
      .Color("Color", &TChartWall::SetColor)
      .Object("Brush", &TChartWall::Brush, "TChartBrush")
      .Object("Pen", &TChartWall::Pen, "TChartPen")
      .Bool("Dark3D", &TChartWall::SetDark3D)
      .Int("Size", &TChartWall::SetSize);
  r.Register<TChartLegend>("TChartLegend", "TPersistent")
      .Bool("Visible", &TChartLegend::SetVisible)
      .Enum<TLegendAlignment>("Alignment", &TChartLegend::SetAlignment,
                              {{"laLeft", TLegendAlignment::laLeft},
                               {"laRight", TLegendAlignment::laRight},
                               {"laTop", TLegendAlignment::laTop},
                               {"laBottom", TLegendAlignment::laBottom}})
      .Bool("ResizeChart", &TChartLegend::SetResizeChart)
      .Int("TopPos", &TChartLegend::SetTopPos)
      .Int("ColorWidth", &TChartLegend::SetColorWidth)
      .Int("MaxNumRows", &TChartLegend::SetMaxNumRows)
      .Int("ShadowSize", &TChartLegend::SetShadowSize)
      .Color("ShadowColor", &TChartLegend::SetShadowColor)
      .Enum<TLegendStyle>("LegendStyle", &TChartLegend::SetLegendStyle,
                          {{"lsAuto", TLegendStyle::lsAuto},
                           {"lsSeries", TLegendStyle::lsSeries},
                           {"lsValues", TLegendStyle::lsValues},
                           {"lsLastValues", TLegendStyle::lsLastValues}})
      .Enum<TLegendTextStyle>("TextStyle", &TChartLegend::SetTextStyle,
                              {{"ltsPlain", TLegendTextStyle::ltsPlain},
                               {"ltsLeftValue", TLegendTextStyle::ltsLeftValue},
                               {"ltsRightValue", TLegendTextStyle::ltsRightValue},
                               {"ltsLeftPercent", TLegendTextStyle::ltsLeftPercent},
                               {"ltsRightPercent", TLegendTextStyle::ltsRightPercent},
                               {"ltsXValue", TLegendTextStyle::ltsXValue}})
      .Color("Color", &TChartLegend::SetColor)
      .Int("FirstValue", &TChartLegend::SetFirstValue)
      .Int("HorizMargin", &TChartLegend::SetHorizMargin)
      .Int("VertMargin", &TChartLegend::SetVertMargin)
      .Bool("Inverted", &TChartLegend::SetInverted)
      .Object("Frame", &TChartLegend::Frame, "TChartPen")
      .Object("Brush", &TChartLegend::Brush, "TChartBrush")
      .Object("Font", &TChartLegend::Font, "TFont")
      .Object("DividingLines", &TChartLegend::DividingLines, "TChartPen");
  r.Register<TView3DOptions>("TView3DOptions", "TPersistent")
      .Int("Elevation", &TView3DOptions::SetElevation)
      .Int("Rotation", &TView3DOptions::SetRotation)
      .Int("Perspective", &TView3DOptions::SetPerspective)
      .Int("Tilt", &TView3DOptions::SetTilt)
      .Bool("Orthogonal", &TView3DOptions::SetOrthogonal)
      .Int("Zoom", &TView3DOptions::SetZoom)
      .Bool("ZoomText", &TView3DOptions::SetZoomText)
      .Int("HorizOffset", &TView3DOptions::SetHorizOffset)
      .Int("VertOffset", &TView3DOptions::SetVertOffset);
}

void RegisterAxes(TClassRegistry& r) {
  r.Register<TChartAxisTitle>("TChartAxisTitle", "TPersistent")
      .Int("Angle", &TChartAxisTitle::SetAngle)
      .String("Caption", &TChartAxisTitle::SetCaption)
      .Object("Font", &TChartAxisTitle::Font, "TFont");
  r.Register<TCustomChartAxis>("TCustomChartAxis", "TPersistent")
      .Bool("Automatic", &TCustomChartAxis::SetAutomatic)
      .Bool("AutomaticMaximum", &TCustomChartAxis::SetAutomaticMaximum)
      .Bool("AutomaticMinimum", &TCustomChartAxis::SetAutomaticMinimum)
      .Double("Minimum", &TCustomChartAxis::SetMinimum)
      .Double("Maximum", &TCustomChartAxis::SetMaximum)
      .Double("Increment", &TCustomChartAxis::SetIncrement)
      .Bool("Logarithmic", &TCustomChartAxis::SetLogarithmic)
      .Int("LogarithmicBase", &TCustomChartAxis::SetLogarithmicBase)
      .Bool("Inverted", &TCustomChartAxis::SetInverted)
      .Bool("ExactDateTime", &TCustomChartAxis::SetExactDateTime)
      .String("DateTimeFormat", &TCustomChartAxis::SetDateTimeFormat)
      .String("AxisValuesFormat", &TCustomChartAxis::SetAxisValuesFormat)
      .Bool("Labels", &TCustomChartAxis::SetLabels)
      .Int("LabelsAngle", &TCustomChartAxis::SetLabelsAngle)
      .Bool("LabelsMultiLine", &TCustomChartAxis::SetLabelsMultiLine)
      .Bool("LabelsOnAxis", &TCustomChartAxis::SetLabelsOnAxis)
      .Int("LabelsSeparation", &TCustomChartAxis::SetLabelsSeparation)
      .Int("LabelsSize", &TCustomChartAxis::SetLabelsSize)
      .Enum<TAxisLabelStyle>("LabelStyle", &TCustomChartAxis::SetLabelStyle,
                             {{"talAuto", TAxisLabelStyle::talAuto},
                              {"talNone", TAxisLabelStyle::talNone},
                              {"talValue", TAxisLabelStyle::talValue},
                              {"talMark", TAxisLabelStyle::talMark},
                              {"talText", TAxisLabelStyle::talText}})
      .Bool("RoundFirstLabel", &TCustomChartAxis::SetRoundFirstLabel)
      .Int("TickLength", &TCustomChartAxis::SetTickLength)
      .Int("TickInnerLength", &TCustomChartAxis::SetTickInnerLength)
      .Bool("TickOnLabelsOnly", &TCustomChartAxis::SetTickOnLabelsOnly)
      .Int("MinorTickLength", &TCustomChartAxis::SetMinorTickLength)
      .Int("MinorTickCount", &TCustomChartAxis::SetMinorTickCount)
      .Bool("GridCentered", &TCustomChartAxis::SetGridCentered)
      .Object("Ticks", &TCustomChartAxis::Ticks, "TChartPen")
      .Object("TicksInner", &TCustomChartAxis::TicksInner, "TChartPen")
      .Object("MinorTicks", &TCustomChartAxis::MinorTicks, "TChartPen")
      .Object("Grid", &TCustomChartAxis::Grid, "TChartPen")
      .Object("MinorGrid", &TCustomChartAxis::MinorGrid, "TChartPen")
      .Object("Axis", &TCustomChartAxis::Axis, "TChartPen")
      .Object("LabelsFont", &TCustomChartAxis::LabelsFont, "TFont")
      .Object("Title", &TCustomChartAxis::Title, "TChartAxisTitle")
      .Int("TitleSize", &TCustomChartAxis::SetTitleSize)
      .Double("StartPosition", &TCustomChartAxis::SetStartPosition)
      .Double("EndPosition", &TCustomChartAxis::SetEndPosition)
      .Double("PositionPercent", &TCustomChartAxis::SetPositionPercent)
      .Bool("Visible", &TCustomChartAxis::SetVisible);
  r.Register<TChartAxis>("TChartAxis", "TCustomChartAxis");
}

template <class A>
auto AxisGetter(A& (TCustomAxisPanel::*axis)() const) {
  return [axis](TCustomAxisPanel& p) -> A& { return (p.*axis)(); };
}

void RegisterPanels(TClassRegistry& r) {
  if (r.Find("TCustomPanel") == nullptr) RegisterPanelClass(r);
  r.Register<TCustomTeePanel>("TCustomTeePanel", "TCustomPanel")
      .Bool("View3D", &TCustomTeePanel::SetView3D)
      .Object("View3DOptions", &TCustomTeePanel::View3DOptions, "TView3DOptions")
      .Int("Chart3DPercent", &TCustomTeePanel::SetChart3DPercent)
      .Int("MarginLeft", &TCustomTeePanel::SetMarginLeft)
      .Int("MarginTop", &TCustomTeePanel::SetMarginTop)
      .Int("MarginRight", &TCustomTeePanel::SetMarginRight)
      .Int("MarginBottom", &TCustomTeePanel::SetMarginBottom)
      .Bool("Monochrome", &TCustomTeePanel::SetMonochrome)
      .Bool("BufferedDisplay", &TCustomTeePanel::SetBufferedDisplay);
  r.Register<TCustomTeePanelExtended>("TCustomTeePanelExtended", "TCustomTeePanel")
      .Object("Gradient", &TCustomTeePanelExtended::Gradient, "TChartGradient")
      .Enum<TTeeBackImageMode>("BackImageMode", &TCustomTeePanelExtended::SetBackImageMode,
                               {{"pbmStretch", TTeeBackImageMode::pbmStretch},
                                {"pbmTile", TTeeBackImageMode::pbmTile},
                                {"pbmCenter", TTeeBackImageMode::pbmCenter}})
      .Bool("BackImageInside", &TCustomTeePanelExtended::SetBackImageInside)
      .Bool("AnimatedZoom", &TCustomTeePanelExtended::SetAnimatedZoom)
      .Int("AnimatedZoomSteps", &TCustomTeePanelExtended::SetAnimatedZoomSteps)
      .Bool("AllowZoom", &TCustomTeePanelExtended::SetAllowZoom)
      .Enum<TPanningMode>("AllowPanning", &TCustomTeePanelExtended::SetAllowPanning,
                          {{"pmNone", TPanningMode::pmNone},
                           {"pmHorizontal", TPanningMode::pmHorizontal},
                           {"pmVertical", TPanningMode::pmVertical},
                           {"pmBoth", TPanningMode::pmBoth}});
  r.Register<TCustomAxisPanel>("TCustomAxisPanel", "TCustomTeePanelExtended")
      .Bool("AxisVisible", &TCustomAxisPanel::SetAxisVisible)
      .Bool("ClipPoints", &TCustomAxisPanel::SetClipPoints)
      .Bool("View3DWalls", &TCustomAxisPanel::SetView3DWalls)
      .Int("MaxPointsPerPage", &TCustomAxisPanel::SetMaxPointsPerPage)
      .Int("Page", &TCustomAxisPanel::SetPage)
      .Bool("ScaleLastPage", &TCustomAxisPanel::SetScaleLastPage)
      .Object("BottomAxis", AxisGetter(&TCustomAxisPanel::BottomAxis), "TChartAxis")
      .Object("TopAxis", AxisGetter(&TCustomAxisPanel::TopAxis), "TChartAxis")
      .Object("LeftAxis", AxisGetter(&TCustomAxisPanel::LeftAxis), "TChartAxis")
      .Object("RightAxis", AxisGetter(&TCustomAxisPanel::RightAxis), "TChartAxis")
      .Object("DepthAxis", AxisGetter<TChartDepthAxis>(&TCustomAxisPanel::DepthAxis),
              "TChartAxis");
  r.Register<TCustomChart>("TCustomChart", "TCustomAxisPanel")
      .Object("Title", &TCustomChart::Title, "TChartTitle")
      .Object("Foot", &TCustomChart::Foot, "TChartTitle")
      .Object("Legend", &TCustomChart::Legend, "TChartLegend")
      .Object("BackWall", &TCustomChart::BackWall, "TChartWall")
      .Object("LeftWall", &TCustomChart::LeftWall, "TChartWall")
      .Object("BottomWall", &TCustomChart::BottomWall, "TChartWall")
      .Event("OnZoom", &TCustomChart::OnZoom)
      .Event("OnUndoZoom", &TCustomChart::OnUndoZoom)
      .Event("OnScroll", &TCustomChart::OnScroll);
  r.Register<TChart>("TChart", "TCustomChart");
}

}  // namespace

void RegisterChartClasses(TClassRegistry& r) {
  if (r.Find("TChart") != nullptr) return;
  RegisterPensAndBrushes(r);
  RegisterParts(r);
  RegisterAxes(r);
  RegisterPanels(r);
}

void RegisterChartClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStandardClasses();
  RegisterChartClasses(Classes());
}

}  // namespace nitko
