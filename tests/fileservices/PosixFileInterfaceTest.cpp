// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "fileservices/posix/PosixFileInterface.h"
#include "support/TempDir.h"

namespace {

using vornak::EntryKind;
using vornak::FileInterface;
using namespace std::string_literals;
namespace fs = std::filesystem;

TEST(PosixFileInterface, WriteReadBackAndRecreate) {
  vornak::test::TempDir dir;
  vornak::PosixFileInterface& files = vornak::SystemFileInterface();
  const std::string path = dir.Join("movie01.avi"), data = "part data\0with a zero"s;
  FileInterface::Handle h = FileInterface::kNoHandle;
  std::size_t count = 0;
  ASSERT_EQ(files.CreatePart(path, FileInterface::kNoHandle, h), 0);
  ASSERT_EQ(files.Write(h, data.data(), data.size(), count), 0);
  EXPECT_EQ(count, data.size());
  EXPECT_EQ(files.Sync(h), 0);
  EXPECT_EQ(files.Close(h), 0);
  EXPECT_EQ(files.SyncFileSystem(path), 0);

  std::string back(64, '\0');
  ASSERT_EQ(files.OpenRead(path, h), 0);
  ASSERT_EQ(files.Read(h, back.data(), back.size(), count), 0);
  EXPECT_EQ(back.substr(0, count), data);
  ASSERT_EQ(files.Read(h, back.data(), back.size(), count), 0);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(files.Close(h), 0);

  // Creating it again empties it; a new part takes the source's read and
  // write permissions (0600 without a source).
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  FileInterface::Handle source = FileInterface::kNoHandle;
  ASSERT_EQ(files.OpenRead(path, source), 0);
  ASSERT_EQ(files.CreatePart(path, source, h), 0);
  EXPECT_EQ(files.Close(h), 0);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ASSERT_EQ(::fchmod(source, 04750), 0);
  ASSERT_EQ(files.CreatePart(dir.Join("private"), source, h), 0);
  EXPECT_EQ(files.Close(h) + files.Close(source), 0);
  ASSERT_EQ(::stat(dir.Join("private").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640 & ~mask);
  // A NUL would cut the path short and name another file.
  EXPECT_EQ(files.CreatePart(dir.Join("ab\0cd"s), FileInterface::kNoHandle, h), EINVAL);
  EXPECT_EQ(files.OpenRead(path + "\0x"s, h), EINVAL);
  EXPECT_EQ(files.Lookup(path + "\0x"s), EntryKind::None);
  EXPECT_FALSE(fs::exists(dir.Join("ab")));
  EXPECT_EQ(files.OpenRead(dir.Join("missing"), h), ENOENT);
  EXPECT_EQ(h, FileInterface::kNoHandle);
  EXPECT_EQ(files.CreatePart(dir.MakeFolder("folder"), FileInterface::kNoHandle, h), EISDIR);
}

TEST(PosixFileInterface, LookupAndIdentityFollowLinks) {
  vornak::test::TempDir dir;
  vornak::PosixFileInterface files;
  const std::string source = dir.WriteFile(".hidden", "data"), link = dir.Join("link");
  ASSERT_EQ(::symlink(source.c_str(), link.c_str()), 0);
  ASSERT_EQ(::symlink(dir.Join("nowhere").c_str(), dir.Join("dangling").c_str()), 0);
  ASSERT_EQ(::mkfifo(dir.Join("fifo").c_str(), 0600), 0);
  // clang-format off
  const std::pair<std::string, EntryKind> rows[] = {
      {source, EntryKind::File}, {link, EntryKind::File}, {dir.Path(), EntryKind::Folder},
      {dir.Join("fifo"), EntryKind::Other}, {dir.Join("dangling"), EntryKind::None}, {"", EntryKind::None}};
  // clang-format on
  for (const auto& [path, kind] : rows) EXPECT_EQ(files.Lookup(path), kind) << path;
  EXPECT_EQ(files.LookupEntry(link), EntryKind::Link);
  EXPECT_EQ(files.LookupEntry(dir.Join("dangling")), EntryKind::Link);

  FileInterface::Handle h = FileInterface::kNoHandle;
  ASSERT_EQ(files.OpenRead(source, h), 0);
  const auto id = files.IdOfHandle(h);
  files.Close(h);
  ASSERT_TRUE(id.has_value());
  EXPECT_EQ(files.IdOfPath(link), id);
  EXPECT_NE(files.IdOfPath(dir.WriteFile("other", "data")), id);
  EXPECT_EQ(files.IdOfPath(dir.Join("missing")), std::nullopt);

  // A FIFO at a part path without a reader gives an error at once instead of
  // holding the window.
  EXPECT_EQ(files.CreatePart(dir.Join("fifo"), FileInterface::kNoHandle, h), ENXIO);
}

}  // namespace
