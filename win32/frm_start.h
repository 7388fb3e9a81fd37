#pragma once
// The program's one window, frmStart, built from the window table out of the standard controls:
// EDIT, STATIC and BUTTON child windows. Widgets only, no behaviour: the controller receives the
// window's messages and wires them to the handlers.

#include <array>
#include <map>
#include <optional>
#include <tuple>

#include "form_controls.h"
#include "window_table.h"
#include "windows_api.h"

namespace quillomat::win32 {

class FrmStart {
 public:
  // Creates the window, hidden, and its 36 controls in their places at the window's density;
  // `procedure` receives the window's messages.
  FrmStart(HINSTANCE instance, WNDPROC procedure);
  FrmStart(const FrmStart&) = delete;
  FrmStart& operator=(const FrmStart&) = delete;
  ~FrmStart();

  HWND Window() const { return window_; }
  HWND Child(Control control) const { return children_[Index(control)]; }
  std::optional<Control> ControlOf(HWND child) const;
  std::optional<Control> ControlOfId(UINT_PTR id) const;
  UINT Dpi() const { return dpi_; }

  // Places every control again, with its font and the banner, for a new density.
  void Layout(UINT dpi);
  // The frame around a client area of the window's size at its density, centred on the work area.
  void CentreOnWorkArea();
  // Opens the window with the keyboard focus on the first control in tab order that takes it.
  void ShowAndFocus();
  // Colours a control as WM_CTLCOLOR* asks: text and background set on `dc`, the background brush
  // returned.
  HBRUSH Paint(HDC dc, HWND child) const;

 private:
  void CreateControls(HINSTANCE instance);
  void SetUpColours();
  // The control's font at the window's density, fitted for a label; `measuring` measures text.
  HFONT FontOf(const table::ControlRow& row, HDC measuring);
  HFONT FontOfHeight(table::Font font, int pixels);
  void FreeFonts();
  void SetBanner();

  HINSTANCE instance_;
  HWND window_ = nullptr;
  UINT dpi_ = 96;
  std::array<HWND, kControlCount> children_{};
  std::array<HBRUSH, kControlCount> fixedBrushes_{};
  // By points, weight and height in pixels: the controls that show a font alike share it.
  std::map<std::tuple<double, int, int>, HFONT> fonts_;
  HBITMAP banner_ = nullptr;
};

}  // namespace quillomat::win32
