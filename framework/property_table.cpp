#include "framework/property_table.h"

#include "runtime/exception.h"
#include "runtime/message_format.h"

namespace nitko {

void TPropertyTable::Add(TPropertyInfo info) {
  if (Find(info.name) != nullptr)
    throw Exception(FormatMessage("Property %s is already registered", {info.name}));
  properties_.push_back(std::move(info));
}

const TPropertyInfo* TPropertyTable::Find(std::string_view name) const {
  for (const TPropertyInfo& p : properties_)
    if (p.name == name) return &p;
  return nullptr;
}

void RaiseNotOfClass(const std::string& class_name) {
  throw Exception(FormatMessage("Object is not of class %s", {class_name}));
}

}  // namespace nitko
