#pragma once
// The banner, decoded from the program's resources: at its own size from the GIF, otherwise with
// Windows' own imaging component (WIC), which scales it.

#include "windows_api.h"

namespace quillomat::win32 {

// The banner at `size` pixels as a 32-bit bitmap without alpha the caller owns, or nullptr if it cannot be read.
// Screens denser than 96 dpi get the twice-size drawing, brought to the size they need.
HBITMAP LoadBanner(HINSTANCE instance, UINT dpi, SIZE size);
// The same, always through the imaging component.
HBITMAP LoadBannerThroughWic(HINSTANCE instance, UINT dpi, SIZE size);

}  // namespace quillomat::win32
