#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nitko {

class TMessageForm;
class TThreadSignal;

// The messages worker 2 waits on, owned on the GUI thread. Each is shown
// without blocking the main window; closing it (its button, Escape, the
// close box) sets the signal its worker waits for.
class TWorkerMessages {
 public:
  TWorkerMessages();
  ~TWorkerMessages();
  TWorkerMessages(const TWorkerMessages&) = delete;
  TWorkerMessages& operator=(const TWorkerMessages&) = delete;

  // GUI thread: shows text as ShowTextMessage would; closed is set when the
  // message goes, also when showing it fails.
  void Show(const std::string& text, std::shared_ptr<TThreadSignal> closed);
  // GUI thread: closes every open message (shut-down).
  void CloseAll();
  // The messages still open, oldest first.
  std::vector<TMessageForm*> Open() const;

 private:
  struct TEntry;
  void ForgetClosed();

  std::vector<std::unique_ptr<TEntry>> entries_;
};

}  // namespace nitko
