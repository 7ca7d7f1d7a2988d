// SPDX-License-Identifier: GPL-3.0-or-later
// Sizes of files, also beyond 32 bits, are checked through SplitSetup in the split tests.
#include <gtest/gtest.h>

#include <filesystem>

#include "fileservices/Filenames.h"
#include "fileservices/HugeFileFunctions.h"
#include "support/Media.h"
#include "support/TempDir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/statvfs.h>
#endif

namespace {

using namespace HugeFileFunctions;

TEST(HugeFileFunctions, FreeSpaceAndErrorText) {
  vornak::test::TempDir dir;
  EXPECT_GT(getHugeDiskFreeSpace(dir.path()), 0);
  EXPECT_EQ(getHugeDiskFreeSpace(dir.join("missing")), -1);
  EXPECT_EQ(getHugeDiskFreeSpace(""), -1);
  for (const std::int32_t code : {99999, -1}) EXPECT_EQ(getSystemErrorText(code), "Unknown Error.") << code;
#ifdef _WIN32
  // A drive letter without a medium behind it.
  const DWORD drives = ::GetLogicalDrives();
  char letter = 'Y';
  while (letter > 'C' && (drives & (1u << (letter - 'A'))) != 0) --letter;
  EXPECT_EQ(getHugeDiskFreeSpace(std::string(1, letter) + ":\\"), -1) << letter;
  EXPECT_GT(getHugeDiskFreeSpace(dir.path().substr(0, 3)), 0);
  // The system's own text, its line break kept in the program's form.
  for (const std::int32_t code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_DISK_FULL}) {
    const std::string text = getSystemErrorText(code);
    EXPECT_NE(text, "Unknown Error.") << code;
    EXPECT_TRUE(text.size() > 1 && text.back() == '\n' && text.find('\r') == std::string::npos) << text;
  }
#else
  EXPECT_EQ(getSystemErrorText(ENOENT) + getSystemErrorText(EACCES),
            "No such file or directory\nPermission denied\n");
#endif
}

#ifndef _WIN32

// On an ext2 medium with a reserve for the superuser (ctest runs this in a
// private mount namespace): the free space is what every user may write, and a
// folder /x/medium2 does not lie on a mount at /x/medium, even one of the same
// device (a bind mount).
TEST(PrivateMounts, FreeSpaceLeavesTheReserveAndMountPointsEndAtWholeNames) {
  if (!vornak::test::PrivateMounts()) GTEST_SKIP() << "needs a private mount namespace";
  vornak::test::TempDir dir;
  const std::string medium = dir.join("medium"), bound = medium + "/x/medium",
                    sibling = medium + "/x/medium2";
  if (!vornak::test::mountExt2(dir.join("medium.img"), medium, 1024, 20)) GTEST_SKIP() << "cannot mount here";
  struct statvfs info {};
  ASSERT_EQ(::statvfs(medium.c_str(), &info), 0);
  EXPECT_LT(info.f_bavail, info.f_bfree);
  EXPECT_EQ(getHugeDiskFreeSpace(medium + "/"), static_cast<double>(info.f_bavail * info.f_frsize));

  for (const std::string& folder : {medium + "/inner", bound, sibling})
    std::filesystem::create_directories(folder);
  ASSERT_EQ(::mount((medium + "/inner").c_str(), bound.c_str(), nullptr, MS_BIND, nullptr), 0);
  EXPECT_EQ(Filenames::getFolderDrive(bound), bound);
  EXPECT_EQ(Filenames::getFolderDrive(sibling + "/sub"), medium);
  EXPECT_EQ(Filenames::getFolderDrive(sibling), medium);
  vornak::test::unmount(bound);
  vornak::test::unmount(medium);
}
#endif

}  // namespace
