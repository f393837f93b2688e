#pragma once

namespace nitko {

enum class TCursor { crDefault, crArrow, crCross, crIBeam, crSizeAll, crHandPoint, crHourGlass,
                     crDrag, crNo };

}  // namespace nitko
