#include "framework/memo.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include "framework/exception_handling.h"
#include "runtime/exception.h"

namespace nitko {

// The memo's lines are the blocks of its document; an empty document holds
// no line at all.
class TMemo::MemoLines : public TStrings {
 public:
  explicit MemoLines(TMemo* memo) : memo_(memo) {}

  int Count() const override {
    // Asked on every append: the document answers without copying its text.
    const QTextDocument* doc = Editor()->document();
    return doc->isEmpty() && !has_empty_line_ ? 0 : doc->blockCount();
  }
  std::string Get(int index) const override {
    CheckListIndex(index, Count());
    return Editor()->document()->findBlockByNumber(index).text().toStdString();
  }
  void Put(int index, const std::string& s) override {
    CheckListIndex(index, Count());
    QTextCursor c(Editor()->document()->findBlockByNumber(index));
    c.movePosition(QTextCursor::StartOfBlock);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(QString::fromStdString(s));
  }
  void Insert(int index, const std::string& s) override {
    const int count = Count();
    if (index < 0 || index > count) RaiseListError(index);
    const QString line = QString::fromStdString(s);
    if (count == 0) {
      has_empty_line_ = line.isEmpty();
      Editor()->setPlainText(line);
    } else if (index == count) {
      // appendPlainText scrolls to the new line only when the view was at
      // the bottom; the memo keeps the last line in view always.
      Editor()->appendPlainText(line);
    } else {
      QTextCursor c(Editor()->document()->findBlockByNumber(index));
      c.insertText(line + "\n");
    }
    if (index == count) ScrollToEnd();
  }
  void Delete(int index) override {
    CheckListIndex(index, Count());
    const int count = Count();
    if (count == 1) {
      Clear();
      return;
    }
    // One line stays; when it is empty the document alone can't tell.
    if (count == 2) has_empty_line_ = true;
    QTextCursor c(Editor()->document()->findBlockByNumber(index));
    c.movePosition(QTextCursor::StartOfBlock);
    if (index == count - 1) {
      c.movePosition(QTextCursor::PreviousBlock, QTextCursor::MoveAnchor);
      c.movePosition(QTextCursor::EndOfBlock);
      c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    } else {
      c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    }
    c.removeSelectedText();
  }
  void Clear() override {
    has_empty_line_ = false;
    Editor()->clear();
  }

  void ScrollToEnd() {
    QScrollBar* bar = Editor()->verticalScrollBar();
    bar->setValue(bar->maximum());
  }

 private:
  QPlainTextEdit* Editor() const { return memo_->Editor(); }
  TMemo* memo_;
  bool has_empty_line_ = false;
};

TMemo::TMemo(TComponent* owner)
    : TWinControl(owner, new QPlainTextEdit()), lines_(std::make_unique<MemoLines>(this)) {
  SetTabStop(true);
  SetColor(clWindow);
  Editor()->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Tab moves on to the next control, as in every other control.
  Editor()->setTabChangesFocus(true);
  SetScrollBars(TScrollStyle::ssNone);
  QObject::connect(Editor(), &QPlainTextEdit::textChanged, SignalContext(), [this] {
    RunWidgetSignal([this] {
      if (OnChange) OnChange(this);
    });
  });
}

TMemo::~TMemo() { MarkDestroying(); }

TStrings& TMemo::Lines() { return *lines_; }
const TStrings& TMemo::Lines() const { return *lines_; }

QPlainTextEdit* TMemo::Editor() const { return static_cast<QPlainTextEdit*>(Widget()); }

void TMemo::SetScrollBars(TScrollStyle value) {
  scroll_bars_ = value;
  const bool v = value == TScrollStyle::ssVertical || value == TScrollStyle::ssBoth;
  const bool h = value == TScrollStyle::ssHorizontal || value == TScrollStyle::ssBoth;
  Editor()->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  Editor()->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  // Without a horizontal bar long lines wrap, as they do in a memo.
  Editor()->setLineWrapMode(h ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
}

void TMemo::SetReadOnly(bool value) {
  read_only_ = value;
  Editor()->setReadOnly(value);
}

bool TMemo::LastLineVisible() const {
  QScrollBar* bar = Editor()->verticalScrollBar();
  return bar->value() == bar->maximum();
}

}  // namespace nitko
