// The notes model: start-up, the tabs, the toolbar, the options, hiding, ending and the icon.
#include "notes_model_fixture.h"

namespace {

using vorn::CheckState;
using vorn::CloseReason;
using vorn::ToolbarCommand;

// ---- Start-up ----------------------------------------------------------------------------

TEST_F(Model, FirstStartAddsTheIconAndEndsHiddenWithPadOneAndNothingWritten) {
  view.shown = true;
  model.Start();
  EXPECT_TRUE(tray.added);
  EXPECT_FALSE(view.shown);
  EXPECT_EQ(view.shownPad, 1);
  EXPECT_FALSE(view.topBox);
  EXPECT_EQ(view.registryBox, CheckState::Ticked);
  EXPECT_TRUE(view.topMostCalls.empty());
  EXPECT_EQ(view.placement.left, 2976);  // the designed window stays
  EXPECT_EQ(view.reachableCalls, 1);
  EXPECT_FLOAT_EQ(view.arranged.buttonPanel.top, 4440);
  for (const std::string& text : view.text) EXPECT_EQ(text, "");
  EXPECT_TRUE(settings.writes.empty());
  EXPECT_TRUE(files.files.empty());
}

// At log-on Explorer may still be starting: the shell refuses the icon, or does not answer in
// time, and tells nobody when it is ready.
TEST_F(Model, TheIconIsAskedForUntilTheShellShowsIt) {
  tray.refusals = 2;
  model.Start();
  EXPECT_FALSE(tray.added);
  Later(3000);
  EXPECT_FALSE(tray.added);
  Later(3000);
  EXPECT_TRUE(tray.added);
  // Explorer started again: its new notification area is asked, and asked again.
  tray.added = false;
  tray.refusals = 1;
  model.NotificationAreaBack();
  Later(3000);
  EXPECT_TRUE(tray.added);
  model.End();
  Later(3000);
  EXPECT_FALSE(tray.added);
}

TEST_F(Model, StoredWindowAndOptionsAreAppliedWhereTheyCanBe) {
  settings.Set("Top", "-1200");
  settings.Set("Left", "0");  // 0 and garbage keep the designed value
  settings.Set("Height", "abc");
  settings.Set("Width", "7000.5");
  settings.Set("OnTop", "1");
  model.Start();
  EXPECT_EQ(view.placement.top, -1200);
  EXPECT_EQ(view.placement.left, 2976);
  EXPECT_EQ(view.placement.height, 5433);
  EXPECT_EQ(view.placement.width, 7000.5f);
  EXPECT_EQ(view.reachableCalls, 1);
  EXPECT_TRUE(view.topBox);
  EXPECT_EQ(view.topMostCalls, std::vector<bool>{true});
}

TEST_F(Model, PadsComeFromTheChosenStoreAndNothingIsWrittenBack) {
  settings.Set("3", "three", "Data");
  files.files["C:\\Vorn\\~tmp3.tmp"] = "file three";
  files.files["C:\\Vorn\\~tmp4.tmp"] =
      "Gr\xFC\xDF"
      "e";  // an earlier build's code page
  model.Start();
  EXPECT_EQ(view.text[2], "three");

  settings.Set("Reg", "0");
  Another(parts).Start();
  EXPECT_EQ(view.text[2], "file three");
  EXPECT_EQ(view.text[3],
            "Gr\xC3\xBC\xC3\x9F"
            "e");
  EXPECT_EQ(view.text[0], "");  // no file: an empty pad
  EXPECT_EQ(view.registryBox, CheckState::Unticked);
  EXPECT_TRUE(settings.writes.empty());
  EXPECT_EQ(files.files.size(), 2u);
}

TEST_F(Model, APadThatCannotBeReadStartsEmptyAndTheStartGoesOn) {
  settings.Set("Reg", "0");
  files.failOn = "Read";
  model.Start();
  EXPECT_EQ(view.text[0], "");
  EXPECT_FALSE(view.shown);
  EXPECT_EQ(view.shownPad, 1);
}

TEST_F(Model, ChangesThePadsReportWhileStartingAreNotWritten) {
  model.Start();
  settings.Set("4", "four", "Data");
  Parts& echoing = Run();
  vorn::NotesModel& echoed = Another(echoing);
  echoing.view.echoSetText = true;  // the control reports the text it was given
  echoed.Start();
  EXPECT_EQ(echoing.view.text[3], "four");
  EXPECT_TRUE(settings.writes.empty());
  echoing.view.Type(4, "!");  // after the start, changes are written
  EXPECT_EQ(Value(4), "four!");
}

// ---- Tabs --------------------------------------------------------------------------------

TEST_F(Model, ATabShowsItsPadAloneAndTheLengthAtThatMoment) {
  model.Start();
  EXPECT_EQ(view.status, "");  // nothing until the first tab
  view.text[2] = "ab\r\ncd";
  model.TabSelected(3);
  EXPECT_EQ(view.shownPad, 3);
  EXPECT_EQ(model.ShownPad(), 3);
  EXPECT_EQ(view.status, "6 characters");
  view.Type(3, "x");
  EXPECT_EQ(view.status, "6 characters");
  view.text[6] = "\xF0\x9F\x99\x82";  // one character past U+FFFF counts as two
  model.TabSelected(7);
  EXPECT_EQ(view.status, "2 characters");
}

// ---- Toolbar -----------------------------------------------------------------------------

struct Toolbar : Model {
  Toolbar() {
    model.Start();
    model.TabSelected(3);
    view.text[2] = "Hello, world";
  }
};

TEST_F(Toolbar, CopyTakesTheSelectionOrTheWholePad) {
  view.Select(3, 7, 5);
  model.Run(ToolbarCommand::Copy);
  EXPECT_EQ(clipboard.text, "world");
  view.Select(3, 3, 0);
  model.Run(ToolbarCommand::Copy);
  EXPECT_EQ(clipboard.text, "Hello, world");
  EXPECT_EQ(view.text[2], "Hello, world");
  EXPECT_TRUE(settings.writes.empty());
}

TEST_F(Toolbar, CutRemovesOnlyASelectionAndStoresThePad) {
  view.Select(3, 12, 0);
  model.Run(ToolbarCommand::Cut);  // nothing selected: the whole pad is copied, nothing removed
  EXPECT_EQ(clipboard.text, "Hello, world");
  EXPECT_EQ(view.text[2], "Hello, world");
  EXPECT_TRUE(settings.writes.empty());
  view.Select(3, 5, 7);
  model.Run(ToolbarCommand::Cut);
  EXPECT_EQ(clipboard.text, ", world");
  EXPECT_EQ(Value(3), "Hello");
  view.SetPadText(3, "");  // an empty pad leaves the clipboard as it is
  model.Run(ToolbarCommand::Cut);
  model.Run(ToolbarCommand::Copy);
  EXPECT_EQ(clipboard.text, ", world");
  EXPECT_EQ(clipboard.sets, 2);
}

TEST_F(Toolbar, PasteReplacesTheSelectionOrInsertsAtTheCaret) {
  clipboard.text = "there";
  view.Select(3, 7, 5);
  model.Run(ToolbarCommand::Paste);
  EXPECT_EQ(view.text[2], "Hello, there");
  clipboard.text = "!";
  view.Select(3, 5, 0);
  model.Run(ToolbarCommand::Paste);
  EXPECT_EQ(Value(3), "Hello!, there");
  clipboard.text.clear();
  model.Run(ToolbarCommand::Paste);
  EXPECT_EQ(settings.writes.size(), 2u);
}

TEST_F(Toolbar, PrintTakesTheSelection) {
  view.Select(3, 0, 5);
  model.Run(ToolbarCommand::Print);
  EXPECT_EQ(printer.calls, (std::vector<std::string>{"start", "text 0 Page #1", "rule 250",
                                                     "text 720 Hello", "finish"}));
}

TEST_F(Toolbar, PrinterAndClipboardFailuresAreToldAndChangeNothing) {
  printer.failAt = "text 720";
  model.Run(ToolbarCommand::Print);
  EXPECT_EQ(printer.calls.back(), "abort");
  clipboard.busy = true;
  view.Select(3, 0, 5);
  model.Run(ToolbarCommand::Cut);
  model.Run(ToolbarCommand::Paste);
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[0],
            (std::pair<std::string, std::string>{"There is no default printer.", "Vorn Notes"}));
  EXPECT_EQ(view.text[2], "Hello, world");
  EXPECT_TRUE(settings.writes.empty());
}

// ---- Options, hiding and ending ----------------------------------------------------------

TEST_F(Model, FindGoesToTheNextPadHoldingTheTextAndSaysWhenNoneDoes) {
  settings.Set("7", "seven holds the word", "Data");
  model.Start();
  view.Type(1, "word");
  view.Select(1, 0, 4);
  model.FindRequested();
  EXPECT_EQ(parts.findBox.what, "word");  // the selection, to find
  model.FindNext("WORD", false);
  EXPECT_EQ(view.shownPad, 7);
  EXPECT_EQ(view.PadSelection(7), "word");
  EXPECT_EQ(view.status, "20 characters");  // as a tab click does
  model.FindAgain(true);                    // F3: round to pad 1
  EXPECT_EQ(view.shownPad, 1);
  model.FindNext("pear", false);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0],
            (std::pair<std::string, std::string>{"Cannot find \"pear\".", "Vorn Notes"}));
  EXPECT_EQ(Value(7), "seven holds the word");
}

TEST_F(Model, TopFollowsItsBoxEachClick) {
  model.Start();
  model.TopClicked();
  model.TopClicked();
  model.TopClicked();
  EXPECT_EQ(view.topMostCalls, (std::vector<bool>{true, false, true}));
  EXPECT_TRUE(view.topBox);
}

TEST_F(Model, StartWithWindowsFollowsTheSystemAndARefusalIsTold) {
  model.Start();
  model.StartWithWindowsClicked();
  EXPECT_TRUE(model.StartsWithWindows());
  startUp.refused = true;
  model.StartWithWindowsClicked();
  EXPECT_TRUE(startUp.on);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first,
            "Vorn Notes cannot stop starting with Windows: Access is denied.");
}

TEST_F(Model, TheZoomIsSharedShownForAMomentAndKeptAtTheEnd) {
  settings.Set("Zoom", "150");
  model.Start();
  EXPECT_EQ(view.zoom, 150);
  model.Zoom(-1);
  EXPECT_EQ(view.zoom, 140);
  EXPECT_EQ(view.status, "Zoom: 140 %");
  model.Tick();
  EXPECT_EQ(view.status, "Zoom: 140 %");
  model.Tick();
  EXPECT_EQ(view.status, "");
  model.Zoom(0);
  EXPECT_EQ(view.zoom, 100);
  model.End();
  EXPECT_EQ(settings.Get("Setting", "Zoom"), "100");
}

TEST_F(Model, TheCloseBoxHideAndEscapeOnlyHide) {
  model.Start();
  view.shown = true;
  model.CloseRequested(CloseReason::CloseBox);
  EXPECT_FALSE(view.shown);
  view.shown = true;
  model.Hide();
  EXPECT_FALSE(view.shown);
  EXPECT_EQ(loop.quits, 0);
  EXPECT_TRUE(tray.added);
  EXPECT_TRUE(settings.writes.empty());
}

TEST_F(Model, EveryOtherReasonEndsAndTheEndStoresTheSettingsOnce) {
  for (CloseReason reason :
       {CloseReason::EndButton, CloseReason::OtherProgram, CloseReason::SessionEnd}) {
    SCOPED_TRACE(static_cast<int>(reason));
    settings.writes.clear();
    Parts& run = Run();
    vorn::NotesModel& m = Another(run);
    fake::Loop& ended = run.loop;
    fake::Tray& icon = run.tray;
    m.Start();
    run.view.placement = {1215, -1200, 6336.5f, 5433};
    m.CloseRequested(reason);
    EXPECT_EQ(ended.quits, 1);
    // At the end of the session the process may be gone once the handler returns: stored at
    // once. Otherwise the loop ends first, and the program's last step stores.
    EXPECT_EQ(settings.writes.empty(), reason != CloseReason::SessionEnd);
    m.End();
    m.End();
    EXPECT_EQ(settings.writes, (std::vector<std::string>{"Top", "Left", "Height", "Width", "Reg",
                                                         "OnTop", "HotKey", "Zoom"}));
    EXPECT_EQ(settings.Get("Setting", "Width"), "6336.5");
    EXPECT_FALSE(icon.added);
    EXPECT_EQ(icon.removes, 1);
  }
}

TEST_F(Model, WhatTheEndStoresComesBackAtTheNextStart) {
  model.Start();
  view.placement = {-300, 2400, 7000, 6000};
  model.TopClicked();
  model.StoreInRegistryClicked();
  model.CloseRequested(CloseReason::EndButton);
  model.End();
  Parts& nextRun = Run();
  fake::NotesView& fresh = nextRun.view;
  Another(nextRun).Start();
  EXPECT_EQ(fresh.placement.left, -300);
  EXPECT_EQ(fresh.placement.top, 2400);
  EXPECT_EQ(fresh.placement.width, 7000);
  EXPECT_EQ(fresh.placement.height, 6000);
  EXPECT_TRUE(fresh.topBox);
  EXPECT_EQ(fresh.registryBox, CheckState::Unticked);
}

// ---- The icon and the About window ---------------------------------------------------------

TEST_F(Model, TheIconsButtonsShowFocusAndToggle) {
  using vorn::TrayAction;
  EXPECT_EQ(vorn::TrayActionFor(0x0202), TrayAction::ShowAndFocus);  // left button up
  EXPECT_EQ(vorn::TrayActionFor(0x0205), TrayAction::Toggle);        // right button up
  EXPECT_EQ(vorn::TrayActionFor(0x0401), TrayAction::ShowAndFocus);  // Enter or Space on it
  // The moves and presses, and the shell's second reports of a click (NIN_SELECT,
  // WM_CONTEXTMENU), do nothing more.
  for (std::uint32_t other :
       {0x0200u, 0x0201u, 0x0203u, 0x0204u, 0x0206u, 0x0208u, 0x0400u, 0x007Bu}) {
    EXPECT_EQ(vorn::TrayActionFor(other), TrayAction::None);
  }
  model.Start();
  model.TrayReleased(TrayAction::ShowAndFocus);
  model.TrayReleased(TrayAction::ShowAndFocus);  // a double click: shown and focused, no toggle
  EXPECT_TRUE(view.shown);
  EXPECT_EQ(view.activations, 2);
  model.TrayReleased(TrayAction::Toggle);
  EXPECT_FALSE(view.shown);
  model.TrayReleased(TrayAction::Toggle);
  EXPECT_TRUE(view.shown);
  EXPECT_EQ(view.activations, 2);
  model.AboutPressed();
  EXPECT_EQ(about.opens, 1);
  // The hotkey: taken at the start; shows and focuses, and hides while the window is active.
  EXPECT_EQ(view.hotKey, vorn::ParseHotKey("Ctrl+Alt+F9"));
  model.HotKeyPressed(true);
  EXPECT_FALSE(view.shown);
  model.HotKeyPressed(false);
  EXPECT_TRUE(view.shown);
  EXPECT_EQ(view.activations, 3);
  model.HotKeyPressed(false);  // shown behind another program's window: comes to the front
  EXPECT_TRUE(view.shown);
  EXPECT_EQ(view.activations, 4);
}

// Windows reports AltGr as Ctrl+Alt: a hotkey Ctrl+Alt+N would take "ń" from a Polish user's
// typing in every program.
TEST_F(Model, AHotKeyThatALayoutTypesACharacterWithIsNotTaken) {
  keyboard.layouts = {{}, fake::KeyboardLayouts::German(), fake::KeyboardLayouts::PolishProgrammers()};
  struct Case {
    const char* stored;
    const char* taken;  // "" for none
    const char* told;   // in the status bar
  } cases[] = {
      {"Ctrl+Alt+N", "Ctrl+Alt+F9", "Ctrl+Alt+N is not the hotkey: it types \"\xC5\x84\""},
      {"Ctrl+Alt+Shift+N", "Ctrl+Alt+F9", "it types \"\xC5\x83\""},
      {"alt+ctrl+e", "Ctrl+Alt+F9", "Ctrl+Alt+E is not the hotkey: it types \"\xE2\x82\xAC\""},
      {"Ctrl+Alt+7", "Ctrl+Alt+F9", "it types \"{\" with a keyboard layout of this computer. "
                                    "The hotkey is Ctrl+Alt+F9."},
      // No layout types with these: Win is no part of a layout, Ctrl alone makes control
      // characters, and no AltGr character sits on B or a function key here.
      {"Ctrl+Alt+B", "Ctrl+Alt+B", ""},
      {"Ctrl+Alt+Win+N", "Ctrl+Alt+Win+N", ""},
      {"Ctrl+Shift+N", "Ctrl+Shift+N", ""},
      {"Ctrl+Alt+F9", "Ctrl+Alt+F9", ""},
  };
  for (const Case& c : cases) {
    Parts& run = Run();
    settings.Set("HotKey", c.stored);
    Another(run).Start();
    EXPECT_EQ(run.view.hotKey, vorn::ParseHotKey(c.taken)) << c.stored;
    if (*c.told) {
      EXPECT_NE(run.view.status.find(c.told), std::string::npos) << run.view.status;
    } else {
      EXPECT_EQ(run.view.status.find("hotkey"), std::string::npos) << run.view.status;
    }
    // The choice stays stored, for a computer without that layout.
    models.back()->End();
    EXPECT_EQ(vorn::ParseHotKey(settings.Get("Setting", "HotKey")), vorn::ParseHotKey(c.stored));
  }
}

TEST_F(Model, AStoredSizeBelowTheSmallestWindowIsRaisedToIt) {
  settings.Set("Width", "1");
  settings.Set("Height", "1");
  model.Start();
  EXPECT_EQ(view.placement.width, 1800);
  EXPECT_EQ(view.placement.height, 570);
}

}  // namespace
