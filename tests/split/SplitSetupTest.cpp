// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window shows before a split: the source as typed, its size,
// the plan for a part size, clicks into the diagram and where Browse starts.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "fileservices/SystemFileInterface.h"
#include "split/SplitSetup.h"
#include "support/TempDir.h"

namespace vornak {
namespace {

struct SplitSetupTest : ::testing::Test {
  test::TempDir dir;
  SplitSetup setup{systemFileInterface(), dir.join("elsewhere")};
  std::string sized(const std::string& name, std::uintmax_t size) {
    const std::string path = dir.writeFile(name);
    std::filesystem::resize_file(test::native(path), size);
    return path;
  }
};

// Sizes as the system gives them, also beyond 32 bits: a low half with its
// top bit set, a high half of 1 with a low half of 0, both halves in use.
TEST_F(SplitSetupTest, SourceNamesAreTakenLiterallyWithTheirSizes) {
  sized("disk.img", 1474560), sized(".hidden", 3), sized("\xC3\x84pfel \xE2\x82\xAC.bin", 0);
  sized("3e9", 3000000000ULL), sized("2^32", 4294967296ULL), sized("6g", 6442450945ULL),
      dir.makeFolder("folder");
#ifndef _WIN32  // no such names on Windows
  sized("a*b?.txt", 5);
  ASSERT_EQ(::mkfifo(dir.join("pipe").c_str(), 0600), 0);
#endif
  // "$/" stands for the test's folder in the typed text and in the source path.
  // clang-format off
  const struct { std::string typed, source; double size; } cases[] = {
      {"  $/disk.img  ", "$/disk.img", 1474560}, {"\t$/disk.img", "", -1},  // only blanks are trimmed
      {"$/.hidden", "$/.hidden", 3}, {"$/folder", "", -1}, {"$/missing", "", -1}, {"   ", "", -1},
      {"$/\xC3\x84pfel \xE2\x82\xAC.bin", "$/\xC3\x84pfel \xE2\x82\xAC.bin", 0}, {"$/3e9", "$/3e9", 3e9},
      {"$/2^32", "$/2^32", 4294967296.0}, {"$/6g", "$/6g", 6442450945.0}, {"$/disk*", "", -1}, {"$/disk.im?", "", -1},
#ifndef _WIN32
      {"$/a*b?.txt", "$/a*b?.txt", 5}, {"$/a*", "", -1}, {"$/pipe", "$/pipe", -1},  // never opened
#endif
  };
  // clang-format on
  auto expand = [this](std::string s) {
    for (std::size_t at; (at = s.find("$/")) != std::string::npos;) s.replace(at, 2, dir.join(""));
    return s;
  };
  for (const auto& c : cases) {
    setup.setFileText(expand(c.typed));
    EXPECT_EQ(setup.state().sourcePath, expand(c.source)) << c.typed;
    EXPECT_EQ(setup.state().fileSize, c.size) << c.typed;
  }
}

// The plan's pictures and texts are the diagram's own; here: what the window gets.
TEST_F(SplitSetupTest, SplitIsOfferedForMoreThanOnePartAndClicksSetSizes) {
  EXPECT_FALSE(setup.sizeForClick(DiagramClick{false, false, 108}, 216));  // no source: a click does nothing
  setup.setFileText(sized("movie.avi", 3000000));
  const std::pair<const char*, bool> cases[] = {{"", false},        {"1 MB", true},    {"abc", false},
                                                {"3000000", false}, {"2999999", true}, {"0", false}};
  for (const auto& [size, split] : cases) {
    setup.setPartSizeText(size, '.');
    EXPECT_EQ(setup.canSplit(), split) << size;
  }
  setup.setPartSizeText("1 MB", '.');
  EXPECT_EQ(setup.diagram(216, 10).partsText, "3 split files");
  EXPECT_EQ(setup.sizeForClick(DiagramClick{true, false, 54}, 216), "750000");
  setup.setFileText("");  // no source: nothing to plan
  EXPECT_EQ(setup.diagram(216, 10).state, DiagramState::Blank);
  EXPECT_FALSE(setup.canSplit());
}

TEST_F(SplitSetupTest, BrowseStartsInTheTypedFolderThenInTheChosenOne) {
  const std::string typed = dir.join("somewhere/else/file.bin");
  EXPECT_EQ(setup.browseFolder(""), "");
  EXPECT_EQ(setup.browseFolder(typed), dir.join("somewhere/else"));
  EXPECT_EQ(setup.browseFolder(dir.join("another/x")), dir.join("somewhere/else"));  // kept once set
  const std::string picked = sized("picked.bin", 10);
  setup.fileChosen(picked);
  EXPECT_EQ(setup.browseFolder(typed), dir.path());
  setup.setFileText("picked.bin");  // a relative name is read in the folder browsed to
  EXPECT_EQ(setup.state().sourcePath, picked);
}

}  // namespace
}  // namespace vornak
