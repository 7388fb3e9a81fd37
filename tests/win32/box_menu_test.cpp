// The input boxes' context menu on the real window: Windows' own Edit commands, each enabled as
// Windows enables it, then Copy Results; opened by the mouse and by the keyboard, and each
// command chosen as a user chooses it, by its keys while the menu is open.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "window_fixture.h"

namespace quillomat::win32 {
namespace {

// What an open menu offered, read as it opened and once it was shown.
struct SeenMenu {
  std::vector<std::string> items;  // each item's text, "-" for a separator
  std::string enabled;             // '1' or '0' for each item that is not a separator
  RECT at{};                       // the menu's window, in screen pixels
};

// What the hook does with the next menu: read it, then press `keys` (none: leave it with Escape).
struct MenuPlan {
  std::vector<WORD> keys;
  std::vector<SeenMenu> seen;
  bool pressed = false;
  bool gaveUp = false;
};
MenuPlan* g_menu = nullptr;

void Press(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys)
    for (DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = key;
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

SeenMenu Read(HMENU menu) {
  SeenMenu seen;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64]{};
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = 64;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
    if (item.fType & MFT_SEPARATOR) {
      seen.items.emplace_back("-");
      continue;
    }
    seen.items.push_back(Narrow(text));
    seen.enabled += (item.fState & (MFS_GRAYED | MFS_DISABLED)) ? '0' : '1';
  }
  return seen;
}

// A menu that the hook could not read, or that the keys did not close, is closed after a long
// while, so that a failing test ends.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
  if (g_menu != nullptr) g_menu->gaveUp = true;
  EndMenu();
}

LRESULT CALLBACK WatchMenus(int code, WPARAM wParam, LPARAM lParam) {
  const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && g_menu != nullptr) {
    if (call.message == WM_INITMENUPOPUP) g_menu->seen.push_back(Read(reinterpret_cast<HMENU>(call.wParam)));
    // Sent once the menu is shown and waits for the user.
    if (call.message == WM_ENTERIDLE && call.wParam == MSGF_MENU && !g_menu->seen.empty() && !g_menu->pressed) {
      GetWindowRect(reinterpret_cast<HWND>(call.lParam), &g_menu->seen.back().at);
      g_menu->pressed = true;
      Press(g_menu->keys.empty() ? std::vector<WORD>{VK_ESCAPE} : g_menu->keys);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

constexpr C kBoxes[] = {C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2};

class BoxMenuTest : public WindowFixture {
 protected:
  BoxMenuTest() { hook_ = SetWindowsHookExW(WH_CALLWNDPROC, WatchMenus, nullptr, GetCurrentThreadId()); }
  ~BoxMenuTest() override {
    UnhookWindowsHookEx(hook_);
    g_menu = nullptr;
  }

  // The one menu that `open` opened, read, then left with `keys` pressed in it.
  SeenMenu MenuFrom(const std::function<void()>& open, std::vector<WORD> keys) {
    MenuPlan plan{std::move(keys), {}, false, false};
    g_menu = &plan;
    const UINT_PTR giveUp = SetTimer(nullptr, 0, 10000, GiveUp);
    open();
    KillTimer(nullptr, giveUp);
    g_menu = nullptr;
    Pump();
    if (plan.seen.size() != 1 || plan.gaveUp) {
      ADD_FAILURE() << plan.seen.size() << " menus read" << (plan.gaveUp ? ", and one left open" : "");
      return {};
    }
    return plan.seen[0];
  }
  // The box's menu as Windows asks for it after a right click at the box's middle.
  SeenMenu Menu(C box, std::vector<WORD> keys = {}) {
    RECT area{};
    GetWindowRect(Child(box), &area);
    const LPARAM middle = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    return MenuFrom([&] { SendMessageW(Child(box), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Child(box)), middle); },
                    std::move(keys));
  }
  // A real right click at a point of the screen, through the input queue.
  void RightClick(POINT at) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(3);
    for (INPUT& input : inputs) {
      input.type = INPUT_MOUSE;
      input.mi.dx = MulDiv(at.x, 65535, width - 1);
      input.mi.dy = MulDiv(at.y, 65535, height - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_RIGHTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    for (int i = 0; i < 20; ++i) {  // the input arrives through the server's queue
      Sleep(5);
      Pump();
    }
  }
  void Select(C box, int start, int end) { SendMessageW(Child(box), EM_SETSEL, static_cast<WPARAM>(start), end); }
  std::pair<DWORD, DWORD> Selection(C box) {
    DWORD start = 0, end = 0;
    SendMessageW(Child(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  void EmptyTheClipboard() {
    ASSERT_TRUE(OpenClipboard(window->Window()));
    EmptyClipboard();
    CloseClipboard();
  }

 private:
  HHOOK hook_ = nullptr;
};

TEST_F(BoxMenuTest, EveryBoxOffersWindowsOwnEditCommandsThenCopyResults) {
  const std::vector<std::string> items{
      "&Undo\tCtrl+Z",       "-", "Cu&t\tCtrl+X",        "&Copy\tCtrl+C", "&Paste\tCtrl+V", "&Delete\tDel", "-",
      "Select &All\tCtrl+A", "-", "Copy Results\tCtrl+C"};
  for (C box : kBoxes) {
    EXPECT_EQ(Menu(box).items, items) << ControlName(box);
    EXPECT_EQ(GetFocus(), Child(box)) << "the box the menu is about has the focus";
  }
}

TEST_F(BoxMenuTest, EachCommandIsEnabledWhenWindowsOwnMenuEnablesIt) {
  struct Case {
    const char* state;
    std::function<void()> make;
    C box;
    const char* enabled;  // Undo, Cut, Copy, Paste, Delete, Select All, Copy Results
  };
  const Case cases[] = {
      {"an empty box, nothing on the clipboard", [] {}, C::txtBase1, "0000000"},
      {"an empty box, text on the clipboard", [this] { SetClipboard(L"12"); }, C::txtBase1, "0001000"},
      {"typed text, none of it selected", [this] { Type(C::txtBase1, L"200"); }, C::txtBase1, "1000010"},
      {"part of it selected",
       [this] {
         Type(C::txtBase1, L"200");
         Select(C::txtBase1, 0, 2);
       },
       C::txtBase1, "1110110"},
      {"all of it selected",
       [this] {
         Type(C::txtBase1, L"200");
         Select(C::txtBase1, 0, -1);
       },
       C::txtBase1, "1110100"},
      {"after a calculation with valid results", [this] { Enter(L"200", L"50", L"300", L"120"); }, C::txtResp2,
       "1000011"},
      {"with the warning shown", [this] { Enter(L"200", L"250", L"300", L"120"); }, C::txtResp2, "1000010"},
      {"with valid results, in a box not typed into",
       [this] {
         Enter(L"200", L"50", L"300", L"120");
         SetClipboard(L"7");
       },
       C::txtBase1, "1001011"},
  };
  for (const Case& c : cases) {
    Open();
    EmptyTheClipboard();
    c.make();
    EXPECT_EQ(Menu(c.box).enabled, c.enabled) << c.state;
  }
}

TEST_F(BoxMenuTest, EachEditCommandIsCarriedOutByTheBoxAndRaisesItsChange) {
  struct Case {
    const char* command;
    WORD key;                           // its access key in the menu
    int start, end;                     // the selection before
    const char* text;                   // the box's text after
    const wchar_t* clipboard;           // after
    std::pair<DWORD, DWORD> selection;  // after
    const char* clearButtons;           // after: whether the change handler ran
  };
  const Case cases[] = {
      {"Undo", 'U', 3, 3, "", L"9", {0, 0}, "000"},     {"Cut", 'T', 0, 2, "0", L"20", {0, 0}, "100"},
      {"Copy", 'C', 1, 3, "200", L"00", {1, 3}, "100"}, {"Paste", 'P', 0, 1, "900", L"9", {1, 1}, "100"},
      {"Delete", 'D', 0, 3, "", L"9", {0, 0}, "000"},   {"Select All", 'A', 1, 1, "200", L"9", {0, 3}, "100"},
  };
  for (const Case& c : cases) {
    Open();
    SetClipboard(L"9");
    Type(C::txtBase1, L"200");
    Select(C::txtBase1, c.start, c.end);
    Menu(C::txtBase1, {c.key});
    EXPECT_EQ(Text(C::txtBase1), c.text) << c.command;
    EXPECT_EQ(Clipboard(), c.clipboard) << c.command;
    EXPECT_EQ(Selection(C::txtBase1), c.selection) << c.command;
    EXPECT_EQ(ClearButtons(), c.clearButtons) << c.command;
  }
}

TEST_F(BoxMenuTest, CopyResultsInTheMenuCopiesOnlyCurrentResults) {
  SetClipboard(L"before");
  Enter(L"200", L"50", L"300", L"120");
  Menu(C::txtResp2, {VK_UP, VK_RETURN});  // the last item
  const std::wstring copied = Clipboard();
  EXPECT_NE(copied.find(L"Player 1 %\t25.00%\r\n"), std::wstring::npos) << Narrow(copied);
  EXPECT_NE(copied.find(L"Verdict\tSIGNIFICANTLY DIFFERENT\r\n"), std::wstring::npos) << Narrow(copied);
  EXPECT_EQ(Text(C::txtResp2), "120");

  SetClipboard(L"before");
  Type(C::txtResp1, L"0");  // 500 results of 200: the warning shows
  Menu(C::txtResp1, {VK_UP, VK_RETURN});
  EXPECT_EQ(Clipboard(), L"before") << "a warned result is not copied";
}

TEST_F(BoxMenuTest, TheMouseOpensItWhereItClicksAndTheKeyboardBelowTheCaret) {
  Type(C::txtBase2, L"300");
  ASSERT_EQ(GetFocus(), Child(C::txtBase1));
  RECT box{};
  GetWindowRect(Child(C::txtBase2), &box);
  const POINT click{box.left + 6, (box.top + box.bottom) / 2};
  const SeenMenu clicked = MenuFrom([&] { RightClick(click); }, {});
  EXPECT_EQ(clicked.items.size(), 10u);
  EXPECT_NEAR(clicked.at.left, click.x, 2);
  EXPECT_NEAR(clicked.at.top, click.y, 2);
  EXPECT_EQ(GetFocus(), Child(C::txtBase2)) << "the click's box has the focus";

  Select(C::txtBase2, 1, 1);
  const LRESULT caret = SendMessageW(Child(C::txtBase2), EM_POSFROMCHAR, 1, 0);
  RECT inside{};
  GetClientRect(Child(C::txtBase2), &inside);
  POINT below{static_cast<short>(LOWORD(caret)), inside.bottom};
  ClientToScreen(Child(C::txtBase2), &below);
  for (const auto& [key, shift] : {std::pair{WORD{VK_F10}, true}, std::pair{WORD{VK_APPS}, false}}) {
    const SeenMenu keyed = MenuFrom([&, key = key, shift = shift] { Key(key, false, false, shift); }, {});
    EXPECT_EQ(keyed.items.size(), 10u) << key;
    EXPECT_NEAR(keyed.at.left, below.x, 2) << key;
    EXPECT_NEAR(keyed.at.top, below.y, 2) << key;
  }

  // Elsewhere, the window's own menu.
  GetWindowRect(Child(C::lblTitle), &box);
  const SeenMenu elsewhere = MenuFrom(
      [&] {
        RightClick({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
      },
      {});
  EXPECT_EQ(elsewhere.items, std::vector<std::string>{"Copy Results\tCtrl+C"});
}

}  // namespace
}  // namespace quillomat::win32
