// Child controls: created with the window's font, placed at designed twips, and Tahoma, the
// font both windows are designed in.
#pragma once

#include <windows.h>

#include <vector>

#include "core/layout.h"
#include "platform/handles_win.h"

namespace vorn::ui {

// A child window of `parent` with the given control id; throws PlatformError when it cannot be
// made, which fails the creation of the window that asked for it.
HWND CreateChild(HWND parent, int id, const wchar_t* cls, const wchar_t* text, DWORD style,
                 HFONT font, DWORD exStyle = 0);

// The rich-edit control's class, its library loaded.
const wchar_t* RichEditClass();

// A rich-edit control holding plain text, for text of any kind the user may have: under Wine
// the system's edit control faults painting some modifier letters at the start of a line (such
// as U+02DC, byte 0x98 of code page 1252), which the rich-edit control paints.
HWND CreatePlainTextBox(HWND parent, int id, DWORD style, HFONT font);

// True for a rich-edit control, such as the boxes above.
bool IsTextBox(HWND window);
// Ctrl+V or Shift+Insert, as the keyboard stands now.
bool IsPasteKey(WPARAM key);
// Pastes the clipboard's text at the selection of an editable plain-text box, as the pads do (a
// control of some systems replaced its whole text on Ctrl+V); false for any other window.
bool PasteIntoTextBox(HWND box);

// Moves and sizes a child to a rectangle in twips of its parent's client area.
void PlaceChild(HWND child, const TwipsRect& rect, UINT dpi);

// Places a button, check box or one-line label at its designed rectangle, made wider where its
// caption in `font` would not show whole: at some screen scales, and under some systems, the
// designed width is a few pixels short.
void PlaceCaptioned(HWND control, HFONT font, const TwipsRect& rect, UINT dpi);

// A window's controls at their designed places, each in one of the window's fonts. When the
// window moves to a monitor of another scale, the window makes its fonts anew and places them
// all again.
class DesignedPlaces {
 public:
  // `font` is the window's member that holds the control's font; `captioned` places it as
  // PlaceCaptioned does.
  void Add(HWND control, const win::Font& font, const TwipsRect& place, bool captioned = false) {
    entries_.push_back({control, &font, place, captioned});
  }
  // Gives every control its font and its place at `dpi`.
  void PlaceAll(UINT dpi) const;

 private:
  struct Entry {
    HWND control;
    const win::Font* font;
    TwipsRect place;
    bool captioned;
  };
  std::vector<Entry> entries_;
};

// Takes the rectangle WM_DPICHANGED suggests for a window moved to a monitor of another scale.
void MoveToSuggested(HWND window, const RECT& suggested);

// Tahoma of the given size in points, drawn at `dpi`.
HFONT CreateTahoma(float points, UINT dpi, bool bold = false, bool italic = false);

}  // namespace vorn::ui
