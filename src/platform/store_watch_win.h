// The system's reports of changes to the pads' store: the program's folder (a file's name,
// size or last write), or the registry key of the pads' values. A report posts a message to
// the owner window and waits there until the program has looked at the store (Resume): the
// program's own saves, one per key, make one report, not one each. A watched folder's drive
// is registered with the system, so that the owner window hears (WM_DEVICECHANGE) when it is
// to be removed, and the program lets go of it (LetGo).
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "core/store_watch.h"
#include "platform/handles_win.h"

namespace vorn::win {

class StoreWatcher : public StoreWatch {
 public:
  // `valuesKey` (under HKEY_CURRENT_USER) holds the pads' values.
  explicit StoreWatcher(std::wstring valuesKey) : valuesKey_(std::move(valuesKey)) {}
  StoreWatcher(const StoreWatcher&) = delete;
  StoreWatcher& operator=(const StoreWatcher&) = delete;
  ~StoreWatcher() override { Stop(); }

  // Where the reports go, as `message`.
  void SetOwner(HWND owner, UINT message) {
    owner_ = owner;
    message_ = message;
  }
  // A store the system will not watch (a registry key not made yet, a folder that cannot be
  // watched) is left to the program's slow look every few seconds.
  void Watch(Storage storage, const std::string& folder) override;
  void Resume() override;
  void LetGo() override { Stop(); }

 private:
  static void CALLBACK Reported(void* self, BOOLEAN timedOut);
  void Stop();

  std::wstring valuesKey_;
  HWND owner_ = nullptr;
  UINT message_ = 0;
  Storage storage_ = Storage::SettingsStore;
  FolderChange folderChange_;
  File folder_;                  // the folder itself, whose drive's removal the owner hears of
  DeviceNotification drive_;
  Key key_;
  File keyChanged_;                 // the event the registry sets
  bool freshFolderChange_ = false;  // armed as it was made
  HANDLE wait_ = nullptr;
  std::atomic<bool> armed_ = false;  // cleared by the thread the system reports on
};

}  // namespace vorn::win
