#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/events.h"

namespace nitko {

// The published handlers of a form by name: what the event bindings of its
// form description (OnClick = BitBtn3Click) resolve against. The form fills
// it in its constructor before reading its description.
class THandlerTable {
 public:
  // Raises Exception when the name is already there.
  void Add(std::string name, TNotifyEvent handler);
  // Null when there is no handler of that name.
  const TNotifyEvent* Find(std::string_view name) const;
  int Count() const { return static_cast<int>(handlers_.size()); }

 private:
  std::vector<std::pair<std::string, TNotifyEvent>> handlers_;
};

}  // namespace nitko
