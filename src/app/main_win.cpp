// The program: builds the services, the notes model and the windows, and runs the message loop.
// Nothing else builds anything, and no window owns another.
#include <windows.h>
#include <commctrl.h>

#include "app/message_loop_win.h"
#include "app/single_instance_win.h"
#include "core/history.h"
#include "core/notes_model.h"
#include "core/pad_keeper.h"
#include "core/pad_store.h"
#include "platform/clipboard_win.h"
#include "platform/clock_win.h"
#include "platform/files_win.h"
#include "platform/keyboard_layouts_win.h"
#include "platform/printer_win.h"
#include "platform/registry_win.h"
#include "platform/start_up_win.h"
#include "platform/store_watch_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "ui/about_window_win.h"
#include "ui/error_barrier_win.h"
#include "ui/find_window_win.h"
#include "ui/folder_dialog_win.h"
#include "ui/history_window_win.h"
#include "ui/messages_win.h"
#include "ui/notes_window_win.h"
#include "ui/tray_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  using namespace vorn;
  win::LoadLibrariesFromSystemOnly();
  app::SingleInstance single;
  if (!single.First()) {
    // Windows starts the program at log-on, and again when it restarts it after an update:
    // a second of those is no user's wish to see the window.
    if (StartedByUser(win::Narrow(arguments))) app::SingleInstance::ShowRunningProgram();
    return 0;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  win::RegistrySettings settings;
  win::WinFileSystem files;
  win::SystemClock clock;
  PadStore pads(settings, files, win::ProgramFolder(), win::FromSystemCodePage,
                win::ComputerName());
  // The history lives with the user's local data; the temporary folder takes the text of a
  // pad that cannot be saved at the end when that cannot be written.
  std::string local = win::LocalAppDataFolder(), temp = win::TempFolder();
  History history(files, (local.empty() ? temp : local) + "\\Vorn Notes\\History", clock,
                  win::FromSystemCodePage);
  History rescue(files, temp + "\\Vorn Notes\\History", clock, win::FromSystemCodePage);
  PadKeeper keeper(pads, history, rescue, clock);
  keeper.UseVirtualStore(VirtualStoreFolder(win::ProgramFolder(), win::VirtualizedFolders(), local));
  win::WinClipboard clipboard;
  win::DefaultPrinter printer;
  win::LogOnEntriesInRegistry logOnEntries;
  LogOnStart startUp(logOnEntries, win::Narrow(win::ProgramPath()));
  win::StoreWatcher watch(win::RegistrySettings::SectionKey("Data"));
  win::InstalledLayouts keyboard;
  app::MessageLoop loop;

  ui::Messages messages;
  ui::FolderPicker folders;
  ui::NotesWindow notes(instance);
  ui::TrayWindow tray(instance);
  ui::AboutWindow about(instance);
  ui::HistoryWindow historyWindow(instance);
  ui::FindTextWindow findWindow(instance);
  NotesModel model({notes, tray, about, historyWindow, findWindow, messages, folders, loop},
                   {settings, keeper, history, clipboard, printer, startUp, watch, keyboard});
  if (!notes.Create(model) || !tray.Create(model)) {
    messages.Show("Vorn Notes could not make its windows: " + win::ErrorText(GetLastError()),
                  "Vorn Notes");
    return 1;
  }
  messages.SetOwner(notes.Hwnd());
  folders.SetOwner(notes.Hwnd());
  ui::TellErrorsWith(&messages);
  clipboard.SetOwner(notes.Hwnd());
  watch.SetOwner(notes.Hwnd(), ui::kStoreChangedMessage);
  historyWindow.Attach(model, notes.Hwnd());
  findWindow.Attach(model, notes.Hwnd());

  model.Start();
  win::AskToBeRestartedAfterUpdates();
  int exitCode = loop.Run({notes, about, historyWindow, findWindow, messages}, model);
  model.End();
  return exitCode;  // the windows go with their objects
}
