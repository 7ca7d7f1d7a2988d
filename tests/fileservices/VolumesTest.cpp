#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fileservices/Volumes.h"

namespace {

std::vector<std::string> MountPoints(const std::vector<Volumes::Volume>& volumes) {
  std::vector<std::string> out;
  for (const auto& v : volumes) out.push_back(v.mountPoint);
  return out;
}

// A desktop machine: separate /home, a stick with a blank in its label, a
// network share, an sshfs mount, and the usual system mounts.
constexpr const char* kDesktop =
    "22 28 0:21 / /proc rw,nosuid shared:5 - proc proc rw\n"
    "23 28 0:22 / /sys rw,nosuid shared:6 - sysfs sysfs rw\n"
    "24 28 0:5 / /dev rw,nosuid shared:2 - devtmpfs udev rw,size=8000k\n"
    "25 24 0:23 / /dev/pts rw shared:3 - devpts devpts rw,gid=5\n"
    "26 28 0:24 / /run rw,nosuid shared:7 - tmpfs tmpfs rw,size=1600k\n"
    "28 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n"
    "29 23 0:26 / /sys/fs/cgroup ro shared:9 - cgroup2 cgroup2 rw\n"
    "30 23 0:27 / /sys/fs/pstore rw shared:10 - pstore pstore rw\n"
    "31 28 8:1 / /boot/efi rw shared:30 - vfat /dev/sda1 rw\n"
    "32 28 8:3 / /home rw,relatime shared:31 - ext4 /dev/sda3 rw\n"
    "33 28 7:0 / /snap/core/123 ro shared:32 - squashfs /dev/loop0 ro\n"
    "34 26 0:40 / /run/user/1000 rw shared:400 - tmpfs tmpfs rw,mode=700\n"
    "35 34 0:41 / /run/user/1000/gvfs rw shared:401 - fuse.gvfsd-fuse gvfsd-fuse rw\n"
    "36 26 8:17 / /run/media/alice/MY\\040STICK rw shared:402 - vfat /dev/sdb1 rw\n"
    "37 28 0:50 / /mnt/nas rw shared:403 - nfs4 nas:/export rw\n"
    "38 32 0:51 / /home/alice/remote rw shared:404 - fuse.sshfs alice@host:/ rw\n"
    "39 28 0:52 / /tmp rw shared:405 - tmpfs tmpfs rw\n";

TEST(VolumesTest, DesktopKeepsUserVolumesOnly) {
  const auto volumes = Volumes::ParseMountInfo(kDesktop, {{"/dev/sdb1", "MY STICK"}, {"/dev/sda3", "home"}});
  EXPECT_EQ(MountPoints(volumes), (std::vector<std::string>{"/", "/home", "/home/alice/remote", "/mnt/nas",
                                                            "/run/media/alice/MY STICK"}));
  const auto stick =
      std::find_if(volumes.begin(), volumes.end(), [](const auto& v) { return v.source == "/dev/sdb1"; });
  ASSERT_NE(stick, volumes.end());
  EXPECT_EQ(stick->label, "MY STICK");
  EXPECT_EQ(stick->fsType, "vfat");
  EXPECT_EQ(Volumes::DisplayName(*stick), "/run/media/alice/MY STICK");
  EXPECT_EQ(Volumes::DisplayName(volumes[1]), "/home");
}

// A container: an overlay root, files bound in from the host, and a work
// folder bound in from the host's disk.
TEST(VolumesTest, ContainerKeepsOverlayRootAndBoundFolders) {
  constexpr const char* kContainer =
      "500 400 0:60 / / rw,relatime master:1 - overlay overlay "
      "rw,lowerdir=/var/lib/docker/l/A:/var/lib/docker/l/B\n"
      "501 500 0:62 / /proc rw - proc proc rw\n"
      "502 500 0:63 / /dev rw - tmpfs tmpfs rw,mode=755\n"
      "503 500 0:64 / /sys ro - sysfs sysfs ro\n"
      "504 503 0:30 / /sys/fs/cgroup ro - cgroup2 cgroup rw\n"
      "505 500 8:1 /var/lib/docker/containers/x/hosts /etc/hosts rw - ext4 /dev/sda1 rw\n"
      "506 500 8:1 /srv/work /work rw - ext4 /dev/sda1 rw\n"
      "507 500 0:65 / /var/lib/docker/overlay2/abc/merged rw - overlay overlay rw\n"
      "508 502 0:66 / /dev/shm rw - tmpfs shm rw\n";
  EXPECT_EQ(MountPoints(Volumes::ParseMountInfo(kContainer)), (std::vector<std::string>{"/", "/work"}));
}

TEST(VolumesTest, EscapesAndBrokenLines) {
  struct Case {
    const char* field;
    const char* decoded;
  };
  for (const Case& c : std::vector<Case>{{"/media/a\\040b", "/media/a b"},
                                         {"/mnt/tab\\011x", "/mnt/tab\tx"},
                                         {"/mnt/back\\134slash", "/mnt/back\\slash"},
                                         {"/mnt/not\\9escape", "/mnt/not\\9escape"},
                                         {"/mnt/end\\04", "/mnt/end\\04"}})
    EXPECT_EQ(Volumes::UnescapeMountField(c.field), c.decoded) << c.field;

  // Short, truncated or separator-less lines are skipped; the root is always there.
  const auto volumes = Volumes::ParseMountInfo(
      "garbage\n"
      "1 2 3:4 / /media/x rw\n"
      "40 1 8:17 / /media/usb rw shared:1 - vfat /dev/sdc1 rw\n"
      "41 1 8:18 / /media/cut rw -\n");
  EXPECT_EQ(MountPoints(volumes), (std::vector<std::string>{"/", "/media/usb"}));
  EXPECT_EQ(MountPoints(Volumes::ParseMountInfo("")), (std::vector<std::string>{"/"}));
}

TEST(VolumesTest, LaterMountOverSameFolderWins) {
  const auto volumes = Volumes::ParseMountInfo(
      "40 1 8:17 / /media/usb rw - vfat /dev/sdc1 rw\n"
      "41 40 8:33 / /media/usb rw - exfat /dev/sdd1 rw\n"
      "42 1 8:49 / /mnt/gone rw - ext4 /dev/sde1 rw\n"
      "43 42 0:70 / /mnt/gone rw - tmpfs tmpfs rw\n");
  ASSERT_EQ(MountPoints(volumes), (std::vector<std::string>{"/", "/media/usb"}));
  EXPECT_EQ(volumes[1].source, "/dev/sdd1");
}

TEST(VolumesTest, FindVolumeTakesLongestWholeFolderPrefix) {
  const std::vector<Volumes::Volume> volumes = {
      {"/", "", "", ""}, {"/media/usb", "", "", ""}, {"/home", "", "", ""}};
  struct Case {
    const char* path;
    int index;
  };
  for (const Case& c : std::vector<Case>{{"/", 0},
                                         {"/tmp/x", 0},
                                         {"/media/usb", 1},
                                         {"/media/usb/a/b", 1},
                                         {"/media/usb2", 0},
                                         {"/home/alice", 2},
                                         {"relative/path", -1},
                                         {"", -1}})
    EXPECT_EQ(Volumes::FindVolume(volumes, c.path), c.index) << c.path;
}

TEST(VolumesTest, RealTableHasTheRoot) {
  const auto volumes = Volumes::ListVolumes();
  ASSERT_FALSE(volumes.empty());
  EXPECT_EQ(volumes.front().mountPoint, "/");
}

}  // namespace
