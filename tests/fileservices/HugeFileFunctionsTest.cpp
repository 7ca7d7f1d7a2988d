#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "fileservices/HugeFileFunctions.h"
#include "support/TempDir.h"

namespace {

using namespace HugeFileFunctions;

TEST(HugeFileFunctions, UnsignedToDouble) {
  const std::pair<std::int32_t, double> rows[] = {
      {0, 0}, {INT32_MAX, 2147483647.0}, {-1, 4294967295.0}, {INT32_MIN, 2147483648.0}, {-1294967296, 3e9}};
  for (const auto& [value, expected] : rows) EXPECT_EQ(UnsignedToDouble(value), expected) << value;
}

TEST(HugeFileFunctions, FileSize) {
  vornak::test::TempDir dir;
  EXPECT_EQ(GetHugeFileSize(dir.WriteFile("empty")), 0);
  EXPECT_EQ(GetHugeFileSize(dir.WriteFile("five", "12345")), 5);
  for (const std::string& path : {std::string(), dir.Join("missing"), dir.Path()})
    EXPECT_EQ(GetHugeFileSize(path), -1) << path;
  // Opening a FIFO with no writer would block; the query must answer at once.
  const std::string fifo = dir.Join("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(GetHugeFileSize(fifo), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  const std::string sparse = dir.WriteFile("sparse");
  if (::truncate(sparse.c_str(), (off_t{1} << 32) + 1) != 0) GTEST_SKIP() << "no sparse 4 GiB file here";
  EXPECT_EQ(GetHugeFileSize(sparse), 4294967297.0);
}

TEST(HugeFileFunctions, FreeSpaceAndErrorText) {
  vornak::test::TempDir dir;
  EXPECT_GT(GetHugeDiskFreeSpace(dir.Path()), 0);
  EXPECT_EQ(GetHugeDiskFreeSpace(dir.Join("missing")), -1);
  EXPECT_EQ(GetSystemErrorText(ENOENT), "No such file or directory\n");
  EXPECT_EQ(GetSystemErrorText(EACCES), "Permission denied\n");
  for (const std::int32_t code : {99999, -1}) EXPECT_EQ(GetSystemErrorText(code), "Unknown Error.") << code;
}

}  // namespace
