// frmTrayIcon: the hidden window that owns the notification-area icon and turns its mouse
// notifications into showing, focusing and hiding the notes window.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/controls.h"

namespace vorn {

// The icon record in the first layout of NOTIFYICONDATAA (NOTIFYICONDATAA_V1_SIZE): 88 bytes
// on 32-bit Windows, where handles are 32 bits wide.
struct TrayRecord {
  std::uint32_t cbSize;
  std::uintptr_t hWnd;
  std::uint32_t uID;
  std::uint32_t uFlags;
  std::uint32_t uCallbackMessage;
  std::uintptr_t hIcon;
  char szTip[64];
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(TrayRecord) == 88, "the first NOTIFYICONDATAA layout is 88 bytes");
#endif

inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimDelete = 2;
inline constexpr std::uint32_t kTrayFlags = 7;             // NIF_MESSAGE | NIF_ICON | NIF_TIP
inline constexpr std::uint32_t kTrayCallbackMessage = 512;  // arrives as WM_MOUSEMOVE
inline constexpr std::string_view kTrayTip = "Vorn Notes by Kalvo";

// Shell_NotifyIconA; its result is not examined.
class NotifyArea {
 public:
  virtual ~NotifyArea() = default;
  virtual void Notify(std::uint32_t message, const TrayRecord& record) = 0;
};

// What a tray notification does to the notes window.
enum class TrayAction { None, ShowAndFocus, Toggle };

// The mouse message behind a mouse-move event whose X (in twips) carries it: X divided by the
// twips-per-pixel factor, rounded half to even.
TrayAction DecodeTrayMouse(float xTwips, float twipsPerPixelX);
TrayAction DecodeTrayMessage(std::int32_t mouseMessage);

// The 64-byte tip: the text, one NUL, blanks to the end. Longer text is cut so that the NUL
// always fits.
void FillTip(char (&tip)[64], std::string_view text);

class frmTrayIcon {
 public:
  frmTrayIcon(NotifyArea& area, FormWindow& notesWindow) : area_(area), notes_(notesWindow) {}

  // Fills the record once and adds the icon. `ownHandle` is this window's handle and
  // `notesIcon` the notes window's icon handle, which also serves as the icon's id.
  void Form_Load(std::uintptr_t ownHandle, std::uintptr_t notesIcon);
  // Removes the icon with the record as Form_Load left it; never cancels.
  void Form_QueryUnload(std::int16_t& Cancel, std::int16_t UnloadMode);
  void Form_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y,
                      float twipsPerPixelX);
  // Adds the icon again with the same record, when the notification area has been re-created.
  void Readd();

  const TrayRecord& Record() const { return record_; }

 private:
  NotifyArea& area_;
  FormWindow& notes_;
  TrayRecord record_{};
  bool loaded_ = false;
};

}  // namespace vorn
