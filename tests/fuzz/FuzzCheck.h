// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every harness shares: a check that stops the run with the input's
// defect named, and the input as text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vornak::fuzz {

inline void check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

inline std::string text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace vornak::fuzz
