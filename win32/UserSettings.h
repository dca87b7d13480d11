// The user's settings that choose the palette: high contrast and the app
// mode ("Choose your app mode"), read afresh at each call.
#pragma once

#include "win32/Palette.h"

namespace quorvane::win32 {

// The palette the user's settings call for now: high contrast
// (SPI_GETHIGHCONTRAST) and the app mode the user chose.
const Palette& UserPalette();

}  // namespace quorvane::win32
