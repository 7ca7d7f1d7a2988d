// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "parts/PartSize.h"
#include "parts/Presets.h"

namespace {

using namespace vornak;
using Rows = std::vector<std::string>;

// Written with "." as the decimal separator; also checked with "," for ".".
// clang-format off
const std::pair<std::string, double> kSizeRows[] = {
    {"", 0}, {"    ", 0}, {"0", 0}, {"   12345  ", 12345}, {"12KB", 12288}, {"12.34 KB", 12637},
    {"1 mb", 1048576}, {"700 MB (CD-R 80 min)", 734003200}, {"95.77 MB (ZIP 100)", 100422124},
    {"1457664 (Diskette)", 1457664}, {"0.2", 1}, {"-1.5 KB", 1536}, {"-0.5", 0}, {"+7", 7}, {"12.", 12},
    {".5 KB", 512}, {"12 (", 12}, {"MB", -1}, {"12 GB", -1}, {"10 KB (1 MB)", -1}, {"1457664 (Number)", -1},
    {".", -1}, {"- 5", -1}, {"(12)", -1}, {"12 34", -1}, {"1.2.3", -1}, {"1,000", -1}, {"1e3", -1},
    {"0x10", -1}, {"inf", -1}, {"\t12", -1}, {"12\t", -1}};
// clang-format on

TEST(GetPartSize, TableUnderBothSeparators) {
  for (const auto& [text, expected] : kSizeRows) {
    std::string comma = text;
    for (char& c : comma) c = c == '.' ? ',' : c == ',' ? '.' : c;
    EXPECT_EQ(getPartSize(text, '.'), expected) << '"' << text << '"';
    EXPECT_EQ(getPartSize(comma, ','), expected) << '"' << comma << '"';
  }
}

TEST(Presets, DefaultRowsReadBackUnderTheirSeparator) {
  const double expected[] = {734003200, 681574400, 100422124, 1457521, 65536, 4096, 1024, 512};
  for (const char separator : {'.', ','}) {
    const Rows rows = defaultPresetRows(separator);
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i)
      EXPECT_EQ(getPartSize(rows[i], separator), expected[i]) << rows[i];
  }
}

// A click sets the share of the file left of it; a right click a part count,
// 2 in the middle to about 20 at the ends (right button, x -> size text).
TEST(Presets, ClickToSize) {
  // clang-format off
  const std::tuple<bool, double, std::string> rows[] = {
      {false, 108, "1500000"}, {false, 0, "13888"}, {true, 54, "750000"}, {true, 200, "230770"},
      {true, 216, "136364"}};
  // clang-format on
  for (const auto& [right, x, size] : rows)
    EXPECT_EQ(clickToSize(3000000, true, 216, DiagramClick{right, false, x}), size) << right << " " << x;
}

}  // namespace
