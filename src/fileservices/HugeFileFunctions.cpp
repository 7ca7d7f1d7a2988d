// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileservices/HugeFileFunctions.h"

// The queries themselves are platform code (posix/HugeFileFunctionsPosix.cpp).

namespace HugeFileFunctions {

double unsignedToDouble(std::int32_t value) {
  return value >= 0 ? static_cast<double>(value) : static_cast<double>(value) + 4294967296.0;
}

}  // namespace HugeFileFunctions
