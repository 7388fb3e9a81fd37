#pragma once
// The logic's UTF-16 texts as Windows' wide strings: both are 16-bit code units, so the
// conversion copies them unchanged.

#include <string>
#include <string_view>

#include "windows_api.h"

namespace quillomat {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 code units");

inline std::wstring Wide(std::u16string_view text) { return {text.begin(), text.end()}; }
inline std::u16string Utf16(std::wstring_view text) { return {text.begin(), text.end()}; }

// A window's whole text, however long.
inline std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace quillomat
