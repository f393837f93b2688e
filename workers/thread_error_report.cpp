#include "workers/thread_error_report.h"

#include <cstdio>

#include "framework/gui_thread.h"
#include "framework/message_box.h"

namespace nitko {

void ShowThreadExceptionReport(const std::string& text) {
  try {
    SendToGuiThread([&text] { MessageBox(text, SApplicationErrorCaption, MB_OK | MB_ICONERROR); });
  } catch (...) {
    std::fputs(text.c_str(), stderr);
  }
}

}  // namespace nitko
