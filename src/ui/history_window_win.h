// The history of a pad: its versions, newest first, with their local time, length and first
// line; the selected one shown read-only beside them; "&Restore" makes it the pad's text again,
// "&Close" (or Escape) closes the window.
#pragma once

#include <windows.h>

#include <vector>

#include "core/history.h"
#include "core/notes_model.h"
#include "core/notes_view.h"
#include "platform/handles_win.h"
#include "ui/child_win.h"
#include "ui/window_base_win.h"
#include "ui/window_colours_win.h"
#include "ui/window_ids.h"

namespace vorn::ui {

class HistoryWindow : public WindowBase<HistoryWindow>, public HistoryBox {
 public:
  static constexpr const wchar_t* kClassName = kHistoryWindowClass;
  static void DescribeClass(WNDCLASSEXW& wc);

  explicit HistoryWindow(HINSTANCE instance) : instance_(instance) {}
  ~HistoryWindow() { Destroy(); }
  // The model that knows the versions, and the window this one stays above.
  void Attach(NotesModel& model, HWND owner) {
    model_ = &model;
    owner_ = owner;
  }

  // Shows the pad's history, in a window created when there is none.
  void Open(int pad) override;
  bool PreTranslate(MSG& msg) { return PreTranslateDialogKeys(msg); }

 private:
  friend class WindowBase<HistoryWindow>;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCreate();
  void Scale(UINT dpi);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnCommand(int id, int code);
  void FillList();
  void ShowSelected();
  void RestoreSelected();

  HINSTANCE instance_;
  NotesModel* model_ = nullptr;
  HWND owner_ = nullptr;
  int pad_ = 1;
  std::vector<Version> versions_;
  win::Font font_;
  DesignedPlaces places_;
  WindowColours colours_;
  HWND list_ = nullptr, preview_ = nullptr, restore_ = nullptr;
};

}  // namespace vorn::ui
