#pragma once
// Names and descriptions for accessibility clients, annotated on a control's window through
// Windows' Dynamic Annotation service (oleacc), which both MSAA and UI Automation clients read.
// Behind an interface of its own, so that what the window annotates can be watched.

#include <memory>
#include <string_view>

#include "windows_api.h"

namespace quillomat::win32 {

enum class AccessibleProperty { Name, Description };

class Annotation {
 public:
  virtual ~Annotation() = default;

  // The text clients read for the property of the control's window, in place of Windows' own.
  virtual void Set(HWND control, AccessibleProperty property, std::wstring_view text) = 0;
  // Gives the property back to Windows.
  virtual void Clear(HWND control, AccessibleProperty property) = 0;
};

// Windows' own service. Where it is missing or refuses (Wine's answers E_NOTIMPL), annotating does
// nothing and the controls keep the names Windows gives them. COM must be set up on the thread.
std::unique_ptr<Annotation> SystemAnnotation();

}  // namespace quillomat::win32
