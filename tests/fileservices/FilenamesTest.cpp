// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "fileservices/Filenames.h"
#include "support/TempDir.h"

#ifdef _WIN32
#include "fileservices/win32/Drives.h"
#else
#include <sys/stat.h>
#endif

namespace {

// Written with "\"; checked as it stands and with "/" for "\". Only the folder
// differs: the root of the file system stays "/". The drive is the Windows
// one, with \\srv\share taken for an existing share.
struct PathRow {
  std::string path, extension, stripped, filename, title, folder, slashFolder, drive;
};
// clang-format off
const PathRow kPathRows[] = {
    {R"(C:\dir\file.txt)", "txt", R"(C:\dir\file)", "file.txt", "file", R"(C:\dir)", "C:/dir", "C:"},
    {"file.txt", "txt", "file", "file.txt", "file", "", "", ""},
    {".txt", "txt", "", ".txt", "", "", "", ""},
    {"file.", "", "file", "file.", "file", "", "", ""},
    {R"(C:\dir.x\file)", R"(x\file)", R"(C:\dir)", "file", "file", R"(C:\dir.x)", "C:/dir.x", "C:"},
    {R"(C:\dir\)", "", R"(C:\dir\)", R"(C:\dir\)", R"(C:\dir\)", R"(C:\dir\)", "C:/dir/", "C:"},
    {R"(\file)", "", R"(\file)", "file", "file", "", "/", ""},
    {R"(\\srv\share\f.bin)", "bin", R"(\\srv\share\f)", "f.bin", "f", R"(\\srv\share)", "//srv/share", R"(\\srv\share)"},
    {R"(\\srv\share)", "", R"(\\srv\share)", "share", "share", R"(\\srv)", "//srv", ""},
    {"", "", "", "", "", "", "", ""}};
// clang-format on

TEST(Filenames, PathTableWithBothSeparators) {
  for (const PathRow& r : kPathRows) {
    for (const char sep : {'\\', '/'}) {
      const auto in = [sep](std::string text) {
        for (char& c : text) c = c == '\\' ? sep : c;
        return text;
      };
      const std::string path = in(r.path);
      SCOPED_TRACE(path);
      EXPECT_EQ(Filenames::getExtension(path), in(r.extension));
      EXPECT_EQ(Filenames::stripExtension(path), in(r.stripped));
      EXPECT_EQ(Filenames::getFilename(path, sep), in(r.filename));
      EXPECT_EQ(Filenames::getTitle(path, sep), in(r.title));
      EXPECT_EQ(Filenames::getFolder(path, sep), sep == '/' ? r.slashFolder : r.folder);
    }
  }
  EXPECT_EQ(Filenames::getFolder("/", '/'), "/");
}

#ifdef _WIN32
TEST(Filenames, GetDrive) {
  const auto probe = [](const std::string& folder) { return folder == R"(\\srv\share\)"; };
  for (const PathRow& r : kPathRows)
    EXPECT_EQ(vornak::win32::driveOfFolder(Filenames::getFolder(r.path), probe), r.drive) << r.path;
  EXPECT_EQ(Filenames::getDrive(R"(D:\Data\movie.avi)"), "D:");
  EXPECT_EQ(Filenames::getFolderDrive("D:"), "D:");
  EXPECT_EQ(Filenames::getDrive(R"(\\nowhere.invalid\share\f.bin)"), "");
}
#else
// The mount point holds the folder on the same device, and the folder above
// it is on another one; a folder yet to be made is on its parent's.
TEST(Filenames, GetDrive) {
  for (const char* path : {"", "movie.avi", "C:\\dir\\file.txt"})
    EXPECT_EQ(Filenames::getDrive(path), "") << path;
  EXPECT_EQ(Filenames::getDrive("/movie.avi"), "/");
  EXPECT_EQ(Filenames::getFolderDrive("/proc/self"), "/proc");
  vornak::test::TempDir dir;
  const std::string drive = Filenames::getFolderDrive(dir.path());
  struct stat folder = {}, top = {}, above = {};
  ASSERT_EQ(::stat(dir.path().c_str(), &folder) | ::stat(drive.c_str(), &top), 0) << drive;
  EXPECT_EQ(top.st_dev, folder.st_dev);
  EXPECT_TRUE(drive == "/" || (::stat((drive + "/..").c_str(), &above) == 0 && above.st_dev != top.st_dev));
  EXPECT_EQ(Filenames::getDrive(dir.join("missing/deeper/movie.avi")), drive);
}
#endif

}  // namespace
