// The notes model and the pads' text: every change stored, failures told and tried again, and
// nothing stored replaced unseen.
#include "notes_model_fixture.h"

namespace {

using vorn::CheckState;
using vorn::CloseReason;
using vorn::ToolbarCommand;

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

// A key's store follows the edit instead of converting the whole pad: wherever it lands, among
// line breaks and characters of two and four bytes, and after a write that failed, each store
// holds the pad's text exactly.
TEST_F(Model, EditsAnywhereInAPadAreStoredExactlyInEitherStore) {
  std::string text =
      "Gr\xC3\xBC\xC3\x9F"
      "e\r\n\xF0\x9F\x99\x82 two\r\nend";
  settings.Set("4", text, "Data");
  files.files["C:\\Vorn\\~tmp4.tmp"] = text;
  model.Start();
  model.TabSelected(4);
  for (bool registry : {true, false}) {
    if (!registry) model.StoreInRegistryClicked();
    auto stored = [&] { return registry ? Value(4) : File(4); };
    auto edit = [&](std::size_t at, std::size_t length, std::string_view typed) {
      view.Select(4, at, length);
      view.ReplacePadSelection(4, typed);
      EXPECT_EQ(stored(), view.text[3]) << "at " << at << (registry ? " in the registry" : "");
    };
    edit(0, view.text[3].size(), text);  // the same places in each store
    edit(view.text[3].size(), 0, "!");   // at the end
    edit(16, 1, "");                     // a Backspace on the line before
    edit(0, 0, "\xE2\x82\xAC");          // at the start, far from the last edit
    edit(16, 0, "x");                    // after the pair of surrogates
    edit(9, 0, "E");                     // back over it and the line break
    edit(7, 2, "");                      // a character of two bytes deleted
    edit(7, 4, "\r\n");                  // over a line break
    if (registry) {
      settings.refused.insert("4");
    } else {
      files.unwritable = "C:\\Vorn\\";
    }
    std::string before = stored();
    view.Type(4, "y");
    EXPECT_EQ(stored(), before);
    settings.refused.clear();
    files.unwritable.clear();
    edit(3, 0, "z");  // the store's text went back to what the store held, and goes on from there
  }
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

// ---- Nothing stored is replaced unseen -------------------------------------------------------

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

// Select all and a new text, again and again faster than the store is written: every text
// replaced is in the history, also those the store never held.
TEST_F(Model, EveryTextReplacedAtMachineSpeedIsKept) {
  model.Start();
  loop.waiting = true;
  for (int i = 0; i < 30; ++i) {
    view.Select(1, 0, view.text[0].size());
    view.ReplacePadSelection(1, "note " + std::to_string(i) + " with a long tail that stays the same");
  }
  loop.waiting = false;
  model.StoreChanges();
  std::vector<std::string> kept = Kept(1);
  for (int i = 0; i < 29; ++i) {
    std::string text = "note " + std::to_string(i) + " with a long tail that stays the same";
    EXPECT_NE(std::find(kept.begin(), kept.end(), text), kept.end()) << i;
  }
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

// ---- Changes from elsewhere -----------------------------------------------------------------

TEST_F(Model, TextWrittenElsewhereIsTakenInAndMergedWithWhatWasTypedHere) {
  settings.Set("3", "one\r\ntwo\r\nthree", "Data");
  model.Start();
  // Not edited here: the pad takes the new text, and the text it showed goes to the history.
  settings.Set("3", "one\r\ntwo\r\nthree\r\nfour", "Data");
  model.StoreChangedElsewhere();
  EXPECT_EQ(view.text[2], "one\r\ntwo\r\nthree\r\nfour");
  EXPECT_EQ(Kept(3), std::vector<std::string>{"one\r\ntwo\r\nthree"});
  // Nothing typed here was replaced: a version that others may push out.
  EXPECT_EQ(history.Versions(3).front().worth, vorn::Worth::Outside);
  EXPECT_EQ(view.status, "Doc #3 was changed elsewhere; Ctrl+H has the text before.");
  EXPECT_TRUE(settings.writes.empty());  // taking text in writes nothing

  // Typed here while another line changed elsewhere: the key's store is merged first, and the
  // merged text stored once the store has held still a moment.
  Later(2000);
  loop.waiting = true;
  view.Type(3, "!");
  settings.Set("3", "ONE\r\ntwo\r\nthree\r\nfour", "Data");
  loop.waiting = false;
  model.StoreChanges();
  EXPECT_EQ(view.text[2], "ONE\r\ntwo\r\nthree\r\nfour!");
  EXPECT_EQ(Value(3), "ONE\r\ntwo\r\nthree\r\nfour");
  Later(1000);
  EXPECT_EQ(Value(3), "ONE\r\ntwo\r\nthree\r\nfour!");

  // The same line changed on both sides: the pad keeps what was typed here, and the other
  // text is kept in the history and told.
  Later(2000);
  loop.waiting = true;
  view.Type(3, "?");
  settings.Set("3", "ONE\r\ntwo\r\nthree\r\nfive", "Data");
  loop.waiting = false;
  model.StoreChanges();
  Later(1000);
  EXPECT_EQ(view.text[2], "ONE\r\ntwo\r\nthree\r\nfour!?");
  EXPECT_EQ(Value(3), "ONE\r\ntwo\r\nthree\r\nfour!?");
  EXPECT_EQ(Kept(3).front(), "ONE\r\ntwo\r\nthree\r\nfive");
  ASSERT_EQ(messages.notified.size(), 1u);
  EXPECT_EQ(messages.notified[0].second, "Changed in two places");

  // Found with no key typed, it is not written over: two computers doing so would go on
  // replacing each other's text. The pad shows the store's text, and says so; what it showed
  // is in its history.
  settings.Set("3", "ONE\r\ntwo\r\nthree\r\nsix", "Data");
  model.StoreChangedElsewhere();
  Later(2000);
  EXPECT_EQ(view.text[2], "ONE\r\ntwo\r\nthree\r\nsix");
  EXPECT_EQ(Value(3), "ONE\r\ntwo\r\nthree\r\nsix");
  std::vector<std::string> kept = Kept(3);
  EXPECT_NE(std::find(kept.begin(), kept.end(), "ONE\r\ntwo\r\nthree\r\nfour!?"), kept.end());
  ASSERT_EQ(messages.notified.size(), 2u);
  EXPECT_NE(messages.notified[1].first.find("It shows the text from elsewhere"), std::string::npos);
  view.Type(3, ".");
  EXPECT_EQ(Value(3), "ONE\r\ntwo\r\nthree\r\nsix.");
}

TEST_F(Model, TextTypedHereAndChangedElsewhereMergesWithTheEditsMadeHereSince) {
  model.Start();
  view.Type(2, "one\r\ntwo\r\nthree");
  // The other computer took the list in and changed its first line; here a line was added.
  loop.waiting = true;
  view.Type(2, "\r\nfour");
  settings.Set("2", "ONE\r\ntwo\r\nthree", "Data");
  loop.waiting = false;
  model.StoreChanges();
  Later(1000);
  EXPECT_EQ(view.text[1], "ONE\r\ntwo\r\nthree\r\nfour");
  EXPECT_EQ(Value(2), "ONE\r\ntwo\r\nthree\r\nfour");

  // The text that stayed in the store a while may be where the other computer started from:
  // its change merges with every key typed here since.
  view.Type(3, "one\r\ntwo");
  Later(2000);
  view.Type(3, "\r\nthree");
  view.Type(3, "?");
  loop.waiting = true;
  view.Type(3, "!");
  settings.Set("3", "ONE\r\ntwo", "Data");
  loop.waiting = false;
  model.StoreChanges();
  Later(1000);
  EXPECT_EQ(view.text[2], "ONE\r\ntwo\r\nthree?!");
}

// An editor saves as Notepad does: it empties the file, then writes its text a moment later.
// Neither the emptied file nor a key typed meanwhile makes the program write over the file
// before the editor is done, idle or typing; the editor's text is taken in.
TEST_F(Model, AnEditorThatEmptiesTheFileBeforeItWritesIsNeverWrittenOver) {
  settings.Set("Reg", "0");
  files.files["C:\\Vorn\\~tmp3.tmp"] = "notes\r\n";
  files.files["C:\\Vorn\\~tmp4.tmp"] = "four\r\n";
  model.Start();
  for (int pad : {3, 4}) {
    std::string path = "C:\\Vorn\\~tmp" + std::to_string(pad) + ".tmp";
    std::string before = files.files[path];
    files.files[path] = "";
    bool typing = pad == 4;
    if (typing) view.Type(pad, "typed\r\n");
    model.StoreChangedElsewhere();
    Later(300);
    EXPECT_EQ(files.files[path], "") << pad;  // not written while the editor may be writing
    EXPECT_EQ(view.text[pad - 1], before + (typing ? "typed\r\n" : "")) << pad;
    const std::string edited = before + "the editor's line\r\n";
    files.files[path] = edited;
    Later(3000);
    Later(3000);
    // Idle, the pad shows the editor's text; typing, the lines both added at one place
    // conflict: the pad keeps what was typed, and the editor's text is in the history.
    std::vector<std::string> kept = Kept(pad);
    EXPECT_EQ(view.text[pad - 1], typing ? before + "typed\r\n" : edited);
    if (typing) EXPECT_NE(std::find(kept.begin(), kept.end(), edited), kept.end());
    EXPECT_EQ(File(pad), view.text[pad - 1]) << pad;
  }
}

// A store another program changes again before each of the program's saves comes round (each
// change taken in first); a change that waits for more than a few seconds is shown in the
// status bar until it is stored.
TEST_F(Model, AChangeThatWaitsForItsStoreIsToldUntilItIsStored) {
  settings.Set("Reg", "0");
  files.files["C:\\Vorn\\~tmp3.tmp"] = "first\r\nlast\r\n";
  model.Start();
  model.TabSelected(3);
  view.Type(3, "typed\r\n");
  for (int i = 0; i < 8; ++i) {
    files.files["C:\\Vorn\\~tmp3.tmp"] = "first " + std::to_string(i) + "\r\nlast\r\n";
    Later(900);
  }
  EXPECT_NE(view.status.find("Doc #3 is not saved yet"), std::string::npos) << view.status;
  Later(3000);
  EXPECT_EQ(File(3), "first 7\r\nlast\r\ntyped\r\n");
  EXPECT_EQ(view.status.find("not saved yet"), std::string::npos) << view.status;
}

TEST_F(Model, AFileRewrittenElsewhereBeforeEachKeyLosesNeitherText) {
  settings.Set("Reg", "0");
  files.files["C:\\Vorn\\~tmp3.tmp"] = "notes";
  model.Start();
  files.files["C:\\Vorn\\~tmp3.tmp"] = "first rewrite";
  view.Type(3, "a");
  Later(2000);
  files.files["C:\\Vorn\\~tmp3.tmp"] = "second rewrite";
  view.Type(3, "b");
  Later(2000);
  Later(2000);
  EXPECT_EQ(File(3), "notesab");
  std::vector<std::string> kept = Kept(3);
  EXPECT_NE(std::find(kept.begin(), kept.end(), "first rewrite"), kept.end());
  EXPECT_NE(std::find(kept.begin(), kept.end(), "second rewrite"), kept.end());
}

TEST_F(Model, APadsFolderTakesThePadsOrGivesThemItsSharedNotes) {
  settings.Set("Reg", "0");
  files.folders = {"C:\\Vorn", "D:\\Sync", "E:\\Shared", "F:\\Locked"};
  model.Start();
  view.Type(1, "hello");
  // An empty folder takes the pads at once, under names sync services carry.
  parts.folders.picked = "D:\\Sync";
  model.PadsFolderClicked();
  EXPECT_EQ(files.files["D:\\Sync\\Doc 1.txt"], "hello");
  EXPECT_EQ(settings.Get("Setting", "Folder"), "D:\\Sync");
  view.Type(1, "!");
  EXPECT_EQ(files.files["D:\\Sync\\Doc 1.txt"], "hello!");
  EXPECT_EQ(File(1), "hello");  // the program's folder keeps the copy it had

  // A folder that cannot be written changes nothing.
  files.unwritable = "F:\\Locked";
  parts.folders.picked = "F:\\Locked";
  model.PadsFolderClicked();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].first.find("folder F:\\Locked\\: Access is denied."),
            std::string::npos);
  EXPECT_EQ(settings.Get("Setting", "Folder"), "D:\\Sync");

  // A folder with pads in it has the notes shared with another computer: the pads show them,
  // and what they showed goes to their history.
  files.files["E:\\Shared\\Doc 2.txt"] = "shared";
  parts.folders.picked = "E:\\Shared";
  model.PadsFolderClicked();
  EXPECT_EQ(view.text[0], "");
  EXPECT_EQ(view.text[1], "shared");
  EXPECT_EQ(Kept(1).front(), "hello!");
  EXPECT_EQ(files.files.count("E:\\Shared\\Doc 1.txt"), 0u);  // nothing written by joining

  // Copies a sync service left of pads changed on two computers at once: kept in the history,
  // merged where they merge, and removed. Files that are not certainly such copies stay as they
  // are: the user's own, and what another computer's interrupted save left, whose text goes to
  // the history. Each kind is told once.
  files.files["E:\\Shared\\Doc 2.sync-conflict-20261209-101010-K3X2R2T.txt"] = "shared\r\nmore";
  files.files["E:\\Shared\\Doc 2 (Laptop's conflicted copy).txt"] = "other";
  std::map<std::string, std::string> theirs;
  for (const char* name : {"Notes.txt", "Doc 2 (1).txt", "Doc 2 - Copy.txt", "Doc 2 backup.txt",
                           "Doc 2-LAPTOP.txt", "Doc 2.txt.ok"}) {
    theirs["E:\\Shared\\" + std::string(name)] = std::string("text of ") + name;
  }
  for (const auto& [path, bytes] : theirs) files.files[path] = bytes;
  model.StoreChangedElsewhere();
  EXPECT_EQ(view.text[1], "shared\r\nmore");
  Later(3000);
  EXPECT_EQ(files.files["E:\\Shared\\Doc 2.txt"], "shared\r\nmore");
  std::vector<std::string> kept = Kept(2);
  EXPECT_NE(std::find(kept.begin(), kept.end(), "other"), kept.end());
  EXPECT_NE(std::find(kept.begin(), kept.end(), "text of Doc 2.txt.ok"), kept.end());
  EXPECT_EQ(files.files.count("E:\\Shared\\Doc 2 (Laptop's conflicted copy).txt"), 0u);
  for (const auto& [path, bytes] : theirs) EXPECT_EQ(files.files[path], bytes) << path;
  ASSERT_EQ(messages.notified.size(), 3u);
  EXPECT_NE(messages.notified[0].first.find("\"Doc 2-LAPTOP.txt\""), std::string::npos);
  EXPECT_NE(messages.notified[1].first.find("\"Doc 2.txt.ok\""), std::string::npos);
  Later(3000);
  EXPECT_EQ(messages.notified.size(), 3u);

  // The program's own folder takes them back beside the program.
  parts.folders.picked = "c:\\vorn\\";
  model.PadsFolderClicked();
  EXPECT_EQ(settings.Get("Setting", "Folder"), "");
  EXPECT_EQ(File(2), "shared\r\nmore");
}

// A sync service that keeps another computer's version of a pad while the program is not
// running drops the text written here: the next start merges it in where the two changed
// different lines, and keeps it in the history and says so either way.
TEST_F(Model, TextWrittenHereThatASyncServiceReplacedIsFoundAtTheNextStart) {
  settings.Set("Reg", "0");
  settings.Set("Folder", "D:\\Sync");
  files.folders = {"D:\\Sync"};
  files.files["D:\\Sync\\Doc 1.txt"] = "shared\r\n";
  files.files["D:\\Sync\\Doc 2.txt"] = "one\r\ntwo\r\n";
  model.Start();
  view.Select(1, 0, 6);
  view.ReplacePadSelection(1, "shared, and typed on the laptop");
  view.Type(2, "three\r\n");
  Later(3000);
  model.End();
  // Doc 1: the same line changed on the desk. Doc 2: another line.
  files.files["D:\\Sync\\Doc 1.txt"] = "SHARED\r\n";
  files.files["D:\\Sync\\Doc 2.txt"] = "ONE\r\ntwo\r\n";
  Parts& next = Run();
  vorn::NotesModel& second = Another(next);
  second.Start();
  EXPECT_EQ(next.view.text[0], "SHARED\r\n");
  EXPECT_EQ(Kept(1).front(), "shared, and typed on the laptop\r\n");
  EXPECT_EQ(next.view.text[1], "ONE\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(Kept(2).front(), "one\r\ntwo\r\nthree\r\n");
  ASSERT_EQ(next.messages.notified.size(), 2u);
  EXPECT_NE(next.messages.notified[0].first.find("the text last written here was replaced"),
            std::string::npos);
  EXPECT_NE(next.messages.notified[1].first.find("the changes made here are merged in"),
            std::string::npos);
  clock.now += 3000;
  second.Tick();
  EXPECT_EQ(files.files["D:\\Sync\\Doc 2.txt"], "ONE\r\ntwo\r\nthree\r\n");
  second.End();
  // Told once: the start after that finds the files as this computer last saw them.
  Parts& third = Run();
  Another(third).Start();
  EXPECT_TRUE(third.messages.notified.empty());
}

// An earlier version without a manifest, run from Program Files, saved its pads where Windows
// put them for it; this one finds the newer ones there and loses neither file's text.
TEST_F(Model, PadsAnEarlierVersionSavedInTheVirtualStoreAreFound) {
  const std::string store = "C:\\Local\\VirtualStore\\Vorn\\";
  settings.Set("Reg", "0");
  files.Outside("C:\\Vorn\\~tmp1.tmp", "before the update");
  files.writtenAt["C:\\Vorn\\~tmp1.tmp"] = 1000;
  files.Outside(store + "~tmp1.tmp", "saved last by the earlier version");
  files.writtenAt[store + "~tmp1.tmp"] = 2000;
  files.Outside(store + "~tmp2.tmp", "only there");
  files.Outside("C:\\Vorn\\~tmp3.tmp", "written here since");
  files.writtenAt["C:\\Vorn\\~tmp3.tmp"] = 3000;
  files.Outside(store + "~tmp3.tmp", "older");
  for (int run = 0; run < 2; ++run) {
    Parts& parts = Run();
    vorn::NotesModel& m = Another(parts);
    keepers.back()->UseVirtualStore(store);
    m.Start();
    EXPECT_EQ(parts.view.text[0], "saved last by the earlier version");
    EXPECT_EQ(parts.view.text[1], "only there");
    EXPECT_EQ(parts.view.text[2], "written here since");
    if (run == 0) {
      // Told once, naming the folder; the program's folder's text is in the history.
      ASSERT_EQ(parts.messages.notified.size(), 1u);
      EXPECT_EQ(parts.messages.notified[0].first.rfind("Doc #1, Doc #2 show", 0), 0u);
      EXPECT_NE(parts.messages.notified[0].first.find(store), std::string::npos);
      EXPECT_EQ(Kept(1), std::vector<std::string>{"before the update"});
    } else {
      EXPECT_TRUE(parts.messages.notified.empty());
    }
    m.StoreChanges();
    EXPECT_EQ(File(1), "saved last by the earlier version");
    EXPECT_EQ(File(2), "only there");
    m.End();
    clock.now += 60000;
  }
  EXPECT_EQ(files.files[store + "~tmp1.tmp"], "saved last by the earlier version");
  EXPECT_EQ(files.files[store + "~tmp3.tmp"], "older");
}

// Windows asks before the pads' drive is removed: what waits is stored, the program lets go of
// the folder, the pads keep their text and a key waits until the drive is back.
TEST_F(Model, APadsDriveThatIsRemovedIsLetGoAndTheKeysWaitForIt) {
  settings.Set("Reg", "0");
  settings.Set("Folder", "E:\\Notes");
  files.folders = {"E:\\Notes"};
  files.files["E:\\Notes\\Doc 1.txt"] = "on the stick";
  model.Start();
  loop.waiting = true;
  view.Type(1, "!");
  model.PadsDriveLeaving();
  EXPECT_EQ(files.files["E:\\Notes\\Doc 1.txt"], "on the stick!");
  EXPECT_EQ(watch.letGo, 1);
  loop.waiting = false;
  files.folders.clear();  // gone
  view.Type(1, "?");
  EXPECT_EQ(view.text[0], "on the stick!?");
  EXPECT_EQ(vorn::PadStatus::Unsaved, keepers.back()->Status(1));
  Later(3000);
  EXPECT_EQ(watch.watched.size(), 1u);  // not watched while the drive is away
  files.folders = {"E:\\Notes"};
  Later(3000);
  EXPECT_EQ(watch.watched.size(), 2u);
  EXPECT_EQ(files.files["E:\\Notes\\Doc 1.txt"], "on the stick!?");
}

// "Pads Folder..." and the program killed at any moment of the move (the power goes): the next
// start reads a folder that holds every word.
TEST_F(Model, AMoveOfFolderCutShortAtAnyMomentLosesNoWord) {
  for (int crashAt = 1; crashAt <= 12; ++crashAt) {
    SCOPED_TRACE(crashAt);
    fake::Settings settings;
    fake::Files files;
    vorn::PadStore pads{settings, files, "C:\\Vorn", Latin1, "DESK"};
    vorn::PadKeeper keeper{pads, history, rescue, clock};
    Parts parts;
    vorn::NotesModel& model = ModelOver(parts, settings, keeper);
    settings.Set("Reg", "0");
    files.folders = {"C:\\Vorn", "D:\\Sync"};
    model.Start();
    parts.view.Type(1, "one");
    parts.view.Type(2, "two");
    parts.folders.picked = "D:\\Sync";
    files.ops = 0;
    files.crashAt = crashAt;
    try {
      model.PadsFolderClicked();
    } catch (const fake::Crash&) {
    }
    files.crashAt = 0;
    files.crashed = false;
    vorn::PadKeeper next{pads, history, rescue, clock};
    Parts again;
    ModelOver(again, settings, next).Start();
    EXPECT_EQ(again.view.text[0], "one");
    EXPECT_EQ(again.view.text[1], "two");
  }
}

// A setup replacing the program asks it to end first: a pad that cannot be stored keeps it
// running, and the setup from going on.
TEST_F(Model, ASetupEndsTheProgramOnlyWithEveryPadStored) {
  settings.Set("Reg", "0");
  model.Start();
  files.unwritable = "C:\\Vorn\\";
  view.Type(4, "not lost");
  EXPECT_FALSE(model.EndForSetup());
  EXPECT_EQ(loop.quits, 0);
  EXPECT_TRUE(messages.asked.empty());
  EXPECT_NE(view.status.find("Doc #4"), std::string::npos) << view.status;
  files.unwritable.clear();
  model.Tick();
  // Shortened elsewhere a moment ago, the store is not written yet: the setup asks again.
  files.Outside("C:\\Vorn\\~tmp4.tmp", "not");
  model.StoreChangedElsewhere();
  view.Type(4, " and more");
  EXPECT_FALSE(model.EndForSetup());
  EXPECT_EQ(loop.quits, 0);
  clock.now += 2000;
  loop.waiting = true;  // the key waits to be stored: the setup's end stores it first
  EXPECT_TRUE(model.EndForSetup());
  EXPECT_EQ(loop.quits, 1);
  EXPECT_EQ(File(4), "not and more");
  EXPECT_EQ(settings.Get("Setting", "Reg"), "0");
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

}  // namespace
