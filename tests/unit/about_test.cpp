#include <gtest/gtest.h>

#include "fakes.h"
#include "ui/about/infofrm.h"

namespace {

struct RecordingShell : vorn::Shell {
  std::vector<std::string> links;
  void Execute(std::string_view link) override { links.emplace_back(link); }
};

TEST(About, OneWindowLoadedOnDemandAndFreshAfterClose) {
  fake::About host;
  RecordingShell shell;
  vorn::Infofrm form(shell, host);
  vorn::ShowAbout(host);
  vorn::ShowAbout(host);
  EXPECT_EQ(host.loads, 1);
  EXPECT_EQ(host.presents, 2);
  form.Commandbtn_Click(0);
  EXPECT_EQ(host.unloads, 1);
  vorn::ShowAbout(host);
  EXPECT_EQ(host.loads, 2);
}

TEST(About, TheButtonsHandExactlyTheirLinksToTheShellAndStayOpen) {
  fake::About host;
  RecordingShell shell;
  vorn::Infofrm form(shell, host);
  vorn::ShowAbout(host);
  form.Commandbtn_Click(1);
  form.Commandbtn_Click(2);
  form.Commandbtn_Click(2);
  EXPECT_EQ(shell.links, (std::vector<std::string>{"mailto:kalvo@vorn.example",
                                                   "https://vorn.example/",
                                                   "https://vorn.example/"}));
  EXPECT_EQ(host.unloads, 0);
  form.Commandbtn_Click(7);  // no such button: nothing
  EXPECT_EQ(shell.links.size(), 3u);
}

TEST(About, ShellLaunchLeavesTheTargetUnchanged) {
  RecordingShell shell;
  std::string target = "mailto:kalvo@vorn.example";
  vorn::shellLaunch(target, shell);
  EXPECT_EQ(target, "mailto:kalvo@vorn.example");
}

TEST(About, TheReadMeHasItsThreeSections) {
  std::string text = vorn::about::kReadMe;
  EXPECT_EQ(text.find("PURPOSE:\r\nStays in system tray bar, and lets you store any data in 10 "
                      "different work pads. You don't even have to SAVE / RELOAD it yourself, it "
                      "is fully automated.\r\n\r\n"),
            0u);
  EXPECT_NE(text.find("\r\n\r\nDISTRIBUTION NOTE:\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n\r\nREQUEST:\r\n"), std::string::npos);
}

}  // namespace
