// The system's DLLs from the system's folder only. The exe may lie in a Downloads folder beside
// whatever a web site put there; a DLL there named as a system one is never loaded.
#pragma once

#include <windows.h>

namespace vorn::win {

// First thing at the start: every later load, also those the system's DLLs make, looks in the
// system folder alone (Windows 8 on, and 7 with its update KB2533623).
void LoadLibrariesFromSystemOnly();

// The DLL `name` from the system folder; nullptr when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The function `name` of the system DLL `dll`; nullptr where the system has none.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  HMODULE module = LoadSystemLibrary(dll);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

}  // namespace vorn::win
