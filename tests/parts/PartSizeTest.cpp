#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "parts/PartSize.h"

namespace {

using vornak::GetPartSize;

struct SizeRow {
  std::string text;  // written with "." as the decimal separator
  double expected;
};

const SizeRow kSizeRows[] = {
    {"", 0},
    {"    ", 0},
    {"0", 0},
    {"12345", 12345},
    {"   12345  ", 12345},
    {"12 KB", 12288},
    {"12KB", 12288},
    {"12.34 KB", 12637},
    {"1 MB", 1048576},
    {"1 mb", 1048576},
    {"1 Mb", 1048576},
    {"1.5 MB", 1572864},
    {"700 MB (CD-R 80 min)", 734003200},
    {"650 MB (CD-R 74 min)", 681574400},
    {"95.77 MB (ZIP 100)", 100422124},
    {"1.39 MB (Diskette)", 1457521},
    {"64 KB", 65536},
    {"1457664 (Diskette)", 1457664},
    {"12 KB for the old drive", 12288},
    {"0.2", 1},
    {"-5", 5},
    {"-1.5 KB", 1536},
    {"-0.5", 0},
    {"+7", 7},
    {"MB", -1},
    {"abc", -1},
    {"12 GB", -1},
    {"10 KB (1 MB)", -1},
    {"1457664 (Number)", -1},
    // Decided forms: digits on one side of the separator are enough.
    {"12.", 12},
    {".5 KB", 512},
    {".", -1},
    {"-", -1},
    {"- 5", -1},
    // Texts that only partly read as a number.
    {"12abc", -1},
    {"12 34", -1},
    {"1.2.3", -1},
    {"1,000", -1},
    {"1e3", -1},
    {"0x10", -1},
    {"inf", -1},
    {"nan", -1},
    {"\t12", -1},
    {"12\t", -1},
    {"12 (", 12},
    {"(12)", -1},
    {"000012", 12},
};

std::string WithComma(std::string text) {
  for (char& c : text) {
    if (c == '.') {
      c = ',';
    } else if (c == ',') {
      c = '.';
    }
  }
  return text;
}

TEST(GetPartSize, TableWithFullStop) {
  for (const SizeRow& row : kSizeRows) {
    EXPECT_EQ(GetPartSize(row.text, '.'), row.expected) << '"' << row.text << '"';
  }
}

TEST(GetPartSize, TableWithComma) {
  for (const SizeRow& row : kSizeRows) {
    const std::string text = WithComma(row.text);
    EXPECT_EQ(GetPartSize(text, ','), row.expected) << '"' << text << '"';
  }
  // The other locale's separator is not a decimal separator.
  EXPECT_EQ(GetPartSize("95.77 MB", ','), -1);
  EXPECT_EQ(GetPartSize("95,77 MB", '.'), -1);
}

TEST(GetPartSize, HugeNumbers) {
  EXPECT_EQ(GetPartSize("1" + std::string(400, '0'), '.'), -1);
  EXPECT_EQ(GetPartSize(std::string(308, '9') + " MB", '.'), -1);  // the product overflows
  EXPECT_EQ(GetPartSize(std::string(400, '9') + ".5", '.'), -1);
  EXPECT_EQ(GetPartSize("0." + std::string(400, '0') + "1", '.'), 1);
  EXPECT_EQ(GetPartSize("-0." + std::string(400, '0') + "1", '.'), 0);
  EXPECT_EQ(GetPartSize(std::string(400, '0') + "7", '.'), 7);
  // Large but representable: a positive whole number, the split command refuses it later.
  const double big = GetPartSize("99999999999999999999 MB", '.');
  EXPECT_TRUE(std::isfinite(big));
  EXPECT_EQ(big, std::fabs(std::floor(-(1e20 * 1048576.0))));
  EXPECT_EQ(GetPartSize("9007199254740993", '.'), 9007199254740992.0);  // nearest double
}

TEST(GetPartSize, JunkOfAnyLength) {
  std::string junk;
  for (int i = 0; i < 5000; ++i) junk += static_cast<char>(32 + (i * 37) % 95);
  EXPECT_EQ(GetPartSize(junk, '.'), -1);
  EXPECT_EQ(GetPartSize("12 KB" + junk, '.'), 12288);
  EXPECT_EQ(GetPartSize(std::string(5000, ' ') + "3" + std::string(5000, ' '), '.'), 3);
  EXPECT_EQ(GetPartSize(std::string(5000, '('), '.'), -1);
  EXPECT_EQ(GetPartSize(std::string("12\0 KB", 6), '.'), -1);
}

TEST(Rounded, Table) {
  struct Row {
    double z;
    std::optional<std::int32_t> expected;
  };
  const Row rows[] = {
      {0, 0},
      {2.5, 2},
      {2.51, 3},
      {21.6, 22},
      {7.2, 7},
      {-2.7, -2},
      {-2.5, -2},
      {2147483647.0, 2147483647},
      {3e9, std::nullopt},
      {2147483647.6, std::nullopt},
      {-2147483648.9, -2147483647 - 1},
      {-3e9, std::nullopt},
      {NAN, std::nullopt},
      {INFINITY, std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(vornak::Rounded(row.z), row.expected) << row.z;
  }
}

TEST(HugeMod, Table) {
  struct Row {
    double dividend, divisor;
    std::optional<double> expected;
  };
  const Row rows[] = {
      {3000000, 1048576, 902848},
      {2097152, 1048576, 0},
      {-7, 3, -1},
      {7, -3, 1},
      {9007199254740992.0, 3, 2},
      {9007199254740991.0, 1048576, 1048575},
      {5, 0, std::nullopt},
      {1e308, 1e-10, std::nullopt},
      {INFINITY, 3, std::nullopt},
      {NAN, 3, std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(vornak::HugeMod(row.dividend, row.divisor), row.expected)
        << row.dividend << " / " << row.divisor;
  }
}

TEST(PlanParts, Table) {
  struct Row {
    double fileSize, partSize;
    double fullParts, remainder, count;
  };
  const double two32 = 4294967296.0;
  const double two53 = 9007199254740992.0;
  const Row rows[] = {
      {3000000, 1048576, 2, 902848, 3},
      {2097152, 1048576, 2, 0, 2},
      {1000000, 999999, 1, 1, 2},
      {100, 1000, 0, 100, 1},
      {two32, 1048576, 4096, 0, 4096},
      {two32 + 1, 1048576, 4096, 1, 4097},
      {two32 - 1, 1048576, 4095, 1048575, 4096},
      {two32 + 1, two32, 1, 1, 2},
      {two32 - 1, two32, 0, two32 - 1, 1},
      {two53, 1, two53, 0, two53},
      {two53, 3, 3002399751580330, 2, 3002399751580331},
      {two53 - 1, two53, 0, two53 - 1, 1},
      {two53, 734003200, 12271335, 96468992, 12271336},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.fileSize) + " / " + std::to_string(row.partSize));
    const vornak::PartPlan plan = vornak::PlanParts(row.fileSize, row.partSize);
    EXPECT_EQ(plan.fullParts, row.fullParts);
    EXPECT_EQ(plan.remainder, row.remainder);
    EXPECT_EQ(plan.count, row.count);
    EXPECT_EQ(plan.fullParts * row.partSize + plan.remainder, row.fileSize);
  }
}

TEST(NumberText, ShortestTextWithTheSeparator) {
  struct Row {
    double value;
    std::string point, comma;
  };
  const Row rows[] = {
      {12.34, "12.34", "12,34"},
      {700, "700", "700"},
      {95.77, "95.77", "95,77"},
      {1.39, "1.39", "1,39"},
      {1.234, "1.234", "1,234"},
      {0.5, "0.5", "0,5"},
      {-2.5, "-2.5", "-2,5"},
      {4096, "4096", "4096"},
      {1e20, "100000000000000000000", "100000000000000000000"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(vornak::NumberText(row.value, '.'), row.point);
    EXPECT_EQ(vornak::NumberText(row.value, ','), row.comma);
  }
}

TEST(PlainDigits, WholeNumbers) {
  EXPECT_EQ(vornak::PlainDigits(3000000), "3000000");
  EXPECT_EQ(vornak::PlainDigits(0), "0");
  EXPECT_EQ(vornak::PlainDigits(-0.0), "0");
  EXPECT_EQ(vornak::PlainDigits(902848), "902848");
  EXPECT_EQ(vornak::PlainDigits(9007199254740992.0), "9007199254740992");
  EXPECT_EQ(vornak::PlainDigits(1e20), "100000000000000000000");
}

}  // namespace
