// The notes window's logic over fakes of all its controls and services, at the designed size.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "fakes.h"
#include "ui/notes/frm_vorn_notes.h"

struct NotesFixture : ::testing::Test {
  std::vector<std::string> log;
  fake::Form form;
  fake::Control toolBar, picture2;
  fake::CheckBox chkTop, chkRegistry;
  std::array<fake::Pad, 10> pads;
  fake::StatusBar statusBar;
  fake::TabStrip tabStrip;
  fake::Settings settings;
  fake::PadStorage storage;
  fake::TrayForm tray;
  fake::ZOrder zorder;
  fake::Process process;
  fake::MessageDialog box;
  fake::Clipboard clipboard;
  fake::Printer printer;
  fake::About about;
  std::string folder = "C:\\Program Files\\Vorn";
  std::unique_ptr<vorn::frmVornNotes> notes;

  NotesFixture() {
    // The designed window.
    form.left = 3036 - 60;
    form.top = 1812 - 345;
    form.width = 6216 + 120;
    form.height = 5028 + 405;
    form.scaleWidth = 6216;
    form.scaleHeight = 5028;
    form.visible = false;
    toolBar.height = 336;
    statusBar.height = 252;
    picture2 = MakeControl(60, 4200, 2856, 312);
    static_cast<fake::Control&>(tabStrip) = MakeControl(60, 480, 4995, 3135);
    tabStrip.firstTabHeight = 300;
    chkRegistry.value = 1;
    form.name = "form";
    form.log = tray.log = process.log = &log;
    for (int i = 0; i < 10; ++i) {
      pads[i].name = "pad" + std::to_string(i + 1);
      pads[i].log = &log;
    }
    notes = Make(chkRegistry);
  }

  // The controls, with another check box for the storage mode when a test needs one.
  vorn::NotesControls Controls(vorn::CheckBox& registry) {
    vorn::NotesControls c{form, toolBar, chkTop, registry, {}, picture2, statusBar, tabStrip};
    for (int i = 0; i < 10; ++i) c.txtText[i] = &pads[i];
    return c;
  }

  vorn::NotesServices Services() {
    return {settings, storage, tray,  zorder, process, box,
            clipboard, printer, about, [this] { return folder; }};
  }

  std::unique_ptr<vorn::frmVornNotes> Make(vorn::CheckBox& registry) {
    return std::make_unique<vorn::frmVornNotes>(Controls(registry), Services());
  }

  static fake::Control MakeControl(float l, float t, float w, float h) {
    fake::Control c;
    c.left = l, c.top = t, c.width = w, c.height = h;
    return c;
  }

  void ExpectPadsBottomAndWidth(float bottom, float width) {
    for (auto& p : pads) {
      EXPECT_FLOAT_EQ(p.top + p.height, bottom) << p.name;
      EXPECT_FLOAT_EQ(p.width, width) << p.name;
    }
  }
};

