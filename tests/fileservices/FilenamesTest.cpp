#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "fileservices/Filenames.h"
#include "support/TempDir.h"

namespace {

// Written with "\"; checked as it stands and with "/" for "\". Only the folder
// differs: the root of the file system stays "/".
struct PathRow {
  std::string path, extension, stripped, filename, title, folder, slashFolder;
};
// clang-format off
const PathRow kPathRows[] = {
    {R"(C:\dir\file.txt)", "txt", R"(C:\dir\file)", "file.txt", "file", R"(C:\dir)", "C:/dir"},
    {R"(C:\file.txt)", "txt", R"(C:\file)", "file.txt", "file", "C:", "C:"},
    {"file.txt", "txt", "file", "file.txt", "file", "", ""},
    {"file", "", "file", "file", "file", "", ""},
    {".txt", "txt", "", ".txt", "", "", ""},
    {"file.", "", "file", "file.", "file", "", ""},
    {"a.b.c", "c", "a.b", "a.b.c", "a.b", "", ""},
    {R"(C:\dir.x\file)", R"(x\file)", R"(C:\dir)", "file", "file", R"(C:\dir.x)", "C:/dir.x"},
    {R"(C:\dir\)", "", R"(C:\dir\)", R"(C:\dir\)", R"(C:\dir\)", R"(C:\dir\)", "C:/dir/"},
    {R"(C:\)", "", R"(C:\)", R"(C:\)", R"(C:\)", R"(C:\)", "C:/"},
    {"C:", "", "C:", "C:", "C:", "", ""},
    {R"(\file)", "", R"(\file)", "file", "file", "", "/"},
    {R"(x\y)", "", R"(x\y)", "y", "y", "x", "x"},
    {R"(\\srv\share\dir\f.bin)", "bin", R"(\\srv\share\dir\f)", "f.bin", "f", R"(\\srv\share\dir)", "//srv/share/dir"},
    {R"(\\srv\share\f.bin)", "bin", R"(\\srv\share\f)", "f.bin", "f", R"(\\srv\share)", "//srv/share"},
    {R"(\\srv\share)", "", R"(\\srv\share)", "share", "share", R"(\\srv)", "//srv"},
    {"", "", "", "", "", "", ""}};
// clang-format on

std::string Slashed(std::string text) {
  for (char& c : text) c = c == '\\' ? '/' : c;
  return text;
}

TEST(Filenames, PathTableWithBothSeparators) {
  for (const PathRow& r : kPathRows) {
    for (const char sep : {'\\', '/'}) {
      const auto in = [sep](const std::string& s) { return sep == '/' ? Slashed(s) : s; };
      const std::string path = in(r.path);
      SCOPED_TRACE(path);
      EXPECT_EQ(Filenames::GetExtension(path), in(r.extension));
      EXPECT_EQ(Filenames::StripExtension(path), in(r.stripped));
      EXPECT_EQ(Filenames::GetFilename(path, sep), in(r.filename));
      EXPECT_EQ(Filenames::GetTitle(path, sep), in(r.title));
      EXPECT_EQ(Filenames::GetFolder(path, sep), sep == '/' ? r.slashFolder : r.folder);
    }
  }
  EXPECT_EQ(Filenames::GetFolder("/"), "/");
}

TEST(Filenames, RemoveInvalidChars) {
  // clang-format off
  const std::pair<std::string, std::string> rows[] = {
      {R"(a?b:c*d<e>f|g\h/i")", "abcdefghi"}, {"../x", "..x"}, {"movie part", "movie part"},
      {"\xC3\xA4pfel?", "\xC3\xA4pfel"}, {"", ""}};
  // clang-format on
  for (const auto& [input, output] : rows) {
    std::string text = input;
    EXPECT_EQ(Filenames::RemoveInvalidChars(text), static_cast<std::int32_t>(input.size() - output.size()));
    EXPECT_EQ(text, output) << input;
  }
}

// The mount point found independently: walk up while the device number stays the same.
std::string MountPointOf(std::string current) {
  struct stat info {
  }, up{};
  if (::stat(current.c_str(), &info) != 0) return {};
  while (current != "/") {
    const std::size_t slash = current.rfind('/');
    const std::string parent = slash == 0 ? "/" : current.substr(0, slash);
    if (::stat(parent.c_str(), &up) != 0 || up.st_dev != info.st_dev) break;
    current = parent;
  }
  return current;
}

TEST(Filenames, GetDrive) {
  EXPECT_EQ(Filenames::GetDrive("/movie.avi"), "/");
  EXPECT_EQ(Filenames::GetFolderDrive("/"), "/");
  for (const char* path : {"", "movie.avi", "C:\\dir\\file.txt"})
    EXPECT_EQ(Filenames::GetDrive(path), "") << path;
  vornak::test::TempDir dir;
  char* resolved = ::realpath(dir.Path().c_str(), nullptr);
  const std::string expected = MountPointOf(resolved);
  std::free(resolved);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(Filenames::GetDrive(dir.WriteFile("movie.avi")), expected);
  EXPECT_EQ(Filenames::GetFolderDrive(dir.Path()), expected);
  EXPECT_EQ(Filenames::GetDrive(dir.Join("missing/deeper/movie.avi")), expected);
  EXPECT_EQ(Filenames::GetFolderDrive("/proc/self"), MountPointOf("/proc/self"));  // its own mount
}

}  // namespace
