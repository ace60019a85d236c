#include "core/hot_key.h"

#include <algorithm>
#include <cctype>

namespace vorn {

namespace {

constexpr unsigned kF1 = 0x70;

std::string Upper(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c != ' ') out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

std::optional<unsigned> KeyCode(const std::string& name) {
  if (name.size() == 1 && (std::isupper(static_cast<unsigned char>(name[0])) ||
                           std::isdigit(static_cast<unsigned char>(name[0])))) {
    return static_cast<unsigned>(name[0]);
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F' &&
      name.find_first_not_of("0123456789", 1) == std::string::npos && name[1] != '0') {
    int n = std::stoi(name.substr(1));
    if (n >= 1 && n <= 24) return kF1 + static_cast<unsigned>(n - 1);
  }
  return std::nullopt;
}

}  // namespace

std::optional<HotKey> ParseHotKey(std::string_view text) {
  HotKey hot;
  std::string rest = Upper(text);
  for (;;) {
    std::size_t plus = rest.find('+');
    std::string part = rest.substr(0, plus);
    if (plus == std::string::npos) {
      std::optional<unsigned> code = KeyCode(part);
      if (!code || !(hot.ctrl || hot.alt || hot.win)) return std::nullopt;
      hot.key = *code;
      return hot;
    }
    bool* modifier = part == "CTRL" || part == "CONTROL" ? &hot.ctrl
                     : part == "ALT"                     ? &hot.alt
                     : part == "SHIFT"                   ? &hot.shift
                     : part == "WIN"                     ? &hot.win
                                                         : nullptr;
    if (!modifier || *modifier) return std::nullopt;  // unknown, or named twice
    *modifier = true;
    rest = rest.substr(plus + 1);
  }
}

std::string HotKeyText(const HotKey& hot) {
  std::string text;
  if (hot.ctrl) text += "Ctrl+";
  if (hot.alt) text += "Alt+";
  if (hot.shift) text += "Shift+";
  if (hot.win) text += "Win+";
  if (hot.key >= kF1 && hot.key < kF1 + 24) return text + "F" + std::to_string(hot.key - kF1 + 1);
  return text + static_cast<char>(hot.key);
}

std::optional<std::string> CharacterTakenBy(const HotKey& hot, KeyboardLayouts& layouts) {
  if (!hot.ctrl || !hot.alt || hot.win) return std::nullopt;
  for (const std::string& typed : layouts.TypedWithAltGr(hot.key, hot.shift)) {
    // A control character (Ctrl with a letter on a layout without AltGr) is no text.
    bool text = std::any_of(typed.begin(), typed.end(), [](char c) {
      return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
    });
    if (text) return typed;
  }
  return std::nullopt;
}

}  // namespace vorn
