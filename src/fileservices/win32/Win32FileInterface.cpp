// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileservices/win32/Win32FileInterface.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "fileservices/HugeFileFunctions.h"
#include "fileservices/win32/WideText.h"

namespace vornak {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// One call moves at most this many bytes; larger blocks take several.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

HANDLE toHandle(FileInterface::Handle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

FileInterface::Handle fromHandle(HANDLE handle) {
  return reinterpret_cast<FileInterface::Handle>(handle);
}

int lastError() {
  const DWORD code = ::GetLastError();
  return code != 0 ? static_cast<int>(code) : ERROR_GEN_FAILURE;
}

// Attributes of what stands at path, links followed; INVALID_FILE_ATTRIBUTES
// when nothing does (a dangling link included).
DWORD attributesFollowingLinks(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
    return attributes;
  const HANDLE file =
      ::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return INVALID_FILE_ATTRIBUTES;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = ::GetFileInformationByHandle(file, &info) != 0;
  ::CloseHandle(file);
  return known ? info.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

std::optional<FileId> idOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) return std::nullopt;
  return FileId{info.dwVolumeSerialNumber,
                (std::uint64_t{info.nFileIndexHigh} << 32) | std::uint64_t{info.nFileIndexLow}};
}

}  // namespace

int Win32FileInterface::openRead(const std::string& path, Handle& handle) {
  handle = kNoHandle;
  const std::wstring wide = win32::widePath(path);
  if (wide.empty()) return path.empty() ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_NAME;
  win32::NoCriticalErrorBoxes quiet;
  const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lastError();
  handle = fromHandle(file);
  return 0;
}

int Win32FileInterface::createPart(const std::string& path, Handle, Handle& handle) {
  handle = kNoHandle;
  const std::wstring wide = win32::widePath(path);
  if (wide.empty()) return path.empty() ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_NAME;
  win32::NoCriticalErrorBoxes quiet;
  // Without FILE_SHARE_DELETE nobody removes the part while it is open.
  const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lastError();
  handle = fromHandle(file);
  return 0;
}

int Win32FileInterface::rename(const std::string& from, const std::string& to) {
  const std::wstring wideFrom = win32::widePath(from), wideTo = win32::widePath(to);
  if (wideFrom.empty() || wideTo.empty()) return ERROR_INVALID_NAME;
  win32::NoCriticalErrorBoxes quiet;
  return ::MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? 0
             : lastError();
}

int Win32FileInterface::remove(const std::string& path) {
  const std::wstring wide = win32::widePath(path);
  if (wide.empty()) return ERROR_INVALID_NAME;
  win32::NoCriticalErrorBoxes quiet;
  return ::DeleteFileW(wide.c_str()) ? 0 : lastError();
}

int Win32FileInterface::removeUnused(const std::string& path) {
  // A part open for writing shares no deletion: removing it fails.
  return remove(path);
}

int Win32FileInterface::replaceable(const std::string& path) {
  const std::wstring wide = win32::widePath(path);
  if (wide.empty()) return ERROR_INVALID_NAME;
  win32::NoCriticalErrorBoxes quiet;
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return lastError();
  return (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0 ? ERROR_ACCESS_DENIED : 0;
}

std::vector<std::string> Win32FileInterface::folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  std::wstring pattern = win32::widePath(folder);
  if (pattern.empty()) return names;
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  win32::NoCriticalErrorBoxes quiet;
  WIN32_FIND_DATAW found{};
  const HANDLE search =
      ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(win32::narrow(name));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

int Win32FileInterface::seek(Handle handle, double offset) {
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(offset);
  return ::SetFilePointerEx(toHandle(handle), position, nullptr, FILE_BEGIN) ? 0 : lastError();
}

int Win32FileInterface::read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) {
  bytesRead = 0;
  DWORD count = 0;
  if (!::ReadFile(toHandle(handle), buffer, static_cast<DWORD>(std::min(size, kMaxTransfer)), &count,
                  nullptr)) {
    const int code = lastError();
    return code == ERROR_HANDLE_EOF ? 0 : code;
  }
  bytesRead = count;
  return 0;
}

int Win32FileInterface::write(Handle handle, const void* buffer, std::size_t size,
                              std::size_t& bytesWritten) {
  bytesWritten = 0;
  while (bytesWritten < size) {
    DWORD count = 0;
    const DWORD chunk = static_cast<DWORD>(std::min(size - bytesWritten, kMaxTransfer));
    if (!::WriteFile(toHandle(handle), static_cast<const char*>(buffer) + bytesWritten, chunk, &count,
                     nullptr))
      return lastError();
    if (count == 0) break;  // the caller sees the short write
    bytesWritten += count;
  }
  return 0;
}

int Win32FileInterface::sync(Handle handle) {
  return ::FlushFileBuffers(toHandle(handle)) ? 0 : lastError();
}

int Win32FileInterface::syncFileSystem(const std::string&) {
  // Windows flushes a volume as a whole only for administrators; every part
  // is flushed on its own handle and named with MOVEFILE_WRITE_THROUGH.
  return 0;
}

int Win32FileInterface::close(Handle handle) {
  return ::CloseHandle(toHandle(handle)) ? 0 : lastError();
}

EntryKind Win32FileInterface::lookup(const std::string& path) {
  const std::wstring wide = win32::widePath(path);
  if (wide.empty() || path.find_first_of("*?") != std::string::npos) return EntryKind::None;
  win32::NoCriticalErrorBoxes quiet;
  const DWORD attributes = attributesFollowingLinks(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::None;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::Folder;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return EntryKind::Other;
  return EntryKind::File;
}

EntryKind Win32FileInterface::lookupEntry(const std::string& path) {
  const std::wstring wide = win32::widePath(path);
  if (wide.empty() || path.find_first_of("*?") != std::string::npos) return EntryKind::None;
  win32::NoCriticalErrorBoxes quiet;
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::None;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::Link;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::Folder;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return EntryKind::Other;
  return EntryKind::File;
}

std::optional<FileId> Win32FileInterface::idOfPath(const std::string& path) {
  const std::wstring wide = win32::widePath(path);
  if (wide.empty()) return std::nullopt;
  win32::NoCriticalErrorBoxes quiet;
  const HANDLE file =
      ::CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<FileId> id = idOf(file);
  ::CloseHandle(file);
  return id;
}

std::optional<FileId> Win32FileInterface::idOfHandle(Handle handle) {
  return idOf(toHandle(handle));
}

std::optional<FileStamp> Win32FileInterface::stampOfPath(const std::string& path) {
  const std::wstring wide = win32::widePath(path);
  if (wide.empty()) return std::nullopt;
  win32::NoCriticalErrorBoxes quiet;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FileStamp{static_cast<double>((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow),
                   static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                             data.ftLastWriteTime.dwLowDateTime)};
}

double Win32FileInterface::freeSpace(const std::string& root) {
  return HugeFileFunctions::getHugeDiskFreeSpace(root);
}

double Win32FileInterface::maxFileSize(const std::string& root) {
  std::wstring wide = win32::widen(root);
  if (!wide.empty() && wide.back() != L'\\') wide += L'\\';
  win32::NoCriticalErrorBoxes quiet;
  wchar_t fileSystem[MAX_PATH + 1] = {};
  if (wide.empty() ||
      !::GetVolumeInformationW(wide.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1))
    return std::numeric_limits<double>::infinity();
  return Volumes::maxFileSizeOf(win32::narrow(fileSystem));
}

std::vector<Volumes::Volume> Win32FileInterface::mountedVolumes() {
  return Volumes::readMountTable();
}

std::string Win32FileInterface::errorText(int code) {
  return HugeFileFunctions::getSystemErrorText(code);
}

Win32FileInterface& systemFileInterface() {
  static Win32FileInterface instance;
  return instance;
}

}  // namespace vornak
