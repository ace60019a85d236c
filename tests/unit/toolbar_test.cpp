// The toolbar's four commands on the shown pad.
#include <gtest/gtest.h>

#include "notes_fixture.h"

namespace {

struct Toolbar : NotesFixture {
  fake::Pad& pad = pads[2];  // the shown pad: tab 3

  Toolbar() {
    notes->Form_Load();
    for (int i = 0; i < 10; ++i) {
      pads[i].changed = [this, i] { notes->txtText_Change(static_cast<std::int16_t>(i + 1)); };
    }
    tabStrip.selected = 3;
    notes->TabStrip1_Click();
    pad.text = "Hello, world";
  }

  void Select(std::size_t start, std::size_t length) {
    pad.selStart = start;
    pad.selLength = length;
  }
};

TEST_F(Toolbar, CopyTakesTheSelectionOrTheWholeText) {
  Select(7, 5);
  notes->ToolBar1_ButtonClick("copy");
  EXPECT_EQ(clipboard.text, "world");
  Select(3, 0);
  notes->ToolBar1_ButtonClick("copy");
  EXPECT_EQ(clipboard.text, "Hello, world");
  EXPECT_EQ(pad.text, "Hello, world");
  EXPECT_TRUE(storage.writes.empty());
}

TEST_F(Toolbar, CutDeletesASelectionAndSavesThePad) {
  Select(5, 7);
  notes->ToolBar1_ButtonClick("cut");
  EXPECT_EQ(clipboard.text, ", world");
  EXPECT_EQ(pad.text, "Hello");
  EXPECT_EQ((storage.slots[{3, true}]), "Hello");
  EXPECT_EQ(statusBar.panels[1], "0 characters");  // the count of the last tab click stays
}

TEST_F(Toolbar, CutWithoutASelectionCopiesTheWholePadAndRemovesNothing) {
  Select(12, 0);
  notes->ToolBar1_ButtonClick("cut");
  EXPECT_EQ(clipboard.text, "Hello, world");
  EXPECT_EQ(pad.text, "Hello, world");
}

TEST_F(Toolbar, CutAndCopyOnAnEmptyPadLeaveTheClipboard) {
  pad.text.clear();
  clipboard.text = "before";
  notes->ToolBar1_ButtonClick("cut");
  notes->ToolBar1_ButtonClick("copy");
  EXPECT_EQ(clipboard.text, "before");
  EXPECT_EQ(clipboard.sets, 0);
}

TEST_F(Toolbar, PasteReplacesTheSelectionOrInsertsAtTheCaret) {
  clipboard.text = "there";
  Select(7, 5);
  notes->ToolBar1_ButtonClick("paste");
  EXPECT_EQ(pad.text, "Hello, there");
  Select(5, 0);
  clipboard.text = "!";
  notes->ToolBar1_ButtonClick("paste");
  EXPECT_EQ(pad.text, "Hello!, there");
  EXPECT_EQ((storage.slots[{3, true}]), "Hello!, there");
}

TEST_F(Toolbar, PasteWithNoTextOnTheClipboardChangesNothing) {
  clipboard.text.clear();
  notes->ToolBar1_ButtonClick("paste");
  EXPECT_EQ(pad.text, "Hello, world");
  EXPECT_TRUE(storage.writes.empty());
}

TEST_F(Toolbar, KeysAreExactAndCaseSensitive) {
  for (const char* key : {"Copy", "COPY", "copy ", "", "print2", "Paste"}) {
    notes->ToolBar1_ButtonClick(key);
  }
  EXPECT_EQ(clipboard.sets, 0);
  EXPECT_TRUE(printer.calls.empty());
  EXPECT_EQ(pad.text, "Hello, world");
}

TEST_F(Toolbar, PrintSendsHeaderRuleSpacerAndText) {
  Select(0, 5);
  notes->ToolBar1_ButtonClick("print");
  EXPECT_EQ(printer.calls,
            (std::vector<std::string>{"quality -3", "page", "print Page #1", "line 0,250 11520,250 0",
                                      "print \n", "print Hello", "end"}));
  printer.calls.clear();
  pad.text.clear();
  Select(0, 0);
  notes->ToolBar1_ButtonClick("print");  // an empty pad still prints a page
  EXPECT_EQ(printer.calls.at(2), "print Page #1");
  EXPECT_EQ(printer.calls.at(5), "print ");
  EXPECT_EQ(printer.calls.back(), "end");
}

TEST_F(Toolbar, PrinterFailuresAreReportedAndAbortTheDocument) {
  printer.failAt = "quality";
  notes->ToolBar1_ButtonClick("print");
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].first, "There is no default printer.");
  EXPECT_EQ(printer.calls, (std::vector<std::string>{"abort"}));
  printer.calls.clear();
  printer.failAt = "print Hello";
  notes->ToolBar1_ButtonClick("print");
  EXPECT_EQ(printer.calls.back(), "abort");
  EXPECT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(pad.text, "Hello, world");
}

TEST_F(Toolbar, ABusyClipboardIsReportedAndCutDeletesNothing) {
  clipboard.busy = true;
  Select(0, 5);
  notes->ToolBar1_ButtonClick("cut");
  EXPECT_EQ(pad.text, "Hello, world");
  notes->ToolBar1_ButtonClick("paste");
  EXPECT_EQ(pad.text, "Hello, world");
  EXPECT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].second, "Vorn Notes");
  EXPECT_TRUE(storage.writes.empty());
}

TEST_F(Toolbar, CommandsActOnThePadOfTheSelectedTab) {
  pads[6].text = "seven";
  tabStrip.selected = 7;
  notes->TabStrip1_Click();
  notes->ToolBar1_ButtonClick("copy");
  EXPECT_EQ(clipboard.text, "seven");
}

}  // namespace

// ---- Printed lines -----------------------------------------------------------------------

#include "ui/notes/print_layout.h"

namespace {

// Every character is 100 twips wide.
float Width(std::string_view s) {
  float n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80 ? 100.0f : 0.0f;
  return n;
}

TEST(PrintLayout, LineBreaksStartNewLines) {
  EXPECT_EQ(vorn::LayoutLines("a\r\nb\rc\nd", 1000, Width),
            (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(vorn::LayoutLines("\n", 1000, Width), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(vorn::LayoutLines("", 1000, Width), (std::vector<std::string>{""}));
  EXPECT_EQ(vorn::LayoutLines("x\r\n", 1000, Width), (std::vector<std::string>{"x", ""}));
}

TEST(PrintLayout, LongLinesWrapAtBlanksAndLongWordsAtTheMargin) {
  EXPECT_EQ(vorn::LayoutLines("the quick brown fox", 1000, Width),
            (std::vector<std::string>{"the quick", "brown fox"}));
  EXPECT_EQ(vorn::LayoutLines("abcdefghijklmnopqrstuvwxy", 1000, Width),
            (std::vector<std::string>{"abcdefghij", "klmnopqrst", "uvwxy"}));
  // A margin narrower than one character still makes progress.
  EXPECT_EQ(vorn::LayoutLines("abc", 50, Width), (std::vector<std::string>{"a", "b", "c"}));
  // Multi-byte characters are never split.
  EXPECT_EQ(vorn::LayoutLines("\xE6\x9D\xB1\xE4\xBA\xAC\xE6\x9D\xB1", 200, Width),
            (std::vector<std::string>{"\xE6\x9D\xB1\xE4\xBA\xAC", "\xE6\x9D\xB1"}));
}

}  // namespace
