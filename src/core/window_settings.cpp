#include "core/window_settings.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

#include "core/number_text.h"

namespace vorn {

namespace {

constexpr std::string_view kSection = "Setting";

// 32767 pixels at 96 dpi: window coordinates past that are garbage on any window system.
constexpr double kFarthestTwips = 32767.0 * 15.0;

std::optional<float> Coordinate(const std::optional<std::string>& text, bool isSize) {
  double value = text ? ReadNumber(*text) : 0.0;
  if (value == 0.0 || !std::isfinite(value) || std::fabs(value) > kFarthestTwips) return {};
  if (isSize && value < 0) return {};
  return static_cast<float>(value);
}

std::string StoreChoiceText(CheckState storeInRegistry) {
  return std::to_string(static_cast<int>(storeInRegistry));
}

}  // namespace

WindowSettings LoadWindowSettings(SettingsStore& store) {
  // A value that cannot be read as text counts as one that was not stored.
  auto read = [&](std::string_view key) -> std::optional<std::string> {
    try {
      return store.Read(kSection, key);
    } catch (const PlatformError&) {
      return std::nullopt;
    }
  };
  WindowSettings s;
  s.top = Coordinate(read("Top"), false);
  s.left = Coordinate(read("Left"), false);
  s.height = Coordinate(read("Height"), true);
  s.width = Coordinate(read("Width"), true);

  std::optional<std::string> reg = read("Reg");
  std::optional<std::int32_t> state = RoundHalfEven(reg ? ReadNumber(*reg) : 1.0);
  if (state && *state >= 0 && *state <= 2) s.storeInRegistry = static_cast<CheckState>(*state);

  std::optional<std::string> onTop = read("OnTop");
  s.onTop = onTop && ReadNumber(*onTop) == 1.0;

  if (std::optional<std::string> hotKey = read("HotKey")) {
    std::optional<HotKey> parsed = ParseHotKey(*hotKey);
    if (hotKey->find_first_not_of(' ') == std::string::npos)
      s.hotKey.clear();
    else if (parsed)
      s.hotKey = HotKeyText(*parsed);
  }

  if (std::optional<std::string> folder = read("Folder")) {
    std::size_t first = folder->find_first_not_of(' '), last = folder->find_last_not_of(' ');
    if (first != std::string::npos) s.folder = folder->substr(first, last - first + 1);
  }

  std::optional<std::string> zoom = read("Zoom");
  std::optional<std::int32_t> percent = RoundHalfEven(zoom ? ReadNumber(*zoom) : 0.0);
  if (percent && *percent != 0) s.zoom = std::clamp<int>(*percent, kSmallestZoom, kLargestZoom);
  return s;
}

bool SaveWindowSettings(SettingsStore& store, const WindowRect& window, CheckState storeInRegistry,
                        bool onTop, std::string_view hotKey, int zoom) {
  const std::pair<std::string_view, std::string> entries[] = {
      {"Top", NumberText(window.top)},           {"Left", NumberText(window.left)},
      {"Height", NumberText(window.height)},     {"Width", NumberText(window.width)},
      {"Reg", StoreChoiceText(storeInRegistry)}, {"OnTop", onTop ? "1" : "0"},
      {"HotKey", std::string(hotKey)},           {"Zoom", std::to_string(zoom)},
  };
  bool all = true;
  for (const auto& [key, value] : entries) {
    try {
      store.Write(kSection, key, value);
    } catch (const PlatformError&) {
      all = false;
    }
  }
  return all;
}

void SaveStoreChoice(SettingsStore& store, CheckState storeInRegistry) {
  store.Write(kSection, "Reg", StoreChoiceText(storeInRegistry));
}

void SaveFolderChoice(SettingsStore& store, std::string_view folder) {
  store.Write(kSection, "Folder", folder);
}

int ZoomedBy(int percent, int steps) {
  return std::clamp(percent + steps * kZoomStep, kSmallestZoom, kLargestZoom);
}

ZoomRatio PadZoom(int percent, unsigned monitorDpi, unsigned systemDpi) {
  int numerator = percent * static_cast<int>(monitorDpi);
  int denominator = kNormalZoom * static_cast<int>(systemDpi);
  if (numerator <= 0 || denominator <= 0 || numerator == denominator) return {};
  int common = std::gcd(numerator, denominator);
  return {numerator / common, denominator / common};
}

}  // namespace vorn
