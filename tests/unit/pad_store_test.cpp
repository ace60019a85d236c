// The pad store: where each pad goes, how pad files are read, and the safe save.
#include "core/pad_store.h"

#include <gtest/gtest.h>

#include "core/pad_text.h"
#include "core/sync_copy_name.h"
#include "fakes.h"
#include "latin1.h"

using namespace vorn;
using fake::ValueData;

namespace {

const std::string kPath = "C:\\Vorn\\~tmp3.tmp";

TEST(PadStore, NamesItsFilesInTheProgramsFolder) {
  fake::Settings settings;
  fake::Files files;
  EXPECT_EQ(PadStore(settings, files, "C:\\Vorn", Latin1).FilePath(1), "C:\\Vorn\\~tmp1.tmp");
  EXPECT_EQ(PadStore(settings, files, "D:\\", Latin1).FilePath(10), "D:\\~tmp10.tmp");
}

// Windows puts what a program without a manifest writes below Program Files, Windows or
// ProgramData into the user's VirtualStore, under the same path without its drive.
TEST(PadStore, KnowsWhereWindowsKeptAnEarlierVersionsFiles) {
  const std::vector<std::string> virtualized = {"C:\\Program Files", "C:\\Program Files (x86)",
                                                "C:\\Windows", "C:\\ProgramData"};
  const std::string local = "C:\\Users\\Ann\\AppData\\Local";
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Program Files\\Vorn Notes", "\\VirtualStore\\Program Files\\Vorn Notes\\"},
      {"c:\\program files (x86)\\Vorn\\", "\\VirtualStore\\program files (x86)\\Vorn\\"},
      {"C:\\ProgramData", "\\VirtualStore\\ProgramData\\"},
      {"C:\\Program Files2\\Vorn", ""},
      {"C:\\Users\\Ann\\Downloads", ""},
      {"D:\\Program Files\\Vorn", ""},
      {"\\\\server\\Program Files\\Vorn", ""},
  };
  for (const auto& [folder, store] : cases) {
    EXPECT_EQ(vorn::VirtualStoreFolder(folder, virtualized, local), *store ? local + store : "")
        << folder;
  }
  EXPECT_EQ(vorn::VirtualStoreFolder("C:\\Program Files\\Vorn", virtualized, ""), "");
}

// Only a name a sync service certainly wrote is taken for its copy; one a user could give is
// left alone, told at most.
TEST(SyncCopyName, TakesOnlyTheFormsSyncServicesWrite) {
  using Kind = vorn::SyncCopyName::Kind;
  struct Case {
    const char* name;
    Kind kind;
    int pad;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"Doc 3.sync-conflict-20261209-101010-K3X2R2T.txt", Kind::Certain, 3},
           {"Doc 3.sync-conflict-20160818-134336.txt", Kind::Certain, 3},  // before device ids
           {"doc 10.SYNC-CONFLICT-20261209-101010-ABCDEFG.TXT", Kind::Certain, 10},
           {"Doc 3 (Anna's conflicted copy 2026-12-09).txt", Kind::Certain, 3},
           {"Doc 3 (DESKTOP-4KJ9P2A's conflicted copy 2026-12-09) (1).txt", Kind::Certain, 3},
           {"Doc 2 (Laptop's conflicted copy).txt", Kind::Certain, 2},
           {"Doc 3 (conflicted copy 2026-12-09 101010).txt", Kind::Certain, 3},
           {"Doc 3 (conflicted copy Anna Berg 2026-12-09 101010).txt", Kind::Certain, 3},
           {"Doc 3_conflict-20170301-093000.txt", Kind::Certain, 3},
           {"Doc 3_conflict_anna-20170301-093000.txt", Kind::Certain, 3},
           {"Doc 3-LAPTOP.txt", Kind::Ambiguous, 3},
           {"Doc 1-DESKTOP-4KJ9P2A-2.txt", Kind::Ambiguous, 1},
           {"Doc 1-ideas.txt", Kind::Ambiguous, 1},
           // Explorer's, a browser's and a user's names, another pad's, the pads themselves, the
           // save's steps, and forms cut short.
           {"Doc 1 - Copy.txt", Kind::None, 0},
           {"Doc 1 (2).txt", Kind::None, 0},
           {"Doc 1 (1).txt", Kind::None, 0},
           {"Doc 1 backup.txt", Kind::None, 0},
           {"Doc 1 - ideas.txt", Kind::None, 0},
           {"Doc 10.txt", Kind::None, 0},
           {"Doc 12.txt", Kind::None, 0},
           {"Doc 3.txt", Kind::None, 0},
           {"Doc 3.txt.ok", Kind::None, 0},
           {"Doc 3.txt.LAPTOP.new", Kind::None, 0},
           {"Notes.txt", Kind::None, 0},
           {"~tmp3.tmp", Kind::None, 0},
           {"Doc 3.sync-conflict-2026120-101010-K3X2R2T.txt", Kind::None, 0},
           {"Doc 3.sync-conflict-20261209-101010-K3X2R21.txt", Kind::None, 0},
           {"Doc 3 (conflicted copy).txt", Kind::None, 0},
           {"Doc 3 ('s conflicted copy 2026-12-09).txt", Kind::None, 0},
           {"Doc 3 (my conflicted copy notes).txt", Kind::None, 0},
           {"Doc 3 - my laptop.txt", Kind::None, 0},
       }) {
    vorn::SyncCopyName found = vorn::ClassifySyncCopy(c.name);
    EXPECT_EQ(found.kind, c.kind) << c.name;
    EXPECT_EQ(found.pad, c.pad) << c.name;
  }
}

TEST(PadStore, ReadsAndWritesTheStoreItIsGivenOnly) {
  fake::Settings settings;
  fake::Files files;
  PadStore pads(settings, files, "C:\\Vorn", Latin1);
  const Storage registry = Storage::SettingsStore, file = Storage::PadFiles;
  EXPECT_EQ(pads.Read(registry, 3), std::nullopt);
  pads.Write(registry, 3, "in the registry");
  EXPECT_EQ(settings.Get("Data", "3"), "in the registry");
  EXPECT_TRUE(files.files.empty());
  EXPECT_EQ(pads.Read(file, 3), std::nullopt);
  pads.Write(file, 3, "in a file");
  EXPECT_EQ(files.files.at(kPath), "in a file");
  EXPECT_EQ(pads.Read(file, 3), "in a file");
  EXPECT_EQ(pads.Read(registry, 3), "in the registry");
  EXPECT_EQ(pads.ReadBytes(file, 3)->kind, "file");
  EXPECT_EQ(pads.ReadBytes(registry, 3)->kind, "value-1");
}

TEST(PadStore, KeepsWhatItCannotTakeAndSaysWhereAndWhy) {
  fake::Settings settings;
  fake::Files files;
  PadStore pads(settings, files, "C:\\Vorn", Latin1);
  auto error = [](auto&& call) {
    try {
      call();
    } catch (const PlatformError& e) {
      return std::string(e.what());
    }
    return std::string("<no error>");
  };
  const Storage registry = Storage::SettingsStore, file = Storage::PadFiles;
  // A folder with the pad file's name, a locked file, a read-only file.
  files.folders.insert(kPath);
  EXPECT_EQ(error([&] { pads.Read(file, 3); }),
            "file " + kPath + ": a folder has the pad file's name.");
  files.folders.clear();
  files.files[kPath] = "mine";
  files.locked.insert(kPath);
  EXPECT_EQ(error([&] { pads.Read(file, 3); }),
            "file " + kPath + ": another program has the file open.");
  files.locked.clear();
  files.readOnly.insert(kPath);
  EXPECT_EQ(error([&] { pads.Write(file, 3, "new"); }),
            "file " + kPath + ": the file is read-only, so it was not replaced.");
  EXPECT_EQ(files.files.at(kPath), "mine");
  // A link is written through to its file, and stays a link.
  files.readOnly.clear();
  files.links[kPath] = "D:\\Synced\\three.txt";
  pads.Write(file, 3, "through the link");
  EXPECT_EQ(files.files.at("D:\\Synced\\three.txt"), "through the link");
  EXPECT_EQ(files.files.at(kPath), "mine");
  EXPECT_EQ(pads.Read(file, 3), "through the link");
  files.links.clear();  // taken away: the pad's own file is written again
  pads.Write(file, 3, "its own again");
  EXPECT_EQ(files.files.at(kPath), "its own again");
  // A value of another type is no text, but its bytes can be kept.
  settings.SetRaw("3", std::string("\x01\0\0\0", 4), 4);
  EXPECT_EQ(error([&] { pads.Read(registry, 3); }),
            "registry value Data\\3: the value holds no text (it is of type 4).");
  EXPECT_EQ(pads.ReadBytes(registry, 3)->bytes, std::string("\x01\0\0\0", 4));
  // Multi-strings and expandable strings are text.
  settings.SetRaw("4", ValueData(std::string("one\0two", 7)) + std::string("\0\0", 2), 7);
  settings.SetRaw("5", ValueData("%PATH%"), 2);
  EXPECT_EQ(pads.Read(registry, 4), "one\r\ntwo");
  EXPECT_EQ(pads.Read(registry, 5), "%PATH%");
  // One value holds 524,287 characters: a longer pad is refused in plain words.
  EXPECT_EQ(error([&] { pads.Write(registry, 1, std::string(524288, 'x')); }),
            "registry value Data\\1: the pad holds 524,288 characters, and one registry value "
            "holds at most 524,287. Untick \"Store in Registry\" to keep the pads in files.");
  EXPECT_EQ(settings.Get("Data", "1"), "<absent>");
}

// ---- Pad file text -------------------------------------------------------------------------

TEST(PadText, RoundTripsEveryKindOfText) {
  std::string big(1 << 20, 'x');
  for (std::string text : {std::string(), std::string("plain ASCII"),
                           std::string("two\r\nlines\r\n\r\n"), std::string("lone\nfeed\rcr"),
                           std::string("Gr\xC3\xBC\xC3\x9F"
                                       "e, \xE6\x9D\xB1\xE4\xBA\xAC, \xF0\x9F\x99\x82"),
                           big}) {
    EXPECT_EQ(DecodePadFile(EncodePadFile(text), Latin1), text);
  }
  EXPECT_EQ(EncodePadFile("\xF0\x9F\x99\x82").substr(0, 3), "\xF0\x9F\x99");  // no mark written
}

TEST(PadText, ReadsMarkedFilesAndOlderCodePageFiles) {
  EXPECT_EQ(DecodePadFile("\xEF\xBB\xBFhi", Latin1), "hi");
  EXPECT_EQ(DecodePadFile(std::string("\xFF\xFEh\0i\0", 6), Latin1), "hi");
  EXPECT_EQ(DecodePadFile(std::string("\xFE\xFF\0h\0i", 6), Latin1), "hi");
  // UTF-16 with an astral character, and with a lone surrogate that must not vanish.
  EXPECT_EQ(DecodePadFile(std::string("\xFF\xFE\x3D\xD8\x42\xDE", 6), Latin1), "\xF0\x9F\x99\x82");
  EXPECT_EQ(DecodePadFile(std::string("\xFF\xFE\x3D\xD8", 4), Latin1), "\xEF\xBF\xBD");
  // A byte order mark in front of bytes that are not UTF-8: read through the code page rather
  // than handed on ill-formed.
  EXPECT_EQ(DecodePadFile("\xEF\xBB\xBFGr\xFC", Latin1), "Gr\xC3\xBC");
  // "Grüße" as an earlier build wrote it, in the code page.
  EXPECT_EQ(DecodePadFile("Gr\xFC\xDF"
                          "e",
                          Latin1),
            "Gr\xC3\xBC\xC3\x9F"
            "e");
}

TEST(PadText, LoadingKeepsEveryCharacterItCan) {
  // A NUL no longer cuts the text short: it shows as U+FFFD.
  EXPECT_EQ(DecodePadFile(std::string("a\0b", 3), Latin1),
            "a\xEF\xBF\xBD"
            "b");
  // UTF-16 without a byte order mark, either way round; an odd number of bytes is not UTF-16,
  // whose last byte would be lost.
  EXPECT_EQ(DecodePadFile(std::string("H\0i\0 \0t\0h\0e\0r\0e\0", 16), Latin1), "Hi there");
  EXPECT_EQ(DecodePadFile(std::string("\0H\0i\0!", 6), Latin1), "Hi!");
  EXPECT_EQ(DecodePadFile(std::string("H\0i\0 \0t\0h\0e\0r\0e\0!", 17), Latin1).back(), '!');
  // UTF-8 with one stray byte: UTF-8 still, the stray byte as U+FFFD.
  EXPECT_EQ(DecodePadFile("Gr\xC3\xBC\xC3\x9F"
                          "e \xFF!",
                          Latin1),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xEF\xBF\xBD!");
  // Binary bytes: every one of them becomes a character; nothing is dropped.
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);
  EXPECT_EQ(Utf16Length(DecodePadFile(binary, Latin1)), 4096u);
  // Records of small numbers have zeros in both bytes of a pair: not UTF-16 either.
  std::string records;
  for (int i = 0; i < 512; ++i) records += std::string("\x01\0\0\x02", 4);
  EXPECT_EQ(Utf16Length(DecodePadFile(records, Latin1)), 2048u);
  // Registry values: trailing NULs go; in a multi-string a NUL separates lines.
  EXPECT_EQ(DecodeValue(ValueData("a") + std::string("\0\0", 2), false), "a");
  EXPECT_EQ(DecodeValue(std::string("a\0\0\0b\0\0\0", 8), false),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(PadText, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("\xE6\x9D\xB1"));
  EXPECT_FALSE(IsValidUtf8("\xE6\x9D"));          // cut short
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xFC"));
}

TEST(PadText, Utf16Length) {
  EXPECT_EQ(Utf16Length(""), 0u);
  EXPECT_EQ(Utf16Length("a\r\nb"), 4u);
  EXPECT_EQ(Utf16Length("\xC3\xBC\xE6\x9D\xB1\xF0\x9F\x99\x82"), 4u);
}

// ---- The safe save -----------------------------------------------------------------------

TEST(SafeSave, WritesTheWholeTextAndLeavesNothingBehind) {
  fake::Files fs;
  SaveFileSafely(fs, kPath, "first");
  SaveFileSafely(fs, kPath, "second");
  EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{kPath, "second"}}));
  SaveFileSafely(fs, kPath, "");
  EXPECT_EQ(fs.files.at(kPath), "");
}

TEST(SafeSave, AFailedSaveKeepsTheOldTextAndCleansUp) {
  for (const char* step : {"WriteNew", "WriteNew.flush", "Rename"}) {
    SCOPED_TRACE(step);
    fake::Files fs;
    fs.files[kPath] = "old";
    fs.failOn = step;
    EXPECT_THROW(SaveFileSafely(fs, kPath, "new text"), PlatformError);
    EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{kPath, "old"}}));
  }
}

TEST(SafeSave, ACrashAtAnyMomentLeavesTheOldOrTheNewTextForTheNextStart) {
  for (bool existed : {true, false}) {
    for (int crashAt = 1; crashAt <= 5; ++crashAt) {
      SCOPED_TRACE(testing::Message() << "existed " << existed << ", crash at " << crashAt);
      fake::Files fs;
      fake::Settings settings;
      if (existed) fs.files[kPath] = "old text";
      fs.crashAt = crashAt;
      try {
        SaveFileSafely(fs, kPath, "the new text");
      } catch (const fake::Crash&) {
      }
      fs.crashAt = 0;
      fs.crashed = false;  // the next start
      PadStore pads(settings, fs, "C:\\Vorn\\", Latin1);
      pads.FinishInterruptedSave(3, {});
      std::string loaded = pads.Read(Storage::PadFiles, 3).value_or("<missing>");
      if (existed) {
        EXPECT_TRUE(loaded == "old text" || loaded == "the new text") << loaded;
      } else {
        EXPECT_TRUE(loaded == "<missing>" || loaded == "the new text") << loaded;
      }
      // A save that got as far as the complete ".ok" file is recovered, not lost.
      if (crashAt >= 4) EXPECT_EQ(loaded, "the new text");
      EXPECT_FALSE(fs.Exists(kPath + ".new"));
      EXPECT_FALSE(fs.Exists(kPath + ".ok"));
    }
  }
}

}  // namespace
