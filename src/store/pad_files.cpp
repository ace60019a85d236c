#include "store/pad_files.h"

#include "platform/services.h"

namespace vorn {

std::string PadFilePath(std::string_view location, std::int16_t index) {
  return std::string(location) + "~tmp" + std::to_string(index) + ".tmp";
}

void SaveFileSafely(FileSystem& fs, const std::string& path, std::string_view bytes) {
  const std::string fresh = path + ".new", ready = path + ".ok";
  try {
    fs.WriteNew(fresh, bytes);
    fs.Rename(fresh, ready);
    fs.Replace(ready, path);
  } catch (...) {
    fs.Remove(fresh);
    fs.Remove(ready);
    throw;
  }
}

void RecoverFile(FileSystem& fs, const std::string& path) {
  const std::string fresh = path + ".new", ready = path + ".ok";
  if (fs.Exists(ready)) {
    try {
      fs.Replace(ready, path);
    } catch (...) {
      // The pad file keeps its text; the next change writes a new one.
    }
  }
  fs.Remove(fresh);
}

std::string LoadPadFile(FileSystem& fs, const std::string& path, const LegacyDecoder& legacy) {
  RecoverFile(fs, path);
  std::optional<std::string> bytes = fs.Read(path);
  if (!bytes) throw PlatformError("File not found");
  return DecodePadFile(*bytes, legacy);
}

void SavePadFile(FileSystem& fs, const std::string& path, std::string_view utf8Text) {
  SaveFileSafely(fs, path, EncodePadFile(utf8Text));
}

}  // namespace vorn
