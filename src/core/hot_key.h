// The key that shows the notes window from any program, as the section "Setting" keeps it:
// text such as "Ctrl+Alt+N". Modifiers are Ctrl, Alt, Shift and Win, in any order and case;
// the key is a letter, a digit or F1 to F24. At least Ctrl, Alt or Win is needed: a key with
// Shift alone would be taken from every program's typing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorn {

inline constexpr std::string_view kDefaultHotKey = "Ctrl+Alt+N";

struct HotKey {
  bool ctrl = false, alt = false, shift = false, win = false;
  // The system's key code: 'A'..'Z', '0'..'9', or 0x70 + n - 1 for Fn.
  unsigned key = 0;
  bool operator==(const HotKey&) const = default;
};

// Nothing when the text names no hotkey this program can use.
std::optional<HotKey> ParseHotKey(std::string_view text);
// "Ctrl+Alt+N": the form the program writes.
std::string HotKeyText(const HotKey& key);

}  // namespace vorn
