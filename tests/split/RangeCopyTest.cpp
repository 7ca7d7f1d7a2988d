// SPDX-License-Identifier: GPL-3.0-or-later
// The size of one range copy follows how long the calls take.
#include <gtest/gtest.h>

#include "split/RangeCopySize.h"

namespace vornak {
namespace {

using std::chrono::milliseconds;

TEST(RangeCopySize, GrowsWhileQuickUpToItsCeilingAndHalvesWhenSlow) {
  const struct {
    const char* name;
    std::size_t block;
    double step;
    milliseconds each;
    bool whole;
    std::size_t after;  // the size after 40 such calls
  } rows[] = {
      {"quick calls grow to 64 MiB", 4096, 1e12, milliseconds(1), true, std::size_t{64} << 20},
      {"no more than one step of the progress bar", 4096, 1e6, milliseconds(1), true, 1000000},
      {"a short call does not grow", 4096, 1e12, milliseconds(1), false, 4096},
      {"calls of middling length keep their size", 4096, 1e12, milliseconds(30), true, 4096},
      {"slow calls shrink, never below the block", 65536, 1e12, milliseconds(80), true, 65536},
      {"a block larger than the ceiling stays", std::size_t{128} << 20, 1e12, milliseconds(1), true,
       std::size_t{128} << 20},
  };
  for (const auto& row : rows) {
    RangeCopySize size(row.block, row.step);
    EXPECT_EQ(size.next(), row.block) << row.name;
    for (int i = 0; i < 40; ++i) size.took(row.each, row.whole);
    EXPECT_EQ(size.next(), row.after) << row.name;
  }
  RangeCopySize size(4096, 1e12);
  for (int i = 0; i < 10; ++i) size.took(milliseconds(1), true);
  size.took(milliseconds(120), true);
  EXPECT_EQ(size.next(), std::size_t{4096} << 9) << "one slow call halves";
}

}  // namespace
}  // namespace vornak
