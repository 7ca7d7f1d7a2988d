// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Failures that have no message of their own (a window that cannot be shown,
// a caption that cannot be set) do not stop the step they happen in: the
// first one is kept and reported once the work reaches its next checkpoint.
#include <exception>
#include <string>

namespace vornak {

// Runs operation; when it throws and failure is still empty, failure takes the
// description.
template <typename Operation>
void runGuarded(std::string& failure, Operation&& operation) {
  try {
    operation();
  } catch (const std::exception& e) {
    if (failure.empty()) failure = e.what();
  } catch (...) {
    if (failure.empty()) failure = "Unknown failure.";
  }
}

}  // namespace vornak
