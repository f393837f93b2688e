#include "framework/class_registry.h"

#include "runtime/exception.h"
#include "runtime/message_format.h"

namespace nitko {

namespace {

template <class Match>
const TClassInfo* FirstMatch(const std::vector<std::unique_ptr<TClassInfo>>& classes, Match match) {
  for (const auto& c : classes)
    if (match(*c)) return c.get();
  return nullptr;
}

}  // namespace

const TPropertyInfo* TClassInfo::FindProperty(std::string_view property) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->base)
    if (const TPropertyInfo* p = c->properties.Find(property)) return p;
  return nullptr;
}

TClassRegistry::TClassRegistry() {
  Register<TPersistent>("TPersistent", "");
  Register<TComponent>("TComponent", "TPersistent");
}

TClassInfo& TClassRegistry::Add(std::string name, const std::string& base, std::type_index type,
                                TComponentFactory factory) {
  if (Find(name) != nullptr)
    throw Exception(FormatMessage("Class %s is already registered", {name}));
  const TClassInfo* base_info = nullptr;
  if (!base.empty()) {
    base_info = Find(base);
    if (base_info == nullptr)
      throw Exception(FormatMessage("Base class %s of %s is not registered", {base, name}));
  }
  auto info = std::make_unique<TClassInfo>(
      TClassInfo{std::move(name), base_info, type, std::move(factory), {}});
  classes_.push_back(std::move(info));
  return *classes_.back();
}

TClassInfo& TClassRegistry::Existing(std::string_view name) {
  // The classes are the registry's own, not const: only Find hands them out as const.
  if (const TClassInfo* info = Find(name)) return const_cast<TClassInfo&>(*info);
  throw Exception(FormatMessage("Class %s is not registered", {name}));
}

const TClassInfo* TClassRegistry::Find(std::string_view name) const {
  return FirstMatch(classes_, [&](const TClassInfo& c) { return c.name == name; });
}

const TClassInfo* TClassRegistry::FindByType(std::type_index type) const {
  return FirstMatch(classes_, [&](const TClassInfo& c) { return c.type == type; });
}

TClassRegistry& Classes() {
  static TClassRegistry registry;
  return registry;
}

}  // namespace nitko
