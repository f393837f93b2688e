#include "framework/form_reader.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>
#include <typeinfo>
#include <utility>
#include <vector>

#include "framework/color_names.h"
#include "framework/form_description.h"
#include "runtime/embedded_resource.h"

namespace nitko {

namespace {

using Kind = TFormValue::Kind;

// The value as written, cut to one short line for a message.
std::string Shown(const TFormValue& v) {
  std::string_view s = v.source;
  size_t cut = std::min(s.find_first_of("\r\n"), size_t{60});
  if (cut >= s.size()) return std::string(s);
  while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
  return std::string(s.substr(0, cut)) + "...";
}

// A decimal or 0x number, optionally negative, that fits a long long.
std::optional<long long> ParseInteger(std::string_view s) {
  bool negative = !s.empty() && s[0] == '-';
  if (negative) s.remove_prefix(1);
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  unsigned long long magnitude = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  constexpr auto kMax = static_cast<unsigned long long>(LLONG_MAX);
  if (!negative) {
    if (magnitude > kMax) return std::nullopt;
    return static_cast<long long>(magnitude);
  }
  if (magnitude > kMax + 1) return std::nullopt;
  return magnitude == kMax + 1 ? LLONG_MIN : -static_cast<long long>(magnitude);
}

std::optional<double> ParseFloat(const TFormValue& v) {
  if (v.kind == Kind::Integer) {
    if (auto n = ParseInteger(v.text)) return static_cast<double>(*n);
    return std::nullopt;
  }
  double d = 0;
  auto [end, ec] = std::from_chars(v.text.data(), v.text.data() + v.text.size(), d);
  if (ec != std::errc() || end != v.text.data() + v.text.size() || !std::isfinite(d))
    return std::nullopt;
  return d;
}

const long long* Named(const TIdentList<long long>& names, std::string_view id) {
  for (const auto& [n, v] : names)
    if (n == id) return &v;
  return nullptr;
}

// The registered class of obj, which must have a factory.
const TClassInfo& Creatable(const TClassRegistry& classes, const TFormObject& obj) {
  const TClassInfo* info = classes.Find(obj.class_name);
  if (info == nullptr) RaiseReadError(obj.line, "Class %s not found", {obj.class_name});
  if (!info->factory) RaiseReadError(obj.line, "Class %s cannot be created", {obj.class_name});
  return *info;
}

// Creates and fills the objects of one read.
class Builder {
 public:
  Builder(const TClassRegistry& classes, const THandlerTable* handlers, TComponent& root)
      : classes_(classes), handlers_(handlers), root_(root) {}

  // Names the root, fills it, then ends loading of every created component
  // in creation order and of the root last: a Loaded that fails then undoes
  // the read before the root has seen any of what the undo destroys.
  void Build(const TClassInfo& info, const TFormObject& tree) {
    root_.SetName(tree.name);
    Fill(root_, info, tree);
    for (const auto& [c, line] : created_) EndLoadingAt(*c, line);
    EndLoadingAt(root_, tree.line);
  }

 private:
  void Fill(TComponent& comp, const TClassInfo& info, const TFormObject& obj) {
    for (const TFormEntry& e : obj.entries) {
      if (e.object)
        CreateChild(*e.object, comp);
      else
        Apply(comp, info, e);
    }
  }

  void CreateChild(const TFormObject& obj, TComponent& parent) {
    const TClassInfo& info = Creatable(classes_, obj);
    if (root_.FindComponent(obj.name) != nullptr)
      RaiseReadError(obj.line, "A component named %s already exists", {obj.name});
    TComponent* c = info.factory(&root_);
    c->BeginLoading();
    created_.push_back({c, obj.line});
    c->SetName(obj.name);
    c->SetParentComponent(&parent);
    Fill(*c, info, obj);
  }

  void Apply(TPersistent& target, const TClassInfo& info, const TFormEntry& e) {
    TPersistent* obj = &target;
    const TClassInfo* cls = &info;
    std::string_view path = e.path;
    for (size_t start = 0;;) {
      size_t dot = path.find('.', start);
      std::string_view segment = path.substr(start, dot == path.npos ? path.npos : dot - start);
      const TPropertyInfo* p = cls->FindProperty(segment);
      if (p == nullptr)
        RaiseReadError(e.line, "Property %s not found in class %s", {e.path, cls->name});
      if (dot == path.npos) {
        TPropertyValue value = Convert(*p, e);
        SettingProperty(e, [&] { p->set(*obj, value); });
        return;
      }
      std::string_view prefix = path.substr(0, dot);
      if (p->kind != TPropertyKind::pkObject)
        RaiseReadError(e.line, "Property %s is not an object", {prefix});
      TPersistent* sub = nullptr;
      SettingProperty(e, [&] { sub = p->get(*obj); });
      if (sub == nullptr) RaiseReadError(e.line, "Property %s holds no object", {prefix});
      cls = classes_.Find(p->object_class);
      if (cls == nullptr) RaiseReadError(e.line, "Class %s not found", {p->object_class});
      obj = sub;
      start = dot + 1;
    }
  }

  // Runs f; an Exception it raises (a setter's, a getter's, a Loaded's own
  // error) becomes a read error at the line, the pattern filled with what
  // and that error's message.
  template <class F>
  static void RaiseAtLine(int line, std::string_view pattern, std::string_view what, F f) {
    try {
      f();
    } catch (const Exception& x) {
      RaiseReadError(line, pattern, {what, x.Message()});
    }
  }

  template <class F>
  static void SettingProperty(const TFormEntry& e, F f) {
    RaiseAtLine(e.line, "Error setting property %s: %s", e.path, f);
  }

  static void EndLoadingAt(TComponent& c, int line) {
    RaiseAtLine(line, "Error loading component %s: %s", c.Name(), [&] { c.EndLoading(); });
  }

  [[noreturn]] static void BadValue(const TFormEntry& e, std::string_view shown) {
    RaiseReadError(e.line, "Invalid value for property %s: %s", {e.path, shown});
  }

  TPropertyValue Convert(const TPropertyInfo& p, const TFormEntry& e) const {
    const TFormValue& v = e.value;
    switch (p.kind) {
      case TPropertyKind::pkInteger:
        if (v.kind == Kind::Integer) {
          auto n = ParseInteger(v.text);
          if (n && *n >= INT_MIN && *n <= INT_MAX) return *n;
        } else if (v.kind == Kind::Identifier) {
          if (const long long* n = Named(p.names, v.text)) return *n;
        }
        break;
      case TPropertyKind::pkFloat:
        if (v.kind == Kind::Integer || v.kind == Kind::Float)
          if (auto d = ParseFloat(v)) return *d;
        break;
      case TPropertyKind::pkBoolean:
        if (v.kind == Kind::Identifier && (v.text == "True" || v.text == "False"))
          return v.text == "True";
        break;
      case TPropertyKind::pkString:
        if (v.kind == Kind::String) return v.text;
        break;
      case TPropertyKind::pkStrings:
        if (v.kind == Kind::List) return v.items;
        break;
      case TPropertyKind::pkColor:
        // Negative numbers are the 32-bit pattern of a system colour.
        if (v.kind == Kind::Integer) {
          auto n = ParseInteger(v.text);
          if (n && *n >= INT32_MIN && *n <= static_cast<long long>(UINT32_MAX)) return *n;
        } else if (v.kind == Kind::Identifier) {
          if (auto c = IdentToColor(v.text)) return static_cast<long long>(*c);
        }
        break;
      case TPropertyKind::pkEnum:
        if (v.kind == Kind::Identifier)
          if (const long long* n = Named(p.names, v.text)) return *n;
        break;
      case TPropertyKind::pkSet:
        if (v.kind == Kind::Set) {
          unsigned long long mask = 0;
          for (const std::string& item : v.items) {
            const long long* bits = Named(p.names, item);
            if (bits == nullptr) BadValue(e, item);
            mask |= static_cast<unsigned long long>(*bits);
          }
          return mask;
        }
        break;
      case TPropertyKind::pkEvent:
        if (v.kind == Kind::Identifier) {
          const TNotifyEvent* h = handlers_ ? handlers_->Find(v.text) : nullptr;
          if (h == nullptr)
            RaiseReadError(e.line, "Handler %s not found for event %s", {v.text, e.path});
          return *h;
        }
        break;
      case TPropertyKind::pkBinary:
        if (v.kind == Kind::Binary) return TBytes(v.text.begin(), v.text.end());
        break;
      case TPropertyKind::pkObject:
        break;
    }
    BadValue(e, Shown(v));
  }

  const TClassRegistry& classes_;
  const THandlerTable* handlers_;
  TComponent& root_;
  std::vector<std::pair<TComponent*, int>> created_;  // with the line of its object
};

}  // namespace

TFormReader::TFormReader(const THandlerTable* handlers, const TClassRegistry& classes)
    : handlers_(handlers), classes_(classes) {}

void TFormReader::Read(TComponent& root, std::string_view text) const {
  TFormObject tree = ParseFormDescription(text);
  const TClassInfo* info = classes_.FindByType(typeid(root));
  if (info == nullptr)
    RaiseReadError(tree.line, "Class of the root is not registered; the description is for %s",
                   {tree.class_name});
  if (info->name != tree.class_name)
    RaiseReadError(tree.line, "Description is for class %s, not %s", {tree.class_name, info->name});
  const int kept = root.ComponentCount();
  root.BeginLoading();
  try {
    Builder(classes_, handlers_, root).Build(*info, tree);
  } catch (...) {
    while (root.ComponentCount() > kept) delete root.Components(root.ComponentCount() - 1);
    root.CancelLoading();
    throw;
  }
}

void TFormReader::ReadResource(TComponent& root, std::string_view resource_name) const {
  Read(root, FindResource(resource_name));
}

TComponent* TFormReader::Create(std::string_view text, TComponent* owner) const {
  TFormObject tree = ParseFormDescription(text);
  const TClassInfo& info = Creatable(classes_, tree);
  if (owner != nullptr && owner->FindComponent(tree.name) != nullptr)
    RaiseReadError(tree.line, "A component named %s already exists", {tree.name});
  TComponent* root = info.factory(owner);
  root->BeginLoading();
  try {
    Builder(classes_, handlers_, *root).Build(info, tree);
  } catch (...) {
    delete root;
    throw;
  }
  return root;
}

TComponent* TFormReader::CreateFromResource(std::string_view resource_name,
                                            TComponent* owner) const {
  return Create(FindResource(resource_name), owner);
}

}  // namespace nitko
