// In-memory stand-ins for the windows and services around the notes model.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/clipboard.h"
#include "core/clock.h"
#include "core/utf.h"
#include "core/file_system.h"
#include "core/notes_view.h"
#include "core/pad_text.h"
#include "core/printing.h"
#include "core/settings_store.h"
#include "core/start_up.h"
#include "core/store_watch.h"

namespace fake {

using vorn::PlatformError;
struct Clock;

// UTF-8 text as a registry value's data: UTF-16, little-endian, with its terminating NUL.
inline std::string ValueData(std::string_view utf8) {
  std::string out;
  auto unit = [&](std::uint32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  for (std::size_t i = 0; i < utf8.size();) {
    auto c = static_cast<unsigned char>(utf8[i]);
    std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    if (cp >= 0x10000) {
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      unit(cp);
    }
    i += n;
  }
  unit(0);
  return out;
}

// The registry in memory. Values are kept as the registry keeps them: data and type. With
// `keyStamps` a value's stamp is its key's, as the registry's: one for all the section's values,
// changed by a write of any of them.
class Settings : public vorn::SettingsStore {
 public:
  std::map<std::pair<std::string, std::string>, vorn::StoredValue> values;  // (section, key)
  std::set<std::string> refused;  // keys whose write fails
  std::vector<std::string> writes;
  bool keyStamps = false;
  std::map<std::string, int> keyWrites;  // per section

  std::optional<std::string> Read(std::string_view section, std::string_view key) override {
    std::optional<vorn::StoredValue> value = ReadBytes(section, key);
    if (!value) return std::nullopt;
    if (value->type != 1) throw PlatformError("the value holds no text.");
    return vorn::DecodeValue(value->bytes, false);
  }
  std::optional<vorn::StoredValue> ReadBytes(std::string_view section,
                                             std::string_view key) override {
    auto it = values.find({std::string(section), std::string(key)});
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    writes.emplace_back(key);
    if (refused.count(std::string(key))) throw PlatformError("Access is denied.");
    values[{std::string(section), std::string(key)}] = {ValueData(value), 1};
    ++keyWrites[std::string(section)];
  }
  // The data itself: a change made straight into `values` counts too.
  std::string Stamp(std::string_view section, std::string_view key) override {
    if (keyStamps) return std::to_string(keyWrites[std::string(section)]);
    auto it = values.find({std::string(section), std::string(key)});
    return it == values.end() ? std::string() : it->second.bytes;
  }
  std::string Where(std::string_view section, std::string_view key) const override {
    return "registry value " + std::string(section) + "\\" + std::string(key);
  }
  std::string Get(const std::string& section, const std::string& key) {
    try {
      return Read(section, key).value_or("<absent>");
    } catch (const PlatformError&) {
      return "<not text>";
    }
  }
  void Set(const std::string& key, const std::string& value,
           const std::string& section = "Setting") {
    values[{section, key}] = {ValueData(value), 1};
    ++keyWrites[section];
  }
  void SetRaw(const std::string& key, std::string bytes, unsigned type) {
    values[{"Data", key}] = {std::move(bytes), type};
    ++keyWrites["Data"];
  }
};

// Thrown by Files at operation number `crashAt`, as if the power went: nothing after it runs.
struct Crash {};

// Files in memory. A write can fail (`failOn` names the step) or crash half-way. A file's stamp
// is its content, unless `clock` is set: then it is its size and last-write time, in steps of
// `timeStep` (FAT's are 2 s), as Windows gives it; a write from outside goes through Outside().
// In a folder of `shares` the stamp asked by path comes from what was last heard of the file
// (as a network share's cache answers it, for some 10 s) until `cache` is cleared; FreshStamp
// asks the file itself.
class Files : public vorn::FileSystem {
 public:
  std::map<std::string, std::string> files;
  int ops = 0, crashAt = 0;
  bool crashed = false;  // the process is gone: no clean-up happens
  std::string failOn;
  Clock* clock = nullptr;
  std::int64_t timeStep = 0;
  std::map<std::string, std::int64_t> writtenAt;
  std::set<std::string> shares;
  std::map<std::string, std::string> cache;
  int reads = 0;

  // Another program writes the file in place.
  void Outside(const std::string& path, std::string bytes);

  std::optional<std::string> Read(const std::string& path) override {
    if (failOn == "Read" || locked.count(path)) {
      throw PlatformError("another program has the file open.");
    }
    ++reads;
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  void WriteNew(const std::string& path, std::string_view bytes) override {
    if (!unwritable.empty() && path.rfind(unwritable, 0) == 0) {
      throw PlatformError("Access is denied.");
    }
    Step("WriteNew");
    files[path] = std::string(bytes.substr(0, bytes.size() / 2));  // a crash here cuts it short
    Step("WriteNew.flush");
    files[path] = std::string(bytes);
    Touch(path);
  }
  void Rename(const std::string& from, const std::string& to) override {
    if (locked.count(to)) throw PlatformError("another program has the file open.");
    Step("Rename");
    files[to] = files.at(from);
    files.erase(from);
    writtenAt[to] = writtenAt[from];
  }
  bool Exists(const std::string& path) override { return files.count(path) > 0; }
  void Remove(const std::string& path) override {
    if (!crashed) files.erase(path);
  }
  vorn::PathKind Kind(const std::string& path) override {
    if (folders.count(path)) return vorn::PathKind::Folder;
    if (!files.count(path)) return vorn::PathKind::Missing;
    return readOnly.count(path) ? vorn::PathKind::ReadOnlyFile : vorn::PathKind::File;
  }
  std::string Resolve(const std::string& path) override {
    auto it = links.find(path);
    return it == links.end() ? path : it->second;
  }
  std::vector<vorn::FolderEntry> List(const std::string& folder) override {
    if (failOn == "List") throw PlatformError("The folder cannot be read.");
    std::vector<vorn::FolderEntry> entries;
    for (const auto& [path, bytes] : files) {
      if (path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
          path[folder.size()] == '\\' && path.find('\\', folder.size() + 1) == std::string::npos) {
        entries.push_back({path.substr(folder.size() + 1), bytes.size(), FreshStamp(path),
                           links.count(path) > 0});
      }
    }
    return entries;
  }
  std::string Stamp(const std::string& path) override {
    if (links.count(path)) return "a link to " + links.at(path);  // its own, not its file's
    if (!Shared(path)) return FreshStamp(path);
    auto [it, fresh] = cache.try_emplace(path);
    if (fresh) it->second = FreshStamp(path);
    return it->second;
  }
  std::optional<std::int64_t> LastWritten(const std::string& path) override {
    if (!files.count(path)) return std::nullopt;
    auto it = writtenAt.find(path);
    return it == writtenAt.end() ? 0 : it->second;
  }
  std::string FreshStamp(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return {};
    if (!clock) return it->second;
    std::int64_t time = writtenAt[path];
    if (timeStep) time -= time % timeStep;
    return std::to_string(it->second.size()) + ":" + std::to_string(time);
  }
  vorn::StampTrust TrustOfStamps(const std::string& folder) override {
    return {Shared(folder + "\\"), timeStep};
  }
  void CreateFolders(const std::string& folder) override {
    if (failOn == "CreateFolders" || (!unwritable.empty() && folder.rfind(unwritable, 0) == 0)) {
      throw PlatformError("The folder cannot be made.");
    }
  }
  std::set<std::string> folders, readOnly, locked;
  std::map<std::string, std::string> links;  // a link's path -> the file it leads to
  std::string unwritable;                    // a folder in which nothing can be written

 private:
  bool Shared(const std::string& path) const {
    for (const std::string& share : shares) {
      if (path.rfind(share + "\\", 0) == 0) return true;
    }
    return false;
  }
  void Touch(const std::string& path);
  void Step(const std::string& name) {
    if (++ops == crashAt) {
      crashed = true;
      throw Crash{};
    }
    if (name == failOn || (failOn == "Write" && name == "WriteNew")) {
      throw PlatformError("The disk is full.");
    }
  }
};

// The notes window at its designed size: ten pads with a caret and a selection each.
class NotesView : public vorn::NotesView {
 public:
  bool shown = false;
  int activations = 0, reachableCalls = 0;
  vorn::WindowRect placement{2976, 1467, 6336, 5433};
  std::vector<bool> topMostCalls;
  bool topBox = false;
  vorn::CheckState registryBox = vorn::CheckState::Ticked;
  vorn::LayoutInput measured{6216, 5028, 336, 252, 300};
  vorn::NotesLayout arranged;
  int shownPad = 0;
  int zoom = 0;
  std::array<std::string, 10> text;
  std::array<std::size_t, 10> selStart{}, selLength{};
  std::array<bool, 10> locked{};
  std::string status;
  std::function<void(int)> changed;  // the pads' change event
  bool echoSetText = false;          // a control that reports text given to it as a change

  bool Shown() const override { return shown; }
  void Show() override { shown = true; }
  void Hide() override { shown = false; }
  void Activate() override { ++activations; }
  vorn::WindowRect Placement() const override { return placement; }
  void Place(const vorn::WindowRect& rect) override { placement = rect; }
  void KeepReachable() override { ++reachableCalls; }
  void SetTopMost(bool topMost) override { topMostCalls.push_back(topMost); }
  void ShowOptions(bool top, vorn::CheckState registry) override {
    topBox = top;
    registryBox = registry;
  }
  vorn::WindowRect MinimumSize() const override { return {0, 0, 1800, 570}; }
  vorn::LayoutInput Measure() const override { return measured; }
  void Arrange(const vorn::NotesLayout& layout) override { arranged = layout; }
  void ShowPad(int pad) override { shownPad = pad; }
  void SetZoom(int percent) override { zoom = percent; }
  std::string PadText(int pad) const override { return text.at(pad - 1); }
  void SetPadText(int pad, std::string_view t) override {
    text.at(pad - 1) = t;
    edits.at(pad - 1) = 2;
    selStart.at(pad - 1) = selLength.at(pad - 1) = 0;
    if (echoSetText && changed) changed(pad);
  }
  void SetPadEditable(int pad, bool editable) override { locked.at(pad - 1) = !editable; }
  std::string PadSelection(int pad) const override {
    return text.at(pad - 1).substr(selStart.at(pad - 1), selLength.at(pad - 1));
  }
  void ReplacePadSelection(int pad, std::string_view t) override {
    std::size_t i = pad - 1;
    // The edit as a control counts it; the fakes' pads keep their line breaks where an edit
    // never lands between CR and LF.
    ++edits[i];
    lastEdit[i] = {vorn::ControlForm(text[i].substr(0, selStart[i])).size(),
                   vorn::ControlForm(text[i].substr(selStart[i], selLength[i])).size(),
                   vorn::ControlForm(t).size()};
    if (lastEdit[i].removed >= vorn::PadMirror::kLargeRemoval) beforeLarge[i].push_back(PadContent(pad));
    text[i].replace(selStart[i], selLength[i], t);
    selStart[i] += t.size();
    selLength[i] = 0;
    if (changed) changed(pad);
  }
  void ReplacePadText(int pad, std::string_view t) override {
    Select(pad, 0, text.at(pad - 1).size());
    ReplacePadSelection(pad, t);
  }
  void TakePadText(int pad, std::string_view t) override {
    text.at(pad - 1) = t;
    edits.at(pad - 1) = 2;
    if (changed) changed(pad);
  }
  void SetStatusText(std::string_view t) override { status = t; }
  std::u16string PadContent(int pad) const override { return vorn::ControlForm(text.at(pad - 1)); }
  // Edits since the model last took one (more than one: not followed), and the last of them.
  std::array<int, 10> edits{2, 2, 2, 2, 2, 2, 2, 2, 2, 2};
  std::array<vorn::PadEdit, 10> lastEdit{};
  // The texts before the large removals since the model last took an edit.
  std::array<std::vector<std::u16string>, 10> beforeLarge;
  std::array<std::u16string, 10> shownCopy;
  std::optional<vorn::ShownEdit> TakePadEdit(int pad) override {
    std::size_t i = pad - 1;
    shownCopy[i] = PadContent(pad);
    vorn::ShownEdit shown{shownCopy[i], std::nullopt, std::move(beforeLarge[i])};
    beforeLarge[i].clear();
    if (std::exchange(edits[i], 0) == 1) shown.edit = lastEdit[i];
    return shown;
  }
  // A copy that lost track of its pad: what it holds instead of `text`, and whether its length
  // shows it.
  std::array<std::optional<std::string>, 10> staleCopy;
  std::optional<std::string> CheckPadCopy(int pad, bool whole) override {
    std::optional<std::string>& copy = staleCopy.at(pad - 1);
    if (!copy || (!whole && copy->size() == text.at(pad - 1).size())) return std::nullopt;
    edits.at(pad - 1) = 2;  // the copy takes the pad's whole text
    return std::exchange(copy, std::nullopt);
  }
  vorn::TextSpan PadSelected(int pad) const override {
    // The fakes' pads hold no CR LF where the find tests look: bytes count as units.
    std::size_t i = pad - 1;
    return {selStart[i], selStart[i] + selLength[i]};
  }
  void SelectInPad(int pad, vorn::TextSpan span) override {
    Select(pad, span.start, span.end - span.start);
  }
  std::optional<vorn::HotKey> hotKey;
  bool SetHotKey(const std::optional<vorn::HotKey>& key) override {
    hotKey = key;
    return true;
  }

  // The user types into a pad (the caret moves to the end first).
  void Type(int pad, std::string_view t) {
    if (locked.at(pad - 1)) return;
    selStart.at(pad - 1) = text.at(pad - 1).size();
    selLength.at(pad - 1) = 0;
    ReplacePadSelection(pad, t);
  }
  void Select(int pad, std::size_t start, std::size_t length) {
    selStart.at(pad - 1) = start;
    selLength.at(pad - 1) = length;
  }
};

// The shell's notification area; while it starts it refuses, or does not answer in time.
struct Tray : vorn::TrayIcon {
  bool added = false;
  int removes = 0;
  int refusals = 0;  // adds still to fail
  bool Add() override {
    if (refusals > 0 && refusals-- > 0) return false;
    return added = true;
  }
  void Remove() override {
    added = false;
    ++removes;
  }
};

struct About : vorn::AboutBox {
  int opens = 0;
  void Open() override { ++opens; }
};

struct Messages : vorn::MessageDialog {
  std::vector<std::pair<std::string, std::string>> shown, notified, asked;  // (text, title)
  bool answer = true;
  void Show(std::string_view text, std::string_view title) override {
    shown.emplace_back(text, title);
  }
  void Notify(std::string_view text, std::string_view title) override {
    notified.emplace_back(text, title);
  }
  bool Ask(std::string_view text, std::string_view title) override {
    asked.emplace_back(text, title);
    return answer;
  }
};

struct FindBox : vorn::FindBox {
  int opens = 0;
  std::string what;
  void Open(std::string_view w, bool) override {
    ++opens;
    what = w;
  }
};

struct HistoryBox : vorn::HistoryBox {
  int openedFor = 0;
  void Open(int pad) override { openedFor = pad; }
};

struct Clock : vorn::Clock {
  std::int64_t now = 1796800000000;  // 2026-12-09
  std::int64_t NowUtcMillis() override { return now; }
};

inline void Files::Touch(const std::string& path) {
  if (clock) writtenAt[path] = clock->now;
}

inline void Files::Outside(const std::string& path, std::string bytes) {
  files[path] = std::move(bytes);
  Touch(path);
}

struct Loop : vorn::RunLoop {
  int quits = 0;
  bool waiting = false;
  void Quit() override { ++quits; }
  bool InputWaiting() const override { return waiting; }
};

class Clipboard : public vorn::Clipboard {
 public:
  std::string text;
  bool busy = false;  // another program holds it
  int sets = 0;
  void SetText(std::string_view t) override {
    if (busy) throw PlatformError("The clipboard is in use by another program.");
    text = t;
    ++sets;
  }
  std::string Text() override {
    if (busy) throw PlatformError("The clipboard is in use by another program.");
    return text;
  }
};

// A printer whose pages are 11520 twips wide and 1000 high, with lines of 240 twips and
// characters of 100. `calls` records what each document drew; `failAt` makes the call whose
// record begins with it fail, as a printer that goes away would.
class Printer : public vorn::Printer {
 public:
  std::vector<std::string> calls;
  std::string failAt;

  std::unique_ptr<vorn::PrintDocument> StartDocument() override {
    Call("start");
    return std::make_unique<Document>(*this);
  }

 private:
  void Call(const std::string& what) {
    if (!failAt.empty() && what.rfind(failAt, 0) == 0) {
      throw PlatformError("There is no default printer.");
    }
    calls.push_back(what);
  }

  struct Document : vorn::PrintDocument {
    explicit Document(Printer& p) : printer(p) {}
    ~Document() override {
      if (!finished) printer.calls.push_back("abort");
    }
    float PageWidth() const override { return 11520; }
    float PageHeight() const override { return 1000; }
    float LineHeight() const override { return 240; }
    float TextWidth(std::string_view t) override { return 100.0f * static_cast<float>(t.size()); }
    void Text(float y, std::string_view line) override {
      printer.Call("text " + std::to_string(static_cast<int>(y)) + " " + std::string(line));
    }
    void Rule(float y) override { printer.Call("rule " + std::to_string(static_cast<int>(y))); }
    void NextPage() override { printer.Call("page"); }
    void Print() override {
      printer.Call("finish");
      finished = true;
    }
    Printer& printer;
    bool finished = false;
  };
};

// Starting with Windows, as the system holds it; `refused` makes a change fail.
struct StartUp : vorn::StartUp {
  bool on = false;
  bool refused = false;
  bool WithWindows() override { return on; }
  void SetWithWindows(bool value) override {
    if (refused) throw vorn::PlatformError("Access is denied.");
    on = value;
  }
};

// The keyboard layouts, with the characters Windows' own layouts type with AltGr.
struct KeyboardLayouts : vorn::KeyboardLayouts {
  // For each layout, by key and Shift ('N' / 'n' for AltGr+Shift+N / AltGr+N).
  std::vector<std::map<char, std::string>> layouts{{}};  // United States: none
  static std::map<char, std::string> PolishProgrammers() {
    return {{'n', "\xC5\x84"}, {'N', "\xC5\x83"}, {'a', "\xC4\x85"}, {'A', "\xC4\x84"}};
  }
  static std::map<char, std::string> German() {
    return {{'q', "@"}, {'e', "\xE2\x82\xAC"}, {'m', "\xC2\xB5"}, {'7', "{"}, {'2', "\xC2\xB2"}};
  }
  std::vector<std::string> TypedWithAltGr(unsigned key, bool shift) override {
    std::vector<std::string> typed;
    char letter = static_cast<char>(key);
    if (!shift && letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');
    for (const auto& layout : layouts) {
      auto it = layout.find(letter);
      typed.push_back(it == layout.end() ? "" : it->second);
    }
    return typed;
  }
};

// The store watched; the tests tell the model of changes themselves.
struct StoreWatch : vorn::StoreWatch {
  std::vector<std::pair<vorn::Storage, std::string>> watched;
  void Watch(vorn::Storage storage, const std::string& folder) override {
    watched.emplace_back(storage, folder);
  }
  void Resume() override {}
  int letGo = 0;
  void LetGo() override { ++letGo; }
};

// The folder picker: `picked` is the user's answer, nothing for Cancel.
struct FolderDialog : vorn::FolderDialog {
  std::optional<std::string> picked;
  std::optional<std::string> ChooseFolder(std::string_view, std::string_view) override {
    return picked;
  }
};

}  // namespace fake
