#include "framework/display_check.h"

#include <cstdlib>

namespace nitko {

namespace {

bool IsSet(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0';
}

}  // namespace

std::string MissingDisplayReason(const std::string& programName) {
  // An explicit platform (offscreen, vnc, ...) needs no display server.
  if (IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return {};
  return programName +
         ": no display (DISPLAY and WAYLAND_DISPLAY are unset); run it under a virtual one: "
         "xvfb-run -a " +
         programName;
}

}  // namespace nitko
