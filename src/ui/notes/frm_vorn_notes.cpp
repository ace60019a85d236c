#include "ui/notes/frm_vorn_notes.h"

#include <cfloat>
#include <cmath>

#include "app/wlaunch1.h"
#include "store/number_text.h"
#include "store/pad_text.h"

namespace vorn {

namespace {

// The start-up sequence and the layout skip a statement that fails and go on with the next.
template <class F>
void Skip(F&& statement) {
  try {
    statement();
  } catch (...) {
  }
}

// The test of a conditional statement; a test that fails lets the guarded statement run.
template <class F>
bool Test(F&& condition) {
  try {
    return condition();
  } catch (...) {
    return true;
  }
}

float ToSingle(double value) {
  if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) throw ControlError("overflow");
  return static_cast<float>(value);
}

constexpr const char* kSetting = "Setting";

}  // namespace

Pad* frmVornNotes::PadAt(int index) const {
  if (index < 1 || index > kPadCount || c_.txtText[index - 1] == nullptr) {
    throw ControlError("no such pad");
  }
  return c_.txtText[index - 1];
}

void frmVornNotes::Form_Load() {
  gFlag_ = 1;
  Skip([&] { s_.trayForm.Load(); });
  RestoreSettings();
  Skip([&] { Form_Resize(); });
  Skip([&] {
    std::string folder = s_.programFolder();
    location_ = folder + getSlash(folder);
  });

  float padLeft = 0, padTop = 0;
  Skip([&] { padLeft = c_.tabStrip.Left() + 50.0f; });
  Skip([&] { padTop = c_.tabStrip.Top() + c_.tabStrip.FirstTabHeight() + 100.0f; });

  for (std::int16_t index = 1; index <= kPadCount; ++index) {
    Skip([&] { PadAt(index)->SetLeft(padLeft); });
    Skip([&] { PadAt(index)->SetTop(padTop); });
    Skip([&] { PadAt(index)->SetVisible(false); });
    bool settingsStore = Test([&] { return c_.chkRegistry.Value() == 1; });
    Skip([&] { PadAt(index)->SetText(s_.padStorage.ReadSlot(index, settingsStore)); });
  }

  Skip([&] { Form_Resize(); });
  Skip([&] { PadAt(1)->SetVisible(true); });
  Skip([&] { c_.form.SetVisible(false); });
  gFlag_ = 0;
}

void frmVornNotes::RestoreSettings() {
  double top = 0, left = 0, height = 0, width = 0;
  auto read = [&](const char* key, const char* fallback) {
    return ReadNumber(s_.settings.Read(kAppName, kSetting, key, fallback));
  };
  Skip([&] { top = read("Top", "0"); });
  Skip([&] { left = read("Left", "0"); });
  Skip([&] { height = read("Height", "0"); });
  Skip([&] { width = read("Width", "0"); });

  if (Test([&] { return top != 0; })) Skip([&] { c_.form.SetTop(ToSingle(top)); });
  if (Test([&] { return left != 0; })) Skip([&] { c_.form.SetLeft(ToSingle(left)); });
  if (Test([&] { return height != 0; })) Skip([&] { c_.form.SetHeight(ToSingle(height)); });
  if (Test([&] { return width != 0; })) Skip([&] { c_.form.SetWidth(ToSingle(width)); });
  // A rectangle saved on a monitor that is gone would leave the window out of reach.
  Skip([&] { c_.form.KeepReachable(); });

  Skip([&] {
    auto reg = RoundHalfEven(read("Reg", "1"));
    if (!reg || *reg < INT16_MIN || *reg > INT16_MAX) throw ControlError("overflow");
    c_.chkRegistry.SetValue(static_cast<std::int16_t>(*reg));
  });

  if (Test([&] { return read("OnTop", "0") == 1.0; })) {
    Skip([&] { c_.chkTop.SetValue(1); });
    Skip([&] { chkTop_Click(); });
  }
}

void frmVornNotes::Form_Resize() {
  Control& bar = c_.toolBar;
  TabStrip& tabs = c_.tabStrip;
  Skip([&] { c_.picture2.SetTop(c_.form.ScaleHeight() - c_.statusBar.Height() - bar.Height()); });
  Skip([&] { tabs.SetHeight(c_.picture2.Top() - tabs.Top() - 50.0f); });
  Skip([&] { tabs.SetWidth(c_.form.ScaleWidth() - tabs.Left() - tabs.Left()); });

  std::int16_t count = 0;
  Skip([&] { count = tabs.TabCount(); });
  for (std::int16_t i = 1; i <= count; ++i) {
    Skip([&] { PadAt(i)->SetHeight(tabs.Height() - PadAt(i)->Top() + bar.Height()); });
    Skip([&] { PadAt(i)->SetWidth(tabs.Width() - PadAt(i)->Left()); });
  }
}

void frmVornNotes::Form_QueryUnload(std::int16_t& Cancel, std::int16_t UnloadMode) {
  if (UnloadMode > 1) {
    SaveSettings();
    s_.trayForm.Unload();
    s_.process.End();
    return;
  }
  c_.form.SetVisible(false);
  Cancel = 2;
}

void frmVornNotes::SaveSettings() {
  // A refused write must not stop the program from ending: the pads are already stored, and
  // the remaining entries are still worth writing.
  auto write = [&](const char* key, auto value) {
    Skip([&] { s_.settings.Write(kAppName, kSetting, key, value()); });
  };
  write("Top", [&] { return NumberText(c_.form.Top()); });
  write("Left", [&] { return NumberText(c_.form.Left()); });
  write("Height", [&] { return NumberText(c_.form.Height()); });
  write("Width", [&] { return NumberText(c_.form.Width()); });
  write("Reg", [&] { return IntegerText(c_.chkRegistry.Value()); });
  write("OnTop", [&] { return IntegerText(c_.chkTop.Value()); });
}

void frmVornNotes::Form_KeyDown(std::int16_t& KeyCode, std::int16_t /*Shift*/) {
  if (KeyCode == 27) c_.form.SetVisible(false);
}

void frmVornNotes::Command2_Click() {
  std::int16_t cancel = 0;
  Form_QueryUnload(cancel, kUnloadEndButton);
}

void frmVornNotes::Command3_Click() {
  std::int16_t key = 27;
  Form_KeyDown(key, 0);
}

void frmVornNotes::Command1_Click() { ShowAbout(s_.about); }

void frmVornNotes::chkTop_Click() {
  std::intptr_t insertAfter = c_.chkTop.Value() == 0 ? -2 : -1;  // HWND_NOTOPMOST : HWND_TOPMOST
  auto pixels = [](float twips) {
    return RoundHalfEven(twips / 15.0f).value_or(0);
  };
  s_.zOrder.SetWindowPos(c_.form.Handle(), insertAfter, pixels(c_.form.Left()),
                         pixels(c_.form.Top()), pixels(c_.form.Width()),
                         pixels(c_.form.Height()), 3 /* SWP_NOSIZE | SWP_NOMOVE */);
}

void frmVornNotes::ReportFailure(const std::exception& e) {
  s_.messageBox.Show(e.what(), "Ooops...");
}

void frmVornNotes::txtText_Change(std::int16_t Index) {
  if (gFlag_ == 1) return;
  bool settingsStore = true;
  try {
    settingsStore = c_.chkRegistry.Value() == 1;
  } catch (const std::exception& e) {
    ReportFailure(e);  // and go on with the settings-store write
  }
  try {
    s_.padStorage.WriteSlot(Index, settingsStore, PadAt(Index)->Text());
  } catch (const std::exception& e) {
    ReportFailure(e);
  }
}

void frmVornNotes::TabStrip1_BeforeClick(std::int16_t& /*Cancel*/) {}

void frmVornNotes::TabStrip1_Click() {
  std::int16_t selected = c_.tabStrip.SelectedIndex();
  std::int16_t count = c_.tabStrip.TabCount();
  for (std::int16_t i = 1; i <= count; ++i) PadAt(i)->SetVisible(i == selected);
  c_.statusBar.SetPanelText(1, IntegerText(static_cast<long long>(Utf16Length(PadAt(selected)->Text()))) +
                                   " characters");
}

std::int16_t frmVornNotes::getTag() const { return c_.tabStrip.SelectedIndex(); }

void frmVornNotes::ToolBar1_ButtonClick(std::string_view key) {
  try {
    std::string text = PadAt(getTag())->SelText();
    if (text.empty()) text = PadAt(getTag())->Text();
    if (key == "print") {
      Print(text);
    } else if (key == "cut") {
      if (!text.empty()) {
        s_.clipboard.SetText(text);  // a clipboard that fails leaves the pad as it is
        PadAt(getTag())->ReplaceSel("");
      }
    } else if (key == "copy") {
      if (!text.empty()) s_.clipboard.SetText(text);
    } else if (key == "paste") {
      if (!s_.clipboard.GetText().empty()) PadAt(getTag())->ReplaceSel(s_.clipboard.GetText());
    }
  } catch (const std::exception& e) {
    // Printer and clipboard failures are told plainly; the pads stay as they are.
    s_.messageBox.Show(e.what(), kAppName);
  }
}

void frmVornNotes::Print(const std::string& text) {
  Printer& p = s_.printer;
  try {
    p.SetPrintQuality(-3);  // DMRES_MEDIUM
    p.PrintLine("Page #" + IntegerText(p.Page()));
    float y = p.CurrentY() + 10.0f;
    p.Line(0.0f, y, p.ScaleWidth(), y, 0);
    p.PrintLine("\n");
    p.PrintLine(text);
    p.EndDoc();
  } catch (...) {
    p.AbortDoc();
    throw;
  }
}

}  // namespace vorn
