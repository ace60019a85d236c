// The floor's rich-edit control, set up as a pad is: plain text, no length limit, Tahoma
// 8.5 pt, only its changes reported. Shared by the benches that type into one.
#pragma once

#include <windows.h>
#include <richedit.h>

inline HWND CreateFloorControl(HWND parent, int width, int height) {
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, MSFTEDIT_CLASS, L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                  ES_WANTRETURN | ES_NOHIDESEL,
                              0, 0, width, height, parent, nullptr, nullptr, nullptr);
  SendMessageW(edit, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageW(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_CHARSET;
  format.yHeight = 170;
  format.bCharSet = DEFAULT_CHARSET;
  lstrcpynW(format.szFaceName, L"Tahoma", LF_FACESIZE);
  SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  SendMessageW(edit, EM_SETEVENTMASK, 0, ENM_CHANGE);
  return edit;
}
