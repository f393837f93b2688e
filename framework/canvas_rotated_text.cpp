#include <QPainter>
#include <QString>

#include "framework/canvas.h"
#include "framework/canvas_state.h"
#include "framework/qt_bridge.h"
#include "framework/surface.h"

namespace nitko {

void TCanvas::TextOutRotated(int x, int y, const std::string& text, int angleTenths) {
  if (record_ && !Recorded('o', {x, y, angleTenths}, text)) return;
  if (changes_) TouchedAll();
  if (!surface_ || text.empty()) return;
  const QRegion region = State::Drawable(*this);
  if (region.isEmpty()) return;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFontMetrics& fm = state_->Metrics(font_);
  const int width = fm.horizontalAdvance(s);
  // The alignment offsets are taken along the rotated baseline.
  int dx = 0;
  int dy = 0;
  if ((textAlign_ & taCenter) == taRight) dx = -width;
  if ((textAlign_ & taCenter) == taCenter) dx = -width / 2;
  if ((textAlign_ & taBaseline) == taBottom) dy = -fm.height();
  if ((textAlign_ & taBaseline) == taBaseline) dy = -fm.ascent();
  State::Changing(*this);
  {
    QPainter p(&surface_->Image());
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setClipRegion(region);
    p.setFont(state_->QtFont(font_));
    p.setPen(ToQColor(font_.Color()));
    p.translate(x, y);
    p.rotate(-angleTenths / 10.0);  // screen y points down
    p.drawText(QPoint(dx, dy + fm.ascent()), s);
  }
  State::Changed(*this);
}

}  // namespace nitko
