// SPDX-License-Identifier: GPL-3.0-or-later
// The large-file queries on Windows. Sizes come from the system in two
// unsigned 32-bit halves and become one double here.
#include <windows.h>

#include "fileservices/HugeFileFunctions.h"
#include "fileservices/win32/WideText.h"

namespace HugeFileFunctions {

namespace {

double combine(DWORD high, DWORD low) {
  return unsignedToDouble(static_cast<std::int32_t>(high)) * 4294967296.0 +
         unsignedToDouble(static_cast<std::int32_t>(low));
}

// Size of what a link leads to: the find data describe the link itself.
double sizeThroughLink(const std::wstring& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = ::GetFileInformationByHandle(file, &info) != 0;
  ::CloseHandle(file);
  if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return -1;
  return combine(info.nFileSizeHigh, info.nFileSizeLow);
}

}  // namespace

double getHugeFileSize(const std::string& path) {
  // The find data hold the size, so the file is never opened (a file another
  // program holds without sharing still answers). "*" and "?" would be taken
  // as a pattern by the search; no file name holds them.
  if (path.find_first_of("*?") != std::string::npos) return -1;
  const std::wstring wide = vornak::win32::widePath(path);
  if (wide.empty()) return -1;
  vornak::win32::NoCriticalErrorBoxes quiet;
  WIN32_FIND_DATAW data{};
  const HANDLE find = ::FindFirstFileW(wide.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return -1;
  ::FindClose(find);
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return -1;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return sizeThroughLink(wide);
  return combine(data.nFileSizeHigh, data.nFileSizeLow);
}

double getHugeDiskFreeSpace(const std::string& root) {
  const std::wstring wide = vornak::win32::widePath(root);
  if (wide.empty()) return -1;
  vornak::win32::NoCriticalErrorBoxes quiet;
  ULARGE_INTEGER available{}, total{}, free{};
  // A drive without a medium fails (ERROR_NOT_READY) and gives -1.
  if (!::GetDiskFreeSpaceExW(wide.c_str(), &available, &total, &free)) return -1;
  return combine(available.HighPart, available.LowPart);
}

std::string getSystemErrorText(std::int32_t code) {
  // Inserts are left as they stand: the system's texts for some codes hold
  // "%1", and there is nothing to put there.
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
  if (buffer != nullptr) ::LocalFree(buffer);
  // Lines inside the program end in "\n" alone.
  std::wstring lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r') {
      lines += text[i];
    } else if (i + 1 == text.size() || text[i + 1] != L'\n') {
      lines += L'\n';
    }
  }
  const std::string result = vornak::win32::narrow(lines);
  return result.empty() ? "Unknown Error." : result;
}

}  // namespace HugeFileFunctions
