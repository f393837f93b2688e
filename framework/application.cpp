#include "framework/application.h"

#include <QApplication>
#include <QFont>

#include "framework/exception_handling.h"
#include "framework/gui_thread.h"
#include "framework/message_box.h"
#include "framework/qt_bridge.h"
#include "framework/standard_classes.h"
#include "runtime/date_time.h"
#include "runtime/exception.h"
#include "runtime/locale_chars.h"

namespace nitko {

namespace {

TApplication* gApplication = nullptr;

}  // namespace

TApplication* Application() { return gApplication; }

int RunProgram(int& argc, char** argv, const std::function<void(TApplication&)>& createForms) {
  TApplication app;
  try {
    app.Initialize(argc, argv);
    createForms(app);
    app.Run();
  } catch (const Exception& e) {
    app.ShowException(e);
  } catch (...) {
    app.ShowException(Exception(""));
  }
  return 0;
}

std::string TitleFromExeName(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') == std::string::npos
                                     ? 0
                                     : path.find_last_of('/') + 1);
  name = name.substr(0, name.find('.'));
  for (size_t i = 1; i < name.size(); ++i)
    if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
  return name;
}

std::string ExceptionDisplayText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

TApplication::TApplication() : TComponent(nullptr) { gApplication = this; }

TApplication::~TApplication() {
  MarkDestroying();
  ShutdownGuiThread();
  SetPostedCallExceptionHandler(nullptr);
  SetEventExceptionHandler(nullptr);
  // Forms hold widgets: they go before the Qt application does.
  DestroyComponents();
  qt_app_.reset();
  if (gApplication == this) gApplication = nullptr;
}

void TApplication::Initialize(int& argc, char** argv) {
  if (argc > 0 && argv != nullptr && argv[0] != nullptr) title_ = TitleFromExeName(argv[0]);
  if (QCoreApplication::instance() == nullptr) qt_app_ = std::make_unique<QApplication>(argc, argv);
  // Names the form descriptions use, mapped to metric-compatible fonts.
  QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
  QFont::insertSubstitution("Arial", "Liberation Sans");
  // Every control gives its widget its own font, but an edit lays its text
  // out as it is made, before that: with the controls' default font as the
  // application's, the system's default font is never loaded for nothing.
  QApplication::setFont(ToQFont(TFont()));
  ReadLocaleChars();
  ReadLocaleDateFormats();
  RegisterStandardClasses();
  SetEventExceptionHandler([this](std::exception_ptr e) { HandleException(e); });
  SetPostedCallExceptionHandler([this](std::exception_ptr e) { HandleException(e); });
  InitGuiThread();
}

void TApplication::FormCreated(TCustomForm* form) {
  if (main_form_ != nullptr) return;
  main_form_ = form;
  form->OnClosed = [this] { Terminate(); };
}

void TApplication::Run() {
  if (main_form_ == nullptr || terminated_) return;
  main_form_->Show();
  if (!terminated_) QApplication::exec();
  // Workers blocked on a call to the GUI thread are released from here on.
  ShutdownGuiThread();
}

void TApplication::Terminate() {
  terminated_ = true;
  QCoreApplication::exit(0);
}

void TApplication::ShowException(const Exception& e) {
  MessageBox(ExceptionDisplayText(e.Message()), title_, MB_OK | MB_ICONERROR);
}

void TApplication::HandleException(std::exception_ptr error) {
  const TCaughtException caught = DescribeException(error);
  if (caught.silent) return;
  ShowException(Exception(caught.known ? caught.message : "Unknown exception"));
}

}  // namespace nitko
