// The menu every Windows edit box has, for a pad: "&Undo", "Cu&t", "&Copy", "&Paste",
// "&Delete" and "Select &All", each greyed when it cannot act on the box as it is now.
#pragma once

#include <windows.h>

namespace vorn::ui {

enum class EditCommand { None, Undo, Cut, Copy, Paste, Delete, SelectAll };

// Shows the menu for the rich-edit control `box` and waits for the choice. `at` is where the
// user right-clicked, in screen coordinates; a menu asked for from the keyboard (lParam -1 of
// WM_CONTEXTMENU) comes up at the caret.
EditCommand ChooseFromEditMenu(HWND owner, HWND box, LPARAM at);

}  // namespace vorn::ui
