// frmVornNotes: the logic of the notes window. Its handlers work in twips against the control
// and service interfaces, so that they run the same under Win32 and in the unit tests.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/controls.h"
#include "platform/services.h"
#include "ui/about/infofrm.h"

namespace vorn {

inline constexpr int kPadCount = 10;
inline constexpr const char* kAppName = "Vorn Notes";

// Reasons for an unload request. 0 and 1 hide the window; anything greater ends the program.
enum UnloadMode : std::int16_t {
  kUnloadUser = 0,        // close box, system menu, Alt+F4
  kUnloadCode = 1,        // the program's own request
  kUnloadEndSession = 2,  // log-off or shut-down
  kUnloadTaskManager = 3, // a close request from another program
  kUnloadEndButton = 10,  // the "&End" button
};

struct NotesControls {
  FormWindow& form;
  Control& toolBar;
  CheckBox& chkTop;
  CheckBox& chkRegistry;
  std::array<Pad*, kPadCount> txtText;  // txtText(1) is txtText[0]
  Control& picture2;
  StatusBar& statusBar;
  TabStrip& tabStrip;
};

struct NotesServices {
  SettingsStore& settings;
  PadStorage& padStorage;
  TrayForm& trayForm;
  ZOrder& zOrder;
  Process& process;
  MessageDialog& messageBox;
  Clipboard& clipboard;
  Printer& printer;
  AboutHost& about;
  std::function<std::string()> programFolder;
};

class frmVornNotes {
 public:
  frmVornNotes(NotesControls controls, NotesServices services)
      : c_(controls), s_(services) {}

  // The start-up sequence: tray icon, stored geometry and options, layout, pads; ends hidden
  // with gFlag back at 0 whatever fails on the way.
  void Form_Load();
  // Fits the button panel, the tab strip and the pads to the client area.
  void Form_Resize();
  void Form_QueryUnload(std::int16_t& Cancel, std::int16_t UnloadMode);
  void Form_KeyDown(std::int16_t& KeyCode, std::int16_t Shift);
  void Command2_Click();  // "&End"
  void Command3_Click();  // "&Hide"
  void chkTop_Click();    // "&Top"
  void Command1_Click();  // "&About"
  // Writes the pad that changed, its whole text, to the store the check box selects now.
  void txtText_Change(std::int16_t Index);
  void TabStrip1_BeforeClick(std::int16_t& Cancel);
  // Shows the selected tab's pad alone and its length in the status bar.
  void TabStrip1_Click();
  std::int16_t getTag() const;
  // Print, cut, copy or paste on the shown pad, by the clicked button's key.
  void ToolBar1_ButtonClick(std::string_view key);

  std::int16_t gFlag() const { return gFlag_; }
  const std::string& Location() const { return location_; }

 private:
  void RestoreSettings();
  void SaveSettings();
  Pad* PadAt(int index) const;
  void ReportFailure(const std::exception& e);
  void Print(const std::string& text);

  NotesControls c_;
  NotesServices s_;
  std::int16_t gFlag_ = 0;
  std::string location_;
};

}  // namespace vorn
