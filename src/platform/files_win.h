// Files through the Win32 file API, with paths in UTF-8.
#pragma once

#include "core/file_system.h"

namespace vorn::win {

class WinFileSystem : public FileSystem {
 public:
  std::optional<std::string> Read(const std::string& path) override;
  void WriteNew(const std::string& path, std::string_view bytes) override;
  void Rename(const std::string& from, const std::string& to) override;
  bool Exists(const std::string& path) override;
  void Remove(const std::string& path) override;
  PathKind Kind(const std::string& path) override;
  std::string Resolve(const std::string& path) override;
  std::vector<FolderEntry> List(const std::string& folder) override;
  void CreateFolders(const std::string& folder) override;
  std::string Stamp(const std::string& path) override;
  std::string FreshStamp(const std::string& path) override;
  std::optional<std::int64_t> LastWritten(const std::string& path) override;
  StampTrust TrustOfStamps(const std::string& folder) override;
};

// This computer's name ("DESK"), "" when the system does not say.
std::string ComputerName();

// The running exe, "C:\Tools\VornNotes.exe", and the folder it runs from: "C:\Tools", or "C:\"
// in a root.
std::wstring ProgramPath();
std::string ProgramFolder();

// The user's local application data folder ("C:\Users\Ann\AppData\Local"), and the folder for
// temporary files; "" when the system does not say.
std::string LocalAppDataFolder();
// The folders Windows virtualizes for a program without a manifest: Program Files (both), the
// Windows folder and ProgramData.
std::vector<std::string> VirtualizedFolders();
std::string TempFolder();

}  // namespace vorn::win
