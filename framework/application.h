#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "framework/component.h"
#include "framework/form.h"

class QApplication;

namespace nitko {

class Exception;

// The program's application object: owns the Qt application, the forms and
// the message loop, and shows exceptions that escape event handlers.
class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Creates the Qt application (unless one exists), reads the locale
  // characters, maps the designed-for font names to installed ones and
  // starts the hand-over to the GUI thread.
  void Initialize(int& argc, char** argv);

  // Allocates the form, stores it in ref and only then constructs it, so
  // code run by the constructor can reach the form through ref. If the
  // constructor raises, ref is reset and the exception travels on. The
  // first form created becomes the main form.
  template <typename T>
  T* CreateForm(T*& ref);

  // Shows the main form and runs the message loop until it closes.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  TCustomForm* MainForm() const { return main_form_; }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }
  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode value) { bidi_mode_ = value; }

  // The error message box: caption = Title, text by ExceptionDisplayText.
  void ShowException(const Exception& e);
  // EAbort is silent; an Exception is shown; anything else is shown as a
  // generic report.
  void HandleException(std::exception_ptr error);

  // Shows the help for a help context; unset, help does nothing.
  std::function<void(int helpContext)> OnHelp;

 private:
  void FormCreated(TCustomForm* form);

  std::unique_ptr<QApplication> qt_app_;
  TCustomForm* main_form_ = nullptr;
  std::string title_;
  TBiDiMode bidi_mode_ = TBiDiMode::bdLeftToRight;
  bool terminated_ = false;
};

// The program's start-up: initialise the application object, create the
// forms, run the message loop. An Exception escaping any step is shown with
// the exception display; any other thrown object is shown as an Exception
// with an empty message. Returns the exit code, 0 in every case.
int RunProgram(int& argc, char** argv, const std::function<void(TApplication&)>& createForms);

// The one application object, or null before it exists.
TApplication* Application();

// The title rule: the file name without folder and without everything from
// its first "." on, the first character kept, the rest in lower case.
std::string TitleFromExeName(const std::string& path);

// The message with a "." appended when it is not empty and its last
// character's code is greater than that of ".".
std::string ExceptionDisplayText(const std::string& message);

template <typename T>
T* TApplication::CreateForm(T*& ref) {
  void* memory = ::operator new(sizeof(T));
  ref = static_cast<T*>(memory);
  T* form;
  try {
    form = new (memory) T(this);
  } catch (...) {
    ref = nullptr;
    ::operator delete(memory);
    throw;
  }
  FormCreated(form);
  return form;
}

}  // namespace nitko
