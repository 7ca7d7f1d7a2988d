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
  vornak::PosixFileInterface& files = vornak::systemFileInterface();
  const std::string path = dir.join("movie01.avi"), data = "part data\0with a zero"s;
  FileInterface::Handle h = FileInterface::kNoHandle;
  std::size_t count = 0;
  ASSERT_EQ(files.createPart(path, FileInterface::kNoHandle, h), 0);
  ASSERT_EQ(files.write(h, data.data(), data.size(), count), 0);
  EXPECT_EQ(count, data.size());
  EXPECT_EQ(files.sync(h), 0);
  EXPECT_EQ(files.close(h), 0);
  EXPECT_EQ(files.syncFileSystem(path), 0);

  std::string back(64, '\0');
  ASSERT_EQ(files.openRead(path, h), 0);
  ASSERT_EQ(files.read(h, back.data(), back.size(), count), 0);
  EXPECT_EQ(back.substr(0, count), data);
  ASSERT_EQ(files.read(h, back.data(), back.size(), count), 0);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(files.close(h), 0);

  // Creating it again empties it; a new part takes the source's read and
  // write permissions (0600 without a source).
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  FileInterface::Handle source = FileInterface::kNoHandle;
  ASSERT_EQ(files.openRead(path, source), 0);
  ASSERT_EQ(files.createPart(path, source, h), 0);
  EXPECT_EQ(files.close(h), 0);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ASSERT_EQ(::fchmod(source, 04750), 0);
  ASSERT_EQ(files.createPart(dir.join("private"), source, h), 0);
  EXPECT_EQ(files.close(h) + files.close(source), 0);
  ASSERT_EQ(::stat(dir.join("private").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640 & ~mask);
  // A NUL would cut the path short and name another file.
  EXPECT_EQ(files.createPart(dir.join("ab\0cd"s), FileInterface::kNoHandle, h), EINVAL);
  EXPECT_EQ(files.openRead(path + "\0x"s, h), EINVAL);
  EXPECT_EQ(files.lookup(path + "\0x"s), EntryKind::None);
  EXPECT_FALSE(fs::exists(dir.join("ab")));
  EXPECT_EQ(files.openRead(dir.join("missing"), h), ENOENT);
  EXPECT_EQ(h, FileInterface::kNoHandle);
  EXPECT_EQ(files.createPart(dir.makeFolder("folder"), FileInterface::kNoHandle, h), EISDIR);
}

TEST(PosixFileInterface, LookupAndIdentityFollowLinks) {
  vornak::test::TempDir dir;
  vornak::PosixFileInterface files;
  const std::string source = dir.writeFile(".hidden", "data"), link = dir.join("link");
  ASSERT_EQ(::symlink(source.c_str(), link.c_str()), 0);
  ASSERT_EQ(::symlink(dir.join("nowhere").c_str(), dir.join("dangling").c_str()), 0);
  ASSERT_EQ(::mkfifo(dir.join("fifo").c_str(), 0600), 0);
  // clang-format off
  const std::pair<std::string, EntryKind> rows[] = {
      {source, EntryKind::File}, {link, EntryKind::File}, {dir.path(), EntryKind::Folder},
      {dir.join("fifo"), EntryKind::Other}, {dir.join("dangling"), EntryKind::None}, {"", EntryKind::None}};
  // clang-format on
  for (const auto& [path, kind] : rows) EXPECT_EQ(files.lookup(path), kind) << path;
  EXPECT_EQ(files.lookupEntry(link), EntryKind::Link);
  EXPECT_EQ(files.lookupEntry(dir.join("dangling")), EntryKind::Link);

  FileInterface::Handle h = FileInterface::kNoHandle;
  ASSERT_EQ(files.openRead(source, h), 0);
  const auto id = files.idOfHandle(h);
  files.close(h);
  ASSERT_TRUE(id.has_value());
  EXPECT_EQ(files.idOfPath(link), id);
  EXPECT_NE(files.idOfPath(dir.writeFile("other", "data")), id);
  EXPECT_EQ(files.idOfPath(dir.join("missing")), std::nullopt);

  // A FIFO at a part path without a reader gives an error at once instead of
  // holding the window.
  EXPECT_EQ(files.createPart(dir.join("fifo"), FileInterface::kNoHandle, h), ENXIO);
}

}  // namespace
