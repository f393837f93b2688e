#include "framework/handler_table.h"

#include "runtime/exception.h"
#include "runtime/message_format.h"

namespace nitko {

void THandlerTable::Add(std::string name, TNotifyEvent handler) {
  if (Find(name) != nullptr)
    throw Exception(FormatMessage("Handler %s is already published", {name}));
  handlers_.emplace_back(std::move(name), std::move(handler));
}

const TNotifyEvent* THandlerTable::Find(std::string_view name) const {
  for (const auto& [n, handler] : handlers_)
    if (n == name) return &handler;
  return nullptr;
}

}  // namespace nitko
