// The Windows window driven as a user drives it: what it shows, Tab and the access keys, the
// message boxes, Copy Results and the verdict's tooltip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32_table.h"
#include "window_fixture.h"
#include "window_table.h"

namespace quillomat::win32 {
namespace {

// Characters pasted into a box at once. Under Wine an EDIT's every change takes time that grows
// with about the square of its length: a bare EDIT takes 32 K characters in a second or two, 64 K
// in a few seconds, 128 K in tens of them.
constexpr int kPasted = 1 << 16;

class Win32WindowTest : public WindowFixture {};

TEST_F(Win32WindowTest, EveryControlIsAStandardChildWindowWhereTheTablePutsIt) {
  const UINT dpi = GetDpiForWindow(window->Window());
  int radios = 0, radioGroups = 0;
  for (const table::ControlRow& row : table::Controls()) {
    HWND child = Child(row.control);
    ASSERT_TRUE(IsWindow(child)) << ControlName(row.control);
    EXPECT_EQ(GetParent(child), window->Window());
    EXPECT_EQ(GetDlgCtrlID(child), ControlId(row.control));
    wchar_t className[32]{};
    GetClassNameW(child, className, 32);
    const std::wstring_view expected =
        row.kind == table::Kind::TextBox                                                    ? L"Edit"
        : (row.kind == table::Kind::CommandButton || row.kind == table::Kind::OptionButton) ? L"Button"
                                                                                            : L"Static";
    EXPECT_EQ(std::wstring_view(className), expected) << ControlName(row.control);

    RECT box{};
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, window->Window(), reinterpret_cast<POINT*>(&box), 2);
    const RECT want = ControlRect(row, dpi);
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom}),
              (std::vector<LONG>{want.left, want.top, want.right, want.bottom}))
        << ControlName(row.control) << " at " << dpi << " dpi";

    const auto style = GetWindowLongPtrW(child, GWL_STYLE);
    if (row.kind == table::Kind::OptionButton) {
      ++radios;
      EXPECT_EQ(style & BS_TYPEMASK, BS_AUTORADIOBUTTON);
      if (style & WS_GROUP) ++radioGroups;
    }
    if (row.kind == table::Kind::TextBox) {
      const auto align = style & (ES_CENTER | ES_RIGHT);
      EXPECT_EQ(align, row.align == table::Align::Right ? ES_RIGHT : ES_CENTER) << ControlName(row.control);
      EXPECT_FALSE(style & ES_MULTILINE);
    }
  }
  EXPECT_EQ(radios, 4);
  EXPECT_EQ(radioGroups, 1);
}

TEST_F(Win32WindowTest, TheWindowOpensCentredAtItsFixedSizeWithTheFocusInTheFirstBox) {
  const UINT dpi = GetDpiForWindow(window->Window());
  RECT client{};
  GetClientRect(window->Window(), &client);
  // 638 x 399 at 96 dpi, scaled; at 144 dpi a half pixel rounds either way.
  EXPECT_NEAR(client.right, 638.0 * dpi / 96, 0.5);
  EXPECT_NEAR(client.bottom, 399.0 * dpi / 96, 0.5);
  EXPECT_EQ(Narrow(WindowText(window->Window())), "Created by Brannoch");
  const auto style = GetWindowLongPtrW(window->Window(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the user cannot resize the window";
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);

  RECT frame{};
  GetWindowRect(window->Window(), &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window->Window(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_NEAR(frame.left - monitor.rcWork.left, monitor.rcWork.right - frame.right, 1);
  EXPECT_NEAR(frame.top - monitor.rcWork.top, monitor.rcWork.bottom - frame.bottom, 1);

  EXPECT_EQ(GetFocus(), Child(C::txtBase1));
  EXPECT_EQ(ClearButtons(), "000");
  EXPECT_TRUE(Enabled(C::cmdExit));
  EXPECT_FALSE(Shown(C::txtSigDiff));
  EXPECT_FALSE(Shown(C::txtWarnSign));
  EXPECT_EQ(SendMessageW(Child(C::opt95), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Win32WindowTest, TheTypicalRunShowsTheResultsAndTheVerdict) {
  Type(C::txtBase1, L"200");
  EXPECT_EQ(ClearButtons(), "100");
  Type(C::txtResp1, L"50");
  Type(C::txtBase2, L"3");
  EXPECT_EQ(ClearButtons(), "111");
  Type(C::txtBase2, L"00");
  Type(C::txtResp2, L"120");
  const std::vector<std::string> shown{Text(C::lblPer1b),    Text(C::lblPer2b),     Text(C::lblWAvgb),
                                       Text(C::lblActDiffb), Text(C::lblDiffNeedb), Text(C::txtSigDiff)};
  EXPECT_EQ(shown, (std::vector<std::string>{"25.00%", "40.00%", "34.00%", "15.00%", "08.48%",
                                             "  SIGNIFICANTLY DIFFERENT  "}));
  for (C c : {C::lblPer1b, C::lblPer2b, C::lblWAvgb, C::lblActDiffb, C::lblDiffNeedb, C::txtSigDiff})
    EXPECT_TRUE(Shown(c)) << ControlName(c);
  EXPECT_FALSE(Shown(C::txtWarnSign));

  Click(C::opt99);
  EXPECT_EQ(SendMessageW(Child(C::opt95), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Text(C::lblDiffNeedb), "10.08%");
  EXPECT_TRUE(seen.empty());
}

TEST_F(Win32WindowTest, AResultsCountAboveItsBaseShowsTheWarning) {
  Enter(L"200", L"250", L"300", L"120");
  EXPECT_TRUE(Shown(C::txtWarnSign));
  EXPECT_EQ(Text(C::txtWarnSign), "Base has to be higher than Results");
  EXPECT_FALSE(Shown(C::txtSigDiff));
}

TEST_F(Win32WindowTest, AnErrorIsReportedInABoxAndTheProgramCarriesOn) {
  Enter(L"200", L"0", L"300", L"120");
  SendMessageW(Child(C::txtBase1), EM_SETSEL, 0, -1);
  Type(C::txtBase1, L"0");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Quillomat");
  EXPECT_NE(seen[0].text.find("Player 1's base and results are both zero"), std::string::npos) << seen[0].text;
  EXPECT_TRUE(IsWindow(window->Window()));
  Type(C::txtBase1, L"0");  // "00" still faults; a base above zero calculates again
  SendMessageW(Child(C::txtBase1), EM_SETSEL, 0, -1);
  Type(C::txtBase1, L"100");
  EXPECT_EQ(Text(C::lblPer1b), "00.00%");
  EXPECT_EQ(Text(C::txtSigDiff), "  SIGNIFICANTLY DIFFERENT  ");
}

TEST_F(Win32WindowTest, ALevelWithoutAllNumbersAsksForThemAndGivesTheFocusBack) {
  Type(C::txtBase1, L"200");
  SetFocus(Child(C::opt80));
  Click(C::opt80);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Please insert all numbers first");
  EXPECT_EQ(seen[0].title, "Quillomat");
  EXPECT_EQ(seen[0].buttons, 1);
  EXPECT_FALSE(seen[0].icon);
  EXPECT_EQ(GetFocus(), Child(C::opt80));
  EXPECT_EQ(SendMessageW(Child(C::opt80), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Win32WindowTest, ClearButtonsEmptyTheirGroupsAndDisableThemselves) {
  struct Case {
    C button;
    const char *base1, *base2, *buttons;
  };
  const Case cases[] = {
      {C::cmdClear1, "", "300", "010"},
      {C::cmdClear2, "200", "", "100"},
      {C::cmdClearAll, "", "", "000"},
  };
  for (const Case& c : cases) {
    Click(C::cmdClearAll);
    Enter(L"200", L"50", L"300", L"120");
    Click(c.button);
    EXPECT_EQ(Text(C::txtBase1), c.base1) << ControlName(c.button);
    EXPECT_EQ(Text(C::txtBase2), c.base2) << ControlName(c.button);
    EXPECT_EQ(ClearButtons(), c.buttons) << ControlName(c.button);
    EXPECT_FALSE(Shown(C::lblPer1b)) << ControlName(c.button);
    EXPECT_FALSE(Shown(C::txtSigDiff)) << ControlName(c.button);
  }
}

// The order of the child windows is what the dialog manager's Tab and accessibility tools follow.
TEST_F(Win32WindowTest, TheChildWindowsComeInChildOrder) {
  std::vector<std::string> children, expected;
  for (HWND child = GetWindow(window->Window(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const auto control = window->Widgets().ControlOf(child);
    if (control) children.emplace_back(ControlName(*control));
  }
  for (C control : ChildOrder()) expected.emplace_back(ControlName(control));
  EXPECT_EQ(children, expected);
}

// A tip shows once the mouse rests on a label, which lets the mouse through to the window, and on
// a level, which takes it itself.
TEST_F(Win32WindowTest, ATooltipShowsWhereTheMouseRests) {
  const auto findTips = [] {
    HWND tips = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM found) {
          wchar_t className[32]{};
          GetClassNameW(candidate, className, 32);
          if (std::wstring_view(className) != TOOLTIPS_CLASSW) return TRUE;
          *reinterpret_cast<HWND*>(found) = candidate;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&tips));
    return tips;
  };
  const auto moveTo = [](POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
  };
  HWND tips = nullptr;
  for (C control : {C::lblSigLevel, C::opt90}) {
    moveTo({0, 0});
    for (int i = 0; i < 20 && IsWindowVisible(tips); ++i) {
      Sleep(50);
      Pump();
    }
    RECT box{};
    GetWindowRect(Child(control), &box);
    moveTo({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    for (int i = 0; i < 100 && !(tips = findTips(), IsWindowVisible(tips)); ++i) {  // the tip waits half a second
      Sleep(30);
      Pump();
    }
    ASSERT_NE(tips, nullptr) << ControlName(control);
    EXPECT_TRUE(IsWindowVisible(tips)) << ControlName(control);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    ASSERT_TRUE(SendMessageW(tips, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) << ControlName(control);
    const UINT_PTR expected = table::Row(control).kind == table::Kind::OptionButton
                                  ? reinterpret_cast<UINT_PTR>(Child(control))
                                  : static_cast<UINT_PTR>(ControlId(control));
    EXPECT_EQ(tool.uId, expected) << ControlName(control);
  }
  moveTo({0, 0});
}

TEST_F(Win32WindowTest, TabFollowsTheTabIndexes) {
  ASSERT_EQ(GetFocus(), Child(C::txtBase1));
  std::vector<std::string> order;
  for (int i = 0; i < 5; ++i) {
    Key(VK_TAB);
    const auto control = window->Widgets().ControlOf(GetFocus());
    order.emplace_back(control ? ControlName(*control) : "elsewhere");
  }
  // The clear buttons are disabled, so Tab passes them by to the selected level.
  EXPECT_EQ(order, (std::vector<std::string>{"txtResp1", "txtBase2", "txtResp2", "cmdExit", "opt95"}));
}

TEST_F(Win32WindowTest, AccessKeysClickOnlyEnabledButtonsAndNeverType) {
  Type(C::txtBase2, L"300");
  SetFocus(Child(C::txtBase1));
  Key('O', true);  // Clear One is disabled: nothing happens, nothing is typed
  EXPECT_EQ(Text(C::txtBase1), "");
  EXPECT_EQ(Text(C::txtBase2), "300");
  Key('T', true);
  EXPECT_EQ(Text(C::txtBase2), "");
  EXPECT_EQ(Text(C::txtBase1), "");
  Type(C::txtBase1, L"1");
  Type(C::txtBase2, L"2");
  Key('A', true);
  EXPECT_EQ(Text(C::txtBase1) + Text(C::txtBase2), "");
  EXPECT_EQ(ClearButtons(), "000");
  EXPECT_FALSE(quit);
  Key('X', true);
  EXPECT_FALSE(IsWindow(window->Window())) << "Exit ends the program at once";
  EXPECT_TRUE(quit);
}

TEST_F(Win32WindowTest, CopyResultsCopiesOnlyCurrentResults) {
  SetClipboard(L"before");
  Key('C', false, true);
  EXPECT_EQ(Clipboard(), L"before") << "no results yet";

  Enter(L"200", L"50", L"300", L"120");
  SetFocus(Child(C::txtResp2));
  Key('C', false, true);
  const std::wstring copied = Clipboard();
  EXPECT_NE(copied.find(L"Player 1 %\t25.00%\r\n"), std::wstring::npos) << Narrow(copied);
  EXPECT_NE(copied.find(L"Verdict\tSIGNIFICANTLY DIFFERENT\r\n"), std::wstring::npos) << Narrow(copied);

  // With text selected, Ctrl+C copies the selection, as in any box.
  SendMessageW(Child(C::txtResp2), EM_SETSEL, 0, 2);
  Key('C', false, true);
  EXPECT_EQ(Clipboard(), L"12");

  SetClipboard(L"before");
  Type(C::txtResp1, L"0");  // 500 results of 200: the warning shows
  SetFocus(Child(C::txtResp1));
  Key('C', false, true);
  EXPECT_EQ(Clipboard(), L"before") << "a warned result is not copied";
}

TEST_F(Win32WindowTest, TheVerdictsTooltipExplainsTheEvidence) {
  const auto ask = [this](C control) {
    NMTTDISPINFOW request{};
    request.hdr.hwndFrom = nullptr;
    request.hdr.idFrom = static_cast<UINT_PTR>(ControlId(control));
    request.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(window->Window(), WM_NOTIFY, request.hdr.idFrom, reinterpret_cast<LPARAM>(&request));
    return Narrow(request.lpszText != nullptr ? request.lpszText : L"");
  };
  EXPECT_EQ(ask(C::txtSigDiff), "") << "hidden: no tooltip";
  Enter(L"200", L"50", L"300", L"120");
  const std::string verdict = ask(C::txtSigDiff);
  EXPECT_EQ(verdict.rfind("z = ", 0), 0u) << verdict;
  EXPECT_NE(verdict.find(".\n"), std::string::npos) << "one sentence a line: " << verdict;
  EXPECT_EQ(ask(C::lblSigLevel).rfind("How sure the verdict must be", 0), 0u);
}

TEST_F(Win32WindowTest, ALongPasteIsTakenWhole) {
  const std::wstring digits(kPasted, L'7');
  SetClipboard(digits);
  SetFocus(Child(C::txtBase1));
  SendMessageW(Child(C::txtBase1), WM_PASTE, 0, 0);
  Pump();
  EXPECT_EQ(GetWindowTextLengthW(Child(C::txtBase1)), kPasted);
  Type(C::txtResp1, L"1");
  EXPECT_EQ(ClearButtons(), "100");
}

// Every text drawn whole at the desktop's density: its extent in its own font fits its control.
TEST_F(Win32WindowTest, NoTextIsClipped) {
  Enter(L"200", L"200", L"300", L"1");  // three digits before the point: the widest value
  Enter(L"", L"", L"", L"");
  for (const table::ControlRow& row : table::Controls()) {
    if (row.kind == table::Kind::Picture || row.kind == table::Kind::Line) continue;
    HWND child = Child(row.control);
    std::wstring text = WindowText(child);
    if (!row.widest.empty()) text = Wide(row.widest);
    std::erase(text, L'&');
    HDC dc = GetDC(child);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    RECT inside{};
    GetClientRect(child, &inside);
    // A button's caption and an option's box take some of the width; an edit keeps small margins.
    const UINT dpi = GetDpiForWindow(window->Window());
    const int reserved = row.kind == table::Kind::OptionButton ? MulDiv(16, static_cast<int>(dpi), 96)
                         : row.kind == table::Kind::TextBox    ? MulDiv(4, static_cast<int>(dpi), 96)
                                                               : 0;
    EXPECT_LE(extent.cx, inside.right - reserved) << ControlName(row.control) << " at " << dpi << " dpi";
    EXPECT_LE(extent.cy, inside.bottom) << ControlName(row.control) << " at " << dpi << " dpi";
  }
}

}  // namespace
}  // namespace quillomat::win32
