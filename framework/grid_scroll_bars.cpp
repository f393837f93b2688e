#include "framework/grid_scroll_bars.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>

#include "framework/types.h"

namespace nitko {

GridScrollBars::GridScrollBars(QWidget* host, QObject* context, Scrolled scrolled)
    : vertical_(new QScrollBar(Qt::Vertical, host)),
      horizontal_(new QScrollBar(Qt::Horizontal, host)) {
  for (QScrollBar* bar : {vertical_, horizontal_}) {
    bar->hide();
    // The grid keeps the focus while its bars are used.
    bar->setFocusPolicy(Qt::NoFocus);
    const bool vertical = bar == vertical_;
    QObject::connect(bar, &QScrollBar::valueChanged, context,
                     [scrolled, vertical](int value) { scrolled(vertical, value); });
  }
}

int GridScrollBars::Extent() const {
  return vertical_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vertical_);
}

void GridScrollBars::Place(const TRect& inner, bool vertical, bool horizontal) {
  const int e = Extent();
  const int w = std::max(0, inner.Width()), h = std::max(0, inner.Height());
  vertical_->setGeometry(inner.Right - e, inner.Top, e, std::max(0, h - (horizontal ? e : 0)));
  horizontal_->setGeometry(inner.Left, inner.Bottom - e, std::max(0, w - (vertical ? e : 0)), e);
  vertical_->setVisible(vertical);
  horizontal_->setVisible(horizontal);
}

void GridScrollBars::SetRange(bool vertical, int min, int max, int page, int value) {
  QScrollBar* bar = Bar(vertical);
  const QSignalBlocker quiet(bar);
  bar->setRange(min, max);
  bar->setPageStep(std::max(1, page));
  bar->setSingleStep(1);
  bar->setValue(value);
  bar->setEnabled(max > min);
}

}  // namespace nitko
