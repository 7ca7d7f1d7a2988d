// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>

#include "fileservices/HugeFileFunctions.h"
#include "fileservices/win32/WideText.h"
#include "fileservices/win32/Win32FileInterface.h"
#include "support/TempDir.h"

namespace {

using vornak::EntryKind;
using vornak::FileInterface;
using namespace std::string_literals;

// Names the system must carry unchanged: letters beyond ASCII, and paths far
// beyond the classic 260 characters.
struct NameRow {
  const char* name;
  std::string (*make)(const vornak::test::TempDir&);
};
void PrintTo(const NameRow& row, std::ostream* out) {
  *out << row.name;
}
std::string plain(const vornak::test::TempDir& dir) {
  return dir.join("movie01.avi");
}
std::string nonAscii(const vornak::test::TempDir& dir) {
  return dir.join("\xC3\x84pfel \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC.bin");
}
std::string longPath(const vornak::test::TempDir& dir) {
  const std::string folder = std::string(120, 'f');
  return dir.makeFolder(folder + "\\" + folder + "\\" + folder) + "\\" + std::string(100, 'p') + ".bin";
}

class Win32Names : public testing::TestWithParam<NameRow> {};

TEST_P(Win32Names, WriteReadBackAndRecreate) {
  vornak::test::TempDir dir;
  vornak::Win32FileInterface& files = vornak::systemFileInterface();
  const std::string path = GetParam().make(dir), data = "part data\0with a zero"s;
  FileInterface::Handle h = FileInterface::kNoHandle;
  std::size_t count = 0;
  ASSERT_EQ(files.createPart(path, FileInterface::kNoHandle, h), 0) << path.size();
  ASSERT_EQ(files.write(h, data.data(), data.size(), count), 0);
  EXPECT_EQ(count, data.size());
  EXPECT_EQ(files.sync(h), 0);
  const auto id = files.idOfHandle(h);
  EXPECT_EQ(files.close(h), 0);
  EXPECT_EQ(files.syncFileSystem(path), 0);
  EXPECT_EQ(files.lookup(path), EntryKind::File);
  EXPECT_EQ(HugeFileFunctions::getHugeFileSize(path), static_cast<double>(data.size()));
  ASSERT_TRUE(id.has_value());
  EXPECT_EQ(files.idOfPath(path), id);

  std::string back(64, '\0');
  ASSERT_EQ(files.openRead(path, h), 0);
  // The source may be read by others while it is split, but not written.
  FileInterface::Handle other = FileInterface::kNoHandle;
  ASSERT_EQ(files.openRead(path, other), 0);
  EXPECT_EQ(files.close(other), 0);
  EXPECT_EQ(files.createPart(path, FileInterface::kNoHandle, other), ERROR_SHARING_VIOLATION);
  ASSERT_EQ(files.read(h, back.data(), back.size(), count), 0);
  EXPECT_EQ(back.substr(0, count), data);
  ASSERT_EQ(files.read(h, back.data(), back.size(), count), 0);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(files.close(h), 0);

  ASSERT_EQ(files.createPart(path, FileInterface::kNoHandle, h), 0);  // creating it again empties it
  EXPECT_EQ(files.close(h), 0);
  EXPECT_EQ(HugeFileFunctions::getHugeFileSize(path), 0);
  EXPECT_EQ(files.idOfPath(path), id);
}

INSTANTIATE_TEST_SUITE_P(Table, Win32Names,
                         testing::Values(NameRow{"Plain", plain}, NameRow{"NonAscii", nonAscii},
                                         NameRow{"LongPath", longPath}),
                         [](const testing::TestParamInfo<NameRow>& info) { return info.param.name; });

TEST(Win32FileInterface, FailuresLookupAndIdentity) {
  vornak::test::TempDir dir;
  vornak::Win32FileInterface files;
  FileInterface::Handle h = FileInterface::kNoHandle;
  EXPECT_EQ(files.openRead(dir.join("missing"), h), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(h, FileInterface::kNoHandle);
  EXPECT_EQ(files.createPart(dir.join("missing\\movie1.avi"), FileInterface::kNoHandle, h),
            ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(files.createPart(dir.makeFolder("folder"), FileInterface::kNoHandle, h),
            FileInterface::kIsFolderError);
  EXPECT_EQ(files.createPart("movie\0.avi"s, FileInterface::kNoHandle, h),
            ERROR_INVALID_NAME);  // never cut at the NUL
  EXPECT_EQ(files.errorText(ERROR_FILE_NOT_FOUND),
            HugeFileFunctions::getSystemErrorText(ERROR_FILE_NOT_FOUND));

  const std::string source = dir.writeFile("source.bin", "data");
  // clang-format off
  const std::pair<std::string, EntryKind> rows[] = {
      {source, EntryKind::File}, {dir.path(), EntryKind::Folder}, {dir.join("missing"), EntryKind::None},
      {dir.join("source.*"), EntryKind::None}, {"", EntryKind::None}};
  // clang-format on
  for (const auto& [path, kind] : rows) EXPECT_EQ(files.lookup(path), kind) << path;

  // One file under other names: a second link to it, another spelling.
  const std::string hardLink = dir.join("hard.bin");
  ASSERT_TRUE(::CreateHardLinkW(vornak::win32::widen(hardLink).c_str(), vornak::win32::widen(source).c_str(),
                                nullptr));
  ASSERT_EQ(files.openRead(source, h), 0);
  const auto id = files.idOfHandle(h);
  files.close(h);
  ASSERT_TRUE(id.has_value());
  EXPECT_EQ(files.idOfPath(hardLink), id);
  EXPECT_EQ(files.idOfPath(dir.join("dummy\\..\\SOURCE.BIN")), id);
  EXPECT_NE(files.idOfPath(dir.writeFile("other.bin", "data")), id);
  EXPECT_NE(files.idOfPath(dir.path()), id);
  EXPECT_EQ(files.idOfPath(dir.join("missing")), std::nullopt);
}

}  // namespace
