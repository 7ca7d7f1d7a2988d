// SPDX-License-Identifier: GPL-3.0-or-later
// The large-file queries on POSIX systems: sizes and free space come as 64-bit
// numbers and are turned into doubles here, at the system-call boundary.
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cstring>
#include <string_view>

#include "fileservices/HugeFileFunctions.h"

namespace HugeFileFunctions {

namespace {

// strerror_r comes in two shapes: the XSI one returns 0 and fills the buffer,
// the GNU one returns the text (which may or may not be the buffer).
[[maybe_unused]] const char* messageOf(int result, const char* buffer) {
  return result == 0 ? buffer : nullptr;
}
[[maybe_unused]] const char* messageOf(const char* result, const char*) {
  return result;
}

// The system reads a path only up to its first NUL.
bool holdsNul(const std::string& path) {
  return path.find('\0') != std::string::npos;
}

}  // namespace

double getHugeFileSize(const std::string& path) {
  // Only the metadata is read: opening a FIFO or a device could block the window.
  struct stat info {};
  if (path.empty() || holdsNul(path) || ::stat(path.c_str(), &info) != 0) return -1;
  if (!S_ISREG(info.st_mode)) return -1;
  return static_cast<double>(info.st_size);
}

double getHugeDiskFreeSpace(const std::string& root) {
  struct statvfs info {};
  if (root.empty() || holdsNul(root) || ::statvfs(root.c_str(), &info) != 0) return -1;
  return static_cast<double>(info.f_bavail) * static_cast<double>(info.f_frsize);
}

std::string getSystemErrorText(std::int32_t code) {
  char buffer[256] = {};
  const char* text = messageOf(::strerror_r(code, buffer, sizeof buffer), buffer);
  // The C library makes up "Unknown error <n>" for numbers it has no text for.
  if (text == nullptr || *text == '\0' || std::string_view(text).starts_with("Unknown error")) {
    return "Unknown Error.";
  }
  return std::string(text) + "\n";
}

}  // namespace HugeFileFunctions
