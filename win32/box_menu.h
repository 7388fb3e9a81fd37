#pragma once
// The input boxes' context menu: the commands of Windows' own Edit menu, each enabled when that
// menu enables it and carried out by the box itself, then Copy Results.

#include "windows_api.h"

namespace quillomat::win32 {

// Copy Results in every menu of the window.
inline constexpr UINT kCopyResultsCommand = 50;
inline constexpr wchar_t kCopyResultsText[] = L"Copy Results\tCtrl+C";

// The menu for a box's WM_CONTEXTMENU at `at` (screen pixels where the mouse was, or the
// keyboard's (-1, -1): then at the caret, just below the box's line of text), shown until the user
// chooses or leaves it. A chosen Edit command is carried out on the box, which raises the box's own
// notifications. Returns the command chosen, 0 for none; Copy Results is the caller's to carry
// out, and only offered while `resultsCurrent`.
UINT ShowBoxMenu(HWND box, HWND owner, LPARAM at, bool resultsCurrent);

}  // namespace quillomat::win32
