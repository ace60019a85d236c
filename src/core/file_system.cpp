#include "core/file_system.h"

namespace vorn {

void SaveFileSafely(FileSystem& fs, const std::string& path, std::string_view bytes) {
  const std::string fresh = path + ".new", ready = path + ".ok";
  try {
    fs.WriteNew(fresh, bytes);
    fs.Rename(fresh, ready);
    fs.Rename(ready, path);
  } catch (const PlatformError&) {
    fs.Remove(fresh);
    fs.Remove(ready);
    throw;
  }
}

void RecoverFile(FileSystem& fs, const std::string& path) {
  const std::string fresh = path + ".new", ready = path + ".ok";
  if (fs.Exists(ready)) {
    try {
      fs.Rename(ready, path);
    } catch (const PlatformError&) {
      // The file keeps its old content; the next save writes a new one.
    }
  }
  fs.Remove(fresh);
}

}  // namespace vorn
