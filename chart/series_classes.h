#pragma once

namespace nitko {

class TClassRegistry;

// The series classes and their sub-objects (pens, brushes, value lists,
// marks, pointer) with the properties a form description may set. Needs the
// standard classes (TComponent, TPen, TBrush); classes already registered
// by someone else are left as they are.
void RegisterSeriesClasses(TClassRegistry& registry);

}  // namespace nitko
