#include "fileservices/Volumes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace Volumes {

namespace {

// File systems that never hold a user's files, wherever they are mounted.
constexpr std::array<std::string_view, 32> kSystemTypes = {
    "proc",        "sysfs",      "cgroup",        "cgroup2",  "devpts",     "devtmpfs", "mqueue",
    "debugfs",     "tracefs",    "securityfs",    "pstore",   "bpf",        "configfs", "fusectl",
    "hugetlbfs",   "autofs",     "binfmt_misc",   "efivarfs", "rpc_pipefs", "nsfs",     "selinuxfs",
    "ramfs",       "tmpfs",      "squashfs",      "overlay",  "aufs",       "nfsd",     "fuse.gvfsd-fuse",
    "fuse.portal", "fuse.lxcfs", "fuse.snapfuse", "none"};

// Network file systems: kept wherever a user mounted them, outside the system folders.
constexpr std::array<std::string_view, 11> kNetworkTypes = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "davfs", "afs", "ceph", "glusterfs", "fuse.sshfs"};

// Folders whose mounts belong to the system.
constexpr std::array<std::string_view, 14> kSystemFolders = {"/proc", "/sys",   "/dev", "/run", "/boot",
                                                             "/snap", "/etc",   "/usr", "/var", "/tmp",
                                                             "/lib",  "/lib64", "/bin", "/sbin"};

// Folders under which removable media and user mounts appear.
constexpr std::array<std::string_view, 4> kMediaFolders = {"/media", "/mnt", "/run/media", "/home"};

bool IsIn(std::string_view path, std::string_view folder) {
  return path == folder || (path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
                            path[folder.size()] == '/');
}

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

bool IsUserVolume(const std::string& mountPoint, const std::string& fsType, const std::string& source) {
  if (mountPoint == "/") return true;
  if (Contains(kSystemTypes, fsType)) return false;
  const bool underMedia = std::any_of(kMediaFolders.begin(), kMediaFolders.end(),
                                      [&](std::string_view f) { return IsIn(mountPoint, f); });
  if (!underMedia && std::any_of(kSystemFolders.begin(), kSystemFolders.end(),
                                 [&](std::string_view f) { return IsIn(mountPoint, f); }))
    return false;
  if (underMedia) return true;
  if (Contains(kNetworkTypes, fsType) || fsType.rfind("fuse.", 0) == 0 || fsType == "fuseblk") return true;
  // A file system on a block device mounted somewhere of the user's choosing (/data, /srv/disk).
  return source.rfind("/dev/", 0) == 0;
}

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) fields.emplace_back(line.substr(start, i - start));
  }
  return fields;
}

std::string LastName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string UnescapeMountField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      if (digits.size() == 3 &&
          std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        out += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

std::vector<Volume> ParseMountInfo(std::string_view text,
                                   const std::map<std::string, std::string>& labelsByDevice) {
  std::vector<Volume> volumes;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::vector<std::string> fields = SplitFields(text.substr(pos, end - pos));
    pos = end + 1;
    // id parent major:minor root mount-point options [optional...] - type source super-options
    const auto dash = std::find(fields.begin() + std::min<std::size_t>(fields.size(), 6), fields.end(), "-");
    if (fields.size() < 7 || dash == fields.end() || fields.end() - dash < 3) continue;
    Volume volume;
    volume.mountPoint = UnescapeMountField(fields[4]);
    volume.fsType = UnescapeMountField(*(dash + 1));
    volume.source = UnescapeMountField(*(dash + 2));
    if (volume.mountPoint.empty() || volume.mountPoint[0] != '/') continue;
    if (!IsUserVolume(volume.mountPoint, volume.fsType, volume.source)) {
      // A system mount over a user's mount point hides it.
      std::erase_if(volumes, [&](const Volume& v) { return v.mountPoint == volume.mountPoint; });
      continue;
    }
    if (const auto label = labelsByDevice.find(volume.source); label != labelsByDevice.end())
      volume.label = label->second;
    std::erase_if(volumes, [&](const Volume& v) { return v.mountPoint == volume.mountPoint; });
    volumes.push_back(std::move(volume));
  }
  if (std::none_of(volumes.begin(), volumes.end(), [](const Volume& v) { return v.mountPoint == "/"; }))
    volumes.push_back(Volume{"/", "", "", ""});
  std::sort(volumes.begin(), volumes.end(),
            [](const Volume& a, const Volume& b) { return a.mountPoint < b.mountPoint; });
  return volumes;
}

std::vector<Volume> ListVolumes() {
  std::map<std::string, std::string> labels;
  std::error_code error;
  for (std::filesystem::directory_iterator it("/dev/disk/by-label", error), end; !error && it != end;
       it.increment(error)) {
    std::error_code linkError;
    const auto device = std::filesystem::canonical(it->path(), linkError);
    if (linkError) continue;
    // udev writes blanks and other bytes of a label as "\x20".
    std::string name = it->path().filename().string(), label;
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (name.compare(i, 2, "\\x") == 0 && i + 3 < name.size() &&
          std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
          std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
        label += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
        i += 3;
      } else {
        label += name[i];
      }
    }
    labels[device.string()] = label;
  }
  std::ifstream file("/proc/self/mountinfo");
  std::ostringstream text;
  if (file) text << file.rdbuf();
  std::vector<Volume> volumes = ParseMountInfo(text.str(), {});
  // The mount table may name a device by another of its links (/dev/mapper/x for /dev/dm-0).
  for (Volume& volume : volumes) {
    if (volume.source.rfind("/dev/", 0) != 0) continue;
    std::error_code linkError;
    const auto device = std::filesystem::canonical(volume.source, linkError);
    if (const auto label = labels.find(linkError ? volume.source : device.string()); label != labels.end())
      volume.label = label->second;
  }
  return volumes;
}

int FindVolume(const std::vector<Volume>& volumes, const std::string& path) {
  int best = -1;
  std::size_t bestLength = 0;
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    const std::string& mount = volumes[i].mountPoint;
    const bool holds = mount == "/" ? !path.empty() && path[0] == '/' : IsIn(path, mount);
    if (holds && (best < 0 || mount.size() > bestLength)) {
      best = static_cast<int>(i);
      bestLength = mount.size();
    }
  }
  return best;
}

std::string DisplayName(const Volume& volume) {
  if (volume.label.empty() || volume.label == LastName(volume.mountPoint)) return volume.mountPoint;
  return volume.mountPoint + "  [" + volume.label + "]";
}

}  // namespace Volumes
