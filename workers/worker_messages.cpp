#include "workers/worker_messages.h"

#include <algorithm>

#include "dialogs/message_form.h"
#include "runtime/threads.h"

namespace nitko {

struct TWorkerMessages::TEntry {
  bool closed = false;  // declared first: a form destroyed open still sets it
  std::unique_ptr<TMessageForm> form;
};

TWorkerMessages::TWorkerMessages() = default;

TWorkerMessages::~TWorkerMessages() { CloseAll(); }

void TWorkerMessages::Show(const std::string& text, std::shared_ptr<TThreadSignal> closed) {
  // A closed message cannot be freed inside its own button's click; it goes here.
  ForgetClosed();
  auto entry = std::make_unique<TEntry>();
  TEntry* raw = entry.get();
  try {
    entry->form = std::make_unique<TMessageForm>(text, MessageDialogKind::mtCustom,
                                                 MessageDialogButtons{MessageDialogButton::mbOK});
    entry->form->SetPosition(TPosition::poScreenCenter);
    entries_.push_back(std::move(entry));
    raw->form->ShowModeless([raw, closed](TModalResult) {
      raw->closed = true;
      closed->Set();
    });
  } catch (...) {
    raw->closed = true;
    closed->Set();
    ForgetClosed();
    throw;
  }
}

void TWorkerMessages::CloseAll() {
  // Destroying an open form tells its waiter; the list is out of reach meanwhile.
  auto entries = std::move(entries_);
  entries_.clear();
  entries.clear();
}

std::vector<TMessageForm*> TWorkerMessages::Open() const {
  std::vector<TMessageForm*> open;
  for (const auto& e : entries_)
    if (!e->closed) open.push_back(e->form.get());
  return open;
}

void TWorkerMessages::ForgetClosed() {
  std::erase_if(entries_, [](const std::unique_ptr<TEntry>& e) { return e->closed; });
}

}  // namespace nitko
