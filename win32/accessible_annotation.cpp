#include "accessible_annotation.h"

// The service's own ids defined here: from the SDK's uuid library they would bring its every id
// into the program.
#include <initguid.h>
// After <initguid.h>, which makes its DEFINE_GUIDs definitions.
#include <oleacc.h>

#include <string>

namespace quillomat::win32 {
namespace {

const MSAAPROPID& PropertyId(AccessibleProperty property) {
  return property == AccessibleProperty::Name ? PROPID_ACC_NAME : PROPID_ACC_DESCRIPTION;
}

// Clients that already hold the control's object read the property again on its change event.
DWORD ChangeEvent(AccessibleProperty property) {
  return property == AccessibleProperty::Name ? EVENT_OBJECT_NAMECHANGE : EVENT_OBJECT_DESCRIPTIONCHANGE;
}

class AccPropServices final : public Annotation {
 public:
  explicit AccPropServices(IAccPropServices* service) : service_(service) {}
  AccPropServices(const AccPropServices&) = delete;
  AccPropServices& operator=(const AccPropServices&) = delete;
  ~AccPropServices() override { service_->Release(); }

  void Set(HWND control, AccessibleProperty property, std::wstring_view text) override {
    const std::wstring terminated(text);
    if (SUCCEEDED(service_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                           PropertyId(property), terminated.c_str())))
      NotifyWinEvent(ChangeEvent(property), control, OBJID_CLIENT, CHILDID_SELF);
  }

  void Clear(HWND control, AccessibleProperty property) override {
    service_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &PropertyId(property), 1);
  }

 private:
  IAccPropServices* service_;
};

class NoAnnotation final : public Annotation {
 public:
  void Set(HWND, AccessibleProperty, std::wstring_view) override {}
  void Clear(HWND, AccessibleProperty) override {}
};

}  // namespace

std::unique_ptr<Annotation> SystemAnnotation() {
  IAccPropServices* service = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                 reinterpret_cast<void**>(&service))) &&
      service != nullptr)
    return std::make_unique<AccPropServices>(service);
  return std::make_unique<NoAnnotation>();
}

}  // namespace quillomat::win32
