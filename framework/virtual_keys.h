#pragma once

// Framework-internal: Qt's key and modifier codes in the controls' terms.

#include <QtCore/qnamespace.h>
#include <cstdint>

#include "framework/events.h"

class QKeyEvent;

namespace nitko {

TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// The virtual-key code of a key event; 0 for keys controls do not see.
uint16_t VirtualKeyFromQt(const QKeyEvent& e);

}  // namespace nitko
