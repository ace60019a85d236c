#include "ui/folder_dialog_win.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "platform/text_win.h"

namespace vorn::ui {

namespace {

// Releases a COM object when it goes.
template <class T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

Com<IShellItem> ItemAt(std::string_view folder) {
  Com<IShellItem> item;
  std::wstring path = win::Widen(folder);
  SHCreateItemFromParsingName(path.c_str(), nullptr, IID_PPV_ARGS(&item.p));
  return item;
}

}  // namespace

std::optional<std::string> FolderPicker::ChooseFolder(std::string_view current,
                                                      std::string_view programFolder) {
  bool started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  std::optional<std::string> picked;
  {
    Com<IFileOpenDialog> dialog;
    if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&dialog.p)))) {
      FILEOPENDIALOGOPTIONS options = 0;
      dialog->GetOptions(&options);
      dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
      dialog->SetTitle(L"Pads Folder");
      if (Com<IShellItem> start = ItemAt(current); start.p) dialog->SetFolder(start.p);
      // The way back to the pads beside the program.
      if (Com<IShellItem> own = ItemAt(programFolder); own.p) dialog->AddPlace(own.p, FDAP_TOP);
      Com<IShellItem> result;
      wchar_t* path = nullptr;
      if (SUCCEEDED(dialog->Show(owner_)) && SUCCEEDED(dialog->GetResult(&result.p)) &&
          SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        picked = win::Narrow(path);
        CoTaskMemFree(path);
      }
    }
  }
  if (started) CoUninitialize();
  return picked;
}

}  // namespace vorn::ui
