#include "ui/about/infofrm.h"

namespace vorn {

void shellLaunch(std::string& target, Shell& shell) { shell.Execute(target); }

void ShowAbout(AboutHost& host) {
  if (!host.Loaded()) host.Load();
  host.Present();
}

void Infofrm::Commandbtn_Click(std::int16_t Index) {
  if (Index == 0) host_.Unload();
  if (Index == 1) {
    std::string link = std::string("mailto:") + about::kEmail;
    shellLaunch(link, shell_);
  }
  if (Index == 2) {
    std::string link = about::kWeb;
    shellLaunch(link, shell_);
  }
}

}  // namespace vorn
