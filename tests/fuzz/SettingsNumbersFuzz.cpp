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

// The leading number's text (blanks, tabs and line feeds skipped), or empty.
std::string leadingText(const std::string& text) {
  const auto digits = [&](std::size_t i) { return text.find_first_not_of("0123456789", i) - i; };
  std::size_t start = text.find_first_not_of(" \t\n"), i = start;
  if (start == std::string::npos) return {};
  if (text[i] == '+' || text[i] == '-') ++i;
  std::size_t count = std::min(digits(i), text.size() - i);
  i += count;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fraction = std::min(digits(i + 1), text.size() - i - 1);
    count += fraction, i += 1 + fraction;
  }
  if (count == 0) return {};
  std::size_t e = i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E') ? i + 1 : std::string::npos;
  if (e != std::string::npos && (text[e] == '+' || text[e] == '-')) ++e;
  if (e != std::string::npos && e < text.size() && digits(e) > 0) i = std::min(e + digits(e), text.size());
  return text.substr(start, i - start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::setlocale(LC_NUMERIC, "C");
  const std::string text = vornak::fuzz::text(data, size);
  const std::optional<double> value = vornak::leadingNumber(text);
  const std::string number = leadingText(text);
  errno = 0;
  const double expected = number.empty() ? 0 : std::strtod(number.c_str(), nullptr);
  if (errno == ERANGE && std::fabs(expected) > 1) {
    check(!value, "a number beyond a double is too large");
  } else {
    check(value.has_value(), "a number within range is read");
    // Below the normal range the reader may give 0 for a tiny number.
    check(*value == expected || (std::fabs(expected) < std::numeric_limits<double>::min() && *value == 0),
          "the value differs from strtod's reading");
  }
  if (value && std::fabs(*value) < 1e9)
    check(vornak::readInt32(text) == std::nearbyint(*value), "whole numbers round half to even");
  check(vornak::bufferSizeFromText(text) >= 1, "the copy buffer holds at least one byte");
  const std::int16_t mode = vornak::overwriteModeFromText(text);
  check(mode == 0 || (value && mode == std::nearbyint(*value)),
        "the overwrite mode is the rounded number or 0");
  return 0;
}
