#include "box_menu.h"

#include <algorithm>

namespace quillomat::win32 {
namespace {

// What the box offers to the Edit commands.
struct BoxState {
  bool canUndo, selection, textOnClipboard, allSelected;
};

BoxState StateOf(HWND box) {
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto length = static_cast<DWORD>(GetWindowTextLengthW(box));
  return {SendMessageW(box, EM_CANUNDO, 0, 0) != 0, start != end, IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE,
          start == 0 && end == length};
}

// Each command is the message the box carries it out on; a command of 0 is a separator.
struct Item {
  UINT command;
  const wchar_t* text;
  bool (*enabled)(const BoxState&);
};

// clang-format off
constexpr Item kEditItems[] = {
  {WM_UNDO,   L"&Undo\tCtrl+Z",      [](const BoxState& s) { return s.canUndo; }},
  {0,         nullptr,               nullptr},
  {WM_CUT,    L"Cu&t\tCtrl+X",       [](const BoxState& s) { return s.selection; }},
  {WM_COPY,   L"&Copy\tCtrl+C",      [](const BoxState& s) { return s.selection; }},
  {WM_PASTE,  L"&Paste\tCtrl+V",     [](const BoxState& s) { return s.textOnClipboard; }},
  {WM_CLEAR,  L"&Delete\tDel",       [](const BoxState& s) { return s.selection; }},
  {0,         nullptr,               nullptr},
  {EM_SETSEL, L"Select &All\tCtrl+A", [](const BoxState& s) { return !s.allSelected; }},
};
// clang-format on

constexpr UINT MenuState(bool enabled) { return enabled ? MF_ENABLED : MF_GRAYED; }

HMENU BuildMenu(const BoxState& state, bool resultsCurrent) {
  HMENU menu = CreatePopupMenu();
  for (const Item& item : kEditItems) {
    if (item.command == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AppendMenuW(menu, MF_STRING | MenuState(item.enabled(state)), item.command, item.text);
  }
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING | MenuState(resultsCurrent), kCopyResultsCommand, kCopyResultsText);
  return menu;
}

POINT MenuPoint(HWND box, LPARAM at) {
  POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  if (point.x != -1 || point.y != -1) return point;
  RECT inside{};
  GetClientRect(box, &inside);
  POINT caret{0, 0};
  if (GetFocus() != box || !GetCaretPos(&caret)) caret = {0, 0};
  point = {std::clamp(caret.x, inside.left, inside.right), inside.bottom};
  ClientToScreen(box, &point);
  return point;
}

}  // namespace

UINT ShowBoxMenu(HWND box, HWND owner, LPARAM at, bool resultsCurrent) {
  // As with Windows' own menu, the box the menu is about has the keyboard focus.
  if (GetFocus() != box) SetFocus(box);
  const POINT point = MenuPoint(box, at);
  HMENU menu = BuildMenu(StateOf(box), resultsCurrent);
  const auto chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, point.x, point.y, 0, owner, nullptr));
  DestroyMenu(menu);
  if (chosen == EM_SETSEL) {
    SendMessageW(box, EM_SETSEL, 0, -1);
  } else if (chosen != 0 && chosen != kCopyResultsCommand) {
    SendMessageW(box, chosen, 0, 0);
  }
  return chosen;
}

}  // namespace quillomat::win32
