// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileservices/win32/Drives.h"

#include <windows.h>

#include "fileservices/win32/WideText.h"

namespace vornak::win32 {

bool listableFolder(const std::string& folder) {
  const std::wstring wide = widePath(folder + "*");
  if (wide.empty()) return false;
  NoCriticalErrorBoxes quiet;
  WIN32_FIND_DATAW data{};
  const HANDLE find = ::FindFirstFileW(wide.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  ::FindClose(find);
  return true;
}

std::string driveOfFolder(std::string folder, const FolderProbe& probe) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  if (folder.size() < 3) return {};
  if (folder.compare(1, 2, ":\\") == 0) return folder.substr(0, 2);
  if (folder.compare(0, 2, "\\\\") != 0) return {};
  // The share is the first prefix after "\\" that is a folder of its own: the
  // server part alone ("\\server\") never is.
  for (std::size_t k = folder.find('\\', 2); k != std::string::npos; k = folder.find('\\', k + 1)) {
    if (probe(folder.substr(0, k + 1))) return folder.substr(0, k);
  }
  return {};
}

}  // namespace vornak::win32
