// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/RangeCopySize.h"

#include <algorithm>

namespace vornak {

RangeCopySize::RangeCopySize(std::size_t blockSize, double progressStep)
    : smallest_(std::max<std::size_t>(blockSize, 1)),
      largest_(std::max(
          smallest_, progressStep >= double(kLargest) ? kLargest : static_cast<std::size_t>(progressStep))),
      size_(smallest_) {}

void RangeCopySize::took(std::chrono::steady_clock::duration elapsed, bool whole) {
  if (elapsed > kSlow)
    size_ = std::max(size_ / 2, smallest_);
  else if (whole && elapsed < kSlow / 4)
    size_ = std::min(size_ * 2, largest_);
}

}  // namespace vornak
