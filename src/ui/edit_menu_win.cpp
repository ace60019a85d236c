#include "ui/edit_menu_win.h"

#include <richedit.h>

#include <algorithm>

namespace vorn::ui {

namespace {

// The caret's place on the screen, for a menu asked for from the keyboard.
POINT CaretOnScreen(HWND box) {
  CHARRANGE selection{};
  SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  POINTL at{};
  SendMessageW(box, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), selection.cpMax);
  RECT client{};
  GetClientRect(box, &client);
  POINT p{std::clamp<LONG>(at.x, 0, client.right), std::clamp<LONG>(at.y, 0, client.bottom)};
  ClientToScreen(box, &p);
  return p;
}

}  // namespace

EditCommand ChooseFromEditMenu(HWND owner, HWND box, LPARAM at) {
  CHARRANGE selection{};
  SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  const bool selected = selection.cpMax > selection.cpMin;
  const bool editable = (GetWindowLongW(box, GWL_STYLE) & ES_READONLY) == 0;
  const bool canUndo = editable && SendMessageW(box, EM_CANUNDO, 0, 0) != 0;
  const bool canPaste = editable && (IsClipboardFormatAvailable(CF_UNICODETEXT) ||
                                     IsClipboardFormatAvailable(CF_TEXT));
  const bool hasText = GetWindowTextLengthW(box) > 0;

  HMENU menu = CreatePopupMenu();
  if (!menu) return EditCommand::None;
  auto add = [menu](EditCommand command, const wchar_t* caption, bool enabled) {
    AppendMenuW(menu, MF_STRING | (enabled ? 0 : MF_GRAYED), static_cast<UINT_PTR>(command),
                caption);
  };
  add(EditCommand::Undo, L"&Undo", canUndo);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(EditCommand::Cut, L"Cu&t", editable && selected);
  add(EditCommand::Copy, L"&Copy", selected);
  add(EditCommand::Paste, L"&Paste", canPaste);
  add(EditCommand::Delete, L"&Delete", editable && selected);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(EditCommand::SelectAll, L"Select &All", hasText);

  POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  if (at == -1) p = CaretOnScreen(box);
  // The owner must be the foreground window, or the menu does not close on a click elsewhere.
  SetForegroundWindow(owner);
  UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON |
               (GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
  auto chosen = static_cast<EditCommand>(TrackPopupMenuEx(menu, flags, p.x, p.y, owner, nullptr));
  DestroyMenu(menu);
  return chosen;
}

}  // namespace vorn::ui
