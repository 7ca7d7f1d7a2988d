// SPDX-License-Identifier: GPL-3.0-or-later
// The system's file interface and free-space queries with each platform's own
// rules: modes, links and FIFOs on POSIX systems; sharing and other spellings of
// a name on Windows. Sizes beyond 32 bits are checked through SplitSetup.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "fileservices/Filenames.h"
#include "fileservices/HugeFileFunctions.h"
#include "fileservices/SystemFileInterface.h"
#include "support/TempDir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace {

using vornak::EntryKind;
using vornak::FileInterface;
using vornak::test::TempDir;
using namespace std::string_literals;
#ifdef _WIN32
const int kNotFound = ERROR_FILE_NOT_FOUND, kFolderNotFound = ERROR_PATH_NOT_FOUND,
          kBadName = ERROR_INVALID_NAME;
#else
const int kNotFound = ENOENT, kFolderNotFound = ENOENT, kBadName = EINVAL;
#endif

// A part's life, under names the system must carry unchanged: letters beyond
// ASCII, and paths far beyond the classic 260 characters.
TEST(PlatformFileInterface, PartWrittenNamedAndReadBack) {
  TempDir dir;
  vornak::PlatformFileInterface& files = vornak::systemFileInterface();
  const std::string folder = std::string(120, 'f');
  for (const std::string& path :
       {dir.join("\xC3\x84pfel \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC.bin"),
        dir.makeFolder(folder + "/" + folder + "/" + folder) + TempDir::kSeparator + std::string(100, 'p')}) {
    SCOPED_TRACE(path);
    const std::string data = "part data\0with a zero"s, named = path + "n";
    FileInterface::Handle h = FileInterface::kNoHandle, other = FileInterface::kNoHandle;
    std::size_t count = 0;
    ASSERT_EQ(files.createPart(path, FileInterface::kNoHandle, h), 0);
    ASSERT_EQ(files.write(h, data.data(), data.size(), count), 0);
    EXPECT_EQ(count, data.size());
    // Nobody else writes it, and no other run takes it for a leftover.
    EXPECT_TRUE(FileInterface::meansExists(files.createPart(path, FileInterface::kNoHandle, other)));
    EXPECT_NE(files.removeUnused(path), 0);
    EXPECT_EQ(files.sync(h), 0);
    const auto id = files.idOfHandle(h);
    EXPECT_EQ(files.close(h), 0);
    std::ofstream(vornak::test::native(named)) << "an old part";
    EXPECT_EQ(files.replaceable(named), 0);
    EXPECT_EQ(files.rename(path, named), 0);  // replacing the old part
    EXPECT_EQ(files.syncFileSystem(named), 0);
    EXPECT_EQ(std::tuple(files.lookup(path), files.lookup(named)),
              std::tuple(EntryKind::None, EntryKind::File));
    EXPECT_EQ(files.stampOfPath(named).value_or(vornak::FileStamp{}).size, static_cast<double>(data.size()));
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(files.idOfPath(named), id);
    const std::vector<std::string> names = files.folderEntries(Filenames::getFolder(named));
    EXPECT_EQ(std::ranges::count(names, Filenames::getFilename(named)) + std::ranges::count(names, ".."), 1);

    std::string back(64, '\0');
    ASSERT_EQ(files.openRead(named, h), 0);
    ASSERT_EQ(files.openRead(named, other), 0);  // others may read the source while it is split
    EXPECT_EQ(files.close(other), 0);
    ASSERT_EQ(files.seek(h, 5), 0);
    ASSERT_EQ(files.read(h, back.data(), back.size(), count), 0);
    EXPECT_EQ(back.substr(0, count), data.substr(5));
    ASSERT_EQ(files.read(h, back.data(), back.size(), count), 0);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(files.close(h), 0);
    EXPECT_EQ(files.removeUnused(named), 0);  // nobody holds it now
    EXPECT_EQ(files.lookup(named), EntryKind::None);
  }
}

TEST(PlatformFileInterface, FailuresLookupAndIdentity) {
  TempDir dir;
  vornak::PlatformFileInterface files;
  FileInterface::Handle h = FileInterface::kNoHandle;
  EXPECT_EQ(files.openRead(dir.join("missing"), h), kNotFound);
  EXPECT_EQ(h, FileInterface::kNoHandle);
  EXPECT_EQ(files.createPart(dir.join("missing/movie1.avi"), FileInterface::kNoHandle, h), kFolderNotFound);
  EXPECT_TRUE(
      FileInterface::meansExists(files.createPart(dir.makeFolder("folder"), FileInterface::kNoHandle, h)));
  // A NUL would cut the path short and name another file.
  EXPECT_EQ(files.createPart(dir.join("ab\0cd"s), FileInterface::kNoHandle, h), kBadName);
  EXPECT_EQ(files.openRead(dir.join("folder\0x"s), h), kBadName);

  const std::string source = dir.writeFile(".source.bin", "data"), hardLink = dir.join("hard.bin");
  // clang-format off
  const std::pair<std::string, EntryKind> rows[] = {
      {source, EntryKind::File}, {dir.path(), EntryKind::Folder}, {dir.join("missing"), EntryKind::None},
      {dir.join(".source.*"), EntryKind::None}, {source + "\0x"s, EntryKind::None}, {"", EntryKind::None}};
  // clang-format on
  for (const auto& [path, kind] : rows) EXPECT_EQ(files.lookup(path), kind) << path;

  // One file under other names: a second link to it, another spelling.
  std::filesystem::create_hard_link(vornak::test::native(source), vornak::test::native(hardLink));
  ASSERT_EQ(files.openRead(source, h), 0);
  const auto id = files.idOfHandle(h);
  files.close(h);
  ASSERT_TRUE(id.has_value());
  EXPECT_EQ(files.idOfPath(hardLink), id);
  EXPECT_NE(files.idOfPath(dir.writeFile("other.bin", "data")), id);
  EXPECT_EQ(files.idOfPath(dir.join("missing")), std::nullopt);
#ifdef _WIN32
  EXPECT_EQ(files.idOfPath(dir.join("dummy\\..\\.SOURCE.BIN")), id);
#else
  // Links are followed, except by lookupEntry; a FIFO without a reader gives
  // an error at once instead of holding the window.
  const std::string link = dir.join("link"), dangling = dir.join("dangling"), fifo = dir.join("fifo");
  ASSERT_EQ(::symlink(source.c_str(), link.c_str()) | ::symlink("nowhere", dangling.c_str()), 0);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(files.idOfPath(link), id);
  EXPECT_EQ(std::tuple(files.lookup(link), files.lookup(dangling), files.lookup(fifo)),
            std::tuple(EntryKind::File, EntryKind::None, EntryKind::Other));
  EXPECT_EQ(std::tuple(files.lookupEntry(link), files.lookupEntry(dangling)),
            std::tuple(EntryKind::Link, EntryKind::Link));
  EXPECT_EQ(files.openRead(fifo, h), 0);
  EXPECT_EQ(files.close(h), 0);
  for (const std::string& path : {link, dangling}) {  // a link is replaced, never written through
    ASSERT_TRUE(FileInterface::meansExists(files.createPart(path, FileInterface::kNoHandle, h)));
    ASSERT_EQ(files.createPart(dir.join("temporary"), FileInterface::kNoHandle, h), 0);
    EXPECT_EQ(files.close(h) | files.rename(dir.join("temporary"), path), 0);
    EXPECT_EQ(files.lookupEntry(path), EntryKind::File);
  }
  EXPECT_EQ(HugeFileFunctions::getHugeFileSize(source), 4);
  EXPECT_FALSE(std::filesystem::exists(dir.join("nowhere")));

  // A new part takes the source's read and write permissions, the umask still applying.
  ASSERT_EQ(::chmod(source.c_str(), 04750), 0);
  ASSERT_EQ(files.openRead(source, h), 0);
  FileInterface::Handle part = FileInterface::kNoHandle;
  ASSERT_EQ(files.createPart(dir.join("part"), h, part), 0);
  EXPECT_EQ(files.close(part) | files.close(h), 0);
  struct stat info {};
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ASSERT_EQ(::stat(dir.join("part").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640 & ~mask);
#endif
}

TEST(HugeFileFunctions, FreeSpaceAndErrorText) {
  vornak::test::TempDir dir;
  EXPECT_GT(HugeFileFunctions::getHugeDiskFreeSpace(dir.path()), 0);
  EXPECT_EQ(HugeFileFunctions::getHugeDiskFreeSpace(dir.join("missing")), -1);
  EXPECT_EQ(HugeFileFunctions::getHugeDiskFreeSpace(""), -1);
  for (const std::int32_t code : {99999, -1})
    EXPECT_EQ(HugeFileFunctions::getSystemErrorText(code), "Unknown Error.") << code;
#ifdef _WIN32
  // The system's own text, its line break kept in the program's form.
  for (const std::int32_t code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_DISK_FULL}) {
    const std::string text = HugeFileFunctions::getSystemErrorText(code);
    EXPECT_NE(text, "Unknown Error.") << code;
    EXPECT_TRUE(text.size() > 1 && text.back() == '\n' && text.find('\r') == std::string::npos) << text;
  }
#else
  EXPECT_EQ(HugeFileFunctions::getSystemErrorText(ENOENT) + HugeFileFunctions::getSystemErrorText(EACCES),
            "No such file or directory\nPermission denied\n");
  // What every user may write: not the superuser's reserve, where the medium keeps one.
  struct statvfs info {};
  ASSERT_EQ(::statvfs(dir.path().c_str(), &info), 0);
  EXPECT_NEAR(HugeFileFunctions::getHugeDiskFreeSpace(dir.path()),
              static_cast<double>(info.f_bavail * info.f_frsize),
              static_cast<double>((info.f_bfree - info.f_bavail) * info.f_frsize / 2 + 100000000));
#endif
}

}  // namespace
