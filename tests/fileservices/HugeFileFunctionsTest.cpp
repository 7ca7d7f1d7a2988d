#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>

#include "fileservices/HugeFileFunctions.h"
#include "support/TempDir.h"

namespace {

using namespace HugeFileFunctions;

TEST(HugeFileFunctions, UnsignedToDouble) {
  struct Row {
    std::int32_t value;
    double expected;
  };
  const Row rows[] = {
      {0, 0},
      {1, 1},
      {INT32_MAX, 2147483647.0},
      {-1, 4294967295.0},
      {INT32_MIN, 2147483648.0},
      {-1294967296, 3000000000.0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(UnsignedToDouble(row.value), row.expected) << row.value;
  }
}

TEST(HugeFileFunctions, FileSizeOfRegularFiles) {
  vornak::test::TempDir dir;
  EXPECT_EQ(GetHugeFileSize(dir.WriteFile("empty")), 0);
  EXPECT_EQ(GetHugeFileSize(dir.WriteFile("five", "12345")), 5);
  // Through a link the size of the target counts.
  ASSERT_EQ(::symlink(dir.Join("five").c_str(), dir.Join("link").c_str()), 0);
  EXPECT_EQ(GetHugeFileSize(dir.Join("link")), 5);
}

TEST(HugeFileFunctions, FileSizeBeyondFourGigabytesIsExact) {
  vornak::test::TempDir dir;
  const std::string path = dir.WriteFile("sparse");
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  const off_t size = (off_t{1} << 32) + 1;
  const bool grown = ::ftruncate(fd, size) == 0;
  ::close(fd);
  if (!grown) GTEST_SKIP() << "the temporary file system cannot hold a sparse file of 4 GiB";
  EXPECT_EQ(GetHugeFileSize(path), 4294967297.0);
}

TEST(HugeFileFunctions, FileSizeOfWhatIsNoRegularFileIsMinusOne) {
  vornak::test::TempDir dir;
  EXPECT_EQ(GetHugeFileSize(""), -1);
  EXPECT_EQ(GetHugeFileSize(dir.Join("missing")), -1);
  EXPECT_EQ(GetHugeFileSize(dir.Path()), -1);
  EXPECT_EQ(GetHugeFileSize(dir.MakeFolder("sub")), -1);
  EXPECT_EQ(GetHugeFileSize("/dev/null"), -1);
  // A FIFO with no writer would block an open; the query must answer at once.
  const std::string fifo = dir.Join("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(GetHugeFileSize(fifo), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(HugeFileFunctions, FreeSpace) {
  vornak::test::TempDir dir;
  const double free = GetHugeDiskFreeSpace(dir.Path());
  EXPECT_GT(free, 0);
  EXPECT_EQ(free, static_cast<double>(static_cast<long long>(free)));  // a whole number
  EXPECT_EQ(GetHugeDiskFreeSpace(dir.Join("missing")), -1);
  EXPECT_EQ(GetHugeDiskFreeSpace(""), -1);
}

TEST(HugeFileFunctions, SystemErrorText) {
  EXPECT_EQ(GetSystemErrorText(ENOENT), "No such file or directory\n");
  EXPECT_EQ(GetSystemErrorText(EACCES), "Permission denied\n");
  EXPECT_EQ(GetSystemErrorText(ENOSPC), "No space left on device\n");
  for (const std::int32_t code : {99999, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(GetSystemErrorText(code), "Unknown Error.") << code;
  }
}

}  // namespace
