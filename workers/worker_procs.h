#pragma once

#include <cstdint>
#include <string>

namespace nitko {

// The two worker procedures, run on threads of their own by StartThread with
// the window's TWorkerView as parameter. Each makes N + 1 passes: point,
// progress, (worker 1) memo line, advance, pause. Every update goes to the
// GUI thread in that order; a pass starts and pauses at a safe point.
int32_t Worker1Proc(void* view);
int32_t Worker2Proc(void* view);

// Worker 1's memo line for a point.
std::string Worker1Line(double x, double y);
// Worker 2's closing message for its elapsed milliseconds.
std::string Worker2Message(int32_t elapsedMs);

}  // namespace nitko
