#include "window_controller.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "box_menu.h"
#include "results_report.h"
#include "tool_tip_text.h"
#include "win32_table.h"
#include "win32_text.h"
#include "window_table.h"

namespace quillomat::win32 {
namespace {

using C = Control;

struct Notification {
  C control;
  UINT code;
  WindowSession::Handler handler;
};

// Typing, pasting, deleting and the program's own writes all raise EN_CHANGE; an option button
// notifies its click after it has been selected.
constexpr Notification kNotifications[] = {
    {C::txtBase1, EN_CHANGE, &FormHandlers::txtBase1_Change},
    {C::txtResp1, EN_CHANGE, &FormHandlers::txtResp1_Change},
    {C::txtBase2, EN_CHANGE, &FormHandlers::txtBase2_Change},
    {C::txtResp2, EN_CHANGE, &FormHandlers::txtResp2_Change},
    {C::opt80, BN_CLICKED, &FormHandlers::opt80_Click},
    {C::opt90, BN_CLICKED, &FormHandlers::opt90_Click},
    {C::opt95, BN_CLICKED, &FormHandlers::opt95_Click},
    {C::opt99, BN_CLICKED, &FormHandlers::opt99_Click},
    {C::cmdClear1, BN_CLICKED, &FormHandlers::cmdClear1_Click},
    {C::cmdClear2, BN_CLICKED, &FormHandlers::cmdClear2_Click},
    {C::cmdClearAll, BN_CLICKED, &FormHandlers::cmdClearAll_Click},
    {C::cmdExit, BN_CLICKED, &FormHandlers::cmdExit_Click},
};

constexpr C kInputBoxes[] = {C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2};
constexpr C kLevels[] = {C::opt80, C::opt90, C::opt95, C::opt99};

bool IsInputBox(C control) { return std::ranges::find(kInputBoxes, control) != std::end(kInputBoxes); }

bool ScreenReaderRuns() {
  BOOL running = FALSE;
  return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) && running;
}

// Windows' text on the clipboard ends its lines with CR LF.
std::wstring WithCrLf(std::u16string_view text) {
  std::wstring lines;
  lines.reserve(text.size() + text.size() / 16);
  for (char16_t c : text) {
    if (c == u'\n') lines += L'\r';
    lines += static_cast<wchar_t>(c);
  }
  return lines;
}

void PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace

WindowController::WindowController(HINSTANCE instance, const WindowSession::ControlsWrapper& wrap,
                                   AnnotationSource annotation)
    : window_(instance, &WindowController::Procedure),
      session_(controls_, desktop_, wrap),
      accessible_(window_, session_, std::move(annotation)) {
  session_.OnRunEnd([this] { accessible_.RunEnded(); });
  if (ScreenReaderRuns()) accessible_.ClientSeen();
  // Until here the window's messages went to the default procedure; from now on they are handled.
  SetWindowLongPtrW(window_.Window(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  WatchChildren();
  session_.Run(&FormHandlers::Form_Load);
}

WindowController::~WindowController() {
  SetWindowLongPtrW(window_.Window(), GWLP_USERDATA, 0);
  StopWatchingChildren();
  if (toolTips_ != nullptr) DestroyWindow(toolTips_);
}

// The input boxes for their menu, and every control a client may read a name or description of,
// to see the client when it asks for the control's object. Subclassed the classic way, the
// controller in the control's user data: comctl32's SetWindowSubclass keeps its data in a window
// property, which costs a lookup at the server for every message the control receives under Wine.
void WindowController::WatchChildren() {
  const auto watch = [this](C control) {
    WNDPROC& own = childProcedures_[Index(control)];
    if (own != nullptr) return;
    HWND child = window_.Child(control);
    SetWindowLongPtrW(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    own = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowController::ChildProcedure)));
  };
  for (C box : kInputBoxes) watch(box);
  for (const table::AccessibleRow& row : table::Accessibility()) watch(row.control);
}

void WindowController::StopWatchingChildren() {
  for (std::size_t i = 0; i < childProcedures_.size(); ++i)
    if (childProcedures_[i] != nullptr && IsWindow(window_.Child(static_cast<C>(i)))) StopWatching(static_cast<C>(i));
}

// Gives the control its own procedure back.
void WindowController::StopWatching(C control) {
  HWND child = window_.Child(control);
  const WNDPROC own = std::exchange(childProcedures_[Index(control)], nullptr);
  SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
  SetWindowLongPtrW(child, GWLP_USERDATA, 0);
}

void WindowController::Show() {
  window_.CentreOnWorkArea();
  window_.ShowAndFocus();
}

LRESULT CALLBACK WindowController::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<WindowController*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(window, message, wParam, lParam);
}

LRESULT WindowController::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: Command(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (HBRUSH brush = window_.Paint(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_CONTEXTMENU: ContextMenu(lParam); return 0;
    case WM_GETOBJECT: accessible_.ClientSeen(); break;
    case WM_SETTINGCHANGE: SettingChanged(wParam); break;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == TTN_GETDISPINFOW)
        ToolTipText(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      window_.Layout(HIWORD(wParam));
      if (toolTips_ != nullptr) AddToolTips();
      return 0;
    }
    // A window that is not a dialog gives the focus to itself when it is activated again: give it
    // back to the control that had it.
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        focus_ = GetFocus();
      } else if (focus_ != nullptr && IsChild(window, focus_)) {
        SetFocus(focus_);
        return 0;
      }
      break;
    case WM_DESTROY:
      accessible_.Clear();  // the controls still exist until the window's own destruction is over
      PostQuitMessage(0);
      return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK WindowController::ChildProcedure(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  return reinterpret_cast<WindowController*>(GetWindowLongPtrW(child, GWLP_USERDATA))
      ->HandleChild(child, message, wParam, lParam);
}

LRESULT WindowController::HandleChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  const C control = *window_.ControlOf(child);
  const WNDPROC own = childProcedures_[Index(control)];
  switch (message) {
    case WM_CONTEXTMENU:
      if (IsInputBox(control)) {
        BoxMenu(child, lParam);
        return 0;
      }
      break;
    // The control's own procedure makes the object the client asked for, with the names and the
    // description already annotated.
    case WM_GETOBJECT: accessible_.ClientSeen(); break;
    case WM_NCDESTROY: StopWatching(control); break;
    default: break;
  }
  return CallWindowProcW(own, child, message, wParam, lParam);
}

// A screen reader that starts later says so to every window.
void WindowController::SettingChanged(WPARAM setting) {
  if (setting == SPI_SETSCREENREADER && ScreenReaderRuns()) accessible_.ClientSeen();
}

void WindowController::Command(UINT id, UINT code) {
  if (id == kCopyResultsCommand) {
    CopyResults();
    return;
  }
  const std::optional<C> control = window_.ControlOfId(id);
  if (!control) return;
  for (const Notification& n : kNotifications) {
    if (n.control != *control || n.code != code) continue;
    session_.Run(n.handler);
    if (code == BN_CLICKED && std::ranges::find(kLevels, n.control) != std::end(kLevels)) LevelChosen();
    return;
  }
}

// Tab enters the levels at the selected one.
void WindowController::LevelChosen() {
  for (C level : kLevels) {
    HWND option = window_.Child(level);
    LONG_PTR style = GetWindowLongPtrW(option, GWL_STYLE);
    const bool selected = SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
    style = selected ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(option, GWL_STYLE, style);
  }
}

bool WindowController::IsCopyKey(const MSG& message) const {
  return message.message == WM_KEYDOWN && message.wParam == 'C' && GetKeyState(VK_CONTROL) < 0 &&
         GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_SHIFT) >= 0 &&
         (message.hwnd == window_.Window() || IsChild(window_.Window(), message.hwnd));
}

bool WindowController::PreTranslate(MSG& message) {
  RelayToToolTips(message);
  if (IsCopyKey(message)) {
    // An input box keeps Ctrl+C while it has text selected to copy.
    const std::optional<C> box = window_.ControlOf(message.hwnd);
    DWORD start = 0, end = 0;
    if (box && IsInputBox(*box))
      SendMessageW(message.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == end) {
      CopyResults();
      return true;
    }
  }
  return IsDialogMessageW(window_.Window(), &message) != FALSE;
}

// Results that are stale, warned about or missing are never copied as if current.
void WindowController::CopyResults() {
  if (!session_.ResultsCurrent()) return;
  PutOnClipboard(window_.Window(), WithCrLf(PlainTextOf(ResultsReport(session_.Controls()))));
}

// The window's own menu, wherever no control offers one of its own.
void WindowController::ContextMenu(LPARAM at) {
  POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  if (point.x == -1 && point.y == -1) {  // from the keyboard: at the window's top-left corner
    point = {0, 0};
    ClientToScreen(window_.Window(), &point);
  }
  HMENU menu = CreatePopupMenu();
  const UINT state = session_.ResultsCurrent() ? MF_ENABLED : MF_GRAYED;
  AppendMenuW(menu, MF_STRING | state, kCopyResultsCommand, kCopyResultsText);
  const BOOL chosen =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, window_.Window(), nullptr);
  DestroyMenu(menu);
  if (chosen == static_cast<BOOL>(kCopyResultsCommand)) CopyResults();
}

void WindowController::BoxMenu(HWND box, LPARAM at) {
  if (ShowBoxMenu(box, window_.Window(), at, session_.ResultsCurrent()) == kCopyResultsCommand) CopyResults();
}

// The mouse over the window and over the levels, the windows that have tips. The tooltips are told
// from here rather than by subclassing those windows, which would cost a window property lookup at
// the server for every message they receive; and they are made when the mouse first comes, as the
// window's first paint needs none of them.
void WindowController::RelayToToolTips(const MSG& message) {
  const bool mouse =
      (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) || message.message == WM_NCMOUSEMOVE;
  if (!mouse) return;
  const std::optional<C> control = window_.ControlOf(message.hwnd);
  if (message.hwnd != window_.Window() && !(control && table::Row(*control).kind == table::Kind::OptionButton)) return;
  if (toolTips_ == nullptr) AddToolTips();
  SendMessageW(toolTips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

// A label or a disabled box lets the mouse through to the window, so its tip is a rectangle of the
// window's; an option button takes the mouse, so its tip is its own. Texts are asked for when shown.
void WindowController::AddToolTips() {
  if (toolTips_ != nullptr) DestroyWindow(toolTips_);
  HWND window = window_.Window();
  toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                              0, window, nullptr, nullptr, nullptr);
  SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, MulDiv(420, static_cast<int>(window_.Dpi()), 96));
  const auto add = [this, window](C control) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = 0;
    tool.hwnd = window;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    if (table::Row(control).kind == table::Kind::OptionButton) {
      tool.uFlags |= TTF_IDISHWND;
      tool.uId = reinterpret_cast<UINT_PTR>(window_.Child(control));
    } else {
      tool.uId = static_cast<UINT_PTR>(ControlId(control));
      tool.rect = ControlRect(table::Row(control), window_.Dpi());
    }
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  };
  for (const table::ToolTipRow& row : table::ToolTips()) add(row.control);
  add(C::txtSigDiff);
}

void WindowController::ToolTipText(NMTTDISPINFOW& request) {
  const std::optional<C> control = (request.uFlags & TTF_IDISHWND)
                                       ? window_.ControlOf(reinterpret_cast<HWND>(request.hdr.idFrom))
                                       : window_.ControlOfId(request.hdr.idFrom);
  toolTipText_.clear();
  if (control && IsWindowVisible(window_.Child(*control))) {
    if (*control == C::txtSigDiff) {
      toolTipText_ = Wide(OneSentenceALine(session_.VerdictExplanation()));
    } else if (const auto tip = table::ToolTipOf(*control)) {
      toolTipText_ = Wide(OneSentenceALine(*tip));
    }
  }
  request.lpszText = toolTipText_.data();
}

}  // namespace quillomat::win32
