#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>

#include "fileservices/HugeFileFunctions.h"
#include "support/TempDir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using namespace HugeFileFunctions;
using vornak::test::Native;

TEST(HugeFileFunctions, UnsignedToDouble) {
  const std::pair<std::int32_t, double> rows[] = {
      {0, 0}, {INT32_MAX, 2147483647.0}, {-1, 4294967295.0}, {INT32_MIN, 2147483648.0}, {-1294967296, 3e9}};
  for (const auto& [value, expected] : rows) EXPECT_EQ(UnsignedToDouble(value), expected) << value;
}

TEST(HugeFileFunctions, FileSize) {
  vornak::test::TempDir dir;
  EXPECT_EQ(GetHugeFileSize(dir.WriteFile("empty")), 0);
  EXPECT_EQ(GetHugeFileSize(dir.WriteFile("five", "12345")), 5);
  EXPECT_EQ(GetHugeFileSize(dir.WriteFile("\xC3\x84pfel \xE2\x82\xAC.bin", "123")), 3);
  for (const std::string& path : {std::string(), dir.Join("missing"), dir.Path(), dir.Join("f*")})
    EXPECT_EQ(GetHugeFileSize(path), -1) << path;
#ifndef _WIN32
  // Opening a FIFO with no writer would block; the query must answer at once.
  const std::string fifo = dir.Join("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(GetHugeFileSize(fifo), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
#endif

  // Sparse files: a low half with its top bit set, a high half of 1 with a low
  // half of 0, and both halves in use.
  for (const std::uintmax_t size : {3000000000ULL, 4294967296ULL, 6442450945ULL}) {
    const std::string sparse = dir.WriteFile("sparse");
    std::error_code error;
    std::filesystem::resize_file(Native(sparse), size, error);
    if (error) GTEST_SKIP() << "no sparse file of " << size << " bytes here";
    EXPECT_EQ(GetHugeFileSize(sparse), static_cast<double>(size));
  }
}

TEST(HugeFileFunctions, FreeSpaceAndErrorText) {
  vornak::test::TempDir dir;
  EXPECT_GT(GetHugeDiskFreeSpace(dir.Path()), 0);
  EXPECT_EQ(GetHugeDiskFreeSpace(dir.Join("missing")), -1);
  EXPECT_EQ(GetHugeDiskFreeSpace(""), -1);
#ifdef _WIN32
  // A drive letter without a medium behind it.
  const DWORD drives = ::GetLogicalDrives();
  for (char letter = 'Y'; letter > 'C'; --letter) {
    if ((drives & (1u << (letter - 'A'))) == 0) {
      EXPECT_EQ(GetHugeDiskFreeSpace(std::string(1, letter) + ":\\"), -1) << letter;
      break;
    }
  }
  EXPECT_GT(GetHugeDiskFreeSpace(dir.Path().substr(0, 3)), 0);
  // The system's own text, its line break kept in the program's form.
  for (const std::int32_t code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_DISK_FULL}) {
    const std::string text = GetSystemErrorText(code);
    EXPECT_NE(text, "Unknown Error.") << code;
    EXPECT_TRUE(text.size() > 1 && text.back() == '\n' && text.find('\r') == std::string::npos) << text;
  }
#else
  EXPECT_EQ(GetSystemErrorText(ENOENT), "No such file or directory\n");
  EXPECT_EQ(GetSystemErrorText(EACCES), "Permission denied\n");
#endif
  for (const std::int32_t code : {99999, -1}) EXPECT_EQ(GetSystemErrorText(code), "Unknown Error.") << code;
}

}  // namespace
