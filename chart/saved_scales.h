#pragma once

namespace nitko {

class TCustomAxisPanel;
class TCustomChartAxis;

// The range settings of one axis.
struct TAxisScale {
  bool Automatic = true;
  bool AutomaticMinimum = true;
  bool AutomaticMaximum = true;
  double Minimum = 0;
  double Maximum = 0;

  static TAxisScale Of(const TCustomChartAxis& axis);
  // Puts the settings back exactly, a half-automatic axis included.
  void ApplyTo(TCustomChartAxis& axis) const;
};

// The four side axes as they were before the first zoom or scroll.
struct TSavedScales {
  TAxisScale Top, Bottom, Left, Right;

  void Save(const TCustomAxisPanel& chart);
  void Restore(TCustomAxisPanel& chart) const;
};

}  // namespace nitko
