#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "fileservices/Filenames.h"
#include "support/TempDir.h"

namespace {

struct PathRow {
  std::string path;
  std::string extension, stripped, filename, title, folder;
};

// Every row is written with "\" and checked both as it stands and with "\"
// swapped for "/" under the "/" separator.
const PathRow kPathRows[] = {
    {R"(C:\dir\file.txt)", "txt", R"(C:\dir\file)", "file.txt", "file", R"(C:\dir)"},
    {R"(C:\file.txt)", "txt", R"(C:\file)", "file.txt", "file", "C:"},
    {"file.txt", "txt", "file", "file.txt", "file", ""},
    {"file", "", "file", "file", "file", ""},
    {".txt", "txt", "", ".txt", "", ""},
    {"file.", "", "file", "file.", "file", ""},
    {"a.b.c", "c", "a.b", "a.b.c", "a.b", ""},
    {R"(C:\dir.x\file)", R"(x\file)", R"(C:\dir)", "file", "file", R"(C:\dir.x)"},
    {R"(C:\dir\)", "", R"(C:\dir\)", R"(C:\dir\)", R"(C:\dir\)", R"(C:\dir\)"},
    {R"(C:\)", "", R"(C:\)", R"(C:\)", R"(C:\)", R"(C:\)"},
    {"C:", "", "C:", "C:", "C:", ""},
    {R"(\file)", "", R"(\file)", "file", "file", ""},
    {R"(x\y)", "", R"(x\y)", "y", "y", "x"},
    {R"(\\server\share\dir\f.bin)", "bin", R"(\\server\share\dir\f)", "f.bin", "f", R"(\\server\share\dir)"},
    {R"(\\server\share\f.bin)", "bin", R"(\\server\share\f)", "f.bin", "f", R"(\\server\share)"},
    {R"(\\server\share)", "", R"(\\server\share)", "share", "share", R"(\\server)"},
    {"", "", "", "", "", ""},
};

std::string Slashed(std::string text) {
  for (char& c : text) {
    if (c == '\\') c = '/';
  }
  return text;
}

TEST(Filenames, PathTableWithBackslash) {
  for (const PathRow& row : kPathRows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(Filenames::GetExtension(row.path), row.extension);
    EXPECT_EQ(Filenames::StripExtension(row.path), row.stripped);
    EXPECT_EQ(Filenames::GetFilename(row.path, '\\'), row.filename);
    EXPECT_EQ(Filenames::GetTitle(row.path, '\\'), row.title);
    EXPECT_EQ(Filenames::GetFolder(row.path, '\\'), row.folder);
  }
}

TEST(Filenames, PathTableWithSlash) {
  for (const PathRow& row : kPathRows) {
    const std::string path = Slashed(row.path);
    SCOPED_TRACE(path);
    EXPECT_EQ(Filenames::GetExtension(path), Slashed(row.extension));
    EXPECT_EQ(Filenames::StripExtension(path), Slashed(row.stripped));
    EXPECT_EQ(Filenames::GetFilename(path, '/'), Slashed(row.filename));
    EXPECT_EQ(Filenames::GetTitle(path, '/'), Slashed(row.title));
    // The root of the file system stays "/" instead of becoming empty.
    const std::string folder = path == "/file" ? "/" : Slashed(row.folder);
    EXPECT_EQ(Filenames::GetFolder(path, '/'), folder);
  }
}

TEST(Filenames, RootOfTheFileSystem) {
  EXPECT_EQ(Filenames::GetFolder("/movie.avi", '/'), "/");
  EXPECT_EQ(Filenames::GetFolder("/", '/'), "/");
  EXPECT_EQ(Filenames::GetFolder("/data/movie.avi", '/'), "/data");
  EXPECT_EQ(Filenames::GetFolder("\\file", '\\'), "");
  EXPECT_EQ(Filenames::GetFolder("/movie.avi"), "/");  // the platform's separator
  EXPECT_EQ(Filenames::GetFilename("/movie.avi"), "movie.avi");
}

TEST(Filenames, RemoveInvalidChars) {
  struct Row {
    std::string input, output;
    std::int32_t removed;
  };
  const Row rows[] = {
      {R"(a?b:c*d<e>f|g\h/i)", "abcdefghi", 8},
      {R"(a?b:c*d<e>f|g\h/i")", "abcdefghi", 9},
      {R"("a?b:c*d<e>f|g\h/i)", "abcdefghi", 9},
      {"../x", "..x", 1},
      {"a/b/c", "abc", 2},
      {"movie part", "movie part", 0},
      {"", "", 0},
      {std::string("a\tb\x01"), std::string("a\tb\x01"), 0},
      {"\xC3\xA4pfel?", "\xC3\xA4pfel", 1},
      {"????", "", 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    std::string text = row.input;
    EXPECT_EQ(Filenames::RemoveInvalidChars(text), row.removed);
    EXPECT_EQ(text, row.output);
  }
}

std::string MountPointOfTmp(const std::string& path) {
  // The mount point by device numbers: walk up while st_dev stays the same.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  std::string current = path;
  while (current != "/") {
    const std::size_t slash = current.rfind('/');
    const std::string parent = slash == 0 ? "/" : current.substr(0, slash);
    struct stat parentInfo {};
    if (::stat(parent.c_str(), &parentInfo) != 0 || parentInfo.st_dev != info.st_dev) break;
    current = parent;
  }
  return current;
}

TEST(Filenames, GetDrive) {
  EXPECT_EQ(Filenames::GetDrive("/movie.avi"), "/");
  EXPECT_EQ(Filenames::GetDrive("/"), "/");
  EXPECT_EQ(Filenames::GetFolderDrive("/"), "/");
  // Relative and empty paths lie on no volume that can be named.
  for (const char* path : {"", "movie.avi", "x/y", "./movie.avi", "C:\\dir\\file.txt"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(Filenames::GetDrive(path), "");
    EXPECT_EQ(Filenames::GetFolderDrive(path), "");
  }
}

TEST(Filenames, GetDriveOfATemporaryFolder) {
  vornak::test::TempDir dir;
  const std::string file = dir.WriteFile("movie.avi", "x");
  const std::string folder = dir.MakeFolder("sub");
  char* resolved = ::realpath(dir.Path().c_str(), nullptr);
  ASSERT_NE(resolved, nullptr);
  const std::string expected = MountPointOfTmp(resolved);
  std::free(resolved);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(Filenames::GetDrive(file), expected);
  EXPECT_EQ(Filenames::GetDrive(folder + "/"), expected);
  EXPECT_EQ(Filenames::GetFolderDrive(folder), expected);
  EXPECT_EQ(Filenames::GetFolderDrive(dir.Path()), expected);
  // A path that does not exist lies on the volume of its nearest existing folder.
  EXPECT_EQ(Filenames::GetDrive(dir.Join("missing/deeper/movie.avi")), expected);
  EXPECT_EQ(Filenames::GetFolderDrive(dir.Join("missing")), expected);
}

TEST(Filenames, GetDriveOfProcIsItsOwnMount) {
  struct stat info {};
  if (::stat("/proc/self", &info) != 0) GTEST_SKIP() << "no /proc";
  EXPECT_EQ(Filenames::GetFolderDrive("/proc/self"), "/proc");
  EXPECT_EQ(Filenames::GetDrive("/proc/version"), "/proc");
}

}  // namespace
