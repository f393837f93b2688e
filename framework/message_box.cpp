#include "framework/message_box.h"

#include <QMessageBox>

namespace nitko {

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  QMessageBox box;
  box.setObjectName("MessageBox");
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  switch (flags & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  if ((flags & 0x0F) == MB_OKCANCEL) {
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
  }
  return box.exec() == QMessageBox::Cancel ? IDCANCEL : IDOK;
}

}  // namespace nitko
