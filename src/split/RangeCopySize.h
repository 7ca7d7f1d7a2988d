// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <chrono>
#include <cstddef>

namespace vornak {

// How many bytes the next range copy asks for. It starts at the block size
// and doubles while calls come back quickly, up to 64 MiB and one step of the
// progress bar (1 % of the source), and halves when a call takes longer than
// about 50 ms: the progress bar and Cancel then answer in time on a slow
// medium too.
class RangeCopySize {
 public:
  static constexpr std::size_t kLargest = std::size_t{64} << 20;
  static constexpr std::chrono::milliseconds kSlow{50};

  RangeCopySize(std::size_t blockSize, double progressStep);
  std::size_t next() const { return size_; }
  // A call took elapsed; whole: it copied all that it asked for.
  void took(std::chrono::steady_clock::duration elapsed, bool whole);

 private:
  std::size_t smallest_;
  std::size_t largest_;
  std::size_t size_;
};

}  // namespace vornak
