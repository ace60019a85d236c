// The About window's texts and the author's addresses.
#pragma once

namespace vorn::ui::about {

inline constexpr const char* kCaption = "About...";
inline constexpr const char* kProduct = "Vorn Notes 1.5";
inline constexpr const char* kCredit = "by Kalvo";
inline constexpr const char* kSecondCredit = "(Kalvo)";
inline constexpr const char* kAddress = "Kalvo Works, 7 Lantern Row, Eastmere EM4 2QT";
inline constexpr const char* kEmail = "kalvo@vorn.example";
inline constexpr const char* kWeb = "https://vorn.example/";
inline constexpr const char* kReadMe =
    "PURPOSE:\r\n"
    "Stays in system tray bar, and lets you store any data in 10 different work pads. You don't "
    "even have to SAVE / RELOAD it yourself, it is fully automated.\r\n"
    "\r\n"
    "DISTRIBUTION NOTE:\r\n"
    "Vorn Notes is free. Copy it and give it away as you like, as long as it stays whole and "
    "unchanged and nobody is asked to pay for it.\r\n"
    "\r\n"
    "REQUEST:\r\n"
    "If Vorn Notes keeps your notes safe, send a line to say so, and tell what it should do "
    "better. Every message is read.";

}  // namespace vorn::ui::about
