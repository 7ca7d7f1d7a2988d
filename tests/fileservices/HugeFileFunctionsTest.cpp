// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>

#include "fileservices/Filenames.h"
#include "fileservices/HugeFileFunctions.h"
#include "support/TempDir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "support/Media.h"
#endif

namespace {

using namespace HugeFileFunctions;
using vornak::test::native;

TEST(HugeFileFunctions, UnsignedToDouble) {
  const std::pair<std::int32_t, double> rows[] = {
      {0, 0}, {INT32_MAX, 2147483647.0}, {-1, 4294967295.0}, {INT32_MIN, 2147483648.0}, {-1294967296, 3e9}};
  for (const auto& [value, expected] : rows) EXPECT_EQ(unsignedToDouble(value), expected) << value;
}

TEST(HugeFileFunctions, FileSize) {
  vornak::test::TempDir dir;
  EXPECT_EQ(getHugeFileSize(dir.writeFile("empty")), 0);
  EXPECT_EQ(getHugeFileSize(dir.writeFile("five", "12345")), 5);
  EXPECT_EQ(getHugeFileSize(dir.writeFile("\xC3\x84pfel \xE2\x82\xAC.bin", "123")), 3);
  for (const std::string& path : {std::string(), dir.join("missing"), dir.path(), dir.join("f*")})
    EXPECT_EQ(getHugeFileSize(path), -1) << path;
#ifndef _WIN32
  // Opening a FIFO with no writer would block; the query must answer at once.
  const std::string fifo = dir.join("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(getHugeFileSize(fifo), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
#endif

  // Sparse files: a low half with its top bit set, a high half of 1 with a low
  // half of 0, and both halves in use.
  for (const std::uintmax_t size : {3000000000ULL, 4294967296ULL, 6442450945ULL}) {
    const std::string sparse = dir.writeFile("sparse");
    std::error_code error;
    std::filesystem::resize_file(native(sparse), size, error);
    if (error) GTEST_SKIP() << "no sparse file of " << size << " bytes here";
    EXPECT_EQ(getHugeFileSize(sparse), static_cast<double>(size));
  }
}

TEST(HugeFileFunctions, FreeSpaceAndErrorText) {
  vornak::test::TempDir dir;
  EXPECT_GT(getHugeDiskFreeSpace(dir.path()), 0);
  EXPECT_EQ(getHugeDiskFreeSpace(dir.join("missing")), -1);
  EXPECT_EQ(getHugeDiskFreeSpace(""), -1);
#ifdef _WIN32
  // A drive letter without a medium behind it.
  const DWORD drives = ::GetLogicalDrives();
  for (char letter = 'Y'; letter > 'C'; --letter) {
    if ((drives & (1u << (letter - 'A'))) == 0) {
      EXPECT_EQ(getHugeDiskFreeSpace(std::string(1, letter) + ":\\"), -1) << letter;
      break;
    }
  }
  EXPECT_GT(getHugeDiskFreeSpace(dir.path().substr(0, 3)), 0);
  // The system's own text, its line break kept in the program's form.
  for (const std::int32_t code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_DISK_FULL}) {
    const std::string text = getSystemErrorText(code);
    EXPECT_NE(text, "Unknown Error.") << code;
    EXPECT_TRUE(text.size() > 1 && text.back() == '\n' && text.find('\r') == std::string::npos) << text;
  }
#else
  EXPECT_EQ(getSystemErrorText(ENOENT), "No such file or directory\n");
  EXPECT_EQ(getSystemErrorText(EACCES), "Permission denied\n");
#endif
  for (const std::int32_t code : {99999, -1}) EXPECT_EQ(getSystemErrorText(code), "Unknown Error.") << code;
}

#ifndef _WIN32
// On an ext2 medium with a reserve for the superuser (ctest runs this in a
// private mount namespace): the free space is what every user may write, and a
// folder /x/medium2 does not lie on a mount at /x/medium, even one of the same
// device (a bind mount).
TEST(PrivateMounts, FreeSpaceLeavesTheReserveAndMountPointsEndAtWholeNames) {
  if (!vornak::test::PrivateMounts()) GTEST_SKIP() << "needs a private mount namespace";
  vornak::test::TempDir dir;
  const std::string medium = dir.join("medium");
  if (!vornak::test::mountExt2(dir.join("medium.img"), medium, 1024, 20)) GTEST_SKIP() << "cannot mount here";
  struct statvfs info {};
  ASSERT_EQ(::statvfs(medium.c_str(), &info), 0);
  EXPECT_LT(info.f_bavail, info.f_bfree);
  EXPECT_EQ(getHugeDiskFreeSpace(medium + "/"), static_cast<double>(info.f_bavail * info.f_frsize));

  const std::string bound = medium + "/x/medium", sibling = medium + "/x/medium2";
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
