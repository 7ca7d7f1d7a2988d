// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers read from stored settings against strtod on the number the
// reader should have taken from the start of the text.
#include <cerrno>
#include <clocale>
#include <cmath>
#include <limits>

#include "FuzzCheck.h"
#include "settings/SettingsNumbers.h"

namespace {

using vornak::fuzz::check;

bool digit(char c) {
  return c >= '0' && c <= '9';
}

// The leading number's text (blanks, tabs and line feeds skipped), or empty.
std::string leadingText(const std::string& text) {
  std::size_t i = text.find_first_not_of(" \t\n");
  if (i == std::string::npos) return {};
  std::string number;
  if (text[i] == '+' || text[i] == '-') number += text[i++];
  std::size_t digits = 0;
  for (; i < text.size() && digit(text[i]); ++digits) number += text[i++];
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    for (; i < text.size() && digit(text[i]); ++digits) number += text[i++];
  }
  if (digits == 0) return {};
  if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (text[j] == '+' || text[j] == '-') ++j;
    if (j < text.size() && digit(text[j])) {
      while (j < text.size() && digit(text[j])) ++j;
      number += text.substr(i, j - i);
    }
  }
  return number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::setlocale(LC_NUMERIC, "C");
  const std::string text = vornak::fuzz::text(data, size);
  const std::optional<double> value = vornak::leadingNumber(text);
  const std::string number = leadingText(text);
  double expected = 0;
  bool tooLarge = false;
  if (!number.empty()) {
    errno = 0;
    expected = std::strtod(number.c_str(), nullptr);
    tooLarge = errno == ERANGE && std::fabs(expected) > 1;
  }
  if (tooLarge) {
    check(!value, "a number beyond a double is too large");
  } else {
    check(value.has_value(), "a number within range is read");
    // Below the normal range the reader may give 0 for a tiny number.
    check(*value == expected || (std::fabs(expected) < std::numeric_limits<double>::min() && *value == 0),
          "the value differs from strtod's reading");
  }
  const std::optional<std::int32_t> int32 = vornak::readInt32(text);
  if (value && std::fabs(*value) < 1e9)
    check(int32 == std::nearbyint(*value), "whole numbers round half to even");
  check(vornak::bufferSizeFromText(text) >= 1, "the copy buffer holds at least one byte");
  const std::int16_t mode = vornak::overwriteModeFromText(text);
  check(mode == 0 || (value && mode == std::nearbyint(*value)),
        "the overwrite mode is the rounded number or 0");
  return 0;
}
