#include <cstdio>

#include "app/formularz.h"
#include "framework/application.h"
#include "framework/display_check.h"

using namespace nitko;

int main(int argc, char** argv) {
  const std::string reason = MissingDisplayReason("Nitkograf");
  if (!reason.empty()) {
    std::fprintf(stderr, "%s\n", reason.c_str());
    return 2;
  }
  return RunProgram(argc, argv, CreateProgramForms);
}
