#include "core/layout.h"

namespace vorn {

namespace {

// A size below zero cannot be applied: the part keeps the size it has.
void SetSize(float& size, float value) {
  if (value >= 0) size = value;
}

}  // namespace

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

}  // namespace vorn
