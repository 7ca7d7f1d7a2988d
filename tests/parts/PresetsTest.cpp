#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parts/PartSize.h"
#include "parts/Presets.h"

namespace {

using Rows = std::vector<std::string>;

TEST(DefaultPresetRows, BothSeparators) {
  EXPECT_EQ(vornak::DefaultPresetRows('.'),
            (Rows{"700 MB (CD-R 80 min)", "650 MB (CD-R 74 min)", "95.77 MB (ZIP 100)", "1.39 MB (Diskette)",
                  "64 KB", "4096", "1024", "512"}));
  EXPECT_EQ(vornak::DefaultPresetRows(','),
            (Rows{"700 MB (CD-R 80 min)", "650 MB (CD-R 74 min)", "95,77 MB (ZIP 100)", "1,39 MB (Diskette)",
                  "64 KB", "4096", "1024", "512"}));
}

TEST(DefaultPresetRows, ReadBackUnderTheSameSeparator) {
  const double expected[] = {734003200, 681574400, 100422124, 1457521, 65536, 4096, 1024, 512};
  for (const char separator : {'.', ','}) {
    const Rows rows = vornak::DefaultPresetRows(separator);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(vornak::GetPartSize(rows[i], separator), expected[i]) << rows[i];
    }
  }
}

TEST(UpdatePartSizeList, MostRecentlyUsed) {
  const Rows start{"700 MB (CD-R 80 min)", "650 MB (CD-R 74 min)", "A", "B", "C", "D", "E", "F"};
  struct Row {
    std::string text;
    Rows expected;
  };
  const Row rows[] = {
      {"2 MB", {"2 MB", "700 MB (CD-R 80 min)", "650 MB (CD-R 74 min)", "A", "B", "C", "D", "E"}},
      {"A", {"A", "700 MB (CD-R 80 min)", "650 MB (CD-R 74 min)", "B", "C", "D", "E", "F"}},
      {"700 MB (CD-R 80 min)", start},
      {"F", {"F", "700 MB (CD-R 80 min)", "650 MB (CD-R 74 min)", "A", "B", "C", "D", "E"}},
      {"a", {"a", "700 MB (CD-R 80 min)", "650 MB (CD-R 74 min)", "A", "B", "C", "D", "E"}},
      {" A", {" A", "700 MB (CD-R 80 min)", "650 MB (CD-R 74 min)", "A", "B", "C", "D", "E"}},
      {"", {"", "700 MB (CD-R 80 min)", "650 MB (CD-R 74 min)", "A", "B", "C", "D", "E"}},
  };
  for (const Row& row : rows) {
    Rows list = start;
    vornak::UpdatePartSizeList(list, row.text);
    EXPECT_EQ(list, row.expected) << '"' << row.text << '"';
  }
}

TEST(UpdatePartSizeList, TheLastEqualRowMovesUp) {
  Rows list{"X", "A", "Y", "A", "Z"};
  vornak::UpdatePartSizeList(list, "A");
  EXPECT_EQ(list, (Rows{"A", "X", "A", "Y", "Z"}));
  Rows empty;
  vornak::UpdatePartSizeList(empty, "A");
  EXPECT_TRUE(empty.empty());
}

TEST(ClickToSize, ClicksIntoTheDiagram) {
  struct Row {
    bool right, ctrl;
    double x;
    std::string expected;
  };
  const Row rows[] = {
      {false, false, 108, "1500000"}, {false, false, 0, "13888"},     {false, false, 216, "2986111"},
      {false, false, -40, "13888"},   {false, false, 500, "2986111"}, {true, false, 54, "750000"},
      {true, false, 108, "1500000"},  {true, false, 107, "1500000"},  {true, false, 109, "1500000"},
      {true, false, 200, "230770"},   {true, false, 11, "150000"},    {true, false, 10, "136364"},
      {true, false, 3, "136364"},     {true, false, 0, "136364"},     {true, false, 216, "136364"},
      {false, true, 54, "750000"},    {true, true, 54, "750000"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE((row.right ? "right " : "") + std::string(row.ctrl ? "ctrl " : "") + std::to_string(row.x));
    EXPECT_EQ(vornak::ClickToSize(3000000, true, 216, vornak::DiagramClick{row.right, row.ctrl, row.x}),
              row.expected);
  }
}

TEST(ClickToSize, NothingWithoutAFile) {
  const vornak::DiagramClick click{false, false, 108};
  EXPECT_EQ(vornak::ClickToSize(3000000, false, 216, click), std::nullopt);
  EXPECT_EQ(vornak::ClickToSize(0, true, 216, click), std::nullopt);
  EXPECT_EQ(vornak::ClickToSize(-1, true, 216, click), std::nullopt);
  EXPECT_EQ(vornak::ClickToSize(0.5, true, 216, click), std::nullopt);
  // A file smaller than the strip can give 0 near the left end.
  EXPECT_EQ(vornak::ClickToSize(100, true, 216, vornak::DiagramClick{false, false, 1}), "0");
}

}  // namespace
