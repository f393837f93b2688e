#pragma once

// Framework-internal: the scroll bars of a grid.

#include <functional>

class QObject;
class QScrollBar;
class QWidget;

namespace nitko {

struct TRect;

// Real scroll bars on a control's widget, outside its client area: the
// vertical one along the right edge inside the frame, the horizontal one
// along the bottom. They belong to the widget and go with it; the scrolled
// callback, run with context alive only, gets each position the user moves
// to.
class GridScrollBars {
 public:
  using Scrolled = std::function<void(bool vertical, int value)>;
  GridScrollBars(QWidget* host, QObject* context, Scrolled scrolled);

  // The thickness of a bar in the host's style.
  int Extent() const;
  // inner: the widget less its frame, in widget pixels.
  void Place(const TRect& inner, bool vertical, bool horizontal);
  // Sets a bar without reporting it back; disabled when min == max.
  void SetRange(bool vertical, int min, int max, int page, int value);
  QScrollBar* Bar(bool vertical) const { return vertical ? vertical_ : horizontal_; }

 private:
  QScrollBar* vertical_;
  QScrollBar* horizontal_;
};

}  // namespace nitko
