#include <cstdio>

#include "app/gallery/galeria.h"
#include "framework/application.h"
#include "framework/display_check.h"
#include "runtime/locale_chars.h"

using namespace nitko;

int main(int argc, char** argv) {
  const std::string reason = MissingDisplayReason("nitkograf-gallery");
  if (!reason.empty()) {
    std::fprintf(stderr, "%s\n", reason.c_str());
    return 2;
  }
  return RunProgram(argc, argv, [](TApplication& app) {
    ReadLocaleChars();
    RegisterGaleriaClasses();
    app.CreateForm(Galeria);
  });
}
