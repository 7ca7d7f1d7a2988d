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

TEST_F(SplitSetupTest, SourceNamesAreTakenLiterally) {
  sized("disk.img", 1474560), sized(".hidden", 3), sized("big", 4294967296ULL), dir.makeFolder("folder");
#ifndef _WIN32  // no such names on Windows
  sized("a*b?.txt", 5);
  ASSERT_EQ(::mkfifo(dir.join("pipe").c_str(), 0600), 0);
#endif
  // "$/" stands for the test's folder in the typed text and in the source path.
  const struct {
    std::string typed, source;
    double size;
  } cases[] = {
      {"  $/disk.img  ", "$/disk.img", 1474560},
      {"\t$/disk.img", "", -1},  // only blanks are trimmed
      {"$/.hidden", "$/.hidden", 3},
      {"$/folder", "", -1},
      {"$/missing", "", -1},
      {"   ", "", -1},
      {"$/disk*", "", -1},
      {"$/disk.im?", "", -1},
      {"$/big", "$/big", 4294967296.0},
#ifndef _WIN32
      {"$/a*b?.txt", "$/a*b?.txt", 5},
      {"$/a*", "", -1},
      {"$/pipe", "$/pipe", -1},  // never opened
#endif
  };
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

TEST_F(SplitSetupTest, PlanForEachPartSize) {
  setup.setFileText(sized("movie.avi", 3000000));
  const std::string click = "Click to define the size of the split files";
  const struct {
    const char* size;
    DiagramState state;
    std::string tooltip, summary;
    bool split;
  } cases[] = {
      {"", DiagramState::OnePart, click, "", false},
      {"1 MB", DiagramState::Parts, "2 x 1048576 Bytes  +  1 x 902848 Bytes", "3 split files", true},
      {"1000000", DiagramState::Parts, "3 x 1000000 Bytes", "3 split files", true},
      {"abc", DiagramState::SizeError, "Check the 'Size of split files'.", "", false},
      {"3000000", DiagramState::TooLong, "The 'Size of split files' is too long.", "", false},
      {"2999999", DiagramState::Parts, "1 x 2999999 Bytes  +  1 x 1 Bytes", "2 split files", true},
      {"1 KB", DiagramState::TooManyParts, "2929 x 1024 Bytes  +  1 x 704 Bytes", "2930 split files", true},
      {"0", DiagramState::OnePart, click, "", false},
  };
  for (const auto& c : cases) {
    setup.setPartSizeText(c.size, '.');
    const Diagram diagram = setup.diagram(216, 10);
    EXPECT_EQ(diagram.state, c.state) << c.size;
    EXPECT_EQ(diagram.tooltip, c.tooltip) << c.size;
    EXPECT_EQ(diagram.partsText, c.summary) << c.size;
    EXPECT_EQ(setup.canSplit(), c.split) << c.size;
  }
  setup.setFileText("");  // no source: nothing to plan
  EXPECT_EQ(setup.diagram(216, 10).state, DiagramState::Blank);
  EXPECT_FALSE(setup.canSplit());
}

TEST_F(SplitSetupTest, ClicksIntoTheDiagramGiveSizes) {
  const auto size = [this](bool right, bool ctrl, double x) {
    return setup.sizeForClick(DiagramClick{right, ctrl, x}, 216).value_or("none");
  };
  EXPECT_EQ(size(false, false, 108), "none");  // without a source a click does nothing
  setup.setFileText(sized("movie.avi", 3000000));
  const struct {
    bool right, ctrl;
    double x;
    const char* text;
  } cases[] = {
      {false, false, 108, "1500000"}, {false, false, 0, "13888"},    {false, false, 216, "2986111"},
      {true, false, 54, "750000"},    {true, false, 107, "1500000"}, {true, false, 109, "1500000"},
      {true, false, 200, "230770"},   {true, false, 11, "150000"},   {true, false, 10, "136364"},
      {true, false, 0, "136364"},     {false, true, 54, "750000"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(size(c.right, c.ctrl, c.x), c.text) << c.x << (c.right ? " right" : "");
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
