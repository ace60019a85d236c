#include "platform/appearance_win.h"

#include "platform/system_library_win.h"

namespace vorn::win {

bool AppModeDark() {
  DWORD light = 1, size = sizeof light;
  if (RegGetValueW(
          HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
          L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size) != ERROR_SUCCESS) {
    return false;
  }
  return light == 0;
}

bool HighContrastOn() {
  HIGHCONTRASTW contrast{sizeof contrast};
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

bool IsAppearanceChange(UINT msg, LPARAM lp) {
  if (msg == WM_SYSCOLORCHANGE) return true;
  if (msg != WM_SETTINGCHANGE || !lp) return false;
  return lstrcmpiW(reinterpret_cast<const wchar_t*>(lp), L"ImmersiveColorSet") == 0;
}

void UseDarkTitleBar(HWND window, bool dark) {
  // Loaded when first asked for, which a light start never does.
  using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD);
  static const auto set = SystemFunction<SetAttribute>(L"dwmapi.dll", "DwmSetWindowAttribute");
  if (!set) return;
  // DWMWA_USE_IMMERSIVE_DARK_MODE is 20 since Windows 10 20H1, 19 before it.
  BOOL value = dark;
  if (FAILED(set(window, 20, &value, sizeof value))) set(window, 19, &value, sizeof value);
}

void RepaintTitleBar(HWND window) {
  if (!IsWindowVisible(window)) return;
  BOOL active = GetForegroundWindow() == window;
  SendMessageW(window, WM_NCACTIVATE, !active, 0);
  SendMessageW(window, WM_NCACTIVATE, active, 0);
}

}  // namespace vorn::win
