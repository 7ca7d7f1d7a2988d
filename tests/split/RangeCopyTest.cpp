// SPDX-License-Identifier: GPL-3.0-or-later
// The size of one range copy follows how long the calls take.
#include <gtest/gtest.h>

#include "split/RangeCopySize.h"

namespace vornak {
namespace {

TEST(RangeCopySize, GrowsWhileQuickUpToItsCeilingAndHalvesWhenSlow) {
  using std::chrono::milliseconds;
  const std::size_t mb64 = std::size_t{64} << 20, mb128 = 2 * mb64;
  RangeCopySize size(4096, 1e12), stepped(4096, 1e6), large(mb128, 1e12);
  for (int i = 0; i < 40; ++i)
    size.took(milliseconds(1), true), stepped.took(milliseconds(1), true), large.took(milliseconds(1), true);
  EXPECT_EQ(size.next(), mb64);         // quick calls grow up to 64 MiB
  EXPECT_EQ(stepped.next(), 1000000u);  // and one step of the progress bar;
  EXPECT_EQ(large.next(), mb128);       // a larger block stays
  size.took(milliseconds(80), true);    // a slow call halves,
  size.took(milliseconds(1), false);    // a short one does not grow,
  size.took(milliseconds(30), true);    // nor one of middling length
  EXPECT_EQ(size.next(), mb64 / 2);
  for (int i = 0; i < 40; ++i) size.took(milliseconds(80), true);
  EXPECT_EQ(size.next(), 4096u);  // never below the block
}

}  // namespace
}  // namespace vornak
