#pragma once
// The running window: frmStart with its handlers wired to the controls' notifications. The window
// procedure is the one place where Windows' messages meet the handlers.

#include <array>
#include <memory>
#include <string>

#include "accessible_annotation.h"
#include "accessible_texts.h"
#include "frm_start.h"
#include "win32_controls.h"
#include "win32_desktop.h"
#include "window_session.h"
#include "windows_api.h"

namespace quillomat::win32 {

class WindowController {
 public:
  // Builds the window and runs its load handler; Show() opens it. The controls' accessible names
  // and descriptions go through the annotation `annotation` makes once a client shows itself.
  explicit WindowController(HINSTANCE instance, const WindowSession::ControlsWrapper& wrap = {},
                            AnnotationSource annotation = NewSystemAnnotation);
  WindowController(const WindowController&) = delete;
  WindowController& operator=(const WindowController&) = delete;
  ~WindowController();

  HWND Window() const { return window_.Window(); }
  const FrmStart& Widgets() const { return window_; }
  const WindowSession& Session() const { return session_; }
  const AccessibleTexts& Accessible() const { return accessible_; }
  void Show();

  // The message loop's share: the mouse for the tooltips, Copy Results on Ctrl+C, then Tab, the
  // arrow keys and the access keys. True when the message was handled here.
  bool PreTranslate(MSG& message);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The messages of the input boxes and of every control with an accessible name or description,
  // before the control's own procedure.
  static LRESULT CALLBACK ChildProcedure(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
  void WatchChildren();
  void StopWatchingChildren();
  void StopWatching(Control control);
  void SettingChanged(WPARAM setting);
  void Command(UINT id, UINT code);
  void LevelChosen();
  void ContextMenu(LPARAM at);
  void BoxMenu(HWND box, LPARAM at);
  void CopyResults();
  void RelayToToolTips(const MSG& message);
  void AddToolTips();
  void ToolTipText(NMTTDISPINFOW& request);
  bool IsCopyKey(const MSG& message) const;

  FrmStart window_;
  Win32Controls controls_{window_};
  Win32Desktop desktop_{window_.Window()};
  WindowSession session_;
  AccessibleTexts accessible_;
  HWND toolTips_ = nullptr;
  std::wstring toolTipText_;
  HWND focus_ = nullptr;  // where the keyboard focus was when the window was last deactivated
  // The class's own procedure of each watched control, by control; none for the others.
  std::array<WNDPROC, kControlCount> childProcedures_{};
};

}  // namespace quillomat::win32
