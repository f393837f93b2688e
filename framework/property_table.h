#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "framework/colors.h"
#include "framework/events.h"
#include "framework/persistent.h"
#include "framework/types.h"

namespace nitko {

enum class TPropertyKind {
  pkInteger,  // 12, -3, 0x1F, or one of its identifier aliases
  pkFloat,    // 0.1, -2.5e3, 1
  pkBoolean,  // True, False
  pkString,   // 'text'
  pkStrings,  // ('line 1' 'line 2')
  pkColor,    // a number or a clXxx name
  pkEnum,     // one of its value names
  pkSet,      // [a, b] of its element names
  pkObject,   // a sub-object reached by paths such as Font.Color
  pkEvent,    // a handler name
  pkBinary,   // {0A 1B FF}: raw bytes a component reads itself
};


// What a setter receives: long long for integers, enums (their value) and
// colours; unsigned long long for set masks.
using TPropertyValue = std::variant<long long, unsigned long long, double, bool, std::string,
                                    std::vector<std::string>, TNotifyEvent, TBytes>;

// Identifier -> value pairs of an enum, a set (bit masks) or integer aliases.
template <class T>
using TIdentList = std::vector<std::pair<std::string, T>>;

struct TPropertyInfo {
  std::string name;
  TPropertyKind kind = TPropertyKind::pkInteger;
  TIdentList<long long> names;  // enum values, set masks, integer aliases
  std::string object_class;     // pkObject: the class whose table applies
  std::function<void(TPersistent&, const TPropertyValue&)> set;
  std::function<TPersistent*(TPersistent&)> get;  // pkObject only
  // What a writer stores for the object, nothing when the property is not
  // stored; only for properties that decide this themselves (raw data, a
  // list a component writes from its own state).
  std::function<std::optional<TPropertyValue>(TPersistent&)> store;
};

// The properties one class adds to those of its base class.
class TPropertyTable {
 public:
  // Raises Exception when the name is already in this table.
  void Add(TPropertyInfo info);
  const TPropertyInfo* Find(std::string_view name) const;
  TPropertyInfo& Last() { return properties_.back(); }

 private:
  std::vector<TPropertyInfo> properties_;
};

// Raises Exception: target of a property registered for class_name is not one.
[[noreturn]] void RaiseNotOfClass(const std::string& class_name);

// Typed registration for class C. A setter is a member function of C or of
// a base (&TControl::SetLeft), a callable taking (C&, value), or a data member
// pointer (&TControl::OnClick) that is assigned. A sub-object getter is a
// member function (the non-const one of a pair), a callable returning a
// pointer or reference, or a data member pointer.
//
//   auto props = registry.Register<TButton>("TButton", "TControl");
//   props.Int("Left", &TControl::SetLeft)
//       .Enum<TAlign>("Align", &TControl::SetAlign, {{"alNone", alNone}, {"alTop", alTop}})
//       .Object("Font", &TControl::Font, "TFont")
//       .Event("OnClick", &TControl::OnClick);
template <class C>
class TClassProperties {
  static_assert(std::is_base_of_v<TPersistent, C>);

 public:
  TClassProperties(TPropertyTable& table, std::string class_name)
      : table_(&table), class_name_(std::move(class_name)) {}

  template <class F>
  TClassProperties& Int(std::string name, F setter, const TIdentList<int>& aliases = {}) {
    TIdentList<long long> names;
    for (const auto& [n, v] : aliases) names.emplace_back(n, v);
    return Add<long long>(std::move(name), TPropertyKind::pkInteger, setter, std::move(names),
                          [](long long v) { return static_cast<int>(v); });
  }
  template <class F>
  TClassProperties& Double(std::string name, F setter) {
    return Add<double>(std::move(name), TPropertyKind::pkFloat, setter);
  }
  template <class F>
  TClassProperties& Bool(std::string name, F setter) {
    return Add<bool>(std::move(name), TPropertyKind::pkBoolean, setter);
  }
  template <class F>
  TClassProperties& String(std::string name, F setter) {
    return Add<std::string>(std::move(name), TPropertyKind::pkString, setter);
  }
  template <class F>
  TClassProperties& Strings(std::string name, F setter) {
    return Add<std::vector<std::string>>(std::move(name), TPropertyKind::pkStrings, setter);
  }
  // store(C&) gives the optional value a writer stores.
  template <class F, class S>
  TClassProperties& Strings(std::string name, F setter, S store) {
    Strings(std::move(name), setter);
    return Stores(store);
  }
  template <class F, class S>
  TClassProperties& Binary(std::string name, F setter, S store) {
    Add<TBytes>(std::move(name), TPropertyKind::pkBinary, setter);
    return Stores(store);
  }
  template <class F>
  TClassProperties& Binary(std::string name, F setter) {
    return Add<TBytes>(std::move(name), TPropertyKind::pkBinary, setter);
  }
  template <class F>
  TClassProperties& Color(std::string name, F setter) {
    return Add<long long>(std::move(name), TPropertyKind::pkColor, setter, {},
                          [](long long v) { return static_cast<TColor>(v); });
  }
  template <class E, class F>
  TClassProperties& Enum(std::string name, F setter, const TIdentList<E>& values) {
    TIdentList<long long> names;
    for (const auto& [n, v] : values) names.emplace_back(n, static_cast<long long>(v));
    return Add<long long>(std::move(name), TPropertyKind::pkEnum, setter, std::move(names),
                          [](long long v) { return static_cast<E>(v); });
  }
  // Each element stands for its bit mask; the setter gets the masks or'ed.
  template <class E, class F>
  TClassProperties& Set(std::string name, F setter, const TIdentList<E>& elements) {
    TIdentList<long long> names;
    for (const auto& [n, v] : elements) names.emplace_back(n, static_cast<long long>(v));
    return Add<unsigned long long>(std::move(name), TPropertyKind::pkSet, setter, std::move(names));
  }
  template <class F>
  TClassProperties& Event(std::string name, F setter) {
    return Add<TNotifyEvent>(std::move(name), TPropertyKind::pkEvent, setter);
  }
  // Paths through the property (Font.Color) apply class_name's table to
  // what getter returns.
  template <class F>
  TClassProperties& Object(std::string name, F getter, std::string class_name) {
    using Result = std::invoke_result_t<F, C&>;
    static_assert(std::is_pointer_v<Result> || std::is_lvalue_reference_v<Result>,
                  "a sub-object getter returns the object itself, not a copy");
    TPropertyInfo info;
    info.name = std::move(name);
    info.kind = TPropertyKind::pkObject;
    info.object_class = std::move(class_name);
    info.get = [getter, cls = class_name_](TPersistent& target) -> TPersistent* {
      decltype(auto) sub = std::invoke(getter, Cast(target, cls));
      if constexpr (std::is_pointer_v<std::remove_reference_t<decltype(sub)>>)
        return sub;
      else
        return &sub;
    };
    table_->Add(std::move(info));
    return *this;
  }
  // These pick the non-const one of a const/non-const pair of getters.
  template <class B, class T>
  TClassProperties& Object(std::string name, T& (B::*getter)(), std::string class_name) {
    return Object(
        std::move(name), [getter](C& c) -> T& { return (c.*getter)(); }, std::move(class_name));
  }
  template <class B, class T>
  TClassProperties& Object(std::string name, T* (B::*getter)(), std::string class_name) {
    return Object(
        std::move(name), [getter](C& c) -> T* { return (c.*getter)(); }, std::move(class_name));
  }

 private:
  static C& Cast(TPersistent& target, const std::string& cls) {
    C* c = dynamic_cast<C*>(&target);
    if (c == nullptr) RaiseNotOfClass(cls);
    return *c;
  }

  // Gives the property added last its store function.
  template <class S>
  TClassProperties& Stores(S store) {
    table_->Last().store =
        [store, cls = class_name_](TPersistent& target) -> std::optional<TPropertyValue> {
      auto v = std::invoke(store, Cast(target, cls));
      if (!v) return std::nullopt;
      return TPropertyValue(std::move(*v));
    };
    return *this;
  }

  // Stored is the alternative of TPropertyValue the reader fills; convert
  // turns it into what the setter takes.
  template <class Stored, class F, class Convert = std::identity>
  TClassProperties& Add(std::string name, TPropertyKind kind, F setter,
                        TIdentList<long long> names = {}, Convert convert = {}) {
    TPropertyInfo info;
    info.name = std::move(name);
    info.kind = kind;
    info.names = std::move(names);
    info.set = [setter, convert, cls = class_name_](TPersistent& target,
                                                    const TPropertyValue& value) {
      C& obj = Cast(target, cls);
      decltype(auto) v = convert(std::get<Stored>(value));
      if constexpr (std::is_member_object_pointer_v<F>)
        std::invoke(setter, obj) = v;
      else
        std::invoke(setter, obj, v);
    };
    table_->Add(std::move(info));
    return *this;
  }

  TPropertyTable* table_;
  std::string class_name_;
};

}  // namespace nitko
