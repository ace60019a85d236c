// Where the notes window's parts go as its client area changes size, in twips (single
// precision). The toolbar and the status bar dock themselves to the top and the bottom; the
// button panel keeps to the bottom above the status bar, and the tab strip and the pads fill
// what lies between.
#pragma once

namespace vorn {

struct TwipsRect {
  float left = 0, top = 0, width = 0, height = 0;
};

// What the window measures before each layout.
struct LayoutInput {
  float clientWidth = 0, clientHeight = 0;  // the whole client area, docked bars included
  float toolBarHeight = 0, statusBarHeight = 0;
  float firstTabHeight = 0;  // the row of tabs, so that the pads start below it
};

struct NotesLayout {
  TwipsRect buttonPanel{60, 4200, 2856, 312};
  TwipsRect tabStrip{60, 480, 4995, 3135};
  TwipsRect pads{};  // all ten pads lie on top of each other
};

// The layout for `in`. A width or height that would come out below zero (a window made too
// small, or minimized) keeps its value from `previous`, so that restoring the window gives the
// same layout again.
NotesLayout LayOut(const LayoutInput& in, const NotesLayout& previous);

// The smallest client area (left and top 0) in which the layout shows the toolbar's buttons and
// options, the tabs, a few lines of a pad, the button panel and the status bar; `in` gives the
// bars' and the tabs' heights.
TwipsRect SmallestClient(const LayoutInput& in);

}  // namespace vorn
