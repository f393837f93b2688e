#pragma once

#include <utility>

namespace nitko {

// The setter of a published property: stores the value and runs onChange
// (most often a repaint) only when the value really changes, so that
// setting what is already there costs nothing.
template <typename T, typename V, typename F>
bool SetIfChanged(T& field, V&& value, F&& onChange) {
  if (field == value) return false;
  field = std::forward<V>(value);
  std::forward<F>(onChange)();
  return true;
}

}  // namespace nitko
