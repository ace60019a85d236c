#include "platform/accessible_names_win.h"

#include <initguid.h>  // the annotation service's identifiers, without linking its library
#include <oleacc.h>

namespace vorn::win {

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
  return SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                             static_cast<DWORD>(item), PROPID_ACC_NAME,
                                             const_cast<wchar_t*>(name)));
}

void AnnounceAlert(HWND window) {
  NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_WINDOW, CHILDID_SELF);
}

}  // namespace vorn::win
