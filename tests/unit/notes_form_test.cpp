#include "ui/notes/frm_vorn_notes.h"

#include <gtest/gtest.h>

#include "notes_fixture.h"

namespace {

// ---- Layout ------------------------------------------------------------------------------

TEST_F(NotesFixture, LayoutAtTheDesignedClientArea) {
  notes->Form_Load();
  EXPECT_FLOAT_EQ(picture2.top, 4440);
  EXPECT_FLOAT_EQ(tabStrip.width, 6096);
  EXPECT_FLOAT_EQ(tabStrip.height, 3910);
  EXPECT_FLOAT_EQ(tabStrip.left, 60);
  EXPECT_FLOAT_EQ(tabStrip.top, 480);
  for (auto& p : pads) {
    EXPECT_FLOAT_EQ(p.left, 110);
    EXPECT_FLOAT_EQ(p.top, 880);  // 480 + the first tab's height + 100
  }
  ExpectPadsBottomAndWidth(4246, 5986);
  EXPECT_FLOAT_EQ(picture2.left, 60);
  EXPECT_FLOAT_EQ(picture2.width, 2856);
  EXPECT_FLOAT_EQ(picture2.height, 312);
}

TEST_F(NotesFixture, LayoutFollowsTheClientAreaAndIsStable) {
  notes->Form_Load();
  form.scaleWidth += 600;
  notes->Form_Resize();
  EXPECT_FLOAT_EQ(tabStrip.width, 6696);
  EXPECT_FLOAT_EQ(picture2.top, 4440);
  ExpectPadsBottomAndWidth(4246, 6586);

  form.scaleHeight += 600;
  notes->Form_Resize();
  EXPECT_FLOAT_EQ(picture2.top, 5040);
  EXPECT_FLOAT_EQ(tabStrip.height, 4510);
  ExpectPadsBottomAndWidth(4846, 6586);

  notes->Form_Resize();  // the same size again changes nothing
  EXPECT_FLOAT_EQ(picture2.top, 5040);
  EXPECT_FLOAT_EQ(tabStrip.height, 4510);
  ExpectPadsBottomAndWidth(4846, 6586);
}

TEST_F(NotesFixture, TooLowAWindowKeepsTheLastTabStripHeightButMovesThePanel) {
  notes->Form_Load();
  form.scaleHeight = 1000;  // below the 1118 the fixed parts need
  notes->Form_Resize();
  EXPECT_FLOAT_EQ(picture2.top, 1000 - 252 - 336);
  EXPECT_FLOAT_EQ(tabStrip.height, 3910);  // 412 - 480 - 50 is refused
  ExpectPadsBottomAndWidth(4246, 5986);
}

TEST_F(NotesFixture, MinimizingKeepsSizesAndRestoringGivesTheSameLayout) {
  notes->Form_Load();
  form.scaleWidth = 0;
  form.scaleHeight = 0;
  notes->Form_Resize();
  EXPECT_FLOAT_EQ(picture2.top, -588);
  EXPECT_FLOAT_EQ(tabStrip.width, 6096);
  EXPECT_FLOAT_EQ(tabStrip.height, 3910);
  ExpectPadsBottomAndWidth(4246, 5986);

  form.scaleWidth = 6216;
  form.scaleHeight = 5028;
  notes->Form_Resize();
  EXPECT_FLOAT_EQ(picture2.top, 4440);
  ExpectPadsBottomAndWidth(4246, 5986);
}

TEST_F(NotesFixture, LayoutIsSinglePrecision) {
  notes->Form_Load();
  form.scaleWidth = 6216.3f;
  form.scaleHeight = 5028.7f;
  notes->Form_Resize();
  EXPECT_EQ(picture2.top, 5028.7f - 252.0f - 336.0f);
  EXPECT_EQ(tabStrip.width, 6216.3f - 60.0f - 60.0f);
}

TEST_F(NotesFixture, LayoutLeavesVisibilityAlone) {
  notes->Form_Load();
  pads[0].visible = false;
  pads[4].visible = true;
  log.clear();
  notes->Form_Resize();
  EXPECT_TRUE(log.empty());
}

// ---- Start-up ----------------------------------------------------------------------------

TEST_F(NotesFixture, FirstStartWithAnEmptyStore) {
  notes->Form_Load();
  EXPECT_EQ(log.front(), "tray.load");
  EXPECT_EQ(notes->gFlag(), 0);
  EXPECT_EQ(chkRegistry.value, 1);
  EXPECT_EQ(chkTop.value, 0);
  EXPECT_FALSE(form.visible);
  EXPECT_TRUE(pads[0].visible);
  for (int i = 1; i < 10; ++i) EXPECT_FALSE(pads[i].visible);
  for (auto& p : pads) EXPECT_EQ(p.text, "");
  EXPECT_EQ(form.left, 3036 - 60);  // designed geometry kept
  EXPECT_EQ(form.width, 6216 + 120);
  EXPECT_TRUE(zorder.calls.empty());
  EXPECT_EQ(notes->Location(), "C:\\Program Files\\Vorn\\");
  std::vector<std::string> order{"Top", "Left", "Height", "Width", "Reg", "OnTop"};
  EXPECT_EQ(settings.reads, order);
  EXPECT_TRUE(settings.writes.empty());
}

TEST_F(NotesFixture, StoredGeometryIsAppliedExceptZeroAndGarbage) {
  settings.Set("Top", "-1200");
  settings.Set("Left", "0");
  settings.Set("Height", "abc");
  settings.Set("Width", "7000.5");
  notes->Form_Load();
  EXPECT_EQ(form.top, -1200);
  EXPECT_EQ(form.left, 3036 - 60);
  EXPECT_EQ(form.height, 5028 + 405);
  EXPECT_EQ(form.width, 7000.5f);
  EXPECT_EQ(form.reachableCalls, 1);
}

TEST_F(NotesFixture, HugeAndNegativeSizesAreSkippedOneByOne) {
  settings.Set("Top", "1e999");
  settings.Set("Left", "1e39");  // beyond single precision
  settings.Set("Height", "-50");
  settings.Set("Width", "9000");
  notes->Form_Load();
  EXPECT_EQ(form.top, 1812 - 345);
  EXPECT_EQ(form.left, 3036 - 60);
  EXPECT_EQ(form.height, 5028 + 405);
  EXPECT_EQ(form.width, 9000);
  EXPECT_EQ(notes->gFlag(), 0);
}

TEST_F(NotesFixture, RegIsRoundedHalfToEvenAndRefusedOutsideTheCheckBoxValues) {
  struct Case {
    const char* stored;
    std::int16_t expected;
  } cases[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"1.5", 2}, {"2.5", 2}, {"0.5", 0},
               {"abc", 0}, {"", 0}, {"7", 1}, {"40000", 1}, {"-1", 1}, {"1e999", 1},
               {"2.6", 1}, {"12abc", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    chkRegistry.value = 1;  // the designed value
    settings.Set("Reg", c.stored);
    storage.reads.clear();
    notes->Form_Load();
    EXPECT_EQ(chkRegistry.value, c.expected);
    ASSERT_EQ(storage.reads.size(), 10u);
    for (auto& r : storage.reads) EXPECT_EQ(r.second, c.expected == 1);
  }
}

TEST_F(NotesFixture, OnTopOnlyWhenItReadsAsExactlyOne) {
  struct Case {
    const char* stored;
    bool on;
  } cases[] = {{"1", true}, {"1.0", true}, {" 1", true}, {"1abc", true}, {"0.99", false},
               {"2", false}, {"", false}, {"yes", false}, {"0", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    chkTop.value = 0;
    zorder.calls.clear();
    settings.Set("OnTop", c.stored);
    notes->Form_Load();
    EXPECT_EQ(chkTop.value, c.on ? 1 : 0);
    ASSERT_EQ(zorder.calls.size(), c.on ? 1u : 0u);
    if (c.on) EXPECT_EQ(zorder.calls[0].insertAfter, -1);
  }
}

TEST_F(NotesFixture, PadsAreFilledFromTheSelectedStoreWithoutWritingBack) {
  storage.slots[{3, true}] = "three";
  storage.slots[{10, true}] = "ten";
  storage.slots[{3, false}] = "file three";
  notes->Form_Load();
  EXPECT_EQ(pads[2].text, "three");
  EXPECT_EQ(pads[9].text, "ten");
  EXPECT_TRUE(storage.writes.empty());

  settings.Set("Reg", "0");
  for (auto& p : pads) p.text.clear();
  notes->Form_Load();
  EXPECT_EQ(pads[2].text, "file three");  // missing files elsewhere leave pads empty
  EXPECT_EQ(pads[0].text, "");
  EXPECT_EQ(pads[9].text, "");
  EXPECT_TRUE(storage.writes.empty());
}

TEST_F(NotesFixture, EveryFailingStepIsSkippedAndTheSequenceEndsHidden) {
  tray.failLoad = true;
  tabStrip.failing = {"Width", "Height"};
  picture2.failing = {"Top"};
  for (auto& p : pads) p.failing = {"Left", "Top", "Text", "Width", "Height"};
  pads[0].failing.insert("Visible");
  storage.slots[{2, true}] = "kept out";
  settings.Set("Top", "2000");
  notes->Form_Load();
  EXPECT_EQ(form.top, 2000);  // later steps still ran
  EXPECT_FALSE(form.visible);
  EXPECT_EQ(notes->gFlag(), 0);
  EXPECT_EQ(pads[1].text, "");
}

TEST_F(NotesFixture, AFailingStorageModeTestFillsFromTheSettingsStore) {
  struct Broken : fake::CheckBox {
    std::int16_t Value() const override { throw vorn::ControlError("broken"); }
  };
  Broken broken;
  auto other = Make(broken);
  other->Form_Load();
  ASSERT_EQ(storage.reads.size(), 10u);
  for (auto& r : storage.reads) EXPECT_TRUE(r.second);
}

TEST_F(NotesFixture, LocationHasExactlyOneTrailingBackslash) {
  folder = "D:\\";
  notes->Form_Load();
  EXPECT_EQ(notes->Location(), "D:\\");
  folder = "D:\\Notes";
  notes->Form_Load();
  EXPECT_EQ(notes->Location(), "D:\\Notes\\");
}

// ---- Hiding and ending -------------------------------------------------------------------

TEST_F(NotesFixture, ReasonsZeroAndOneHideAndRefuse) {
  notes->Form_Load();
  for (std::int16_t mode : {0, 1, -1, -32768}) {
    form.visible = true;
    std::int16_t cancel = 0;
    notes->Form_QueryUnload(cancel, mode);
    EXPECT_EQ(cancel, 2);
    EXPECT_FALSE(form.visible);
  }
  EXPECT_TRUE(settings.writes.empty());
  EXPECT_EQ(std::count(log.begin(), log.end(), "tray.unload"), 0);
}

TEST_F(NotesFixture, GreaterReasonsSaveTheSixEntriesUnloadTheTrayAndEnd) {
  for (std::int16_t mode : {2, 3, 10, 32767}) {
    SCOPED_TRACE(mode);
    settings.writes.clear();
    log.clear();
    form.top = -1200;
    form.left = 1215;
    form.height = 5433;
    form.width = 6336.5f;
    chkRegistry.value = 2;
    chkTop.value = 1;
    std::int16_t cancel = 0;
    EXPECT_THROW(notes->Form_QueryUnload(cancel, mode), fake::Ended);
    std::vector<std::string> order{"Top", "Left", "Height", "Width", "Reg", "OnTop"};
    EXPECT_EQ(settings.writes, order);
    EXPECT_EQ(settings.Get("Setting", "Top"), "-1200");
    EXPECT_EQ(settings.Get("Setting", "Left"), "1215");
    EXPECT_EQ(settings.Get("Setting", "Height"), "5433");
    EXPECT_EQ(settings.Get("Setting", "Width"), "6336.5");
    EXPECT_EQ(settings.Get("Setting", "Reg"), "2");
    EXPECT_EQ(settings.Get("Setting", "OnTop"), "1");
    EXPECT_EQ(log, (std::vector<std::string>{"tray.unload", "process.end"}));
  }
}

TEST_F(NotesFixture, ARefusedWriteStillEndsAndWritesTheRest) {
  settings.refused = {"Top", "Reg"};
  EXPECT_THROW(notes->Command2_Click(), fake::Ended);
  EXPECT_EQ(settings.writes.size(), 6u);
  EXPECT_EQ(settings.Get("Setting", "Top"), "<absent>");
  EXPECT_NE(settings.Get("Setting", "OnTop"), "<absent>");
  EXPECT_EQ(log.back(), "process.end");
}

TEST_F(NotesFixture, SavedSettingsComeBackAtTheNextStart) {
  form.top = 2400;
  form.left = -300;
  form.height = 6000;
  form.width = 7000;
  chkRegistry.value = 0;
  chkTop.value = 1;
  EXPECT_THROW(notes->Command2_Click(), fake::Ended);
  form.top = form.left = form.height = form.width = 111;
  chkRegistry.value = 1;
  chkTop.value = 0;
  notes->Form_Load();
  EXPECT_EQ(form.top, 2400);
  EXPECT_EQ(form.left, -300);
  EXPECT_EQ(form.height, 6000);
  EXPECT_EQ(form.width, 7000);
  EXPECT_EQ(chkRegistry.value, 0);
  EXPECT_EQ(chkTop.value, 1);
}

TEST_F(NotesFixture, EscapeWithAnyModifierAndTheHideButtonHide) {
  for (std::int16_t shift : {0, 1, 2, 4, 7}) {
    form.visible = true;
    std::int16_t key = 27;
    notes->Form_KeyDown(key, shift);
    EXPECT_FALSE(form.visible);
    EXPECT_EQ(key, 27);  // the key goes on to the control
  }
  form.visible = true;
  std::int16_t other = 13;
  notes->Form_KeyDown(other, 0);
  EXPECT_TRUE(form.visible);
  notes->Command3_Click();
  EXPECT_FALSE(form.visible);
  EXPECT_TRUE(settings.writes.empty());
}

// ---- Top-most ----------------------------------------------------------------------------

TEST_F(NotesFixture, TopMostArgumentsForEachCheckBoxValue) {
  form.left = 3000;
  form.top = 1500;
  form.width = 6337.5f;  // 422.5 pixels: a tie goes to the even integer
  form.height = 5445;
  for (std::int16_t value : {0, 1, 2}) {
    chkTop.value = value;
    notes->chkTop_Click();
  }
  ASSERT_EQ(zorder.calls.size(), 3u);
  EXPECT_EQ(zorder.calls[0].insertAfter, -2);
  EXPECT_EQ(zorder.calls[1].insertAfter, -1);
  EXPECT_EQ(zorder.calls[2].insertAfter, -1);
  for (auto& call : zorder.calls) {
    EXPECT_EQ(call.window, 0x1234);
    EXPECT_EQ(call.x, 200);
    EXPECT_EQ(call.y, 100);
    EXPECT_EQ(call.cx, 422);
    EXPECT_EQ(call.cy, 363);
    EXPECT_EQ(call.flags, 3u);
  }
}

// ---- Autosave ---------------------------------------------------------------------------

TEST_F(NotesFixture, AChangeWritesOnlyThatPadWholeToTheSelectedStore) {
  notes->Form_Load();
  pads[1].text = "x";
  notes->txtText_Change(2);
  EXPECT_EQ(storage.writes, (std::vector<std::pair<int, bool>>{{2, true}}));
  EXPECT_EQ((storage.slots[{2, true}]), "x");
  chkRegistry.value = 0;
  pads[9].text = "";
  notes->txtText_Change(10);
  EXPECT_EQ(storage.writes.back(), (std::pair<int, bool>{10, false}));
  EXPECT_EQ((storage.slots[{10, false}]), "");
  chkRegistry.value = 2;  // greyed also means files
  notes->txtText_Change(10);
  EXPECT_EQ(storage.writes.back(), (std::pair<int, bool>{10, false}));
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(NotesFixture, NothingIsWrittenWhileLoading) {
  struct Echo : fake::Pad {
    vorn::frmVornNotes** notes = nullptr;
    std::int16_t index = 0;
    void SetText(std::string_view t) override {
      text = t;
      (*notes)->txtText_Change(index);  // the control raises its change event
    }
  };
  // Every pad echoes its change event while the start-up sequence fills it.
  std::array<Echo, 10> echo;
  vorn::frmVornNotes* self = nullptr;
  vorn::NotesControls c = Controls(chkRegistry);
  for (int i = 0; i < 10; ++i) {
    echo[i].notes = &self;
    echo[i].index = static_cast<std::int16_t>(i + 1);
    c.txtText[i] = &echo[i];
  }
  vorn::frmVornNotes other(c, Services());
  self = &other;
  storage.slots[{4, true}] = "four";
  other.Form_Load();
  EXPECT_EQ(echo[3].text, "four");
  EXPECT_TRUE(storage.writes.empty());
  other.txtText_Change(4);  // after start-up, changes are written
  EXPECT_EQ(storage.writes.size(), 1u);
}

TEST_F(NotesFixture, AFailedWriteShowsTheBoxOncePerChangeAndKeepsThePad) {
  notes->Form_Load();
  storage.slots[{3, false}] = "old";
  chkRegistry.value = 0;
  storage.failWrites = "Access denied.";
  pads[2].text = "new";
  notes->txtText_Change(3);
  notes->txtText_Change(3);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0], (std::pair<std::string, std::string>{"Access denied.", "Ooops..."}));
  EXPECT_EQ(pads[2].text, "new");
  EXPECT_EQ((storage.slots[{3, false}]), "old");
}

TEST_F(NotesFixture, AFailingModeTestIsReportedThenTheSettingsStoreIsWritten) {
  struct Broken : fake::CheckBox {
    std::int16_t Value() const override { throw vorn::ControlError("Object required"); }
  };
  Broken broken;
  auto other = Make(broken);
  other->Form_Load();
  pads[0].text = "a";
  other->txtText_Change(1);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].first, "Object required");
  EXPECT_EQ((storage.slots[{1, true}]), "a");
  storage.failWrites = "Refused.";
  other->txtText_Change(1);
  EXPECT_EQ(box.shown.size(), 3u);  // the test's failure, then the write's
}

// ---- Pad switching -------------------------------------------------------------------------

TEST_F(NotesFixture, ATabClickShowsThatPadAloneThenItsCount) {
  notes->Form_Load();
  EXPECT_TRUE(statusBar.panels.empty());  // nothing until the first click
  EXPECT_EQ(notes->getTag(), 1);
  pads[2].text = "ab\r\ncd";
  tabStrip.selected = 3;
  log.clear();
  notes->TabStrip1_Click();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(pads[i].visible, i == 2) << i;
  EXPECT_EQ(log.size(), 10u);  // every pad is written, in order
  EXPECT_EQ(log[0], "pad1.hide");
  EXPECT_EQ(log[2], "pad3.show");
  EXPECT_EQ(statusBar.panels[1], "6 characters");
  EXPECT_EQ(notes->getTag(), 3);
  pads[2].text = "x";  // typing leaves the count alone
  EXPECT_EQ(statusBar.panels[1], "6 characters");
  tabStrip.selected = 7;
  pads[6].text = "\xF0\x9F\x99\x82";  // one character past U+FFFF: two UTF-16 units
  notes->TabStrip1_Click();
  EXPECT_EQ(statusBar.panels[1], "2 characters");
  tabStrip.selected = 1;
  notes->TabStrip1_Click();
  EXPECT_EQ(statusBar.panels[1], "0 characters");
}

}  // namespace
