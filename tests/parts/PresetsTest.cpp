// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "parts/PartSize.h"
#include "parts/Presets.h"

namespace {

using namespace vornak;

using Rows = std::vector<std::string>;

TEST(Presets, DefaultRowsReadBackUnderTheirSeparator) {
  EXPECT_EQ(defaultPresetRows(',')[2] + defaultPresetRows(',')[3], "95,77 MB (ZIP 100)1,39 MB (Diskette)");
  const double expected[] = {734003200, 681574400, 100422124, 1457521, 65536, 4096, 1024, 512};
  for (const char separator : {'.', ','}) {
    const Rows rows = defaultPresetRows(separator);
    ASSERT_EQ(rows.size(), 8u);
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(getPartSize(rows[i], separator), expected[i]);
  }
}

TEST(Presets, MostRecentlyUsed) {
  // clang-format off
  const std::pair<std::string, std::string> rows[] = {
      {"2 MB", "2 MB|X|Y|A|B|C|D|E"}, {"A", "A|X|Y|B|C|D|E|F"}, {"X", "X|Y|A|B|C|D|E|F"},
      {"F", "F|X|Y|A|B|C|D|E"}, {"a", "a|X|Y|A|B|C|D|E"}, {" A", " A|X|Y|A|B|C|D|E"}};
  // clang-format on
  for (const auto& [text, expected] : rows) {
    Rows list{"X", "Y", "A", "B", "C", "D", "E", "F"};
    updatePartSizeList(list, text);
    std::string joined;
    for (const std::string& row : list) joined += (joined.empty() ? "" : "|") + row;
    EXPECT_EQ(joined, expected) << '"' << text << '"';
  }
  Rows list{"X", "A", "Y", "A", "Z"};  // the last equal row moves up
  updatePartSizeList(list, "A");
  EXPECT_EQ(list, (Rows{"A", "X", "A", "Y", "Z"}));
}

TEST(Presets, ClickToSize) {
  // clang-format off
  const std::tuple<bool, bool, double, std::string> rows[] = {  // right button, Ctrl, x -> size text
      {false, false, 108, "1500000"}, {false, false, 0, "13888"},    {false, false, 500, "2986111"},
      {true, false, 54, "750000"},    {true, false, 107, "1500000"}, {true, false, 109, "1500000"},
      {true, false, 200, "230770"},   {true, false, 11, "150000"},   {true, false, 10, "136364"},
      {true, false, 216, "136364"},   {false, true, 54, "750000"},   {true, true, 54, "750000"}};
  // clang-format on
  for (const auto& [right, ctrl, x, size] : rows)
    EXPECT_EQ(clickToSize(3000000, true, 216, DiagramClick{right, ctrl, x}), size)
        << right << ctrl << " " << x;
  const DiagramClick click{false, false, 108};
  EXPECT_EQ(clickToSize(3000000, false, 216, click), std::nullopt);
  EXPECT_EQ(clickToSize(0.5, true, 216, click), std::nullopt);
  EXPECT_EQ(clickToSize(100, true, 216, DiagramClick{false, false, 1}), "0");
}

}  // namespace
