#include "core/pad_store.h"

#include <algorithm>
#include <cctype>

#include "core/number_text.h"
#include "core/utf.h"

namespace vorn {

namespace {

constexpr std::string_view kSection = "Data";

std::string ValueName(int pad) { return std::to_string(pad); }

bool MultiString(unsigned type) { return type == 7; }
bool TextValue(unsigned type) { return type == 1 || type == 2 || type == 7; }

}  // namespace

PadStore::PadStore(SettingsStore& settings, FileSystem& files, std::string_view programFolder,
                   LegacyDecoder legacy)
    : settings_(settings), files_(files), folder_(programFolder), legacy_(std::move(legacy)) {
  // A program in a drive's root sees its folder as "C:\", every other one without the slash.
  if (folder_.empty() || folder_.back() != '\\') folder_ += '\\';
}

int PadOfConflictCopy(std::string_view name) {
  auto lower = [](std::string_view s) {
    std::string l(s);
    for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return l;
  };
  std::string n = lower(name);
  if (n.size() < 4 || n.compare(n.size() - 4, 4, ".txt") != 0) return 0;
  for (int pad = kPadCount; pad >= 1; --pad) {
    std::string own = "doc " + std::to_string(pad);
    if (n.compare(0, own.size(), own) != 0) continue;
    std::string_view added = std::string_view(n).substr(own.size(), n.size() - 4 - own.size());
    if (added.empty() || std::isdigit(static_cast<unsigned char>(added.front()))) return 0;
    return pad;
  }
  return 0;
}

std::vector<PadStore::ConflictCopy> PadStore::ConflictCopies() {
  std::vector<ConflictCopy> copies;
  if (chosen_.empty()) return copies;
  std::vector<FolderEntry> entries;
  try {
    entries = files_.List(chosen_);
  } catch (const PlatformError&) {
    return copies;
  }
  for (const FolderEntry& entry : entries) {
    int pad = PadOfConflictCopy(entry.name);
    if (!pad) continue;
    ConflictCopy copy{pad, chosenWithSlash_ + entry.name, {}, {}};
    try {
      std::optional<std::string> bytes = files_.Read(copy.path);
      if (!bytes) continue;
      copy.text = DecodePadFile(*bytes, legacy_);
      copy.bytes = {std::move(*bytes), "file"};
    } catch (const PlatformError&) {
      continue;
    }
    copies.push_back(std::move(copy));
  }
  return copies;
}

std::string PadStore::FilePath(int pad) const {
  if (chosen_.empty()) return folder_ + "~tmp" + std::to_string(pad) + ".tmp";
  return chosenWithSlash_ + "Doc " + std::to_string(pad) + ".txt";
}

void PadStore::UseFolder(std::string_view folder) {
  chosen_ = folder;
  chosenWithSlash_ = chosen_;
  if (!chosenWithSlash_.empty() && chosenWithSlash_.back() != '\\') chosenWithSlash_ += '\\';
}

void PadStore::CheckFolderWritable() {
  // The save's own first step, undone: nothing of anyone else's is touched.
  std::string trial = FilePath(1) + ".new";
  try {
    std::string folder = chosen_.empty() ? folder_ : chosen_;
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();  // "C:\\" stays
    if (files_.Kind(folder) != PathKind::Folder) {
      throw PlatformError("it cannot be reached.");
    }
    files_.WriteNew(trial, "");
    files_.Remove(trial);
  } catch (const PlatformError& e) {
    throw PlatformError("folder " + Folder() + ": " + e.what());
  }
}

std::string PadStore::Where(Storage storage, int pad) const {
  if (storage == Storage::SettingsStore) return settings_.Where(kSection, ValueName(pad));
  return "file " + FilePath(pad);
}

namespace {

std::string TooLongForValue(std::size_t length) {
  return "the pad holds " + WithThousands(length) +
         " characters, and one registry value holds at most " +
         WithThousands(PadStore::kMaxValueCharacters) +
         ". Untick \"Store in Registry\" to keep the pads in files.";
}

}  // namespace

// The pad's file as it is to be read: a link followed, an interrupted save finished.
std::string PadStore::ReadyFile(int pad) {
  // A chosen folder out of reach (a drive not plugged in, a share offline) holds the pads
  // nonetheless: they are not taken for empty.
  if (!chosen_.empty() && files_.Kind(chosen_) != PathKind::Folder) {
    throw PlatformError("its folder cannot be reached.");
  }
  std::string path = files_.Resolve(FilePath(pad));
  RecoverFile(files_, path);
  if (files_.Kind(path) == PathKind::Folder) {
    throw PlatformError("a folder has the pad file's name.");
  }
  return path;
}

std::optional<std::string> PadStore::Read(Storage storage, int pad) {
  try {
    if (storage == Storage::SettingsStore) {
      std::optional<StoredValue> value = settings_.ReadBytes(kSection, ValueName(pad));
      if (!value) return std::nullopt;
      if (!TextValue(value->type)) {
        throw PlatformError("the value holds no text (it is of type " +
                            std::to_string(value->type) + ").");
      }
      return DecodeValue(value->bytes, MultiString(value->type));
    }
    std::optional<std::string> bytes = files_.Read(ReadyFile(pad));
    if (!bytes) return std::nullopt;
    return DecodePadFile(*bytes, legacy_);
  } catch (const PlatformError& e) {
    throw PlatformError(Where(storage, pad) + ": " + e.what());
  }
}

std::optional<StoredBytes> PadStore::ReadBytes(Storage storage, int pad) {
  try {
    if (storage == Storage::SettingsStore) {
      std::optional<StoredValue> value = settings_.ReadBytes(kSection, ValueName(pad));
      if (!value) return std::nullopt;
      return StoredBytes{std::move(value->bytes), "value-" + std::to_string(value->type)};
    }
    std::optional<std::string> bytes = files_.Read(ReadyFile(pad));
    if (!bytes) return std::nullopt;
    return StoredBytes{std::move(*bytes), "file"};
  } catch (const PlatformError& e) {
    throw PlatformError(Where(storage, pad) + ": " + e.what());
  }
}

std::string PadStore::Stamp(Storage storage, int pad) {
  if (storage == Storage::SettingsStore) return settings_.Stamp(kSection, ValueName(pad));
  return files_.Stamp(files_.Resolve(FilePath(pad)));
}

void PadStore::Write(Storage storage, int pad, std::string_view text) {
  try {
    if (storage == Storage::SettingsStore) {
      std::size_t length = Utf16Length(text);
      if (length > kMaxValueCharacters) throw PlatformError(TooLongForValue(length));
      settings_.Write(kSection, ValueName(pad), text);
      return;
    }
    SaveFileSafely(files_, WritableFile(pad), EncodePadFile(text));
  } catch (const PlatformError& e) {
    throw PlatformError(Where(storage, pad) + ": " + e.what());
  }
}

void PadStore::Write(Storage storage, int pad, std::u16string_view shown, std::string_view utf8) {
  if (storage == Storage::PadFiles) return Write(storage, pad, utf8);
  try {
    // A value keeps its line breaks as CR LF, as the program's first versions wrote them.
    std::size_t breaks = static_cast<std::size_t>(std::count(shown.begin(), shown.end(), u'\r'));
    value_.resize(shown.size() + breaks);
    char16_t* out = value_.data();
    for (char16_t c : shown) {
      *out++ = c;
      if (c == u'\r') *out++ = u'\n';
    }
    if (value_.size() > kMaxValueCharacters) throw PlatformError(TooLongForValue(value_.size()));
    settings_.WriteUtf16(kSection, ValueName(pad), value_);
  } catch (const PlatformError& e) {
    throw PlatformError(Where(storage, pad) + ": " + e.what());
  }
}

// The pad's file, ready to be replaced. Unlike a read it leaves what an interrupted save left
// alone: the save that follows replaces it.
std::string PadStore::WritableFile(int pad) {
  if (!chosen_.empty() && files_.Kind(chosen_) != PathKind::Folder) {
    throw PlatformError("its folder cannot be reached.");
  }
  std::string path = files_.Resolve(FilePath(pad));
  switch (files_.Kind(path)) {
    case PathKind::Folder: throw PlatformError("a folder has the pad file's name.");
    case PathKind::ReadOnlyFile:
      throw PlatformError("the file is read-only, so it was not replaced.");
    default: return path;
  }
}

}  // namespace vorn
