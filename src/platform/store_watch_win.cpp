#include "platform/store_watch_win.h"

#include <dbt.h>

#include <utility>

#include "platform/text_win.h"

namespace vorn::win {

void StoreWatcher::Watch(Storage storage, const std::string& folder) {
  Stop();
  storage_ = storage;
  if (storage == Storage::PadFiles) {
    std::wstring path = Widen(folder);
    // Armed as it is made.
    HANDLE change = FindFirstChangeNotificationW(
        path.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    folderChange_.Reset(change == INVALID_HANDLE_VALUE ? nullptr : change);
    freshFolderChange_ = true;
    // The handles in the folder keep its drive in use: Windows asks the owner before the drive
    // is removed ("Safely Remove Hardware"), and the program lets go.
    HANDLE handle = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    folder_.Reset(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
    if (folder_ && owner_) {
      DEV_BROADCAST_HANDLE filter{};
      filter.dbch_size = sizeof filter;
      filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
      filter.dbch_handle = folder_.Get();
      drive_.Reset(RegisterDeviceNotificationW(owner_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
    }
  } else {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, valuesKey_.c_str(), 0, KEY_NOTIFY, &raw) ==
        ERROR_SUCCESS) {
      key_.Reset(raw);
      keyChanged_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    }
  }
  Resume();
}

void StoreWatcher::Resume() {
  if (armed_ || (!folderChange_ && !keyChanged_)) return;
  // The last wait has made its one call; its record goes.
  if (wait_) UnregisterWaitEx(wait_, nullptr);
  wait_ = nullptr;
  bool asked = false;
  if (folderChange_) {
    // Changes made since the last report were recorded: they signal it at once.
    asked = std::exchange(freshFolderChange_, false) ||
            FindNextChangeNotification(folderChange_.Get());
  } else {
    // Asked from the program's main thread, which outlives it: the registry's report ends with
    // the thread that asked for it.
    asked = RegNotifyChangeKeyValue(key_.Get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET,
                                    keyChanged_.Get(), TRUE) == ERROR_SUCCESS;
  }
  HANDLE signalled = folderChange_ ? folderChange_.Get() : keyChanged_.Get();
  armed_ = asked && RegisterWaitForSingleObject(&wait_, signalled, &StoreWatcher::Reported, this,
                                                INFINITE, WT_EXECUTEONLYONCE);
  if (!armed_) {
    wait_ = nullptr;
    Stop();
  }
}

void CALLBACK StoreWatcher::Reported(void* context, BOOLEAN) {
  auto* self = static_cast<StoreWatcher*>(context);
  self->armed_ = false;
  if (self->owner_) PostMessageW(self->owner_, self->message_, 0, 0);
}

void StoreWatcher::Stop() {
  // Waits for a report being handled to end.
  if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
  wait_ = nullptr;
  armed_ = false;
  drive_.Reset();
  folder_.Reset();
  folderChange_.Reset();
  key_.Reset();
  keyChanged_.Reset();
}

}  // namespace vorn::win
