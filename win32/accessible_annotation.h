#pragma once
// Names and descriptions for accessibility clients, annotated on a control's window through
// Windows' Dynamic Annotation service (oleacc), which both MSAA and UI Automation clients read.
// Behind an interface of its own, so that what the window annotates can be watched.

#include <functional>
#include <memory>
#include <string_view>

#include "windows_api.h"

struct IAccPropServices;

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

// Makes the annotation when the window first needs one.
using AnnotationSource = std::function<std::unique_ptr<Annotation>()>;

// Windows' own service, on a single-threaded COM apartment that it enters itself and leaves when it
// ends (a thread that has COM already keeps its own). Where the service is missing or refuses
// (Wine's answers E_NOTIMPL), annotating does nothing and the controls keep the names Windows gives
// them.
class SystemAnnotation final : public Annotation {
 public:
  SystemAnnotation();
  SystemAnnotation(const SystemAnnotation&) = delete;
  SystemAnnotation& operator=(const SystemAnnotation&) = delete;
  ~SystemAnnotation() override;

  // What creating the service answered: S_OK when there is one.
  HRESULT Created() const { return created_; }

  void Set(HWND control, AccessibleProperty property, std::wstring_view text) override;
  void Clear(HWND control, AccessibleProperty property) override;

 private:
  bool entered_ = false;  // whether this object entered the apartment, and so leaves it
  HRESULT created_ = E_FAIL;
  IAccPropServices* service_ = nullptr;
};

// The program's own source: Windows' service.
std::unique_ptr<Annotation> NewSystemAnnotation();

}  // namespace quillomat::win32
