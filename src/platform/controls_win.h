// Win32 controls behind the logic's control interfaces. Geometry is kept in twips: a value
// that was set reads back exactly as long as the control still has the pixel size it produced,
// so the layout's single-precision arithmetic is not disturbed by rounding to pixels.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/controls.h"

namespace vorn::win {

class TwipsGeometry {
 public:
  enum Field { kLeft, kTop, kWidth, kHeight };
  // The twips behind `pixels`: the value last set when it gave these pixels.
  float Read(Field f, int pixels, UINT dpi) const;
  // The pixels for `twips`; throws ControlError for a negative size or an absurd value.
  int Remember(Field f, float twips, UINT dpi);
  // The pixels a remembered value gives at another resolution (after a DPI change).
  bool Rescale(Field f, UINT dpi, int& pixels);

 private:
  struct Slot {
    float twips = 0;
    int pixels = 0;
    bool set = false;
  };
  Slot slots_[4];
};

// A control whose geometry is a pixel rectangle, read and written in twips.
class TwipsControl : public virtual Control {
 public:
  float Left() const override { return Get(TwipsGeometry::kLeft); }
  float Top() const override { return Get(TwipsGeometry::kTop); }
  float Width() const override { return Get(TwipsGeometry::kWidth); }
  float Height() const override { return Get(TwipsGeometry::kHeight); }
  void SetLeft(float t) override { Set(TwipsGeometry::kLeft, t); }
  void SetTop(float t) override { Set(TwipsGeometry::kTop, t); }
  void SetWidth(float t) override { Set(TwipsGeometry::kWidth, t); }
  void SetHeight(float t) override { Set(TwipsGeometry::kHeight, t); }

 protected:
  virtual HWND Window() const = 0;
  virtual RECT CurrentRect() const = 0;
  virtual void Apply(const RECT& r, TwipsGeometry::Field changed) = 0;
  float Get(TwipsGeometry::Field f) const;
  void Set(TwipsGeometry::Field f, float twips);

  TwipsGeometry geometry_;
};

class ChildControl : public TwipsControl {
 public:
  explicit ChildControl(HWND hwnd = nullptr) : hwnd_(hwnd) {}
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  HWND Hwnd() const { return hwnd_; }
  bool Visible() const override;
  void SetVisible(bool visible) override;

  // Places the control at a designed rectangle in twips.
  void Place(float left, float top, float width, float height);
  // Moves remembered twips to the pixels of the window's current resolution.
  void Rescale();

 protected:
  HWND Window() const override { return hwnd_; }
  RECT CurrentRect() const override;
  void Apply(const RECT& r, TwipsGeometry::Field changed) override;

  HWND hwnd_;
};

class WinCheckBox : public CheckBox {
 public:
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  std::int16_t Value() const override;
  void SetValue(std::int16_t value) override;

 private:
  HWND hwnd_ = nullptr;
};

class WinTabStrip : public ChildControl, public TabStrip {
 public:
  std::int16_t SelectedIndex() const override;
  std::int16_t TabCount() const override;
  float FirstTabHeight() const override;
};

// A rich-edit pad. Text set by the program is taken into the control in pieces: all at once the
// control needs time that grows faster than the text. Until every piece is in, the rest waits
// in the pad; any message to the control that could show, read or change its text first takes
// in the rest, so nothing outside sees a pad that is only partly filled.
class WinPad : public ChildControl, public Pad {
 public:
  ~WinPad() override;
  void Attach(HWND hwnd);
  std::string Text() const override;
  // Empties the control, keeps the text to take in, and raises the change event once.
  void SetText(std::string_view text) override;
  std::string SelText() const override;
  void ReplaceSel(std::string_view text) override;

  // True while part of the text set last is not in the control yet.
  bool Filling() const { return filled_ < pending_.size(); }
  // Takes in the next piece; true while more is left.
  bool FillStep();
  // Takes in all that is left.
  void FillAll();

 private:
  static LRESULT CALLBACK Guard(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Finish();

  WNDPROC original_ = nullptr;
  std::wstring pending_;
  std::size_t filled_ = 0;
  bool inside_ = false;  // our own messages to the control pass the guard
};

class WinStatusBar : public ChildControl, public StatusBar {
 public:
  void SetPanelText(int panel, std::string_view text) override;
};

// The notes window itself: outer geometry in screen twips. While the window is minimized or
// maximized its geometry is the rectangle it returns to, never the parking place of an icon.
class WinForm : public FormWindow, public TwipsControl {
 public:
  void Attach(HWND hwnd, std::function<void()> focusActiveControl) {
    hwnd_ = hwnd;
    focusActiveControl_ = std::move(focusActiveControl);
  }
  bool Visible() const override;
  void SetVisible(bool visible) override;
  float ScaleWidth() const override;
  float ScaleHeight() const override;
  void SetFocus() override;
  std::intptr_t Handle() const override { return reinterpret_cast<std::intptr_t>(hwnd_); }
  void KeepReachable() override;

 private:
  HWND Window() const override { return hwnd_; }
  RECT CurrentRect() const override;  // the restored rectangle
  void Apply(const RECT& r, TwipsGeometry::Field changed) override;

  HWND hwnd_ = nullptr;
  std::function<void()> focusActiveControl_;
};

}  // namespace vorn::win
