// The notes model over fakes of the windows, with the real pad store over in-memory stores:
// the fixture of the model's tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/notes_model.h"
#include "fakes.h"
#include "latin1.h"

// The program's parts around one model; `Another` builds a second model on the same stores, as
// the next start of the program does.
struct Parts {
  fake::NotesView view;
  fake::Tray tray;
  fake::About about;
  fake::HistoryBox historyBox;
  fake::FindBox findBox;
  fake::Messages messages;
  fake::FolderDialog folders;
  fake::Loop loop;
};

struct Model : ::testing::Test {
  fake::Settings settings;
  fake::Files files;
  fake::Clock clock;
  fake::Clipboard clipboard;
  fake::Printer printer;
  fake::StartUp startUp;
  fake::StoreWatch watch;
  fake::KeyboardLayouts keyboard;
  vorn::PadStore pads{settings, files, "C:\\Vorn", Latin1, "DESK"};
  vorn::History history{files, "C:\\Local\\History", clock, Latin1};
  vorn::History rescue{files, "C:\\Temp\\History", clock, Latin1};
  std::vector<std::unique_ptr<vorn::PadKeeper>> keepers;
  std::vector<std::unique_ptr<Parts>> runs;
  Parts& parts = Run();
  fake::NotesView& view = parts.view;
  fake::Tray& tray = parts.tray;
  fake::About& about = parts.about;
  fake::Messages& messages = parts.messages;
  fake::Loop& loop = parts.loop;
  std::vector<std::unique_ptr<vorn::NotesModel>> models;
  vorn::NotesModel& model = Another(parts);

  Parts& Run() { return *runs.emplace_back(std::make_unique<Parts>()); }
  vorn::NotesModel& Another(Parts& p) {
    auto& keeper =
        keepers.emplace_back(std::make_unique<vorn::PadKeeper>(pads, history, rescue, clock));
    return ModelOver(p, settings, *keeper);
  }
  // A model on the given settings and keeper, for a test with stores of its own.
  vorn::NotesModel& ModelOver(Parts& p, vorn::SettingsStore& s, vorn::PadKeeper& keeper) {
    auto& m = *models.emplace_back(std::make_unique<vorn::NotesModel>(
        vorn::NotesWindows{p.view, p.tray, p.about, p.historyBox, p.findBox, p.messages, p.folders,
                           p.loop},
        vorn::NotesServices{s, keeper, history, clipboard, printer, startUp, watch, keyboard}));
    p.view.changed = [&m](int pad) { m.PadChanged(pad); };
    return m;
  }
  // Time passes, with the program's tick every few seconds.
  void Later(std::int64_t millis) {
    clock.now += millis;
    model.Tick();
  }
  std::string Value(int pad) { return settings.Get("Data", std::to_string(pad)); }
  std::string File(int pad) {
    auto it = files.files.find("C:\\Vorn\\~tmp" + std::to_string(pad) + ".tmp");
    return it == files.files.end() ? "<absent>" : it->second;
  }
  // The pad's versions in the history, newest first, as their text.
  std::vector<std::string> Kept(int pad) {
    std::vector<std::string> texts;
    for (const vorn::Version& v : history.Versions(pad)) texts.push_back(history.Text(pad, v));
    return texts;
  }
};
