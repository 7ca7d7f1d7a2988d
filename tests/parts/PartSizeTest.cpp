// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "parts/PartSize.h"
#include "parts/Presets.h"

namespace {

using namespace vornak;
using Rows = std::vector<std::string>;

// Written with "." as the decimal separator; also checked with "," for ".".
// clang-format off
const std::pair<std::string, double> kSizeRows[] = {
    {"", 0}, {"    ", 0}, {"0", 0}, {"   12345  ", 12345}, {"000012", 12}, {"12KB", 12288}, {"12.34 KB", 12637},
    {"1 mb", 1048576}, {"1.5 MB", 1572864}, {"700 MB (CD-R 80 min)", 734003200}, {"95.77 MB (ZIP 100)", 100422124},
    {"1.39 MB (Diskette)", 1457521}, {"1457664 (Diskette)", 1457664}, {"12 KB for the old drive", 12288},
    {"0.2", 1}, {"-1.5 KB", 1536}, {"-0.5", 0}, {"+7", 7}, {"12.", 12}, {".5 KB", 512}, {"12 (", 12},
    {"MB", -1}, {"abc", -1}, {"12 GB", -1}, {"10 KB (1 MB)", -1}, {"1457664 (Number)", -1}, {".", -1},
    {"-", -1}, {"- 5", -1}, {"(12)", -1}, {"12abc", -1}, {"12 34", -1}, {"1.2.3", -1}, {"1,000", -1},
    {"1e3", -1}, {"0x10", -1}, {"inf", -1}, {"nan", -1}, {"\t12", -1}, {"12\t", -1}};
// clang-format on

TEST(GetPartSize, TableUnderBothSeparators) {
  for (const auto& [text, expected] : kSizeRows) {
    std::string comma = text;
    for (char& c : comma) c = c == '.' ? ',' : c == ',' ? '.' : c;
    EXPECT_EQ(getPartSize(text, '.'), expected) << '"' << text << '"';
    EXPECT_EQ(getPartSize(comma, ','), expected) << '"' << comma << '"';
  }
}

TEST(PartSizeArithmetic, RoundedHugeModAndPlan) {
  // clang-format off
  const std::pair<double, std::optional<std::int32_t>> roundings[] = {
      {2.5, 2}, {2.51, 3}, {-2.7, -2}, {2147483647.0, 2147483647}, {2147483647.6, std::nullopt},
      {-2147483648.9, INT32_MIN}, {NAN, std::nullopt}, {INFINITY, std::nullopt}};
  const std::tuple<double, double, std::optional<double>> mods[] = {
      {3000000, 1048576, 902848}, {-7, 3, -1}, {7, -3, 1}, {9007199254740992.0, 3, 2},
      {5, 0, std::nullopt}, {1e308, 1e-10, std::nullopt}, {NAN, 3, std::nullopt}};
  const double two32 = 4294967296.0, two53 = 9007199254740992.0;
  const std::tuple<double, double, double, double, double> plans[] = {
      {3000000, 1048576, 2, 902848, 3}, {2097152, 1048576, 2, 0, 2}, {100, 1000, 0, 100, 1},
      {two32 + 1, two32, 1, 1, 2}, {two53, 3, 3002399751580330, 2, 3002399751580331},
      {2676586236948250624.0, 83643324844026160.0, 31, 83643166783439664.0, 32}};  // file - rest rounds
  // clang-format on
  for (const auto& [z, expected] : roundings) EXPECT_EQ(rounded(z), expected) << z;
  for (const auto& [a, b, expected] : mods) EXPECT_EQ(hugeMod(a, b), expected) << a << " / " << b;
  for (const auto& [file, part, full, rest, count] : plans) {
    const PartPlan plan = planParts(file, part);
    EXPECT_EQ(std::tuple(plan.fullParts, plan.remainder, plan.count), std::tuple(full, rest, count)) << file;
  }
}

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
