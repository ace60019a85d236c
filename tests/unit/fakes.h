// In-memory stand-ins for the platform controls and services.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/tray_icon.h"
#include "ui/about/infofrm.h"
#include "platform/controls.h"
#include "platform/services.h"

namespace fake {

using vorn::ControlError;

// A control that, like the real ones, refuses a negative width or height. `failing` names
// properties whose assignment throws, to exercise the skip-on-failure rules.
class Control : public virtual vorn::Control {
 public:
  float left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  std::set<std::string> failing;
  std::vector<std::string>* log = nullptr;
  std::string name;

  float Left() const override { return left; }
  float Top() const override { return top; }
  float Width() const override { return width; }
  float Height() const override { return height; }
  void SetLeft(float v) override { Check("Left"); left = v; }
  void SetTop(float v) override { Check("Top"); top = v; }
  void SetWidth(float v) override {
    Check("Width");
    if (v < 0) throw ControlError("negative width");
    width = v;
  }
  void SetHeight(float v) override {
    Check("Height");
    if (v < 0) throw ControlError("negative height");
    height = v;
  }
  bool Visible() const override { return visible; }
  void SetVisible(bool v) override {
    Check("Visible");
    visible = v;
    if (log) log->push_back(name + (v ? ".show" : ".hide"));
  }

 protected:
  void Check(const std::string& property) const {
    if (failing.count(property)) throw ControlError(property + " refused");
  }
};

class Form : public Control, public vorn::FormWindow {
 public:
  float scaleWidth = 0, scaleHeight = 0;
  int focusCalls = 0;
  int reachableCalls = 0;
  float ScaleWidth() const override { return scaleWidth; }
  float ScaleHeight() const override { return scaleHeight; }
  void SetFocus() override {
    ++focusCalls;
    if (log) log->push_back("form.focus");
  }
  std::intptr_t Handle() const override { return 0x1234; }
  void KeepReachable() override { ++reachableCalls; }
};

class CheckBox : public vorn::CheckBox {
 public:
  std::int16_t value = 0;
  std::int16_t Value() const override { return value; }
  void SetValue(std::int16_t v) override {
    if (v < 0 || v > 2) throw ControlError("invalid property value");
    value = v;
  }
};

class TabStrip : public Control, public vorn::TabStrip {
 public:
  std::int16_t selected = 1, count = 10;
  float firstTabHeight = 300;
  std::int16_t SelectedIndex() const override { return selected; }
  std::int16_t TabCount() const override { return count; }
  float FirstTabHeight() const override { return firstTabHeight; }
};

class Pad : public Control, public vorn::Pad {
 public:
  std::string text;
  std::size_t selStart = 0, selLength = 0;  // the caret is at selStart when selLength is 0
  std::function<void()> changed;            // the change event
  std::string Text() const override { return text; }
  void SetText(std::string_view t) override {
    Check("Text");
    text = t;
    selStart = selLength = 0;
  }
  std::string SelText() const override { return text.substr(selStart, selLength); }
  void ReplaceSel(std::string_view t) override {
    text.replace(selStart, selLength, t);
    selStart += t.size();
    selLength = 0;
    if (changed) changed();
  }
};

class StatusBar : public Control, public vorn::StatusBar {
 public:
  std::map<int, std::string> panels;
  void SetPanelText(int panel, std::string_view t) override { panels[panel] = t; }
};

class Settings : public vorn::SettingsStore {
 public:
  using Key = std::tuple<std::string, std::string, std::string>;
  std::map<Key, std::string> values;
  std::vector<std::string> reads, writes;
  std::set<std::string> refused;  // keys whose write fails

  std::string Read(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view fallback) override {
    reads.emplace_back(key);
    auto it = values.find({std::string(app), std::string(section), std::string(key)});
    return it == values.end() ? std::string(fallback) : it->second;
  }
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override {
    writes.emplace_back(key);
    if (refused.count(std::string(key))) throw vorn::PlatformError("Access is denied.");
    values[{std::string(app), std::string(section), std::string(key)}] = value;
  }
  std::string Get(const std::string& section, const std::string& key) const {
    auto it = values.find({"Vorn Notes", section, key});
    return it == values.end() ? "<absent>" : it->second;
  }
  void Set(const std::string& key, const std::string& value) {
    values[{"Vorn Notes", "Setting", key}] = value;
  }
};

class PadStorage : public vorn::PadStorage {
 public:
  std::map<std::pair<int, bool>, std::string> slots;  // (index, settings store) -> text
  std::vector<std::pair<int, bool>> reads, writes;
  std::string failWrites;  // when set, every write fails with this description
  std::string ReadSlot(std::int16_t index, bool settingsStore) override {
    reads.emplace_back(index, settingsStore);
    auto it = slots.find({index, settingsStore});
    if (it == slots.end()) {
      if (settingsStore) return "";
      throw vorn::PlatformError("The system cannot find the file specified.");
    }
    return it->second;
  }
  void WriteSlot(std::int16_t index, bool settingsStore, std::string_view text) override {
    writes.emplace_back(index, settingsStore);
    if (!failWrites.empty()) throw vorn::PlatformError(failWrites);
    slots[{index, settingsStore}] = text;
  }
};

struct ZCall {
  std::intptr_t window, insertAfter;
  std::int32_t x, y, cx, cy;
  std::uint32_t flags;
};

class ZOrder : public vorn::ZOrder {
 public:
  std::vector<ZCall> calls;
  void SetWindowPos(std::intptr_t w, std::intptr_t after, std::int32_t x, std::int32_t y,
                    std::int32_t cx, std::int32_t cy, std::uint32_t flags) override {
    calls.push_back({w, after, x, y, cx, cy, flags});
  }
};

class TrayForm : public vorn::TrayForm {
 public:
  std::vector<std::string>* log = nullptr;
  bool failLoad = false;
  void Load() override {
    if (log) log->push_back("tray.load");
    if (failLoad) throw vorn::PlatformError("no shell");
  }
  void Unload() override {
    if (log) log->push_back("tray.unload");
  }
};

// Ending the process stops the handler: the fake throws so that nothing after it runs.
struct Ended {};
class Process : public vorn::Process {
 public:
  std::vector<std::string>* log = nullptr;
  void End() override {
    if (log) log->push_back("process.end");
    throw Ended{};
  }
};

class MessageDialog : public vorn::MessageDialog {
 public:
  std::vector<std::pair<std::string, std::string>> shown;  // (text, title)
  void Show(std::string_view text, std::string_view title) override {
    shown.emplace_back(text, title);
  }
};

class Clipboard : public vorn::Clipboard {
 public:
  std::string text;
  bool busy = false;  // another program holds it
  int sets = 0;
  void SetText(std::string_view t) override {
    if (busy) throw vorn::PlatformError("The clipboard is in use by another program.");
    text = t;
    ++sets;
  }
  std::string GetText() override {
    if (busy) throw vorn::PlatformError("The clipboard is in use by another program.");
    return text;
  }
};

// Records what a print sends, a line of text at a time, with a fixed line height of 240.
class Printer : public vorn::Printer {
 public:
  std::vector<std::string> calls;
  std::string failAt;  // a call name that fails as a missing printer would
  float y = 0;
  void SetPrintQuality(int q) override { Call("quality " + std::to_string(q)); }
  int Page() override {
    Call("page");
    return 1;
  }
  void PrintLine(std::string_view t) override {
    Call("print " + std::string(t));
    y += 240 * static_cast<float>(1 + std::count(t.begin(), t.end(), '\n'));
  }
  float CurrentY() override { return y; }
  float ScaleWidth() override { return 11520; }
  void Line(float x1, float y1, float x2, float y2, std::uint32_t colour) override {
    Call("line " + std::to_string(int(x1)) + "," + std::to_string(int(y1)) + " " +
         std::to_string(int(x2)) + "," + std::to_string(int(y2)) + " " + std::to_string(colour));
  }
  void EndDoc() override {
    Call("end");
    y = 0;
  }
  void AbortDoc() override {
    calls.push_back("abort");
    y = 0;
  }

 private:
  void Call(const std::string& what) {
    if (what.rfind(failAt, 0) == 0 && !failAt.empty()) throw vorn::PlatformError("There is no default printer.");
    calls.push_back(what);
  }
};

class About : public vorn::AboutHost {
 public:
  int loads = 0, unloads = 0, presents = 0;
  bool loaded = false;
  bool Loaded() const override { return loaded; }
  void Load() override {
    ++loads;
    loaded = true;
  }
  void Unload() override {
    ++unloads;
    loaded = false;
  }
  void Present() override { ++presents; }
};

class NotifyArea : public vorn::NotifyArea {
 public:
  std::vector<std::pair<std::uint32_t, vorn::TrayRecord>> calls;
  void Notify(std::uint32_t message, const vorn::TrayRecord& record) override {
    calls.emplace_back(message, record);
  }
};

}  // namespace fake
