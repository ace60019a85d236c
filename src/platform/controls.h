// What the window logic uses of the platform's controls. Positions and sizes are twips of the
// container's client area, in single precision. A control that refuses an assignment (a
// negative width or height, a check box value it does not take) throws ControlError, and the
// handler that made it decides what follows.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorn {

struct ControlError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Control {
 public:
  virtual ~Control() = default;
  virtual float Left() const = 0;
  virtual float Top() const = 0;
  virtual float Width() const = 0;
  virtual float Height() const = 0;
  virtual void SetLeft(float twips) = 0;
  virtual void SetTop(float twips) = 0;
  virtual void SetWidth(float twips) = 0;
  virtual void SetHeight(float twips) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
};

// A top-level window. Its geometry is the outer window's in screen twips; ScaleWidth and
// ScaleHeight are the whole client area, docked bars included.
class FormWindow : public virtual Control {
 public:
  virtual float ScaleWidth() const = 0;
  virtual float ScaleHeight() const = 0;
  // Activates the window and gives the keyboard focus to its active control.
  virtual void SetFocus() = 0;
  // The window handle as a number, for platform calls that take it.
  virtual std::intptr_t Handle() const = 0;
  // Moves a window that lies wholly off every monitor onto the nearest one.
  virtual void KeepReachable() = 0;
};

// Check box values: 0 unticked, 1 ticked, 2 greyed.
class CheckBox {
 public:
  virtual ~CheckBox() = default;
  virtual std::int16_t Value() const = 0;
  virtual void SetValue(std::int16_t value) = 0;
};

class TabStrip : public virtual Control {
 public:
  // The selected tab, counted from 1.
  virtual std::int16_t SelectedIndex() const = 0;
  virtual std::int16_t TabCount() const = 0;
  // The height of the first tab, so that the pads can start below the row of tabs.
  virtual float FirstTabHeight() const = 0;
};

// A rich-edit pad holding plain text (UTF-8 in the logic).
class Pad : public virtual Control {
 public:
  virtual std::string Text() const = 0;
  virtual void SetText(std::string_view text) = 0;
  // The selected text, "" when nothing is selected.
  virtual std::string SelText() const = 0;
  // Replaces the selection, or inserts at the caret; raises the change event as typing does.
  virtual void ReplaceSel(std::string_view text) = 0;
};

class StatusBar : public virtual Control {
 public:
  // Panels are counted from 1; panel 1 is the free-text panel.
  virtual void SetPanelText(int panel, std::string_view text) = 0;
};

}  // namespace vorn
