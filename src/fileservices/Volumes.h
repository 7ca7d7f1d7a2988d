// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The volumes a user keeps files on, as the Save dialog's drive list offers
// them: the root file system, separate home file systems, removable media and
// network shares. Read from the kernel's mount table of this process; system
// mounts (proc, sysfs, cgroups, device and runtime file systems, snaps,
// container layers) are left out. On Windows the volumes are the drive
// letters (win32/VolumesWin32.cpp): the drive list names each by its root
// ("C:\"), the mount table by the drive form that drive takes ("C:"); fsType
// is the medium's file system ("NTFS", "FAT32") and source the kind of drive
// ("fixed", "removable", "network", "cdrom", "ramdisk").
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

// Whether a user stores files on the volume: the drive list's filter.
bool isStorageVolume(const Volume& volume);

// The storage volumes among mounts (in mount order), sorted by mount point
// (the root first). A mount point mounted twice counts once, with the later
// (visible) mount; a system mount over a mount point hides it. The root is
// always in the result.
std::vector<Volume> storageVolumes(const std::vector<Volume>& mounts);

// Every mount of this process's mount table, in table order; empty when it
// cannot be read. This and listVolumes come from the platform's side
// (posix/MountTable.cpp reads /proc/self/mountinfo with libmount).
std::vector<Volume> readMountTable();

// The storage volumes of this process's mount table with the labels of
// /dev/disk/by-label; just the root when the table cannot be read.
std::vector<Volume> listVolumes();

// Whether the medium of the volume at mountPoint can be read now. On Windows a
// drive letter stays when its medium is gone (an empty card reader, a
// disconnected network drive), and its bare root still passes for a folder:
// this lists the root. Elsewhere a volume in the mount table has its medium.
bool hasMedium(const std::string& mountPoint);

// The index of the volume that holds path (the longest mount point that is
// path itself or one of its parent folders); -1 when none does.
int findVolume(const std::vector<Volume>& volumes, const std::string& path);

// How the drive list names a volume: its mount point, followed by the label in
// brackets when the label is not already the mount point's last name.
std::string displayName(const Volume& volume);

// The largest file, in bytes, that a file system of this type (as the mount
// table names it) can hold: 4 GiB - 1 for FAT (vfat, msdos, fat, umsdos);
// infinity for every other type, which sets no limit a part could reach.
double maxFileSizeOf(std::string_view fsType);

}  // namespace Volumes
