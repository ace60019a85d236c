#include <gtest/gtest.h>

#include <map>

#include "platform/services.h"
#include "store/pad_files.h"
#include "store/pad_text.h"
#include "latin1.h"

using namespace vorn;

namespace {

struct Crash {};

// Files in memory. Operation number `crashAt` (counted from 1) throws Crash, as if the power
// went: nothing after it runs, not even the clean-up.
class MemoryFs : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  int ops = 0, crashAt = 0;
  bool crashed = false;  // after the crash the process is gone: no clean-up happens
  std::string failOn;  // an operation name that fails with a PlatformError

  std::optional<std::string> Read(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  void WriteNew(const std::string& path, std::string_view bytes) override {
    Step("WriteNew");
    files[path] = std::string(bytes.substr(0, bytes.size() / 2));  // a crash here cuts it short
    Step("WriteNew.flush");
    files[path] = std::string(bytes);
  }
  void Rename(const std::string& from, const std::string& to) override {
    Step("Rename");
    files[to] = files.at(from);
    files.erase(from);
  }
  void Replace(const std::string& replacement, const std::string& target) override {
    Step("Replace");
    files[target] = files.at(replacement);
    files.erase(replacement);
  }
  bool Exists(const std::string& path) override { return files.count(path) > 0; }
  void Remove(const std::string& path) override {
    if (!crashed) files.erase(path);
  }

 private:
  void Step(const std::string& name) {
    if (++ops == crashAt) {
      crashed = true;
      throw Crash{};
    }
    if (name == failOn) throw PlatformError("The disk is full.");
  }
};

const std::string kPath = "C:\\Vorn\\~tmp3.tmp";

}  // namespace

TEST(PadFiles, SlotNames) {
  EXPECT_EQ(PadFilePath("C:\\Vorn\\", 1), "C:\\Vorn\\~tmp1.tmp");
  EXPECT_EQ(PadFilePath("D:\\", 10), "D:\\~tmp10.tmp");
}

TEST(PadText, RoundTripsEveryKindOfText) {
  std::string big(1 << 20, 'x');
  for (std::string text : {std::string(), std::string("plain ASCII"),
                           std::string("two\r\nlines\r\n\r\n"), std::string("lone\nfeed\rcr"),
                           std::string("Gr\xC3\xBC\xC3\x9F" "e, \xE6\x9D\xB1\xE4\xBA\xAC, \xF0\x9F\x99\x82"),
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
  EXPECT_EQ(DecodePadFile("Gr\xFC\xDF" "e", Latin1), "Gr\xC3\xBC\xC3\x9F" "e");
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

TEST(SafeSave, WritesTheWholeTextAndLeavesNothingBehind) {
  MemoryFs fs;
  SavePadFile(fs, kPath, "first");
  SavePadFile(fs, kPath, "second");
  EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{kPath, "second"}}));
  SavePadFile(fs, kPath, "");
  EXPECT_EQ(fs.files.at(kPath), "");
}

TEST(SafeSave, AFailedSaveKeepsTheOldTextAndCleansUp) {
  for (const char* step : {"WriteNew", "WriteNew.flush", "Rename", "Replace"}) {
    SCOPED_TRACE(step);
    MemoryFs fs;
    fs.files[kPath] = "old";
    fs.failOn = step;
    EXPECT_THROW(SavePadFile(fs, kPath, "new text"), PlatformError);
    EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{kPath, "old"}}));
  }
}

TEST(SafeSave, ACrashAtAnyMomentLeavesTheOldOrTheNewTextAfterRecovery) {
  for (bool existed : {true, false}) {
    for (int crashAt = 1; crashAt <= 5; ++crashAt) {
      SCOPED_TRACE(testing::Message() << "existed " << existed << ", crash at " << crashAt);
      MemoryFs fs;
      if (existed) fs.files[kPath] = "old text";
      fs.crashAt = crashAt;
      try {
        SavePadFile(fs, kPath, "the new text");
      } catch (const Crash&) {
      }
      fs.crashAt = 0;
      fs.crashed = false;  // the next start
      std::string loaded;
      try {
        loaded = LoadPadFile(fs, kPath, Latin1);
      } catch (const PlatformError&) {
        loaded = "<missing>";
      }
      if (existed) {
        EXPECT_TRUE(loaded == "old text" || loaded == "the new text") << loaded;
      } else {
        EXPECT_TRUE(loaded == "<missing>" || loaded == "the new text") << loaded;
      }
      // A save that got as far as the complete ".ok" file is recovered, not lost.
      if (crashAt >= 4) {
        EXPECT_EQ(loaded, "the new text");
      }
      // Recovery leaves no leftovers.
      EXPECT_FALSE(fs.Exists(kPath + ".new"));
      EXPECT_FALSE(fs.Exists(kPath + ".ok"));
    }
  }
}

TEST(SafeSave, AMissingFileLoadsAsAFailure) {
  MemoryFs fs;
  EXPECT_THROW(LoadPadFile(fs, kPath, Latin1), PlatformError);
}
