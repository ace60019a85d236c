#include "core/file_system.h"

namespace vorn {

SaveSteps StepsOfSave(const std::string& path, std::string_view computer) {
  std::string stem = computer.empty() ? path : path + "." + std::string(computer);
  return {stem + ".new", stem + ".ok"};
}

void SaveFileSafely(FileSystem& fs, const std::string& path, std::string_view bytes,
                    std::string_view computer) {
  const SaveSteps steps = StepsOfSave(path, computer);
  try {
    fs.WriteNew(steps.fresh, bytes);
    fs.Rename(steps.fresh, steps.ready);
    fs.Rename(steps.ready, path);
  } catch (const PlatformError&) {
    fs.Remove(steps.fresh);
    fs.Remove(steps.ready);
    throw;
  }
}

void RecoverFile(FileSystem& fs, const std::string& path, std::string_view computer,
                 const std::function<void(const std::string& replaced)>& keep) {
  const SaveSteps steps = StepsOfSave(path, computer);
  if (fs.Exists(steps.ready)) {
    try {
      // What the file holds may have come since the save was cut short (a sync service brought
      // another computer's text): it is kept before the save is finished.
      if (keep) {
        std::optional<std::string> now = fs.Read(path), ready = fs.Read(steps.ready);
        if (now && ready && *now != *ready) keep(*now);
      }
      fs.Rename(steps.ready, path);
    } catch (const PlatformError&) {
      // The file keeps its content and the ready file stays; the next read tries again.
    }
  }
  fs.Remove(steps.fresh);
}

}  // namespace vorn
