// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vornak {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

template <typename Int>
std::optional<Int> readInt(const std::string& text) {
  const std::optional<double> value = leadingNumber(text);
  if (!value) return std::nullopt;
  // The default rounding mode rounds halves to the even neighbour.
  const double rounded = std::nearbyint(*value);
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max()))
    return std::nullopt;
  return static_cast<Int>(rounded);
}

// The power of ten of the first non-zero digit of the number in [first, last)
// (digits, an optional point, an optional exponent), saturated far beyond the
// range of a double: "123e4" gives 6, "0.05" gives -2, zero gives -kFar.
constexpr long long kFar = 1000000;
long long decimalMagnitude(const char* first, const char* last) {
  const char* p = first;
  long long integerDigits = 0, leadingZeros = 0, fractionZeros = 0;
  bool found = false, point = false;
  for (; p < last && (isDigit(*p) || (*p == '.' && !point)); ++p) {
    if (*p == '.') {
      point = true;
    } else if (!point) {
      ++integerDigits;
      if (!found && *p == '0') ++leadingZeros;
      found = found || *p != '0';
    } else if (!found) {
      if (*p == '0') ++fractionZeros;
      found = *p != '0';
    }
  }
  if (!found) return -kFar;
  const long long magnitude =
      integerDigits > leadingZeros ? integerDigits - leadingZeros - 1 : -(fractionZeros + 1);
  long long exponent = 0;
  if (p + 1 < last && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    for (; p < last && isDigit(*p); ++p) exponent = std::min(exponent * 10 + (*p - '0'), kFar);
    if (negative) exponent = -exponent;
  }
  return magnitude + exponent;
}

}  // namespace

std::optional<double> leadingNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Only digits or a decimal point followed by a digit start a number; this
  // also keeps "inf" and "nan" out.
  const bool starts = i < text.size() &&
                      (isDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && isDigit(text[i + 1])));
  if (!starts) return 0.0;
  double value = 0;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // from_chars reports both ends of the range this way: the decimal
    // magnitude of the value tells which (a tiny number is 0).
    return decimalMagnitude(first, ptr) >= 0 ? std::nullopt : std::optional<double>(0.0);
  }
  if (ec != std::errc()) return 0.0;
  if (!std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<std::int32_t> readInt32(const std::string& text) {
  return readInt<std::int32_t>(text);
}

std::optional<std::int16_t> readInt16(const std::string& text) {
  return readInt<std::int16_t>(text);
}

std::int32_t bufferSizeFromText(const std::string& text) {
  const std::int32_t size = readInt32(text).value_or(0);
  return size < 1 ? 4096 : size;
}

std::int16_t overwriteModeFromText(const std::string& text) {
  return readInt16(text).value_or(0);
}

}  // namespace vornak
