#pragma once

#include <string>

namespace nitko {

inline constexpr const char* SApplicationErrorCaption = "Application Error";

// The display of an exception that escaped a worker: the report in a
// task-modal message box on the GUI thread, the failing worker waiting until
// it is closed (the thread layer then ends the process with exit code 1).
// Without a GUI thread the text goes to stderr.
void ShowThreadExceptionReport(const std::string& text);

}  // namespace nitko
