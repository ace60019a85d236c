// How the user has asked Windows to look: light or dark app mode, high contrast, and a title
// bar drawn dark.
#pragma once

#include <windows.h>

namespace vorn::win {

// True when Windows' app mode is dark: the value AppsUseLightTheme under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize is 0. Light
// when it is absent (older systems) or unreadable.
bool AppModeDark();

// True while high contrast is on: then every surface takes the system's colours.
bool HighContrastOn();

// True for the broadcast that says the app mode or the system's colours may have changed.
bool IsAppearanceChange(UINT msg, LPARAM lp);

// Has the system draw a top-level window's title bar dark or light. Systems before Windows 10
// 1809 keep theirs light.
void UseDarkTitleBar(HWND window, bool dark);
// The system draws a title bar's new colour only when the window is next activated or left: a
// window shown meanwhile has its title bar drawn again at once, in its present state.
void RepaintTitleBar(HWND window);

}  // namespace vorn::win
