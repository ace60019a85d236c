#include "core/layout.h"

#include <algorithm>

namespace vorn {

namespace {

// A size below zero cannot be applied: the part keeps the size it has.
void SetSize(float& size, float value) {
  if (value >= 0) size = value;
}

}  // namespace

// Three lines of a pad's 8.5-point text with their spacing, and its frame.
constexpr float kFewLines = 3 * 8.5f * 20 * 1.25f + 90;
// The right end of the toolbar's "Store in Registry" option, and of the button panel.
constexpr float kToolbarWidth = 3735;

NotesLayout LayOut(const LayoutInput& in, const NotesLayout& previous) {
  NotesLayout l = previous;
  l.buttonPanel.top = in.clientHeight - in.statusBarHeight - in.toolBarHeight;
  SetSize(l.tabStrip.height, l.buttonPanel.top - l.tabStrip.top - 50.0f);
  SetSize(l.tabStrip.width, in.clientWidth - l.tabStrip.left - l.tabStrip.left);

  // The pads sit inside the tab strip below its row of tabs. Their bottom edge lies at the
  // strip's height plus the toolbar's, as the window was designed: just inside the strip's frame.
  l.pads.left = l.tabStrip.left + 50.0f;
  l.pads.top = l.tabStrip.top + in.firstTabHeight + 100.0f;
  SetSize(l.pads.height, l.tabStrip.height - l.pads.top + in.toolBarHeight);
  SetSize(l.pads.width, l.tabStrip.width - l.pads.left);
  return l;
}

TwipsRect SmallestClient(const LayoutInput& in) {
  const NotesLayout designed;
  float margin = designed.tabStrip.left;
  float width = std::max(kToolbarWidth, designed.buttonPanel.left + designed.buttonPanel.width);
  // The pads' height is the tab strip's, less their top, plus the toolbar's (see LayOut); the
  // tab strip ends 50 twips above the panel, which lies a toolbar's and a status bar's height
  // above the bottom.
  float padsTop = designed.tabStrip.top + in.firstTabHeight + 100.0f;
  float tabStripHeight = kFewLines + padsTop - in.toolBarHeight;
  float height =
      designed.tabStrip.top + tabStripHeight + 50.0f + in.toolBarHeight + in.statusBarHeight;
  return {0, 0, width + margin, height};
}

}  // namespace vorn
