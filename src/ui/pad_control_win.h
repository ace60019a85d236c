// A pad: a rich-edit control holding plain text, made when the pad is first shown, so that a
// pad never looked at costs no control (some systems' control keeps 150 bytes per character).
// Until then the pad holds its text itself.
//
// Text the program gives a control goes in in pieces while the program waits for input: all at
// once the control needs time that grows faster than the text. Until every piece is in, the
// rest waits here; any message that could show, read or change the control's text first takes
// in the rest, so nothing outside ever sees a pad that is only partly filled.
//
// The pad keeps a copy of what its control holds (PadMirror), following each edit, so that
// reading the text costs no read out of the control.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "core/pad_mirror.h"

namespace vorn::ui {

class PadControl {
 public:
  PadControl() = default;
  PadControl(const PadControl&) = delete;
  PadControl& operator=(const PadControl&) = delete;
  ~PadControl();

  // Creates the control, hidden, as a child of `parent`, to take in the pad's text; throws
  // PlatformError.
  void Create(HWND parent, int id);
  bool Created() const { return hwnd_ != nullptr; }
  HWND Hwnd() const { return hwnd_; }
  bool Visible() const;
  void SetVisible(bool visible);

  // The whole text, UTF-8 with line breaks as CR LF.
  std::string Text() const;
  // The whole text as the control counts it: UTF-16, a line break as one CR.
  std::u16string Content() const;
  // Empties the control and keeps `text` to take in; it raises no change. A shown pad takes it
  // in at once, unless `fillShownAtOnce` is false.
  void SetText(std::string_view text, bool fillShownAtOnce = true);
  // A pad that is not editable takes no typing (its control is read-only).
  void SetEditable(bool editable);
  // The text at `percent` of its designed size...
  void SetZoom(int percent);
  // ...on a monitor at `dpi`.
  void SetDpi(UINT dpi);
  // Made in light text on a dark ground (the window dresses a control that exists).
  void SetDark(bool dark) { dark_ = dark; }
  // The control reported a change of its text: the copy follows it. Before anyone reads it.
  void TextChanged();
  // The text as the control counts it, and the one edit since this was last asked where the
  // copy knows it; nothing while the control does not hold all of the text.
  std::optional<ShownEdit> TakeEdit();
  // Compares the copy with the control (the lengths, or `whole` the whole text); on a
  // difference the copy takes the control's text and the text it held comes back.
  std::optional<std::string> CheckCopy(bool whole);
  // Ends what an input method is composing in the pad, so that the pad holds it.
  void CompleteComposition();
  std::string Selection() const;
  // The selection in the control's positions; selecting scrolls it into view.
  TextSpan SelectedSpan() const;
  void SelectSpan(TextSpan span);
  // Replaces the selection, or inserts at the caret, and raises the change as typing does.
  void ReplaceSelection(std::string_view text);
  // Replaces the whole text as one change that can be undone.
  void ReplaceAll(std::string_view text);
  // Replaces the whole text with text written elsewhere, changing only the stretch that
  // differs: the selection moves with the text it is in, and the first line in view stays as
  // far as the new text allows. It raises no change.
  void TakeText(std::string_view text);

  // True while part of the text given last is not in the control yet.
  bool Filling() const { return removeLeft_ > 0 || filled_ < pending_.size(); }
  // Takes in the next piece; true while more is left.
  bool FillStep();
  void FillAll();

 private:
  static LRESULT CALLBACK Guard(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // `removing`, the control's text at `removeAt`, goes out and then `inserting` comes in at
  // `fillAt`, in pieces, for the pad to show `text`.
  void StartFill(std::string_view text, std::size_t removeAt, std::wstring removing,
                 std::size_t fillAt, std::wstring inserting);
  void EndFill();
  void EndTakeIn();
  void ReadWholeText(std::size_t length);
  std::size_t ControlLength() const;
  std::wstring ControlText(std::size_t start, std::size_t end) const;

  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;
  std::string held_;       // the text while no control holds all of it
  bool mirrored_ = false;  // the control holds all of the text, and mirror_ a copy
  PadMirror mirror_;
  // The stretch still to go out of the control, at removeAt_, of which removeLeft_ units are
  // still in; then the pending text, at fillAt_ (kAtEnd: after all the control holds).
  static constexpr std::size_t kAtEnd = static_cast<std::size_t>(-1);
  std::size_t removeAt_ = 0, removeLeft_ = 0;
  std::wstring removing_;
  std::wstring pending_;
  std::size_t fillAt_ = kAtEnd;
  std::size_t filled_ = 0;
  // Text taken in from elsewhere: the selection moved with it, and the first line in view.
  struct TakenIn {
    bool open = false;
    TextSpan selection;
    LRESULT firstLine = 0;
  } taken_;
  bool inside_ = false;  // the pad's own messages to the control pass the guard
  bool changedWhileFilling_ = false;
  bool editable_ = true;
  int zoom_ = 100;
  UINT dpi_ = 96;  // the window's monitor's
  bool dark_ = false;
  // The key a message in the control's hands brings, and the selection before it, for the
  // first change it reports.
  struct Edit {
    bool open = false;
    KeyEdit key = KeyEdit::Typed;
    TextSpan selection;
  } edit_;
};

}  // namespace vorn::ui
