// The Find window: the text to find, "Match &case", "Find &Next" (the default button, so Enter
// finds) and "&Close" (or Escape). It stays open beside the notes window while the user goes
// from match to match.
#pragma once

#include <windows.h>

#include "core/notes_model.h"
#include "core/notes_view.h"
#include "platform/handles_win.h"
#include "ui/child_win.h"
#include "ui/window_base_win.h"
#include "ui/window_colours_win.h"
#include "ui/window_ids.h"

namespace vorn::ui {

class FindTextWindow : public WindowBase<FindTextWindow>, public FindBox {
 public:
  static constexpr const wchar_t* kClassName = kFindWindowClass;
  static void DescribeClass(WNDCLASSEXW& wc);

  explicit FindTextWindow(HINSTANCE instance) : instance_(instance) {}
  ~FindTextWindow() { Destroy(); }
  // The model that searches, and the window this one stays above.
  void Attach(NotesModel& model, HWND owner) {
    model_ = &model;
    owner_ = owner;
  }

  // Shows the window, created when there is none, with `what` selected in it.
  void Open(std::string_view what, bool matchCase) override;
  bool PreTranslate(MSG& msg) { return PreTranslateDialogKeys(msg); }

 private:
  friend class WindowBase<FindTextWindow>;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCreate();
  void Scale(UINT dpi);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnCommand(int id);

  HINSTANCE instance_;
  NotesModel* model_ = nullptr;
  HWND owner_ = nullptr;
  win::Font font_;
  DesignedPlaces places_;
  WindowColours colours_;
  HWND what_ = nullptr, matchCase_ = nullptr;
};

}  // namespace vorn::ui
