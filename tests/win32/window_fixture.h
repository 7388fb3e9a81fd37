#pragma once
// The real window under test, driven as a user drives it: keystrokes into the real EDIT controls,
// clicks on the real buttons, the dialog manager's Tab and access keys, the real message boxes and
// clipboard. Runs under Wine as well as on Windows, at whatever density the desktop has.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "accessible_annotation.h"
#include "win32_text.h"
#include "window_controller.h"

namespace quillomat::win32 {

using C = Control;

inline std::string Narrow(std::wstring_view text) { return {text.begin(), text.end()}; }

// What a message box showed, read while it is open; the box is then closed with its OK button.
struct SeenBox {
  std::string title, text;
  int buttons = 0;
  bool icon = false;
};
// Where the fixture's hook puts what it saw.
extern std::vector<SeenBox>* g_seen;
LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam);

class WindowFixture : public ::testing::Test {
 protected:
  explicit WindowFixture(AnnotationSource annotation = NewSystemAnnotation) {
    g_seen = &seen;
    hook_ = SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
    Open(std::move(annotation));
  }
  ~WindowFixture() override {
    window.reset();
    UnhookWindowsHookEx(hook_);
    g_seen = nullptr;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  // A new window in place of the open one, as the program opens it.
  void Open(AnnotationSource annotation = NewSystemAnnotation) {
    window.reset();
    window = std::make_unique<WindowController>(GetModuleHandleW(nullptr), WindowSession::ControlsWrapper{},
                                                std::move(annotation));
    window->Show();
    SetForegroundWindow(window->Window());
    Pump();
  }

  HWND Child(C c) const { return window->Widgets().Child(c); }
  std::string Text(C c) const { return Narrow(WindowText(Child(c))); }
  bool Shown(C c) const { return IsWindowVisible(Child(c)) != FALSE; }
  bool Enabled(C c) const { return IsWindowEnabled(Child(c)) != FALSE; }
  std::string ClearButtons() const {
    std::string flags;
    for (C b : {C::cmdClear1, C::cmdClear2, C::cmdClearAll}) flags += Enabled(b) ? '1' : '0';
    return flags;
  }

  // Runs the messages waiting, through the program's own loop.
  void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quit = true;
        continue;
      }
      if (window && IsWindow(window->Window()) && window->PreTranslate(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // A key as the keyboard sends it: down and up, through the message loop, to the focused control.
  void Key(WORD key, bool alt = false, bool control = false, bool shift = false) {
    std::vector<INPUT> inputs;
    const auto press = [&inputs](WORD k, bool up) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = k;
      input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      inputs.push_back(input);
    };
    for (auto [on, k] : {std::pair{alt, WORD{VK_MENU}}, {control, WORD{VK_CONTROL}}, {shift, WORD{VK_SHIFT}}})
      if (on) press(k, false);
    press(key, false);
    press(key, true);
    for (auto [on, k] : {std::pair{shift, WORD{VK_SHIFT}}, {control, WORD{VK_CONTROL}}, {alt, WORD{VK_MENU}}})
      if (on) press(k, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    for (int i = 0; i < 20; ++i) {  // the input arrives through the server's queue
      Sleep(5);
      Pump();
    }
  }
  // Characters typed into a box, one WM_CHAR each, as the keyboard's translated keys arrive.
  void Type(C box, std::wstring_view text) {
    for (wchar_t c : text) SendMessageW(Child(box), WM_CHAR, c, 1);
    Pump();
  }
  void Click(C button) {
    SendMessageW(Child(button), BM_CLICK, 0, 0);
    Pump();
  }
  void Enter(std::wstring_view b1, std::wstring_view r1, std::wstring_view b2, std::wstring_view r2) {
    Type(C::txtBase1, b1);
    Type(C::txtResp1, r1);
    Type(C::txtBase2, b2);
    Type(C::txtResp2, r2);
  }
  std::wstring Clipboard() {
    std::wstring text;
    if (!OpenClipboard(window->Window())) return L"(clipboard busy)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      text = static_cast<const wchar_t*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }
  void SetClipboard(std::wstring_view text) {
    ASSERT_TRUE(OpenClipboard(window->Window()));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* bytes = static_cast<wchar_t*>(GlobalLock(memory));
    std::copy(text.begin(), text.end(), bytes);
    bytes[text.size()] = L'\0';
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
  }

  std::vector<SeenBox> seen;
  std::unique_ptr<WindowController> window;
  bool quit = false;

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace quillomat::win32
