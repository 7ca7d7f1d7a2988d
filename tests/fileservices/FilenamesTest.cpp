// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "fileservices/Filenames.h"
#include "support/TempDir.h"

#ifdef _WIN32
#include "fileservices/win32/Drives.h"
#else
#include <sys/stat.h>
#endif

namespace {

using namespace std::string_literals;

// Written with "\"; checked as it stands and with "/" for "\". Only the folder
// differs: the root of the file system stays "/". The drive is the Windows
// one, with \\srv\share taken for an existing share.
struct PathRow {
  std::string path, extension, stripped, filename, title, folder, slashFolder, drive;
};
// clang-format off
const PathRow kPathRows[] = {
    {R"(C:\dir\file.txt)", "txt", R"(C:\dir\file)", "file.txt", "file", R"(C:\dir)", "C:/dir", "C:"},
    {R"(C:\file.txt)", "txt", R"(C:\file)", "file.txt", "file", "C:", "C:", "C:"},
    {"file.txt", "txt", "file", "file.txt", "file", "", "", ""},
    {"file", "", "file", "file", "file", "", "", ""},
    {".txt", "txt", "", ".txt", "", "", "", ""},
    {"file.", "", "file", "file.", "file", "", "", ""},
    {"a.b.c", "c", "a.b", "a.b.c", "a.b", "", "", ""},
    {R"(C:\dir.x\file)", R"(x\file)", R"(C:\dir)", "file", "file", R"(C:\dir.x)", "C:/dir.x", "C:"},
    {R"(C:\dir\)", "", R"(C:\dir\)", R"(C:\dir\)", R"(C:\dir\)", R"(C:\dir\)", "C:/dir/", "C:"},
    {R"(C:\)", "", R"(C:\)", R"(C:\)", R"(C:\)", R"(C:\)", "C:/", "C:"},
    {"C:", "", "C:", "C:", "C:", "", "", ""},
    {R"(\file)", "", R"(\file)", "file", "file", "", "/", ""},
    {R"(x\y)", "", R"(x\y)", "y", "y", "x", "x", ""},
    {R"(\\srv\share\dir\f.bin)", "bin", R"(\\srv\share\dir\f)", "f.bin", "f", R"(\\srv\share\dir)", "//srv/share/dir", R"(\\srv\share)"},
    {R"(\\srv\share\f.bin)", "bin", R"(\\srv\share\f)", "f.bin", "f", R"(\\srv\share)", "//srv/share", R"(\\srv\share)"},
    {R"(\\srv\share)", "", R"(\\srv\share)", "share", "share", R"(\\srv)", "//srv", ""},
    {"", "", "", "", "", "", "", ""}};
// clang-format on

std::string slashed(std::string text) {
  for (char& c : text) c = c == '\\' ? '/' : c;
  return text;
}

TEST(Filenames, PathTableWithBothSeparators) {
  for (const PathRow& r : kPathRows) {
    for (const char sep : {'\\', '/'}) {
      const auto in = [sep](const std::string& s) { return sep == '/' ? slashed(s) : s; };
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

TEST(Filenames, RemoveInvalidChars) {
  // clang-format off
  const std::pair<std::string, std::string> rows[] = {
      {R"(a?b:c*d<e>f|g\h/i")", "abcdefghi"}, {"../x", "..x"}, {"movie part", "movie part"},
      {"\xC3\xA4pfel?", "\xC3\xA4pfel"}, {"", ""}, {"abc\0def.bin"s, "abcdef.bin"}, {"a\tb\x1F\x7F\n", "ab"}};
  // clang-format on
  for (const auto& [input, output] : rows) {
    std::string text = input;
    EXPECT_EQ(Filenames::removeInvalidChars(text), static_cast<std::int32_t>(input.size() - output.size()));
    EXPECT_EQ(text, output) << input;
  }
}

#ifdef _WIN32
TEST(Filenames, GetDrive) {
  for (const PathRow& r : kPathRows) {
    std::vector<std::string> probed;
    const auto probe = [&probed](const std::string& folder) {
      probed.push_back(folder);
      return folder == R"(\\srv\share\)";
    };
    EXPECT_EQ(vornak::win32::driveOfFolder(Filenames::getFolder(r.path), probe), r.drive) << r.path;
    if (r.path.rfind(R"(\\)", 0) != 0) {
      EXPECT_EQ(Filenames::getDrive(r.path), r.drive) << r.path;
    }
    // The server alone is never taken for the share.
    if (!probed.empty()) {
      EXPECT_EQ(probed.front(), R"(\\srv\)") << r.path;
    }
  }
  EXPECT_EQ(Filenames::getFolderDrive("D:"), "D:");
  EXPECT_EQ(Filenames::getFolderDrive(R"(D:\Data\Sub)"), "D:");
  // A share that cannot be reached is no drive.
  EXPECT_EQ(Filenames::getDrive(R"(\\nowhere.invalid\share\f.bin)"), "");
}
#else
TEST(Filenames, GetDrive) {
  EXPECT_EQ(Filenames::getDrive("/movie.avi"), "/");
  EXPECT_EQ(Filenames::getFolderDrive("/"), "/");
  EXPECT_EQ(Filenames::getFolderDrive("/proc/self"), "/proc");
  for (const char* path : {"", "movie.avi", "C:\\dir\\file.txt"})
    EXPECT_EQ(Filenames::getDrive(path), "") << path;
  // The mount point holds the folder on the same device, and the folder above it is on another one.
  vornak::test::TempDir dir;
  const std::string drive = Filenames::getFolderDrive(dir.path());
  struct stat folder = {}, top = {}, above = {};
  ASSERT_EQ(::stat(dir.path().c_str(), &folder) | ::stat(drive.c_str(), &top), 0) << drive;
  EXPECT_EQ(top.st_dev, folder.st_dev);
  EXPECT_TRUE(drive == "/" || (::stat((drive + "/..").c_str(), &above) == 0 && above.st_dev != top.st_dev));
  EXPECT_EQ(Filenames::getDrive(dir.writeFile("movie.avi")), drive);
  EXPECT_EQ(Filenames::getDrive(dir.join("missing/deeper/movie.avi")), drive);
}
#endif

}  // namespace
