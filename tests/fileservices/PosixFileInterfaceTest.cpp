#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "fileservices/posix/PosixFileInterface.h"
#include "support/TempDir.h"

namespace {

using vornak::EntryKind;
using vornak::FileInterface;
using vornak::test::TempDir;

TEST(PosixFileInterface, WriteThenReadBack) {
  TempDir dir;
  vornak::PosixFileInterface& files = vornak::SystemFileInterface();
  const std::string path = dir.Join("movie01.avi");
  using namespace std::string_literals;
  const std::string data = "part data\0with a zero"s;

  FileInterface::Handle out = FileInterface::kNoHandle;
  ASSERT_EQ(files.CreatePart(path, out), 0);
  std::size_t written = 0;
  ASSERT_EQ(files.Write(out, data.data(), data.size(), written), 0);
  EXPECT_EQ(written, data.size());
  EXPECT_EQ(files.Sync(out), 0);
  EXPECT_EQ(files.Close(out), 0);
  EXPECT_EQ(files.SyncFileSystem(path), 0);
  EXPECT_EQ(files.SyncFileSystem(dir.Path()), 0);

  FileInterface::Handle in = FileInterface::kNoHandle;
  ASSERT_EQ(files.OpenRead(path, in), 0);
  std::string back(64, '\0');
  std::size_t read = 0;
  ASSERT_EQ(files.Read(in, back.data(), back.size(), read), 0);
  EXPECT_EQ(back.substr(0, read), data);
  ASSERT_EQ(files.Read(in, back.data(), back.size(), read), 0);
  EXPECT_EQ(read, 0u);  // end of file
  EXPECT_EQ(files.Close(in), 0);

  // Creating the part again empties it.
  ASSERT_EQ(files.CreatePart(path, out), 0);
  EXPECT_EQ(files.Close(out), 0);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 0);
}

TEST(PosixFileInterface, FailuresReportErrorNumbers) {
  TempDir dir;
  vornak::PosixFileInterface files;
  FileInterface::Handle handle = 7;
  EXPECT_EQ(files.OpenRead(dir.Join("missing"), handle), ENOENT);
  EXPECT_EQ(handle, FileInterface::kNoHandle);
  EXPECT_EQ(files.CreatePart(dir.Join("no/such/folder/part"), handle), ENOENT);
  EXPECT_EQ(files.CreatePart(dir.MakeFolder("folder"), handle), EISDIR);
  std::size_t count = 1;
  char byte = 0;
  EXPECT_EQ(files.Read(-1, &byte, 1, count), EBADF);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(files.Write(-1, &byte, 1, count), EBADF);
  EXPECT_EQ(files.ErrorText(ENOENT), "No such file or directory\n");
  EXPECT_GT(files.FreeSpace(dir.Path()), 0);
  EXPECT_EQ(files.FreeSpace(dir.Join("missing")), -1);
}

TEST(PosixFileInterface, LookupKinds) {
  TempDir dir;
  vornak::PosixFileInterface files;
  const std::string file = dir.WriteFile(".hidden", "x");
  const std::string folder = dir.MakeFolder("folder");
  ASSERT_EQ(::symlink(file.c_str(), dir.Join("link").c_str()), 0);
  ASSERT_EQ(::symlink(dir.Join("nowhere").c_str(), dir.Join("dangling").c_str()), 0);
  ASSERT_EQ(::mkfifo(dir.Join("fifo").c_str(), 0600), 0);
  struct Row {
    std::string path;
    EntryKind kind;
  };
  const Row rows[] = {
      {file, EntryKind::File},
      {folder, EntryKind::Folder},
      {dir.Join("link"), EntryKind::File},
      {dir.Join("dangling"), EntryKind::None},
      {dir.Join("fifo"), EntryKind::Other},
      {dir.Join("missing"), EntryKind::None},
      {"", EntryKind::None},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(files.Lookup(row.path), row.kind) << row.path;
  }
}

TEST(PosixFileInterface, IdentityFollowsLinks) {
  TempDir dir;
  vornak::PosixFileInterface files;
  const std::string source = dir.WriteFile("source.bin", "data");
  const std::string other = dir.WriteFile("other.bin", "data");
  ASSERT_EQ(::symlink(source.c_str(), dir.Join("link.bin").c_str()), 0);

  FileInterface::Handle handle = FileInterface::kNoHandle;
  ASSERT_EQ(files.OpenRead(source, handle), 0);
  const auto ofHandle = files.IdOfHandle(handle);
  files.Close(handle);
  ASSERT_TRUE(ofHandle.has_value());
  EXPECT_EQ(files.IdOfPath(dir.Join("link.bin")), ofHandle);
  EXPECT_EQ(files.IdOfPath(source), ofHandle);
  EXPECT_NE(files.IdOfPath(other), ofHandle);
  EXPECT_EQ(files.IdOfPath(dir.Join("missing")), std::nullopt);
  EXPECT_EQ(files.IdOfHandle(-1), std::nullopt);
}

}  // namespace
