#include "ui/error_barrier_win.h"

#include <windows.h>

#include <exception>
#include <string>

#include "platform/text_win.h"

namespace vorn::ui {

namespace {

MessageDialog* g_dialog = nullptr;
std::string g_lastTold;  // a failure that repeats at every message is told once
bool g_telling = false;  // a failure while telling one is not told again

}  // namespace

void TellErrorsWith(MessageDialog* dialog) { g_dialog = dialog; }

void TellCurrentError() noexcept {
  if (g_telling) return;
  g_telling = true;
  try {
    std::string what = "an error of an unknown kind";
    try {
      throw;
    } catch (const std::exception& e) {
      what = e.what();
    } catch (...) {
    }
    std::string text = "Vorn Notes met an error it did not expect: " + what +
                       "\r\n\r\nIt goes on; every pad keeps what it shows.";
    if (text != g_lastTold) {
      g_lastTold = text;
      if (g_dialog) {
        g_dialog->Notify(text, "Vorn Notes");
      } else {
        MessageBoxW(nullptr, win::Widen(text).c_str(), L"Vorn Notes", MB_OK | MB_ICONERROR);
      }
    }
  } catch (...) {
    // Not even the notice could be made: there is nothing left to tell it with.
  }
  g_telling = false;
}

}  // namespace vorn::ui
