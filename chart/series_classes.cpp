#include "chart/series_classes.h"

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"
#include "chart/chart_series.h"
#include "chart/chart_value_list.h"
#include "chart/custom_series.h"
#include "chart/fast_line_series.h"
#include "chart/point_series.h"
#include "chart/series_marks.h"
#include "chart/series_pointer.h"
#include "framework/class_registry.h"

namespace nitko {

namespace {

void RegisterParts(TClassRegistry& r) {
  if (r.Find("TChartPen") == nullptr)
    r.Register<TChartPen>("TChartPen", "TPen")
        .Bool("Visible", &TChartPen::SetVisible)
        .Bool("SmallDots", &TChartPen::SetSmallDots);
  if (r.Find("TChartBrush") == nullptr) r.Register<TChartBrush>("TChartBrush", "TBrush");
  if (r.Find("TChartValueList") == nullptr)
    r.Register<TChartValueList>("TChartValueList", "TPersistent")
        .String("Name", &TChartValueList::SetName)
        .Bool("DateTime", &TChartValueList::SetDateTime)
        .Double("Multiplier", &TChartValueList::SetMultiplier)
        .Enum<TChartListOrder>("Order", &TChartValueList::SetOrder,
                               {{"loNone", TChartListOrder::loNone},
                                {"loAscending", TChartListOrder::loAscending},
                                {"loDescending", TChartListOrder::loDescending}})
        .String("ValueSource", &TChartValueList::SetValueSource);
  if (r.Find("TSeriesMarks") == nullptr)
    r.Register<TSeriesMarks>("TSeriesMarks", "TPersistent")
        .Bool("Visible", &TSeriesMarks::SetVisible)
        .Int("ArrowLength", &TSeriesMarks::SetArrowLength)
        .Color("BackColor", &TSeriesMarks::SetBackColor)
        .Bool("Transparent", &TSeriesMarks::SetTransparent)
        .Bool("Clip", &TSeriesMarks::SetClip)
        .Object("Frame", &TSeriesMarks::Frame, "TChartPen")
        .Enum<TSeriesMarksStyle>("Style", &TSeriesMarks::SetStyle,
                                 {{"smsValue", TSeriesMarksStyle::smsValue},
                                  {"smsPercent", TSeriesMarksStyle::smsPercent},
                                  {"smsLabel", TSeriesMarksStyle::smsLabel},
                                  {"smsLabelPercent", TSeriesMarksStyle::smsLabelPercent},
                                  {"smsLabelValue", TSeriesMarksStyle::smsLabelValue},
                                  {"smsLegend", TSeriesMarksStyle::smsLegend},
                                  {"smsPercentTotal", TSeriesMarksStyle::smsPercentTotal},
                                  {"smsLabelPercentTotal",
                                   TSeriesMarksStyle::smsLabelPercentTotal},
                                  {"smsXValue", TSeriesMarksStyle::smsXValue}});
  r.Register<TSeriesPointer>("TSeriesPointer", "TPersistent")
      .Int("HorizSize", &TSeriesPointer::SetHorizSize)
      .Int("VertSize", &TSeriesPointer::SetVertSize)
      .Enum<TSeriesPointerStyle>("Style", &TSeriesPointer::SetStyle,
                                 {{"psRectangle", TSeriesPointerStyle::psRectangle},
                                  {"psCircle", TSeriesPointerStyle::psCircle},
                                  {"psTriangle", TSeriesPointerStyle::psTriangle},
                                  {"psDownTriangle", TSeriesPointerStyle::psDownTriangle},
                                  {"psCross", TSeriesPointerStyle::psCross},
                                  {"psDiagCross", TSeriesPointerStyle::psDiagCross},
                                  {"psStar", TSeriesPointerStyle::psStar},
                                  {"psDiamond", TSeriesPointerStyle::psDiamond},
                                  {"psSmallDot", TSeriesPointerStyle::psSmallDot}})
      .Bool("Visible", &TSeriesPointer::SetVisible)
      .Bool("InflateMargins", &TSeriesPointer::SetInflateMargins)
      .Bool("Draw3D", &TSeriesPointer::SetDraw3D)
      .Bool("Dark3D", &TSeriesPointer::SetDark3D)
      .Object("Pen", &TSeriesPointer::Pen, "TChartPen")
      .Object("Brush", &TSeriesPointer::Brush, "TChartBrush");
}

void RegisterChartSeries(TClassRegistry& r) {
  if (r.Find("TChartSeries") != nullptr) return;
  r.Register<TChartSeries>("TChartSeries", "TComponent")
      .Bool("Active", &TChartSeries::SetActive)
      .Bool("ColorEachPoint", &TChartSeries::SetColorEachPoint)
      .Color("SeriesColor", &TChartSeries::SetSeriesColor)
      .String("Title", &TChartSeries::SetTitle)
      .Bool("ShowInLegend", &TChartSeries::SetShowInLegend)
      .String("ValueFormat", &TChartSeries::SetValueFormat)
      .String("PercentFormat", &TChartSeries::SetPercentFormat)
      .String("ColorSource", &TChartSeries::SetColorSource)
      .String("XLabelsSource", &TChartSeries::SetXLabelsSource)
      .Int("ZOrder", &TChartSeries::SetZOrder)
      .Enum<THorizAxis>("HorizAxis", &TChartSeries::SetHorizAxis,
                        {{"aTopAxis", THorizAxis::aTopAxis},
                         {"aBottomAxis", THorizAxis::aBottomAxis},
                         {"aBothHorizAxis", THorizAxis::aBothHorizAxis},
                         {"aCustomHorizAxis", THorizAxis::aCustomHorizAxis}})
      .Enum<TVertAxis>("VertAxis", &TChartSeries::SetVertAxis,
                       {{"aLeftAxis", TVertAxis::aLeftAxis},
                        {"aRightAxis", TVertAxis::aRightAxis},
                        {"aBothVertAxis", TVertAxis::aBothVertAxis},
                        {"aCustomVertAxis", TVertAxis::aCustomVertAxis}})
      .Object("XValues", &TChartSeries::XValues, "TChartValueList")
      .Object("YValues", &TChartSeries::YValues, "TChartValueList")
      .Object("Marks", &TChartSeries::Marks, "TSeriesMarks");
}

}  // namespace

void RegisterSeriesClasses(TClassRegistry& r) {
  if (r.Find("TFastLineSeries") != nullptr) return;
  RegisterParts(r);
  RegisterChartSeries(r);
  r.Register<TFastLineSeries>("TFastLineSeries", "TChartSeries")
      .Bool("AutoRepaint", &TFastLineSeries::SetAutoRepaint)
      .Object("LinePen", &TFastLineSeries::LinePen, "TChartPen");
  r.Register<TCustomSeries>("TCustomSeries", "TChartSeries")
      .Object("Pointer", &TCustomSeries::Pointer, "TSeriesPointer")
      .Object("LinePen", &TCustomSeries::LinePen, "TChartPen")
      .Object("AreaLinesPen", &TCustomSeries::AreaLinesPen, "TChartPen")
      .Color("AreaColor", &TCustomSeries::SetAreaColor)
      .Int("LineHeight", &TCustomSeries::SetLineHeight)
      .Bool("Dark3D", &TCustomSeries::SetDark3D);
  r.Register<TPointSeries>("TPointSeries", "TCustomSeries");
}

}  // namespace nitko
