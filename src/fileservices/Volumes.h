#pragma once
// The volumes a user keeps files on, as the Save dialog's drive list offers
// them: the root file system, separate home file systems, removable media and
// network shares. Read from the kernel's mount table of this process; system
// mounts (proc, sysfs, cgroups, device and runtime file systems, snaps,
// container layers) are left out. On Windows the volumes are the drive
// letters (win32/VolumesWin32.cpp): mountPoint is the root ("C:\"), fsType the
// medium's file system ("NTFS", "FAT32") and source the kind of drive
// ("fixed", "removable", "network", "cdrom", "ramdisk").
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Volumes {

struct Volume {
  std::string mountPoint;  // where the volume is mounted; also its name in the list
  std::string label;       // the file system's label, when one is known
  std::string fsType;      // "ext4", "vfat", "nfs4", "fuse.sshfs", ...
  std::string source;      // "/dev/sdb1", "server:/export", ...
  bool operator==(const Volume&) const = default;
};

#ifndef _WIN32
// Decodes the octal escapes of the mount table ("\040" is a blank).
std::string UnescapeMountField(std::string_view field);

// The volumes listed in the text of a mountinfo file, sorted by mount point
// (the root first). A mount point mounted twice counts once, with the later
// (visible) mount. labelsByDevice maps a device path ("/dev/sdb1") to its
// file system label. Lines that cannot be read are skipped. The root is always
// in the result.
std::vector<Volume> ParseMountInfo(std::string_view text,
                                   const std::map<std::string, std::string>& labelsByDevice = {});
#endif

// ParseMountInfo of /proc/self/mountinfo with the labels of /dev/disk/by-label;
// just the root when the table cannot be read. On Windows the drives in
// letter order.
std::vector<Volume> ListVolumes();

// The index of the volume that holds path (the longest mount point that is
// path itself or one of its parent folders); -1 when none does.
int FindVolume(const std::vector<Volume>& volumes, const std::string& path);

// How the drive list names a volume: its mount point, followed by the label in
// brackets when the label is not already the mount point's last name.
std::string DisplayName(const Volume& volume);

}  // namespace Volumes
