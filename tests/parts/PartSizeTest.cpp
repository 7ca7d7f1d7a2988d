// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "parts/PartSize.h"

namespace {

using namespace vornak;

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

// Overflow, underflow and junk of any length: the fuzz harness against strtod.

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

}  // namespace
