#pragma once

// Builds a tree of components from a form description.
//
// The format: UTF-8 text, one statement per line, "//" starts a comment that
// runs to the end of the line (outside strings). Names are case-sensitive;
// `object` and `end` are reserved words.
//
//   object Formularz: TFormularz          // the root: its name and class
//     Caption = 'Dwa wątki'               // Property = value, applied in file order
//     Font.Height = -11                   // a path through sub-objects
//     object Chart1: TChart               // a nested object: owned by the root,
//       BackWall.Brush.Color = clWhite    // its parent component is Formularz
//       object Series1: TFastLineSeries   // parent component: Chart1
//         XValues.Order = loAscending
//       end
//     end
//     object BitBtn3: TBitBtn
//       OnClick = BitBtn3Click            // event: a handler published by the root
//     end
//   end
//
// Values:
//   integers   12  -3  0x1F               (a colour may also be 0x8000000F or -2147483633)
//   floats     0.1  -2.5  1e-3            (an integer is accepted where a float is wanted)
//   strings    'It''s'                    ('' is a quote; UTF-8; on one line)
//   identifiers  True False  poScreenCenter  clSilver  DEFAULT_CHARSET
//   sets       [fsBold, fsItalic]  []
//   string lists  ('line 1' 'line 2')     (may run over several lines)
//   raw data   {0C 42 4D}                 (pairs of hex digits; may run over lines)
//   events     OnClick = BitBtn3Click
// Nested objects and properties may alternate; everything happens in file
// order.
//
// Reading: every object is created through the class registry with the root
// as owner; its name is set, then SetParentComponent(enclosing object), then
// its properties and nested objects in file order. The root and every
// created component are in the loading state until the whole tree is read;
// then EndLoading() (so Loaded()) runs for every created component in
// creation order, and for the root last, so that the root meets its
// components ready and has seen none of them when one of them fails.
//
// Errors raise EReadError whose message starts "Line N: " and names the
// unknown class, property (with the class that lacks it), value (with the
// property), handler, the object whose end is missing, the duplicate name or
// the malformed line; an Exception from a setter or from Loaded() is given
// with the line of its property or object. Syntax is checked before anything
// is created. On any error every component created by the read is
// destroyed, newest first, and a root created by the read with them;
// properties already applied to an existing root stay as they were set, and
// its loading state is cleared without Loaded().

#include <string_view>

#include "framework/class_registry.h"
#include "framework/component.h"
#include "framework/handler_table.h"
#include "framework/read_error.h"

namespace nitko {

class TFormReader {
 public:
  // handlers: what event bindings resolve against; null binds none.
  explicit TFormReader(const THandlerTable* handlers = nullptr,
                       const TClassRegistry& classes = Classes());

  // Reads into an existing root; the description's root class must be the
  // one registered for the root's dynamic type, so a form calls it from its
  // own constructor, not a base class's. Sets the root's name.
  void Read(TComponent& root, std::string_view text) const;
  void ReadResource(TComponent& root, std::string_view resource_name) const;

  // Creates a free-standing tree; the root is owned by owner, or by the
  // caller when owner is null.
  TComponent* Create(std::string_view text, TComponent* owner) const;
  TComponent* CreateFromResource(std::string_view resource_name, TComponent* owner) const;

 private:
  const THandlerTable* handlers_;
  const TClassRegistry& classes_;
};

}  // namespace nitko
