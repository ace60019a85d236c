#include "core/pad_store.h"

#include <algorithm>
#include <cctype>

#include "core/number_text.h"
#include "core/sync_copy_name.h"
#include "core/utf.h"

namespace vorn {

namespace {

constexpr std::string_view kSection = "Data";

std::string ValueName(int pad) { return std::to_string(pad); }

bool MultiString(unsigned type) { return type == 7; }
bool TextValue(unsigned type) { return type == 1 || type == 2 || type == 7; }

}  // namespace

PadStore::PadStore(SettingsStore& settings, FileSystem& files, std::string_view programFolder,
                   LegacyDecoder legacy, std::string_view computer)
    : settings_(settings),
      files_(files),
      folder_(programFolder),
      legacy_(std::move(legacy)),
      computer_(ComputerTag(computer)) {
  // A program in a drive's root sees its folder as "C:\", every other one without the slash.
  if (folder_.empty() || folder_.back() != '\\') folder_ += '\\';
}

std::string VirtualStoreFolder(std::string_view folder, const std::vector<std::string>& virtualized,
                               std::string_view localAppData) {
  auto lower = [](std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
  };
  std::string inside = lower(folder);
  // "C:\..." only: a share or a path without a drive is never virtualized.
  if (localAppData.empty() || inside.size() < 3 || inside[1] != ':' || inside[2] != '\\') return {};
  for (const std::string& root : virtualized) {
    std::string r = lower(root);
    if (r.empty() || inside.compare(0, r.size(), r) != 0) continue;
    if (inside.size() != r.size() && inside[r.size()] != '\\') continue;  // "Program Files2"
    std::string below(folder.substr(2));  // without the drive, in the folder's own case
    while (!below.empty() && below.back() == '\\') below.pop_back();
    std::string store(localAppData);
    while (!store.empty() && store.back() == '\\') store.pop_back();
    return store + "\\VirtualStore" + below + "\\";
  }
  return {};
}

std::string ComputerTag(std::string_view computerName) {
  std::string tag;
  for (char c : computerName) {
    bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                c == '-' || c == '_';
    if (kept && tag.size() < 15) tag += c;
  }
  return tag;
}

namespace {

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

std::string Lowered(std::string_view s) {
  std::string l(s);
  for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return l;
}

}  // namespace

PadStore::Listing PadStore::ListFolder() {
  Listing listing;
  std::string folder = Folder();
  if (folder.size() > 3) folder.pop_back();  // "C:\\" keeps its backslash
  std::vector<FolderEntry> entries;
  try {
    entries = files_.List(folder);
  } catch (const PlatformError&) {
    return listing;
  }
  listing.listed = true;
  // A pad file missing from the listing has the stamp of a missing file.
  bool fresh = !Trust().pathStampsLag;
  for (auto& stamp : listing.stamps) {
    if (fresh) stamp.emplace();
  }
  for (const FolderEntry& entry : entries) {
    for (int pad = 1; pad <= kPadCount && fresh; ++pad) {
      std::string own = FilePath(pad).substr(Folder().size());
      if (Lowered(entry.name) != Lowered(own)) continue;
      auto& stamp = listing.stamps[static_cast<std::size_t>(pad - 1)];
      if (entry.link) {
        stamp.reset();
      } else {
        stamp = entry.stamp;
      }
    }
    if (!chosen_.empty()) FindAbout(entry, listing.found);
  }
  return listing;
}

void PadStore::FindAbout(const FolderEntry& entry, std::vector<Found>& found) {
  Found f{Found::Kind::SyncCopy, 0, entry.name, chosenWithSlash_ + entry.name, entry.size};
  SyncCopyName copy = ClassifySyncCopy(entry.name);
  if (copy.kind != SyncCopyName::Kind::None) {
    f.pad = copy.pad;
    if (copy.kind == SyncCopyName::Kind::Ambiguous) f.kind = Found::Kind::PerhapsSyncCopy;
    found.push_back(std::move(f));
    return;
  }
  // "Doc 3.txt.DESK.ok", "Doc 3.txt.new": a save's steps, this computer's own being its
  // saves' own.
  std::string name = Lowered(entry.name);
  std::size_t end = name.size() - (EndsWith(name, ".ok") ? 3 : EndsWith(name, ".new") ? 4 : 0);
  if (end == name.size()) return;
  for (int pad = kPadCount; pad >= 1 && !f.pad; --pad) {
    std::string stem = "doc " + std::to_string(pad) + ".txt";
    if (!name.starts_with(stem)) continue;
    std::string_view tag = std::string_view(name).substr(stem.size(), end - stem.size());
    if (tag.empty() || tag.front() == '.') f.pad = pad;
    if (f.pad && tag.size() > 1 && tag.substr(1) == Lowered(computer_)) f.pad = -1;
  }
  if (f.pad <= 0) return;
  f.kind = Found::Kind::OtherComputersSave;
  found.push_back(std::move(f));
}

StoredBytes PadStore::ReadFound(const Found& found) {
  std::optional<std::string> bytes = files_.Read(found.path);
  if (!bytes) throw PlatformError("file " + found.path + ": it is gone.");
  return {std::move(*bytes), "file"};
}

std::optional<std::string> PadStore::ReadNewerVirtualCopy(int pad) {
  if (virtualStore_.empty() || !chosen_.empty()) return std::nullopt;
  std::string path = virtualStore_ + "~tmp" + std::to_string(pad) + ".tmp";
  std::optional<std::int64_t> copy = files_.LastWritten(path);
  std::optional<std::int64_t> own = files_.LastWritten(FilePath(pad));
  if (!copy || (own && *own >= *copy)) return std::nullopt;
  try {
    std::optional<std::string> bytes = files_.Read(path);
    if (!bytes) return std::nullopt;
    return DecodePadFile(*bytes, legacy_);
  } catch (const PlatformError& e) {
    throw PlatformError("file " + path + ": " + e.what());
  }
}

std::string PadStore::FilePath(int pad) const {
  if (chosen_.empty()) return folder_ + "~tmp" + std::to_string(pad) + ".tmp";
  return chosenWithSlash_ + "Doc " + std::to_string(pad) + ".txt";
}

void PadStore::UseFolder(std::string_view folder) {
  chosen_ = folder;
  trust_.reset();
  chosenWithSlash_ = chosen_;
  if (!chosenWithSlash_.empty() && chosenWithSlash_.back() != '\\') chosenWithSlash_ += '\\';
}

bool PadStore::FolderReachable() {
  std::string folder = chosen_.empty() ? folder_ : chosen_;
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();  // "C:\\" stays
  return files_.Kind(folder) == PathKind::Folder;
}

void PadStore::CheckFolderWritable() {
  // The save's own first step, undone: nothing of anyone else's is touched.
  std::string trial = StepsOfSave(FilePath(1), computer_).fresh;
  try {
    if (!FolderReachable()) throw PlatformError("it cannot be reached.");
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

void PadStore::FinishInterruptedSave(int pad, const std::function<void(const std::string&)>& keep) {
  std::string path;
  try {
    path = ReadyFile(pad);
  } catch (const PlatformError&) {
    return;  // the read that follows says why
  }
  RecoverFile(files_, path, computer_, keep);
  // Earlier builds named their steps after the file alone; beside the program they were this
  // computer's.
  if (chosen_.empty()) RecoverFile(files_, path, {}, keep);
}

// The pad's file as it is to be read: a link followed.
std::string PadStore::ReadyFile(int pad) {
  // A chosen folder out of reach (a drive not plugged in, a share offline) holds the pads
  // nonetheless: they are not taken for empty.
  if (!chosen_.empty() && files_.Kind(chosen_) != PathKind::Folder) {
    throw PlatformError("its folder cannot be reached.");
  }
  std::string path = files_.Resolve(FilePath(pad));
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

const StampTrust& PadStore::Trust() {
  if (!trust_) trust_ = files_.TrustOfStamps(chosen_.empty() ? folder_ : chosen_);
  return *trust_;
}

std::string PadStore::Stamp(Storage storage, int pad) {
  if (storage == Storage::SettingsStore) return settings_.Stamp(kSection, ValueName(pad));
  std::string path = FileOf(pad);
  if (Trust().pathStampsLag) return files_.FreshStamp(path);
  const FoundFile& found = found_[static_cast<std::size_t>(pad - 1)];
  return path == found.name ? found.seen : files_.Stamp(path);
}

// The pad's file, or the one its link leads to. Asking the system where a file leads costs more
// than the rest of a key's write, so it is asked again only when the stamp of the pad's own
// name has changed since: a link made, removed or led elsewhere, another file put in its place,
// or a write here (after which the stamp is taken anew).
std::string PadStore::FileOf(int pad) {
  FoundFile& found = found_[static_cast<std::size_t>(pad - 1)];
  std::string name = FilePath(pad), seen = files_.Stamp(name);
  if (found.path.empty() || name != found.name || seen.empty() || seen != found.seen) {
    found = {name, files_.Resolve(name), seen};
  }
  return found.path;
}

std::int64_t PadStore::StampTimeStep(Storage storage) {
  return storage == Storage::SettingsStore ? 0 : Trust().timeStep;
}

void PadStore::Write(Storage storage, int pad, std::string_view text) {
  try {
    if (storage == Storage::SettingsStore) {
      value_.Forget();
      std::size_t length = Utf16Length(text);
      if (length > kMaxValueCharacters) throw PlatformError(TooLongForValue(length));
      settings_.Write(kSection, ValueName(pad), text);
      return;
    }
    std::string path = WritableFile(pad);
    SaveFileSafely(files_, path, EncodePadFile(text), computer_);
    FoundFile& found = found_[static_cast<std::size_t>(pad - 1)];
    found.seen = files_.Stamp(found.name);
  } catch (const PlatformError& e) {
    throw PlatformError(Where(storage, pad) + ": " + e.what());
  }
}

void PadStore::Write(Storage storage, int pad, std::u16string_view shown, std::string_view utf8,
                     const std::optional<PadEdit>& edit) {
  if (storage == Storage::PadFiles) return Write(storage, pad, utf8);
  try {
    // A value keeps its line breaks as CR LF, as the program's first versions wrote them.
    const std::u16string& value = value_.Of(pad, shown, edit);
    if (value.size() > kMaxValueCharacters) throw PlatformError(TooLongForValue(value.size()));
    settings_.WriteUtf16(kSection, ValueName(pad), value);
  } catch (const PlatformError& e) {
    value_.Forget();
    throw PlatformError(Where(storage, pad) + ": " + e.what());
  }
}

// The pad's file, ready to be replaced. Unlike a read it leaves what an interrupted save left
// alone: the save that follows replaces it.
std::string PadStore::WritableFile(int pad) {
  if (!chosen_.empty() && files_.Kind(chosen_) != PathKind::Folder) {
    throw PlatformError("its folder cannot be reached.");
  }
  std::string path = FileOf(pad);
  switch (files_.Kind(path)) {
    case PathKind::Folder: throw PlatformError("a folder has the pad file's name.");
    case PathKind::ReadOnlyFile:
      throw PlatformError("the file is read-only, so it was not replaced.");
    default: return path;
  }
}

}  // namespace vorn
