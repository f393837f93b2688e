#pragma once

namespace nitko {

class TClassRegistry;

// TChart and its sub-objects (axes, titles, walls, legend, gradient, pens,
// brushes, view options) with the properties a form description may set,
// nested paths such as BackWall.Brush.Color included. Needs the standard
// classes; classes already registered by someone else are left as they are.
void RegisterChartClasses(TClassRegistry& registry);
// The same for the process-wide registry, the standard classes first; runs
// once.
void RegisterChartClasses();

}  // namespace nitko
