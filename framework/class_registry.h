#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "framework/component.h"
#include "framework/property_table.h"

namespace nitko {

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

struct TClassInfo {
  std::string name;
  const TClassInfo* base = nullptr;
  std::type_index type;
  TComponentFactory factory;  // null: the class is never created by a description
  TPropertyTable properties;

  // This class's property or the nearest base class's.
  const TPropertyInfo* FindProperty(std::string_view property) const;
};

// Component and sub-object classes by name, each with its property table.
// Register base classes first. Registration is meant for start-up on the GUI
// thread; register from an explicit function (RegisterStandardClasses()),
// not from static initialisers, which a static library may drop.
class TClassRegistry {
 public:
  // Holds TPersistent and TComponent.
  TClassRegistry();
  TClassRegistry(const TClassRegistry&) = delete;
  TClassRegistry& operator=(const TClassRegistry&) = delete;

  // A component class constructible from its owner gets that constructor as
  // its factory. Raises Exception on a duplicate name or an unknown base.
  template <class C>
  TClassProperties<C> Register(std::string name, std::string base) {
    static_assert(std::is_base_of_v<TPersistent, C>);
    TComponentFactory factory;
    if constexpr (std::is_base_of_v<TComponent, C> && std::is_constructible_v<C, TComponent*>)
      factory = [](TComponent* owner) -> TComponent* { return new C(owner); };
    return Register<C>(std::move(name), std::move(base), std::move(factory));
  }
  template <class C>
  TClassProperties<C> Register(std::string name, std::string base, TComponentFactory factory) {
    TClassInfo& info = Add(std::move(name), base, typeid(C), std::move(factory));
    return TClassProperties<C>(info.properties, info.name);
  }
  // The table of a registered class, to add properties to it later.
  template <class C>
  TClassProperties<C> Properties(std::string_view name) {
    TClassInfo& info = Existing(name);
    return TClassProperties<C>(info.properties, info.name);
  }

  const TClassInfo* Find(std::string_view name) const;
  // The class registered for the dynamic type of an object.
  const TClassInfo* FindByType(std::type_index type) const;

 private:
  TClassInfo& Add(std::string name, const std::string& base, std::type_index type,
                  TComponentFactory factory);
  TClassInfo& Existing(std::string_view name);

  std::vector<std::unique_ptr<TClassInfo>> classes_;
};

// The process-wide registry the form reader uses by default.
TClassRegistry& Classes();

}  // namespace nitko
