// Any text as a form description over every class the program and the gallery
// register: a read either builds a tree or raises the framework's Exception,
// never more; each control of the tree is then painted where its area is
// modest (a huge control may have a huge surface, which only painting
// allocates).
#include <cstdint>
#include <memory>
#include <string_view>

#include "app/formularz.h"
#include "app/gallery/galeria.h"
#include "framework/control.h"
#include "framework/form_reader.h"
#include "framework/gui_thread.h"
#include "fuzz_qt.h"
#include "runtime/exception.h"

using namespace nitko;

namespace {

constexpr long long kMaxPaintedArea = 1 << 20;

void Paint(TComponent* component) {
  auto* control = dynamic_cast<TControl*>(component);
  if (control == nullptr) return;
  if (static_cast<long long>(control->ClientWidth()) * control->ClientHeight() <= kMaxPaintedArea)
    control->Repaint();
}

void PaintAll(TComponent& root) {
  Paint(&root);
  for (int i = 0; i < root.ComponentCount(); ++i) Paint(root.Components(i));
}


}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::StartQt(argc, argv);
  InitGuiThread();
  RegisterFormularzClasses();
  RegisterGaleriaClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    std::unique_ptr<TComponent> root(TFormReader().Create(text, nullptr));
    PaintAll(*root);
  } catch (const Exception&) {
  }
  ProcessPostedCalls();
  fuzz::FinishInput();
  return 0;
}
