// Pictures shipped inside the program, decoded by Windows itself (the
// Windows Imaging Component reads GIF, PNG, JPEG and BMP).
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "win32/Owned.h"

namespace quorvane::win32 {

// The bytes of a resource of this program; empty when it is missing.
std::span<const std::uint8_t> ResourceBytes(int id, const wchar_t* type);

// The first frame of `bytes` as a 32-bit bitmap, top row first; transparent
// pixels take `background`. Null when the bytes are no picture, or when the
// calling thread has not joined COM (win32/ComApartment.h).
OwnedBitmap DecodePicture(std::span<const std::uint8_t> bytes, COLORREF background);

}  // namespace quorvane::win32
