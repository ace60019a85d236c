// The window's rectangle and the options as the section "Setting" keeps them: decimal text,
// written when the program ends and applied at the next start. The choice of store is also
// written as soon as it changes.
#pragma once

#include <optional>
#include <string>

#include "core/hot_key.h"
#include "core/pad_record.h"
#include "core/settings_store.h"

namespace vorn {

// A check box's state. "Store in Registry" may be stored greyed, which counts as unticked.
enum class CheckState { Unticked = 0, Ticked = 1, Greyed = 2 };

// Only a ticked "Store in Registry" keeps the pads in the settings store.
inline Storage StorageChosenBy(CheckState storeInRegistry) {
  return storeInRegistry == CheckState::Ticked ? Storage::SettingsStore : Storage::PadFiles;
}

// The outer window on the screen, in twips (1/1440 inch).
struct WindowRect {
  float left = 0, top = 0, width = 0, height = 0;
};

// The pads' text size in percent of the designed size: 50 to 400 in steps of 10.
inline constexpr int kNormalZoom = 100, kSmallestZoom = 50, kLargestZoom = 400, kZoomStep = 10;
// `percent` moved by `steps` steps (negative: smaller), within the range.
int ZoomedBy(int percent, int steps);

// The zoom a pad's control is given for `percent` on a monitor at `monitorDpi`. The control
// draws its points at the resolution the system had when the user logged on (`systemDpi`),
// on every monitor: a monitor of another scale takes the difference as zoom. {0, 0} is the
// control's own "no zoom".
struct ZoomRatio {
  int numerator = 0, denominator = 0;
  bool operator==(const ZoomRatio&) const = default;
};
ZoomRatio PadZoom(int percent, unsigned monitorDpi, unsigned systemDpi);

struct WindowSettings {
  // Each coordinate that was stored and can be applied; the others keep the designed value.
  std::optional<float> left, top, width, height;
  CheckState storeInRegistry = CheckState::Ticked;
  bool onTop = false;
  // The hotkey as text; "" when it is off.
  std::string hotKey = std::string(kDefaultHotKey);
  int zoom = kNormalZoom;
  // The folder chosen for the pad files; "" for the program's own.
  std::string folder;
};

// Reads "Top", "Left", "Height", "Width", "Reg" and "OnTop". A value of 0, text that is not a
// number, a size below 0 and a coordinate no screen reaches count as not stored; "Reg" rounded
// half to even must be 0, 1 or 2; "OnTop" is on only when it reads as exactly 1. "HotKey" empty
// turns the hotkey off; one that names no usable key keeps "Ctrl+Alt+N". "Zoom" is a whole
// percent, taken into the range; one that is not a number counts as 100. "Folder" is read as
// it stands, spaces around it dropped.
WindowSettings LoadWindowSettings(SettingsStore& store);

// Writes the eight entries. A refused write does not stop the others; the pads are stored
// already, and the rest is still worth keeping. True when all eight were written.
bool SaveWindowSettings(SettingsStore& store, const WindowRect& window, CheckState storeInRegistry,
                        bool onTop, std::string_view hotKey, int zoom);

// Writes "Reg" alone, when the user has switched the store; throws PlatformError.
void SaveStoreChoice(SettingsStore& store, CheckState storeInRegistry);
// Writes "Folder" alone, when the user has chosen the pads' folder; throws PlatformError.
void SaveFolderChoice(SettingsStore& store, std::string_view folder);

}  // namespace vorn
