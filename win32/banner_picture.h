#pragma once
// The banner from the program's resources: at its own size the bitmap GDI loads, at any other
// size the twice-size drawing scaled by Windows' imaging component (WIC).

#include "windows_api.h"

namespace quillomat::win32 {

// The banner at `size` pixels as a bitmap without alpha the caller owns, or nullptr if it cannot
// be read: at 96 dpi and the drawing's own size its 8-bit bitmap; on denser screens, or at another
// size, the twice-size drawing brought to the size they need, in 32 bits.
HBITMAP LoadBanner(HINSTANCE instance, UINT dpi, SIZE size);
// The twice-size drawing at `size`, through the imaging component.
HBITMAP LoadBannerThroughWic(HINSTANCE instance, SIZE size);

}  // namespace quillomat::win32
