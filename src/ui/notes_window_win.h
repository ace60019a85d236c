// The notes window: the toolbar with its two options, the tab strip over the ten pads, the panel
// with "&About", "&Hide" and "&End", and the status bar. It shows what the notes model tells it
// and hands the user's actions to the model.
#pragma once

#include <windows.h>
#include <dbt.h>

#include <array>

#include "core/notes_model.h"
#include "core/notes_view.h"
#include "platform/accessible_names_win.h"
#include "platform/handles_win.h"
#include "ui/notes_toolbar_win.h"
#include "ui/pad_control_win.h"
#include "ui/status_bar_win.h"
#include "ui/window_base_win.h"
#include "ui/window_colours_win.h"
#include "ui/window_ids.h"
#include "ui/window_placement_win.h"

namespace vorn::ui {

class NotesWindow : public WindowBase<NotesWindow>, public NotesView {
 public:
  static constexpr const wchar_t* kClassName = kNotesWindowClass;
  static void DescribeClass(WNDCLASSEXW& wc);

  explicit NotesWindow(HINSTANCE instance) : instance_(instance) {}
  ~NotesWindow() { Destroy(); }
  // Creates the window, hidden, with all its controls; from then on the user's actions go to
  // `model`.
  bool Create(NotesModel& model);
  // The keyboard before the window's controls see it: Escape, the focus order and the access
  // keys. True when the message is handled and must not be dispatched.
  bool PreTranslate(MSG& msg);
  // The window's next step of work in the background, for the message loop to call while no
  // message waits: makes the shown pad's control, then gives screen readers the controls'
  // names, then takes the next piece of a pad's text into its control, the shown pad first.
  // True while a step is left.
  bool BackgroundStep();

  // NotesView
  bool Shown() const override;
  void Show() override;
  void Hide() override;
  void Activate() override;
  WindowRect Placement() const override { return placement_.Get(hwnd_); }
  void Place(const WindowRect& rect) override { placement_.Set(hwnd_, rect); }
  void KeepReachable() override { placement_.KeepReachable(hwnd_); }
  void SetTopMost(bool topMost) override;
  WindowRect MinimumSize() const override;
  void ShowOptions(bool top, CheckState storeInRegistry) override;
  LayoutInput Measure() const override;
  void Arrange(const NotesLayout& layout) override;
  void ShowPad(int pad) override;
  void SetZoom(int percent) override;
  std::string PadText(int pad) const override;
  void SetPadText(int pad, std::string_view text) override;
  std::optional<std::string> CheckPadCopy(int pad, bool whole) override;
  std::optional<ShownEdit> TakePadEdit(int pad) override { return Pad(pad).TakeEdit(); }
  void SetPadEditable(int pad, bool editable) override { Pad(pad).SetEditable(editable); }
  std::string PadSelection(int pad) const override;
  void ReplacePadSelection(int pad, std::string_view text) override;
  void ReplacePadText(int pad, std::string_view text) override {
    WithControl(pad).ReplaceAll(text);
  }
  void TakePadText(int pad, std::string_view text) override { Pad(pad).TakeText(text); }
  void SetStatusText(std::string_view text) override { statusBar_.SetText(text); }
  bool SetHotKey(const std::optional<HotKey>& key) override;
  std::u16string PadContent(int pad) const override { return Pad(pad).Content(); }
  TextSpan PadSelected(int pad) const override {
    return Pad(pad).Created() ? Pad(pad).SelectedSpan() : TextSpan{};
  }
  void SelectInPad(int pad, TextSpan span) override { WithControl(pad).SelectSpan(span); }

 private:
  friend class WindowBase<NotesWindow>;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCreate();
  void OnSize();
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);
  void OnShowWindow(bool shown);
  void OnActivate(WPARAM wp);
  void OnDeviceChange(WPARAM event, const DEV_BROADCAST_HDR* about);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  // The edit menu of the shown pad, at a right click's place or (-1) at the caret.
  void ShowEditMenu(LPARAM at);

  void SetIcons();
  void CreateFonts();
  void CreateTabsAndPads();
  void CreateButtonPanel();
  void PlaceButtons();

  // Keyboard and focus
  void FocusActiveControl();
  bool MoveFocus(bool backwards);
  bool GoToNotice();
  // The pad's tab caption, which is its name for screen readers too.
  static std::wstring PadName(int pad);
  bool PressAccessKey(wchar_t key);
  HWND ShownPadWindow() const;
  bool IsPad(HWND window) const;
  // As a click on the pad's tab; the keyboard stays in the pads when it was in one.
  void GoToPad(int pad);

  const PadControl& Pad(int pad) const { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  PadControl& Pad(int pad) { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  // The pad with its control, made now if it has none yet.
  PadControl& WithControl(int pad);
  // The names a screen reader reads for the controls whose text cannot name them.
  void NameControls();

  HINSTANCE instance_;
  NotesModel* model_ = nullptr;
  UINT dpi_ = 96;
  win::Icon bigIcon_, smallIcon_;
  win::Font font_, topFont_;
  WindowColours colours_;
  win::AccessibleNames names_;
  bool named_ = false;
  bool controlFailed_ = false;  // the shown pad's control could not be made in the background
  NotesToolbar toolbar_;
  NotesStatusBar statusBar_;
  HWND tabStrip_ = nullptr, buttonPanel_ = nullptr;
  HWND aboutButton_ = nullptr, hideButton_ = nullptr, endButton_ = nullptr;
  HWND lastFocus_ = nullptr;
  int wheelTurned_ = 0;  // Ctrl+wheel turned short of a whole notch
  std::array<PadControl, kPadCount> pads_;
  int shownPad_ = 1;
  NotesLayout layout_;
  TwipsPlacement placement_;
};

}  // namespace vorn::ui
