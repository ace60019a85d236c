#include "platform/store_watch_win.h"

#include "platform/text_win.h"

namespace vorn::win {

void StoreWatcher::Watch(Storage storage, const std::string& folder) {
  Stop();
  storage_ = storage;
  if (storage == Storage::PadFiles) {
    folderChange_ = FindFirstChangeNotificationW(
        Widen(folder).c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (folderChange_ == INVALID_HANDLE_VALUE) folderChange_ = nullptr;
  } else {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, valuesKey_.c_str(), 0, KEY_NOTIFY, &raw) ==
        ERROR_SUCCESS) {
      key_.Reset(raw);
      keyChanged_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    }
  }
  HANDLE signalled = folderChange_ ? folderChange_ : keyChanged_.Get();
  if (!signalled || !Arm()) return Stop();
  // A thread that stays: the registry's report ends with the thread that asked for it.
  if (!RegisterWaitForSingleObject(&wait_, signalled, &StoreWatcher::Reported, this, INFINITE,
                                   WT_EXECUTEINPERSISTENTTHREAD)) {
    wait_ = nullptr;
    Stop();
  }
}

// Asks for the next report.
bool StoreWatcher::Arm() {
  if (storage_ == Storage::PadFiles) return true;  // armed at its creation and by FindNext
  return RegNotifyChangeKeyValue(key_.Get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, keyChanged_.Get(),
                                 TRUE) == ERROR_SUCCESS;
}

void CALLBACK StoreWatcher::Reported(void* context, BOOLEAN) {
  auto* self = static_cast<StoreWatcher*>(context);
  if (self->folderChange_) {
    FindNextChangeNotification(self->folderChange_);
  } else {
    self->Arm();
  }
  if (self->owner_) PostMessageW(self->owner_, self->message_, 0, 0);
}

void StoreWatcher::Stop() {
  // Waits for a report being handled to end.
  if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
  wait_ = nullptr;
  if (folderChange_) FindCloseChangeNotification(folderChange_);
  folderChange_ = nullptr;
  key_.Reset();
  keyChanged_.Reset();
}

}  // namespace vorn::win
