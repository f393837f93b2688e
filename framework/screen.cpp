#include "framework/screen.h"

#include <atomic>

#include <QApplication>
#include <QFontMetrics>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include "framework/qt_bridge.h"
#include "runtime/exception.h"

namespace nitko {

namespace {

std::atomic<int> gBeepCount{0};

QScreen* Primary() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
             ? QGuiApplication::primaryScreen()
             : nullptr;
}

}  // namespace

int ScreenWidth() {
  QScreen* s = Primary();
  return s != nullptr ? s->geometry().width() : 0;
}

int ScreenHeight() {
  QScreen* s = Primary();
  return s != nullptr ? s->geometry().height() : 0;
}

bool ReadSystemMessageFont(TFont& font) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  const QFont f = QApplication::font("QMessageBox");
  if (f.family().isEmpty()) return false;
  font.SetName(f.family().toStdString());
  // Message text is 8 points at 96 pixels per inch on the desktop the
  // program was designed for; Qt may report points or pixels.
  const int pixels = f.pixelSize() > 0 ? f.pixelSize()
                                       : static_cast<int>(f.pointSizeF() * kScreenPixelsPerInch / 72 + 0.5);
  if (pixels > 0) font.SetHeight(-pixels);
  return true;
}

int SystemFontHeight() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return 0;
  return QFontMetrics(QGuiApplication::font()).height();
}

int FontHeight(const TFont& font) { return QFontMetrics(ToQFont(font)).height(); }

void Beep() {
  ++gBeepCount;
  QApplication::beep();
}

int BeepCount() { return gBeepCount.load(); }

void SetClipboardText(const std::string& text) {
  QClipboard* clipboard =
      qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
  if (clipboard == nullptr) throw Exception("Cannot open clipboard");
  clipboard->setText(QString::fromStdString(text));
}

std::string ClipboardText() {
  QClipboard* clipboard =
      qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
  return clipboard != nullptr ? clipboard->text().toStdString() : std::string();
}

}  // namespace nitko
