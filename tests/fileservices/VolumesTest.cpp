// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>

#include "fileservices/Volumes.h"
#include "fileservices/posix/MountTable.h"

namespace {

#ifndef _WIN32
using Strings = std::vector<std::string>;

Strings mountPoints(const std::vector<Volumes::Volume>& volumes) {
  Strings out;
  for (const auto& v : volumes) out.push_back(v.mountPoint);
  return out;
}

// System mounts, a stick with a blank in its label, a network share outside the
// media folders, sshfs, a container's bound-in folder, broken lines, and a
// later mount over the same folder.
TEST(VolumesTest, ParseKeepsUserVolumesOnly) {
  const auto volumes = Volumes::parseMountInfo(
      "22 28 0:21 / /proc rw,nosuid shared:5 - proc proc rw\n26 28 0:24 / /run rw - tmpfs tmpfs "
      "rw,size=1600k\n"
      "28 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n"
      "31 28 8:1 / /boot/efi rw shared:30 - vfat /dev/sda1 rw\n"
      "33 28 7:0 / /snap/core/123 ro shared:32 - squashfs /dev/loop0 ro\n"
      "35 34 0:41 / /run/user/1000/gvfs rw shared:401 - fuse.gvfsd-fuse gvfsd-fuse rw\n"
      "36 26 8:17 / /run/media/alice/MY\\040STICK rw shared:402 - vfat /dev/sdb1 rw\n"
      "37 28 0:50 / /data/nas rw shared:403 - nfs4 nas:/export rw\n"
      "38 32 0:51 / /home/alice/remote rw shared:404 - fuse.sshfs alice@host:/ rw\n"
      "505 500 8:1 /var/x/hosts /etc/hosts rw - ext4 /dev/sda1 rw\n506 500 8:1 /srv/work /work rw - ext4 "
      "/dev/sda1 rw\n"
      "garbage\n1 2 3:4 / /media/x rw\n49 1 8:18 / /media/cut rw -\n"
      "40 1 8:17 / /media/usb rw - vfat /dev/sdc1 rw\n41 40 8:33 / /media/usb rw - exfat /dev/sdd1 rw\n",
      {{"/dev/sdb1", "MY STICK"}});
  EXPECT_EQ(mountPoints(volumes), (Strings{"/", "/data/nas", "/home/alice/remote", "/media/usb",
                                           "/run/media/alice/MY STICK", "/work"}));
  EXPECT_EQ(volumes[3].source, "/dev/sdd1");
  EXPECT_EQ(volumes[4].label, "MY STICK");
  EXPECT_EQ(mountPoints(Volumes::parseMountInfo("")), Strings{"/"});
  // Escaped blanks, tabs and backslashes in mount points; the type decides the largest file.
  const auto media = Volumes::parseMountInfo(
      "28 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
      "40 28 8:17 / /media/a\\040b rw - vfat /dev/sdb1 rw\n41 28 8:18 / /media/t\\011x rw - exfat /dev/sdc1 "
      "rw\n"
      "42 28 8:19 / /media/b\\134s rw - ntfs3 /dev/sdd1 rw\n43 28 8:20 / /media/d rw - btrfs /dev/sde1 rw\n"
      "44 28 8:21 / /media/m rw - msdos /dev/sdf1 rw\n");
  const double none = std::numeric_limits<double>::infinity(), fat = 4294967295.0;
  const std::vector<std::pair<std::string, double>> limits = {{"/", none},           {"/media/a b", fat},
                                                              {"/media/b\\s", none}, {"/media/d", none},
                                                              {"/media/m", fat},     {"/media/t\tx", none}};
  ASSERT_EQ(media.size(), limits.size());
  for (std::size_t i = 0; i < media.size(); ++i) {
    EXPECT_EQ(media[i].mountPoint, limits[i].first);
    EXPECT_EQ(Volumes::maxFileSizeOf(media[i].fsType), limits[i].second) << media[i].fsType;
  }
}

TEST(VolumesTest, FindVolumeTakesLongestWholeFolderPrefix) {
  const std::vector<Volumes::Volume> volumes = {{"/", "", "", ""}, {"/media/usb", "", "", ""}};
  // clang-format off
  const std::pair<const char*, int> rows[] = {
      {"/tmp/x", 0}, {"/media/usb", 1}, {"/media/usb/a", 1}, {"/media/usb2", 0}, {"relative", -1}, {"", -1}};
  // clang-format on
  for (const auto& [path, index] : rows) EXPECT_EQ(Volumes::findVolume(volumes, path), index) << path;
  EXPECT_EQ(Volumes::listVolumes().at(0).mountPoint, "/");
}

#else
// Drive letters compare without case, and "C:" is the root of C.
TEST(VolumesTest, FindVolumeTakesTheDriveLetter) {
  const std::vector<Volumes::Volume> volumes = {{"C:\\", "SYSTEM", "NTFS", "fixed"},
                                                {"E:\\", "", "", "removable"}};
  // clang-format off
  const std::pair<const char*, int> rows[] = {
      {"C:\\data\\movie.avi", 0}, {"c:\\", 0}, {"C:", 0}, {"E:", 1}, {"e:\\x", 1}, {"CC:\\", -1},
      {"D:\\", -1}, {"\\\\srv\\share", -1}, {"relative", -1}, {"", -1}};
  // clang-format on
  for (const auto& [path, index] : rows) EXPECT_EQ(Volumes::findVolume(volumes, path), index) << path;
  EXPECT_EQ(Volumes::displayName(volumes[0]), "c: [SYSTEM]");
  EXPECT_EQ(Volumes::displayName(volumes[1]), "e:");
  const auto drives = Volumes::listVolumes();
  ASSERT_GE(Volumes::findVolume(drives, "C:\\"), 0);
  EXPECT_EQ(drives[Volumes::findVolume(drives, "C:\\")].source, "fixed");
}
#endif

}  // namespace
