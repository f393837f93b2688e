#pragma once

#include <cstdint>
#include <functional>

namespace nitko {

class TComponent;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// A set of modifier keys and mouse buttons held.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;
inline constexpr TShiftState ssDouble = 64;

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
// wheelDelta: 120 per notch, positive away from the user (up).
using TMouseWheelEvent =
    std::function<void(TComponent* sender, TShiftState shift, int wheelDelta, int x, int y)>;
// key is a virtual-key code; a handler that sets it to 0 consumes it.
using TKeyEvent = std::function<void(TComponent* sender, uint16_t& key, TShiftState shift)>;
// key is an 8-bit Windows-1250 character code; 0 consumes it.
using TKeyPressEvent = std::function<void(TComponent* sender, char& key)>;

}  // namespace nitko
