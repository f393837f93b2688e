#pragma once

namespace nitko {

// Registers the system's own controls and their published properties, after
// the framework's, so form descriptions can create and set them. Runs once;
// later calls do nothing.
void RegisterControlClasses();

}  // namespace nitko
