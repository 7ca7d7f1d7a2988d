// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileservices/Volumes.h"

#include <algorithm>
#include <array>
#include <limits>

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

// FAT in its variants stores a file's length in 32 bits.
constexpr std::array<std::string_view, 4> kFatTypes = {"vfat", "msdos", "fat", "umsdos"};

bool isIn(std::string_view path, std::string_view folder) {
  return path == folder || (path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
                            path[folder.size()] == '/');
}

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& list, std::string_view value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

std::string lastName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool isStorageVolume(const Volume& volume) {
  const std::string& mountPoint = volume.mountPoint;
  const std::string& fsType = volume.fsType;
  if (mountPoint == "/") return true;
  if (mountPoint.empty() || mountPoint[0] != '/' || contains(kSystemTypes, fsType)) return false;
  const bool underMedia = std::any_of(kMediaFolders.begin(), kMediaFolders.end(),
                                      [&](std::string_view f) { return isIn(mountPoint, f); });
  if (!underMedia && std::any_of(kSystemFolders.begin(), kSystemFolders.end(),
                                 [&](std::string_view f) { return isIn(mountPoint, f); }))
    return false;
  if (underMedia) return true;
  if (contains(kNetworkTypes, fsType) || fsType.starts_with("fuse.") || fsType == "fuseblk") return true;
  // A file system on a block device mounted somewhere of the user's choosing (/data, /srv/disk).
  return volume.source.starts_with("/dev/");
}

std::vector<Volume> storageVolumes(const std::vector<Volume>& mounts) {
  std::vector<Volume> volumes;
  for (const Volume& mount : mounts) {
    // A later mount over the same folder hides the earlier one, whatever it is.
    std::erase_if(volumes, [&](const Volume& v) { return v.mountPoint == mount.mountPoint; });
    if (isStorageVolume(mount)) volumes.push_back(mount);
  }
  if (std::none_of(volumes.begin(), volumes.end(), [](const Volume& v) { return v.mountPoint == "/"; }))
    volumes.push_back(Volume{"/", "", "", ""});
  std::sort(volumes.begin(), volumes.end(),
            [](const Volume& a, const Volume& b) { return a.mountPoint < b.mountPoint; });
  return volumes;
}

int findVolume(const std::vector<Volume>& volumes, const std::string& path) {
  int best = -1;
  std::size_t bestLength = 0;
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    const std::string& mount = volumes[i].mountPoint;
    const bool holds = mount == "/" ? !path.empty() && path[0] == '/' : isIn(path, mount);
    if (holds && (best < 0 || mount.size() > bestLength)) {
      best = static_cast<int>(i);
      bestLength = mount.size();
    }
  }
  return best;
}

std::string displayName(const Volume& volume) {
  if (volume.label.empty() || volume.label == lastName(volume.mountPoint)) return volume.mountPoint;
  return volume.mountPoint + "  [" + volume.label + "]";
}

double maxFileSizeOf(std::string_view fsType) {
  if (contains(kFatTypes, fsType)) return 4294967295.0;
  return std::numeric_limits<double>::infinity();
}

}  // namespace Volumes
