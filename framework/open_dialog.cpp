#include "framework/open_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

namespace nitko {

namespace {

// "Text (*.txt)|*.txt;*.text|All|*" as Qt writes it: "Text (*.txt *.text);;All (*)".
QString QtFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    const int open = name.indexOf('(');
    if (open >= 0) name = name.left(open).trimmed();
    out << name + " (" + parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ') + ")";
  }
  return out.join(";;");
}

}  // namespace

bool TOpenDialog::Execute() {
  QString start = QString::fromStdString(file_name_);
  if (start.isEmpty()) start = QString::fromStdString(initial_dir_);
  const QString chosen = QFileDialog::getOpenFileName(
      QApplication::activeWindow(), QString::fromStdString(title_), start, QtFilter(filter_));
  if (chosen.isEmpty()) return false;
  file_name_ = chosen.toStdString();
  return true;
}

}  // namespace nitko
