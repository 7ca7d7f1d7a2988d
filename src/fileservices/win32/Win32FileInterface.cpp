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
  DWORD disposition = CREATE_ALWAYS;
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    // The link goes, and the part takes its place as a new file: should
    // anything take the place in between, the creation fails.
    if (!::DeleteFileW(wide.c_str())) return lastError();
    disposition = CREATE_NEW;
  }
  const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lastError();
  handle = fromHandle(file);
  writing_[handle] = wide;
  return 0;
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
  std::vector<std::wstring> paths;
  paths.swap(closedUnflushed_);
  win32::NoCriticalErrorBoxes quiet;
  for (const std::wstring& path : paths) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const int code = lastError();
      // A part removed or renamed since has nothing left to flush.
      if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) continue;
      return code;
    }
    const int code = ::FlushFileBuffers(file) ? 0 : lastError();
    ::CloseHandle(file);
    if (code != 0) return code;
  }
  return 0;
}

int Win32FileInterface::close(Handle handle) {
  if (const auto part = writing_.find(handle); part != writing_.end()) {
    closedUnflushed_.push_back(part->second);
    writing_.erase(part);
  }
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
