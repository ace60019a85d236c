// The key that shows the notes window from any program, as the section "Setting" keeps it:
// text such as "Ctrl+Alt+N". Modifiers are Ctrl, Alt, Shift and Win, in any order and case;
// the key is a letter, a digit or F1 to F24. At least Ctrl, Alt or Win is needed: a key with
// Shift alone would be taken from every program's typing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// A function key: Windows takes Ctrl+Alt for AltGr, and no keyboard layout types a character
// with AltGr and a function key, as many do with a letter or a digit.
inline constexpr std::string_view kDefaultHotKey = "Ctrl+Alt+F9";

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

// The keyboard layouts installed for the user.
class KeyboardLayouts {
 public:
  virtual ~KeyboardLayouts() = default;
  // What each layout types (UTF-8; "" for nothing) for the key `key` pressed with AltGr, and
  // with Shift too when `shift`.
  virtual std::vector<std::string> TypedWithAltGr(unsigned key, bool shift) = 0;
};

// The character a system-wide hotkey would take from the user's typing in every program, or
// nothing. Windows reports AltGr as Ctrl+Alt, so Ctrl+Alt+N also comes on AltGr+N, which types
// "ń" on the Polish (programmers) layout. With Win held no layout types anything, and Ctrl
// without Alt makes control characters, not text.
std::optional<std::string> CharacterTakenBy(const HotKey& key, KeyboardLayouts& layouts);

}  // namespace vorn
