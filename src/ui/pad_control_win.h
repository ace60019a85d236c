// A pad: a rich-edit control holding plain text. Text the program gives it goes in in pieces
// while the program waits for input: all at once the control needs time that grows faster than
// the text. Until every piece is in, the rest waits here; any message that could show, read or
// change the control's text first takes in the rest, so nothing outside ever sees a pad that is
// only partly filled.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vorn::ui {

class PadControl {
 public:
  PadControl() = default;
  PadControl(const PadControl&) = delete;
  PadControl& operator=(const PadControl&) = delete;
  ~PadControl();

  // Creates the control, hidden, as a child of `parent`; throws PlatformError.
  void Create(HWND parent, int id);
  HWND Hwnd() const { return hwnd_; }
  bool Visible() const;
  void SetVisible(bool visible);

  // The whole text, UTF-8 with line breaks as CR LF.
  std::string Text() const;
  // Empties the control and keeps `text` to take in; it raises no change.
  void SetText(std::string_view text);
  std::string Selection() const;
  // Replaces the selection, or inserts at the caret, and raises the change as typing does.
  void ReplaceSelection(std::string_view text);
  // Replaces the whole text as one change that can be undone.
  void ReplaceAll(std::string_view text);

  // True while part of the text given last is not in the control yet.
  bool Filling() const { return filled_ < pending_.size(); }
  // Takes in the next piece; true while more is left.
  bool FillStep();
  void FillAll();

 private:
  static LRESULT CALLBACK Guard(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Finish();

  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;
  std::wstring pending_;
  std::size_t filled_ = 0;
  bool inside_ = false;  // the pad's own messages to the control pass the guard
};

}  // namespace vorn::ui
