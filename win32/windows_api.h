#pragma once
// The Win32 API as the shell sees it. <windows.h> spells MessageBox as a macro for MessageBoxW,
// which would rename Platform::MessageBox in every file that sees both: the shell includes Windows
// through this header alone, and calls MessageBoxW by its own name.

#include <windows.h>
// The headers below come after <windows.h>, which they need.
#include <commctrl.h>
#include <windowsx.h>

#undef MessageBox
