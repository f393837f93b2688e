// What a message form costs once it is gone: worker 2's message (one OK
// button, the application title), shown through the worker's message list,
// painted by the event loop, answered with its OK button and freed, one
// after another, headless. A warm-up of 100 forms first, so that fonts and
// first-use caches stay out; then resident memory and heap before and after
// the forms are printed, and what is left per form.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/resident_memory.h"
#include "dialogs/message_form.h"
#include "framework/button.h"
#include "runtime/threads.h"
#include "workers/worker_messages.h"

using namespace nitko;
using nitko::bench::ResidentKib;

namespace {

size_t HeapBytes() { return mallinfo2().uordblks; }

// Counts the paints of push buttons, to show that every form was drawn.
class ButtonPaints : public QObject {
 public:
  int count = 0;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && qobject_cast<QPushButton*>(watched) != nullptr) ++count;
    return false;
  }
};

void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// One message: shown, painted, answered, freed.
bool OneMessage(TWorkerMessages& messages, int n) {
  auto closed = std::make_shared<TThreadSignal>();
  messages.Show("Czas obliczeń: " + std::to_string(n % 1000) + " ms", closed);
  Settle();
  const auto open = messages.Open();
  if (open.size() != 1) return false;
  auto* ok = dynamic_cast<TButton*>(open.front()->FindComponent("OK"));
  if (ok == nullptr) return false;
  ok->Click();
  Settle();
  // The next Show frees the closed form; this one goes now.
  messages.CloseAll();
  Settle();
  return closed->IsSet();
}

void BM_MessageForms(benchmark::State& state) {
  const int forms = static_cast<int>(state.range(0));
  ButtonPaints paints;
  qApp->installEventFilter(&paints);
  long rss0 = 0, rss1 = 0;
  double heapPerForm = 0;
  int painted = 0;
  for (auto _ : state) {
    TWorkerMessages messages;
    for (int i = 0; i < 100; ++i) OneMessage(messages, i);
    malloc_trim(0);
    rss0 = ResidentKib();
    const size_t heap0 = HeapBytes();
    paints.count = 0;
    for (int i = 0; i < forms; ++i)
      if (!OneMessage(messages, i)) {
        state.SkipWithError("a message did not close");
        break;
      }
    painted = paints.count;
    malloc_trim(0);
    rss1 = ResidentKib();
    heapPerForm = (static_cast<double>(HeapBytes()) - static_cast<double>(heap0)) / forms;
  }
  qApp->removeEventFilter(&paints);
  std::printf("%d message forms: resident %ld KiB before, %ld KiB after (%+ld KiB), "
              "heap %+.0f bytes a form, %d button paints\n",
              forms, rss0, rss1, rss1 - rss0, heapPerForm, painted);
  state.counters["rss_before_kib"] = static_cast<double>(rss0);
  state.counters["rss_after_kib"] = static_cast<double>(rss1);
  state.counters["bytes_per_form_rss"] = static_cast<double>(rss1 - rss0) * 1024 / forms;
  state.counters["bytes_per_form_heap"] = heapPerForm;
  state.counters["button_paints"] = painted;
}

}  // namespace

BENCHMARK(BM_MessageForms)->Arg(2000)->Iterations(1)->Unit(benchmark::kSecond);
