// Infofrm: the About window's logic, its texts and its links.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/services.h"

namespace vorn {

namespace about {
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
}  // namespace about

// The shell's open action on a link (ShellExecuteA); nothing is reported when it fails.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual void Execute(std::string_view link) = 0;
};

// Wlaunch1's shellLaunch: hands the link to the shell; `target` comes back unchanged.
void shellLaunch(std::string& target, Shell& shell);

// The About window as the notes window sees it: one instance, loaded on demand.
class AboutHost {
 public:
  virtual ~AboutHost() = default;
  virtual bool Loaded() const = 0;
  virtual void Load() = 0;
  virtual void Unload() = 0;
  // Shows the loaded window, modeless and without an owner.
  virtual void Present() = 0;
};

// Shows the About window, loading it first when it is not loaded: never a second one.
void ShowAbout(AboutHost& host);

class Infofrm {
 public:
  Infofrm(Shell& shell, AboutHost& host) : shell_(shell), host_(host) {}
  // 0 closes the window, 1 writes an e-mail, 2 opens the web site.
  void Commandbtn_Click(std::int16_t Index);

 private:
  Shell& shell_;
  AboutHost& host_;
};

}  // namespace vorn
