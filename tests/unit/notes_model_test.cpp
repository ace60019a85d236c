// The notes model over fakes of the windows, with the real pad store over in-memory stores.
#include "core/notes_model.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "latin1.h"

namespace {

using vorn::CheckState;
using vorn::CloseReason;
using vorn::ToolbarCommand;

// The program's parts around one model; `Another` builds a second model on the same stores, as
// the next start of the program does.
struct Parts {
  fake::NotesView view;
  fake::Tray tray;
  fake::About about;
  fake::HistoryBox historyBox;
  fake::FindBox findBox;
  fake::Messages messages;
  fake::Loop loop;
};

struct Model : ::testing::Test {
  fake::Settings settings;
  fake::Files files;
  fake::Clock clock;
  fake::Clipboard clipboard;
  fake::Printer printer;
  vorn::PadStore pads{settings, files, "C:\\Vorn", Latin1};
  vorn::History history{files, "C:\\Local\\History", clock, Latin1};
  vorn::History rescue{files, "C:\\Temp\\History", clock, Latin1};
  std::vector<std::unique_ptr<vorn::PadKeeper>> keepers;
  std::vector<std::unique_ptr<Parts>> runs;
  Parts& parts = Run();
  fake::NotesView& view = parts.view;
  fake::Tray& tray = parts.tray;
  fake::About& about = parts.about;
  fake::Messages& messages = parts.messages;
  fake::Loop& loop = parts.loop;
  std::vector<std::unique_ptr<vorn::NotesModel>> models;
  vorn::NotesModel& model = Another(parts);

  Parts& Run() { return *runs.emplace_back(std::make_unique<Parts>()); }
  vorn::NotesModel& Another(Parts& p) {
    auto& keeper =
        keepers.emplace_back(std::make_unique<vorn::PadKeeper>(pads, history, rescue, clock));
    auto& m = *models.emplace_back(std::make_unique<vorn::NotesModel>(
        vorn::NotesWindows{p.view, p.tray, p.about, p.historyBox, p.findBox, p.messages, p.loop},
        vorn::NotesServices{settings, *keeper, history, clipboard, printer}));
    p.view.changed = [&m](int pad) { m.PadChanged(pad); };
    return m;
  }
  std::string Value(int pad) { return settings.Get("Data", std::to_string(pad)); }
  std::string File(int pad) {
    auto it = files.files.find("C:\\Vorn\\~tmp" + std::to_string(pad) + ".tmp");
    return it == files.files.end() ? "<absent>" : it->second;
  }
  // The pad's versions in the history, newest first, as their text.
  std::vector<std::string> Kept(int pad) {
    std::vector<std::string> texts;
    for (const vorn::Version& v : history.Versions(pad)) texts.push_back(history.Text(pad, v));
    return texts;
  }
};

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

// ---- Autosave ----------------------------------------------------------------------------

TEST_F(Model, AChangeStoresThatPadWholeInTheStoreTheOptionChooses) {
  model.Start();
  view.Type(2, "hello");
  EXPECT_EQ(Value(2), "hello");
  EXPECT_EQ(settings.writes, std::vector<std::string>{"2"});

  model.StoreInRegistryClicked();  // unticked: the pads go to their files at once
  EXPECT_EQ(view.registryBox, CheckState::Unticked);
  EXPECT_EQ(File(2), "hello");
  EXPECT_EQ(File(1), "<absent>");  // an empty pad with nothing stored leaves no file
  EXPECT_EQ(settings.Get("Setting", "Reg"), "0");
  view.Type(2, "!");
  EXPECT_EQ(File(2), "hello!");
  EXPECT_EQ(Value(2), "hello");

  model.StoreInRegistryClicked();
  EXPECT_EQ(view.registryBox, CheckState::Ticked);
  view.Type(2, "?");
  EXPECT_EQ(Value(2), "hello!?");
}

TEST_F(Model, KeysAlreadyQueuedAreStoredOnceAfterThemAndBeforeTheProgramWaits) {
  model.Start();
  loop.waiting = true;
  view.Type(3, "a");
  view.Type(3, "b");
  EXPECT_EQ(settings.writes.size(), 0u);
  loop.waiting = false;
  model.StoreChanges();
  EXPECT_EQ(Value(3), "ab");
  EXPECT_EQ(settings.writes, std::vector<std::string>{"3"});
  loop.waiting = true;
  view.Type(3, "c");
  model.CloseRequested(vorn::CloseReason::EndButton);  // nothing typed is left behind
  EXPECT_EQ(Value(3), "abc");
}

TEST_F(Model, AGreyedOptionMeansPadFilesAndAClickTicksIt) {
  settings.Set("Reg", "2");
  model.Start();
  EXPECT_EQ(view.registryBox, CheckState::Greyed);
  view.Type(1, "x");
  EXPECT_EQ(File(1), "x");
  model.StoreInRegistryClicked();
  EXPECT_EQ(view.registryBox, CheckState::Ticked);
}

TEST_F(Model, AFailedSaveIsToldOnceAndTriedAgainUntilItWorks) {
  settings.Set("Reg", "0");
  files.files["C:\\Vorn\\~tmp3.tmp"] = "old";
  model.Start();
  model.TabSelected(3);
  files.unwritable = "C:\\Vorn\\";
  view.Type(3, "new");
  view.Type(3, "er");
  ASSERT_EQ(messages.notified.size(), 1u);  // once, and without taking the keyboard
  EXPECT_EQ(messages.notified[0].first, "Doc #3, file C:\\Vorn\\~tmp3.tmp: Access is denied.");
  EXPECT_EQ(messages.notified[0].second, "Ooops...");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(view.status, "Doc #3 is not saved: file C:\\Vorn\\~tmp3.tmp: Access is denied.");
  EXPECT_EQ(File(3), "old");
  model.Tick();
  EXPECT_EQ(File(3), "old");
  files.unwritable.clear();
  model.Tick();  // every few seconds
  EXPECT_EQ(File(3), "oldnewer");
  EXPECT_EQ(view.status, "3 characters");  // the length taken at the tab click
  files.unwritable = "C:\\Vorn\\";
  view.Type(3, "!");
  EXPECT_EQ(messages.notified.size(), 2u);  // a new run of failures is told again
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

TEST_F(Model, EveryOtherReasonEndsAndTheEndStoresTheSixEntriesOnce) {
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
                                                         "OnTop", "HotKey"}));
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
  for (std::uint32_t other : {0x0200u, 0x0201u, 0x0203u, 0x0204u, 0x0206u, 0x0208u}) {
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
  EXPECT_EQ(view.hotKey, vorn::ParseHotKey("Ctrl+Alt+N"));
  model.HotKeyPressed(true);
  EXPECT_FALSE(view.shown);
  model.HotKeyPressed(false);
  EXPECT_TRUE(view.shown);
  EXPECT_EQ(view.activations, 3);
  model.HotKeyPressed(false);  // shown behind another program's window: comes to the front
  EXPECT_TRUE(view.shown);
  EXPECT_EQ(view.activations, 4);
}

}  // namespace

// ---- Nothing stored is replaced unseen -------------------------------------------------------

namespace {

TEST_F(Model, AnUnreadPadIsReadAgainAndItsStoreNotReplacedUntilItsTextIsKept) {
  settings.Set("Reg", "0");
  files.files["C:\\Vorn\\~tmp2.tmp"] = "held by a backup tool";
  files.files["C:\\Vorn\\~tmp5.tmp"] = "five";
  files.locked = {"C:\\Vorn\\~tmp2.tmp", "C:\\Vorn\\~tmp5.tmp"};
  model.Start();
  model.TabSelected(2);
  EXPECT_EQ(view.text[1], "");
  EXPECT_EQ(
      view.status,
      "Doc #2 could not be read: file C:\\Vorn\\~tmp2.tmp: another program has the file open.");
  view.Type(2, "typed meanwhile");
  EXPECT_EQ(File(2), "held by a backup tool");
  EXPECT_EQ(messages.notified.size(), 1u);
  model.Tick();
  EXPECT_EQ(File(2), "held by a backup tool");
  files.locked.clear();
  model.Tick();
  EXPECT_EQ(File(2), "typed meanwhile");
  EXPECT_EQ(Kept(2), std::vector<std::string>{"held by a backup tool"});
  EXPECT_EQ(view.text[4], "five");  // not typed into: read again when it can be
  EXPECT_EQ(view.status,
            "Doc #2: what its store held when it could not be read is in the history (Ctrl+H); "
            "the pad keeps what you typed.");
}

TEST_F(Model, EveryPadOpensAndOnePastTheLimitShowsItsStartReadOnly) {
  settings.Set("Reg", "0");
  std::string paragraph(10000, 'p');
  files.files["C:\\Vorn\\~tmp3.tmp"] = paragraph;
  const std::size_t limit = vorn::PadKeeper::kMaxCharacters;
  std::string huge = std::string(limit, 'y') + "\xC3\xA9";
  files.files["C:\\Vorn\\~tmp2.tmp"] = huge;
  model.Start();
  EXPECT_EQ(view.text[2], paragraph);
  view.Type(3, "!");
  EXPECT_EQ(File(3), paragraph + "!");
  model.TabSelected(2);
  EXPECT_EQ(view.text[1], std::string(limit, 'y'));
  EXPECT_EQ(view.status,
            "Doc #2 is read-only: file C:\\Vorn\\~tmp2.tmp holds 16,777,217 characters, and a "
            "pad edits at most 16,777,216: it shows the first of them and leaves the store as it "
            "is.");
  view.Type(2, "lost?");  // the pad takes no typing
  clipboard.text = "pasted";
  model.Run(ToolbarCommand::Paste);
  model.Tick();
  model.CloseRequested(CloseReason::EndButton);
  EXPECT_TRUE(File(2) == huge);
  EXPECT_TRUE(Kept(2).empty());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Model, APadWhoseCopyDiffersFromWhatItShowsIsStoredAsShown) {
  model.Start();
  model.TabSelected(3);
  view.Type(3, "Monday");
  // The control changed without the copy following: the same length shows nothing at idle,
  // the whole text does when the window hides.
  view.text[2] = "Friday";
  view.staleCopy[2] = "Monday";
  model.Idle();
  EXPECT_EQ(Value(3), "Monday");
  model.Hide();
  EXPECT_EQ(Value(3), "Friday");
  EXPECT_EQ(Kept(3), std::vector<std::string>{"Monday"});
  view.text[3] = "Tuesday's notes";
  view.staleCopy[3] = "Tue";
  model.Idle();
  EXPECT_EQ(Value(4), "Tuesday's notes");
  EXPECT_EQ(Kept(4), std::vector<std::string>{"Tue"});
}

TEST_F(Model, AHistoryThatCannotBeWrittenIsToldAndItsVersionsGoElsewhere) {
  settings.Set("Reg", "0");
  std::string note(63, 'n');
  files.files["C:\\Vorn\\~tmp1.tmp"] = note;
  files.unwritable = "C:\\Local\\History";
  model.Start();
  view.Select(1, 0, 63);
  view.ReplacePadSelection(1, "x");
  EXPECT_EQ(File(1), "x");
  ASSERT_EQ(rescue.Versions(1).size(), 1u);
  EXPECT_EQ(rescue.Text(1, rescue.Versions(1)[0]), note);
  const std::string told =
      "The history cannot be written: The folder cannot be made. Versions go to "
      "C:\\Temp\\History.";
  EXPECT_EQ(messages.notified,
            (std::vector<std::pair<std::string, std::string>>{{told, "Ooops..."}}));
  EXPECT_EQ(view.status, told);
}

TEST_F(Model, AValueThatIsNoTextGoesToTheHistoryBeforeTheFirstKey) {
  settings.SetRaw("1", std::string("\x2A\0\0\0", 4), 4);
  files.unwritable = "C:\\";  // at first neither history can take it
  model.Start();
  EXPECT_EQ(view.status,
            "Doc #1 could not be read: registry value Data\\1: the value holds no text "
            "(it is of type 4).");
  view.Type(1, "x");
  EXPECT_NE(Value(1), "x");
  EXPECT_TRUE(view.status.starts_with(
      "Doc #1 is not saved: registry value Data\\1: what it holds could not be read and could "
      "not be kept in the history"));
  files.unwritable.clear();
  model.Tick();
  EXPECT_EQ(Value(1), "x");
  std::vector<vorn::Version> versions = history.Versions(1);
  ASSERT_EQ(versions.size(), 1u);
  EXPECT_TRUE(versions[0].file.ends_with(".value-4"));
  EXPECT_EQ(files.files.at("C:\\Local\\History\\1\\" + versions[0].file),
            std::string("\x2A\0\0\0", 4));
}

TEST_F(Model, TypingOverTheWholePadKeepsItAndARestoreBringsItBack) {
  std::string note(120, 'n');
  settings.Set("3", note, "Data");
  model.Start();
  model.TabSelected(3);
  view.Select(3, 0, 120);
  view.ReplacePadSelection(3, "x");
  clock.now += 1000;
  view.Type(3, "y");
  EXPECT_EQ(Value(3), "xy");
  EXPECT_EQ(Kept(3), std::vector<std::string>{note});  // the stored text, once per run
  model.HistoryRequested();
  EXPECT_EQ(parts.historyBox.openedFor, 3);
  clock.now += 1000;
  model.Restore(3, model.Versions(3).front());
  EXPECT_EQ(view.text[2], note);
  EXPECT_EQ(Value(3), note);
  EXPECT_EQ(Kept(3), (std::vector<std::string>{"xy", note}));  // what the restore replaced
}

TEST_F(Model, SwitchingWritesEveryPadAtOnceOrStaysWhereItWas) {
  settings.Set("Reg", "0");
  std::string tooLongForAValue;
  for (int line = 0; line < 8192; ++line) tooLongForAValue += std::string(62, 'x') + "\r\n";
  files.files["C:\\Vorn\\~tmp1.tmp"] = tooLongForAValue;  // 524,288 characters
  files.files["C:\\Vorn\\~tmp2.tmp"] = "two";
  model.Start();
  model.StoreInRegistryClicked();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first.rfind("Doc #1, registry value Data\\1: the pad holds 524,288 "
                                          "characters",
                                          0),
            0u);
  EXPECT_EQ(view.registryBox, CheckState::Unticked);
  EXPECT_EQ(settings.Get("Setting", "Reg"), "0");
  view.Type(2, "!");
  EXPECT_EQ(File(2), "two!");
  EXPECT_EQ(view.status, "");
}

TEST_F(Model, EndingWithAnUnsavedPadAsksAndItsTextGoesToTheHistory) {
  settings.Set("Reg", "0");
  model.Start();
  files.unwritable = "C:\\Vorn\\";
  view.Type(4, "not lost");
  messages.answer = false;
  model.CloseRequested(CloseReason::EndButton);
  ASSERT_EQ(messages.asked.size(), 1u);
  EXPECT_EQ(messages.asked[0].first,
            "Doc #4 is not saved: file C:\\Vorn\\~tmp4.tmp: Access is denied."
            "\r\n\r\nEnd anyway? Its text will be kept in the history.");
  EXPECT_EQ(loop.quits, 0);
  messages.answer = true;
  model.CloseRequested(CloseReason::EndButton);
  EXPECT_EQ(loop.quits, 1);
  model.End();
  EXPECT_EQ(Kept(4), std::vector<std::string>{"not lost"});
  // Log-off does not ask.
  Parts& next = Run();
  vorn::NotesModel& again = Another(next);
  again.Start();
  next.view.Type(5, "five");
  again.CloseRequested(CloseReason::SessionEnd);
  EXPECT_TRUE(next.messages.asked.empty());
  EXPECT_EQ(Kept(5), std::vector<std::string>{"five"});
  // Where no history can be written either, End says the text would be lost.
  Parts& last = Run();
  vorn::NotesModel& third = Another(last);
  third.Start();
  files.unwritable = "C:\\";
  last.view.Type(6, "six");
  last.messages.answer = false;
  third.CloseRequested(CloseReason::EndButton);
  ASSERT_EQ(last.messages.asked.size(), 1u);
  EXPECT_EQ(last.messages.asked[0].first,
            "Doc #6 is not saved: file C:\\Vorn\\~tmp6.tmp: Access is denied.\r\n\r\nIts text "
            "cannot be kept in the history either: The folder cannot be made.\r\n\r\nEnd anyway "
            "and lose it? No keeps Vorn Notes running.");
  EXPECT_EQ(last.loop.quits, 0);
}

TEST_F(Model, AStoredSizeBelowTheSmallestWindowIsRaisedToIt) {
  settings.Set("Width", "1");
  settings.Set("Height", "1");
  model.Start();
  EXPECT_EQ(view.placement.width, 1800);
  EXPECT_EQ(view.placement.height, 570);
}

}  // namespace
