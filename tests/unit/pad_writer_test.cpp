// The one write path of a pad's store, against stores that behave as Windows' do: registry values
// whose stamp is their key's, files whose stamp is their size and last-write time, in steps of two
// seconds on FAT, and by path from a cache some seconds old on a network share.
#include <gtest/gtest.h>

#include "core/pad_keeper.h"
#include "fakes.h"
#include "latin1.h"

namespace {

using vorn::PadKeeper;
using vorn::PadStatus;
using vorn::Storage;
using Is = PadKeeper::Look::Is;
using Written = PadKeeper::Written;

struct Writer : ::testing::Test {
  fake::Settings settings;
  fake::Files files;
  fake::Clock clock;
  vorn::PadStore store{settings, files, "C:\\Vorn", Latin1, "DESK"};
  vorn::History history{files, "C:\\Local\\History", clock, Latin1};
  vorn::History rescue{files, "C:\\Temp\\History", clock, Latin1};
  PadKeeper keeper{store, history, rescue, clock};

  Writer() {
    settings.keyStamps = true;
    files.clock = &clock;
  }
  // The pads in `storage` (in `folder`, for files), read as at a start.
  void Start(Storage storage, std::string folder = {}) {
    keeper.UseFolder(folder);
    keeper.UseStore(storage);
    for (int pad = 1; pad <= vorn::kPadCount; ++pad) keeper.Load(pad);
  }
  std::string Path(int pad) { return store.FilePath(pad); }
  Written Type(int pad, std::string_view text) { return keeper.StoreEdit(pad, text).is; }
  std::vector<std::string> Kept(int pad) {
    std::vector<std::string> texts;
    for (const vorn::Version& v : history.Versions(pad)) texts.push_back(history.Text(pad, v));
    return texts;
  }
  bool InHistory(int pad, const std::string& text) {
    std::vector<std::string> kept = Kept(pad);
    return std::find(kept.begin(), kept.end(), text) != kept.end();
  }
};

// One key's write changes the key's stamp for every value: a pad whose value was as it saw it
// takes the new stamp, and one whose value another program changed meanwhile still finds it.
TEST_F(Writer, ARegistryWriteHidesNoOtherValuesChange) {
  settings.Set("3", "three", "Data");
  settings.Set("5", "five", "Data");
  Start(Storage::SettingsStore);
  settings.Set("5", "five, changed elsewhere", "Data");
  EXPECT_EQ(Type(3, "three!"), Written::Stored);
  PadKeeper::Look look = keeper.LookAtStore(5);
  EXPECT_EQ(look.is, Is::Changed);
  EXPECT_EQ(look.text, "five, changed elsewhere");
  EXPECT_EQ(keeper.LookAtStore(4).is, Is::Same);  // untouched: no read
}

// A save that failed and is tried again finds what was written meanwhile, as a key does.
TEST_F(Writer, ARetriedSaveTakesInWhatWasWrittenMeanwhile) {
  settings.Set("2", "notes", "Data");
  Start(Storage::SettingsStore);
  settings.refused.insert("2");
  EXPECT_EQ(Type(2, "notes, typed"), Written::Failed);
  EXPECT_EQ(keeper.Status(2), PadStatus::Unsaved);
  settings.refused.clear();
  settings.Set("2", "notes, from the laptop", "Data");
  PadKeeper::WriteResult retried = keeper.Save(2, "notes, typed");
  EXPECT_EQ(retried.is, Written::ChangedElsewhere);
  EXPECT_EQ(retried.incoming, "notes, from the laptop");
  EXPECT_EQ(settings.Get("Data", "2"), "notes, from the laptop");
}

// A write that fails leaves the record as the store is: the pad's next look finds no change
// where there is none, and no version claims text the store never held.
TEST_F(Writer, AFailedWriteOfAnEditLeavesTheRecordAsTheStoreIs) {
  settings.Set("1", "abc", "Data");
  Start(Storage::SettingsStore);
  std::u16string shown = u"abcd";
  ASSERT_EQ(keeper.StoreEdit(1, vorn::ShownEdit{shown, std::nullopt, {}}).is, Written::Stored);
  settings.refused.insert("1");
  shown = u"abcde";
  EXPECT_EQ(keeper.StoreEdit(1, vorn::ShownEdit{shown, vorn::PadEdit{4, 0, 1}, {}}).is,
            Written::Failed);
  settings.refused.clear();
  settings.Set("9", "another value written: the key's stamp moves", "Data");
  EXPECT_EQ(keeper.LookAtStore(1).is, Is::Same);
}

// A key whose write waits (the store was emptied elsewhere a moment ago) is not lost when the
// store holds its old text again: the next key's write has both.
TEST_F(Writer, AKeyWhoseWriteWaitedIsInTheNextWrite) {
  files.folders = {"D:\\Sync"};
  files.Outside(Path(1), "abc");
  Start(Storage::PadFiles, "D:\\Sync");
  std::u16string shown = u"abcd";
  ASSERT_EQ(keeper.StoreEdit(1, vorn::ShownEdit{shown, std::nullopt, {}}).is, Written::Stored);
  files.Outside(Path(1), "");
  shown = u"abcde";
  EXPECT_EQ(keeper.StoreEdit(1, vorn::ShownEdit{shown, vorn::PadEdit{4, 0, 1}, {}}).is,
            Written::NotYet);
  files.Outside(Path(1), "abcd");
  shown = u"abcdef";
  EXPECT_EQ(keeper.StoreEdit(1, vorn::ShownEdit{shown, vorn::PadEdit{5, 0, 1}, {}}).is,
            Written::Stored);
  EXPECT_EQ(files.files[Path(1)], "abcdef");
}

// A value another program turned into one of another type (REG_BINARY) holds no text to take
// in: before a key replaces it, its bytes go to the history, where its text can be read back.
TEST_F(Writer, AValueTurnedIntoAnotherTypeIsKeptBeforeAKeyReplacesIt) {
  settings.Set("1", "notes", "Data");
  Start(Storage::SettingsStore);
  std::string binary = fake::ValueData("written as bytes");
  settings.SetRaw("1", binary, 3);
  EXPECT_EQ(keeper.LookAtStore(1).is, Is::Unreadable);
  EXPECT_EQ(Type(1, "notes!"), Written::Stored);
  std::vector<vorn::Version> versions = history.Versions(1);
  ASSERT_FALSE(versions.empty());
  EXPECT_TRUE(versions.front().file.ends_with(".value-3"));
  EXPECT_EQ(history.Text(1, versions.front()).substr(0, 16), "written as bytes");
  EXPECT_TRUE(keeper.TakeUnreadContentKept(1));
}

// Files on a network share: a path's stamp comes from the client's cache and may not show
// another computer's write yet; the file's own does.
TEST_F(Writer, AShareIsAskedWhatItsServerHoldsBeforeAWrite) {
  files.shares = {"S:"};
  files.folders = {"S:\\Notes"};
  files.Outside("S:\\Notes\\Doc 1.txt", "mine");
  Start(Storage::PadFiles, "S:\\Notes");
  const std::string heard = files.Stamp("S:\\Notes\\Doc 1.txt");
  clock.now += 5000;
  files.Outside("S:\\Notes\\Doc 1.txt", "from another computer");
  EXPECT_EQ(files.Stamp("S:\\Notes\\Doc 1.txt"), heard);  // the cache's, not yet the server's
  PadKeeper::WriteResult typed = keeper.StoreEdit(1, "mine!");
  EXPECT_EQ(typed.is, Written::ChangedElsewhere);
  EXPECT_EQ(files.files["S:\\Notes\\Doc 1.txt"], "from another computer");
}

// FAT keeps a file's time in steps of two seconds: another write of the same length within the
// step leaves the stamp as it was, and only the content tells. So does a write made in the
// same moment as one just taken in, on any disk.
TEST_F(Writer, AStampThatCannotTellIsCheckedAgainstTheContent) {
  files.timeStep = 2000;
  files.folders = {"F:\\Stick"};
  files.Outside(Path(1), "aaaa");
  Start(Storage::PadFiles, "F:\\Stick");
  clock.now += 10000;
  ASSERT_EQ(Type(1, "bbbb"), Written::Stored);
  clock.now += 500;
  files.Outside(Path(1), "cccc");
  EXPECT_EQ(keeper.LookAtStore(1).is, Is::Changed);
  EXPECT_EQ(Type(1, "dddd"), Written::ChangedElsewhere);

  files.timeStep = 0;
  clock.now += 10000;
  files.Outside(Path(2), "first of a burst");
  PadKeeper::Look look = keeper.LookAtStore(2);
  ASSERT_EQ(look.is, Is::Changed);
  keeper.TakeIn(2, look.text, look.stamp, "", false);
  files.Outside(Path(2), "last of a burst!");  // the same length, the same millisecond
  clock.now += 3000;
  look = keeper.LookAtStore(2);
  EXPECT_EQ(look.is, Is::Changed);
  EXPECT_EQ(look.text, "last of a burst!");
}

// A store emptied or deleted elsewhere is not written over while its writer may still be at
// work; left so, it counts as changed: the pad takes it in, and its text goes to the history.
TEST_F(Writer, AStoreEmptiedElsewhereIsLeftAloneAMomentThenTakenIn) {
  files.folders = {"D:\\Sync"};
  files.Outside("D:\\Sync\\Doc 1.txt", "line\r\n");
  Start(Storage::PadFiles, "D:\\Sync");
  files.files.erase("D:\\Sync\\Doc 1.txt");
  EXPECT_EQ(keeper.LookAtStore(1).is, Is::Settling);
  EXPECT_EQ(Type(1, "line\r\ntyped"), Written::NotYet);
  EXPECT_EQ(files.files.count("D:\\Sync\\Doc 1.txt"), 0u);
  clock.now += vorn::PadWriter::kHold;
  PadKeeper::Look look = keeper.LookAtStore(1);
  ASSERT_EQ(look.is, Is::Changed);
  PadKeeper::TakenIn taken = keeper.TakeIn(1, look.text, look.stamp, "line\r\n", false);
  EXPECT_EQ(taken.how, PadKeeper::Taken::Replaced);
  EXPECT_EQ(taken.text, "");
  EXPECT_TRUE(InHistory(1, "line\r\n"));
  // Just taken in, the store is left alone a moment more before the pad's next write.
  EXPECT_EQ(Type(1, "new"), Written::NotYet);
  clock.now += vorn::PadWriter::kHold;
  EXPECT_EQ(Type(1, "new"), Written::Stored);
}

// A text written elsewhere that is too long to edit is shown read-only, as at a start; what the
// pad showed, typed here perhaps, is kept, and the store is never replaced.
TEST_F(Writer, ATextTooLongToEditComingInKeepsWhatThePadShowed) {
  files.folders = {"D:\\Sync"};
  files.Outside("D:\\Sync\\Doc 1.txt", "short");
  Start(Storage::PadFiles, "D:\\Sync");
  std::string huge(vorn::kMaxPadCharacters + 1, 'h');
  files.Outside("D:\\Sync\\Doc 1.txt", huge);
  PadKeeper::Look look = keeper.LookAtStore(1);
  ASSERT_EQ(look.is, Is::Changed);
  PadKeeper::TakenIn taken = keeper.TakeIn(1, look.text, look.stamp, "short, typed", true);
  EXPECT_EQ(taken.how, PadKeeper::Taken::TooLarge);
  EXPECT_EQ(taken.text.size(), vorn::kMaxPadCharacters);
  EXPECT_EQ(keeper.Status(1), PadStatus::TooLarge);
  EXPECT_TRUE(InHistory(1, "short, typed"));
  clock.now += 10000;
  EXPECT_EQ(Type(1, "typed again"), Written::Failed);
  EXPECT_TRUE(files.files["D:\\Sync\\Doc 1.txt"] == huge);
}

// A save of this computer's cut short is finished at the next start, and what it replaces is
// kept; what another computer's left is never put over a pad.
TEST_F(Writer, OnlyThisComputersInterruptedSaveIsFinished) {
  files.folders = {"D:\\Sync"};
  files.Outside("D:\\Sync\\Doc 2.txt", "brought by the sync service");
  files.Outside("D:\\Sync\\Doc 2.txt.DESK.ok", "typed here before the crash");
  files.Outside("D:\\Sync\\Doc 3.txt", "three");
  files.Outside("D:\\Sync\\Doc 3.txt.LAPTOP.ok", "the laptop's");
  files.Outside("D:\\Sync\\Doc 3.txt.ok", "an older build's");
  Start(Storage::PadFiles, "D:\\Sync");
  EXPECT_EQ(files.files["D:\\Sync\\Doc 2.txt"], "typed here before the crash");
  EXPECT_EQ(files.files.count("D:\\Sync\\Doc 2.txt.DESK.ok"), 0u);
  EXPECT_TRUE(InHistory(2, "brought by the sync service"));
  EXPECT_EQ(files.files["D:\\Sync\\Doc 3.txt"], "three");
  EXPECT_EQ(files.files["D:\\Sync\\Doc 3.txt.LAPTOP.ok"], "the laptop's");
  EXPECT_EQ(files.files["D:\\Sync\\Doc 3.txt.ok"], "an older build's");
}

}  // namespace
