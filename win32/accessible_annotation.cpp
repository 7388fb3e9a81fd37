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

}  // namespace

SystemAnnotation::SystemAnnotation() {
  // S_FALSE: the thread was in an apartment of this kind already, entered once more all the same.
  const HRESULT entered = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  entered_ = SUCCEEDED(entered);
  created_ = CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&service_));
  if (FAILED(created_)) service_ = nullptr;
}

SystemAnnotation::~SystemAnnotation() {
  if (service_ != nullptr) service_->Release();
  if (entered_) CoUninitialize();
}

void SystemAnnotation::Set(HWND control, AccessibleProperty property, std::wstring_view text) {
  if (service_ == nullptr) return;
  const std::wstring terminated(text);
  if (SUCCEEDED(service_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PropertyId(property),
                                         terminated.c_str())))
    NotifyWinEvent(ChangeEvent(property), control, OBJID_CLIENT, CHILDID_SELF);
}

void SystemAnnotation::Clear(HWND control, AccessibleProperty property) {
  if (service_ != nullptr)
    service_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &PropertyId(property), 1);
}

std::unique_ptr<Annotation> NewSystemAnnotation() { return std::make_unique<SystemAnnotation>(); }

}  // namespace quillomat::win32
