// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>

#include "fileservices/Volumes.h"
#include "fileservices/posix/MountTable.h"

namespace {

#ifndef _WIN32
// System mounts, a labelled stick, a network share outside the media folders,
// sshfs, a container's bound-in folder, broken lines, a later mount over the
// same folder, escaped names; the type decides the largest file.
TEST(VolumesTest, ParseKeepsUserVolumesOnly) {
  const auto volumes = Volumes::parseMountInfo(
      "22 28 0:21 / /proc rw,nosuid shared:5 - proc proc rw\n26 28 0:24 / /run rw - tmpfs tmpfs rw\n"
      "28 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n"
      "31 28 8:1 / /boot/efi rw shared:30 - vfat /dev/sda1 rw\n"
      "33 28 7:0 / /snap/core/123 ro shared:32 - squashfs /dev/loop0 ro\n"
      "35 34 0:41 / /run/user/1000/gvfs rw shared:401 - fuse.gvfsd-fuse gvfsd-fuse rw\n"
      "36 26 8:17 / /run/media/alice/MY\\040STICK rw shared:402 - vfat /dev/sdb1 rw\n"
      "37 28 0:50 / /data/nas rw shared:403 - nfs4 nas:/export rw\n"
      "38 32 0:51 / /home/alice/remote rw shared:404 - fuse.sshfs alice@host:/ rw\n"
      "505 500 8:1 /var/x/hosts /etc/hosts rw - ext4 /dev/sda1 rw\n"
      "506 500 8:1 /srv/work /work rw - ext4 /dev/sda1 rw\ngarbage\n1 2 3:4 / /media/x rw\n"
      "49 1 8:18 / /media/cut rw -\n40 1 8:17 / /media/usb rw - vfat /dev/sdc1 rw\n"
      "41 40 8:33 / /media/usb rw - exfat /dev/sdd1 rw\n42 28 8:18 / /media/t\\011x rw - ntfs3 /dev/sde1 rw\n"
      "43 28 8:19 / /media/b\\134s rw - msdos /dev/sdf1 rw\n",
      {{"/dev/sdb1", "MY STICK"}});
  const double none = std::numeric_limits<double>::infinity(), fat = 4294967295.0;
  // clang-format off
  const std::tuple<std::string, double, std::string> expected[] = {
      {"/", none, ""}, {"/data/nas", none, ""}, {"/home/alice/remote", none, ""}, {"/media/b\\s", fat, ""},
      {"/media/t\tx", none, ""}, {"/media/usb", none, ""}, {"/run/media/alice/MY STICK", fat, "MY STICK"},
      {"/work", none, ""}};
  // clang-format on
  ASSERT_EQ(volumes.size(), std::size(expected));
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    const Volumes::Volume& v = volumes[i];
    EXPECT_EQ(std::tuple(v.mountPoint, Volumes::maxFileSizeOf(v.fsType), v.label), expected[i]) << v.fsType;
  }
  const auto empty = Volumes::parseMountInfo("");
  EXPECT_TRUE(empty.size() == 1 && empty[0].mountPoint == "/");
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
      {"C:\\data\\movie.avi", 0}, {"c:\\", 0}, {"E:", 1}, {"CC:\\", -1}, {"D:\\", -1},
      {"\\\\srv\\share", -1}, {"", -1}};
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
