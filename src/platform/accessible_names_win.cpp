#include "platform/accessible_names_win.h"

#include <initguid.h>  // the annotation service's identifiers, without linking its library
#include <oleacc.h>

namespace vorn::win {

namespace {

// UI Automation's Name property (Name_Property_GUID). Annotated with it (Windows 8 on), the
// name reaches UI Automation clients directly, not only through their view of the MSAA one.
constexpr GUID kUiaName = {0xc3a6921b, 0x4a99, 0x44f1, {0xbc, 0xa6, 0x61, 0x18, 0x70, 0x52, 0xc4, 0x31}};

}  // namespace

AccessibleNames::~AccessibleNames() {
  if (services_) services_->Release();
  if (comStarted_) CoUninitialize();
}

bool AccessibleNames::Name(HWND control, const wchar_t* name, long item) {
  if (!tried_) {
    tried_ = true;
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                     reinterpret_cast<void**>(&services_));
  }
  if (!services_ || !control) return false;
  auto set = [&](const GUID& property) {
    return SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                               static_cast<DWORD>(item), property,
                                               const_cast<wchar_t*>(name)));
  };
  set(kUiaName);  // systems before Windows 8 refuse it
  return set(PROPID_ACC_NAME);
}

void AnnounceAlert(HWND window) {
  NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_WINDOW, CHILDID_SELF);
}

}  // namespace vorn::win
