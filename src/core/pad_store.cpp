#include "core/pad_store.h"

namespace vorn {

PadStore::PadStore(SettingsStore& settings, FileSystem& files, std::string_view programFolder,
                   LegacyDecoder legacy)
    : settings_(settings), files_(files), folder_(programFolder), legacy_(std::move(legacy)) {
  // A program in a drive's root sees its folder as "C:\", every other one without the slash.
  if (folder_.empty() || folder_.back() != '\\') folder_ += '\\';
}

std::string PadStore::FilePath(int pad) const {
  return folder_ + "~tmp" + std::to_string(pad) + ".tmp";
}

std::optional<std::string> PadStore::Read(int pad) {
  if (mode_ == Storage::SettingsStore) return settings_.Read(kSection, ValueName(pad));
  std::string path = FilePath(pad);
  RecoverFile(files_, path);
  std::optional<std::string> bytes = files_.Read(path);
  if (!bytes) return std::nullopt;
  return DecodePadFile(*bytes, legacy_);
}

void PadStore::Write(int pad, std::string_view text) {
  if (mode_ == Storage::SettingsStore) {
    settings_.Write(kSection, ValueName(pad), text);
  } else {
    SaveFileSafely(files_, FilePath(pad), EncodePadFile(text));
  }
}

}  // namespace vorn
