#include "fileservices/posix/MountPoint.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace vornak::posix {

namespace {

// The mount table writes blanks, tabs, line breaks and backslashes in paths as
// octal escapes ("\040").
std::string UnescapeMountPath(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size()) {
      const char a = text[i + 1], b = text[i + 2], c = text[i + 3];
      if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
        result += static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0'));
        i += 3;
        continue;
      }
    }
    result += text[i];
  }
  return result;
}

// The mount points listed in the process's mount table; empty when it cannot
// be read.
std::vector<std::string> MountPoints() {
  std::vector<std::string> points;
  std::ifstream table("/proc/self/mountinfo");
  std::string line;
  while (std::getline(table, line)) {
    // Fields: mount id, parent id, major:minor, root, mount point, ...
    std::istringstream fields(line);
    std::string id, parent, device, root, point;
    if (fields >> id >> parent >> device >> root >> point) {
      points.push_back(UnescapeMountPath(point));
    }
  }
  return points;
}

// True when prefix is the whole of path or a leading run of its components.
bool IsComponentPrefix(const std::string& prefix, const std::string& path) {
  if (prefix == "/") return !path.empty() && path[0] == '/';
  if (path.compare(0, prefix.size(), prefix) != 0) return false;
  return path.size() == prefix.size() || path[prefix.size()] == '/';
}

// The lexical parent of an absolute path without a trailing "/" ("/a/b" -> "/a",
// "/a" -> "/").
std::string ParentOf(const std::string& path) {
  const std::size_t index = path.rfind('/');
  if (index == std::string::npos || index == 0) return "/";
  return path.substr(0, index);
}

// The absolute, link-free form of the nearest existing folder at or above path;
// empty when there is none.
std::string ExistingCanonical(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  for (;;) {
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      std::string result(resolved);
      std::free(resolved);
      return result;
    }
    if (path == "/") return {};
    path = ParentOf(path);
  }
}

// Walks up from an existing absolute path while the device number stays the
// same; used when the mount table cannot be read.
std::string MountPointByDevice(std::string path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  const dev_t device = info.st_dev;
  while (path != "/") {
    const std::string parent = ParentOf(path);
    struct stat parentInfo {};
    if (::stat(parent.c_str(), &parentInfo) != 0 || parentInfo.st_dev != device) break;
    path = parent;
  }
  return path;
}

}  // namespace

std::string MountPointOf(const std::string& folder) {
  // Only absolute paths name a place on a volume; relative ones depend on the
  // current folder, which is not consulted.
  if (folder.empty() || folder[0] != '/') return {};
  const std::string canonical = ExistingCanonical(folder);
  if (canonical.empty()) return {};
  struct stat info {};
  const bool haveDevice = ::stat(canonical.c_str(), &info) == 0;
  // The longest mount point above the folder, preferring one on the folder's
  // own device: a mount hidden under a later mount over its parent is passed by.
  std::string best, bestOnDevice;
  for (const std::string& point : MountPoints()) {
    if (!IsComponentPrefix(point, canonical)) continue;
    if (point.size() > best.size()) best = point;
    struct stat pointInfo {};
    if (haveDevice && point.size() > bestOnDevice.size() && ::stat(point.c_str(), &pointInfo) == 0 &&
        pointInfo.st_dev == info.st_dev) {
      bestOnDevice = point;
    }
  }
  if (!bestOnDevice.empty()) return bestOnDevice;
  if (!best.empty()) return best;
  return MountPointByDevice(canonical);
}

}  // namespace vornak::posix
