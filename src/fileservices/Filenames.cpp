// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileservices/Filenames.h"

#include <utility>

#ifdef _WIN32
#include "fileservices/win32/Drives.h"
#else
#include "fileservices/posix/MountTable.h"
#endif

namespace Filenames {

namespace {

// Position (from 1) of the last occurrence of c in text; 0 when it does not occur.
std::size_t lastPosition(const std::string& text, char c) {
  const std::size_t index = text.rfind(c);
  return index == std::string::npos ? 0 : index + 1;
}

}  // namespace

std::string getExtension(const std::string& name) {
  const std::size_t p = lastPosition(name, '.');
  if (p == 0 || p == name.size()) return {};
  return name.substr(p);
}

std::string stripExtension(const std::string& name) {
  const std::size_t p = lastPosition(name, '.');
  if (p == 0) return name;
  return name.substr(0, p - 1);
}

std::string getFilename(const std::string& path, char separator) {
  const std::size_t p = lastPosition(path, separator);
  if (p == 0 || p == path.size()) return path;
  return path.substr(p);
}

std::string getTitle(const std::string& path, char separator) {
  return stripExtension(getFilename(path, separator));
}

std::string getFolder(const std::string& path, char separator) {
  const std::size_t p = lastPosition(path, separator);
  if (p == 0) return {};
  // With "/" the root of the file system is a folder of its own and stays "/";
  // a drive root on the "\" platform is written "C:" instead.
  if (p == 1) return separator == '/' ? std::string(1, '/') : std::string();
  if (p == path.size()) return path;
  return path.substr(0, p - 1);
}

std::string getDrive(const std::string& path) {
  return getFolderDrive(getFolder(path, kSeparator));
}

std::string getFolderDrive(const std::string& folder) {
#ifdef _WIN32
  return vornak::win32::driveOfFolder(folder);
#else
  return vornak::posix::mountPointOf(folder);
#endif
}

std::string resolve(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  const bool absolute =
      (!name.empty() && (name[0] == '\\' || name[0] == '/')) || name.find(':') != std::string::npos;
#else
  const bool absolute = !name.empty() && name[0] == '/';
#endif
  if (absolute || folder.empty() || name.empty()) return name;
  return folder.back() == kSeparator ? folder + name : folder + kSeparator + name;
}

std::int32_t removeInvalidChars(std::string& text) {
  std::int32_t removed = 0;
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\':
      case '?':
      case ':':
      case '*':
      case '"':
      case '<':
      case '>':
      case '|':
      case '/':
        ++removed;
        break;
      default:
        // Control characters: a NUL would cut the name short wherever the
        // system reads it, the others make names that cannot be typed.
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          ++removed;
        } else {
          result += c;
        }
    }
  }
  text = std::move(result);
  return removed;
}

}  // namespace Filenames
