#pragma once

namespace nitko {

class TClassRegistry;

// Registers the framework's classes and their published properties, so form
// descriptions can create and set them. Runs once; later calls do nothing.
void RegisterStandardClasses();

}  // namespace nitko
