#include "app/SettingsNumbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vornak {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

template <typename Int>
std::optional<Int> ReadInt(const std::string& text) {
  const std::optional<double> value = LeadingNumber(text);
  if (!value) return std::nullopt;
  // The default rounding mode rounds halves to the even neighbour.
  const double rounded = std::nearbyint(*value);
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max()))
    return std::nullopt;
  return static_cast<Int>(rounded);
}

}  // namespace

std::optional<double> LeadingNumber(const std::string& text) {
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
                      (IsDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && IsDigit(text[i + 1])));
  if (!starts) return 0.0;
  double value = 0;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // from_chars also reports an underflow this way; a tiny number is 0.
    std::size_t mantissa = 0;
    while (first + mantissa < last && (IsDigit(first[mantissa]) || first[mantissa] == '.')) ++mantissa;
    std::string digits(first, mantissa);
    bool anyNonZero = false;
    for (char c : digits) anyNonZero = anyNonZero || (c >= '1' && c <= '9');
    const char* exponent = first + mantissa;
    const bool negativeExponent = exponent + 1 < last && exponent[1] == '-';
    if (anyNonZero && !negativeExponent) return std::nullopt;
    return 0.0;
  }
  if (ec != std::errc()) return 0.0;
  if (!std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<std::int32_t> ReadInt32(const std::string& text) {
  return ReadInt<std::int32_t>(text);
}

std::optional<std::int16_t> ReadInt16(const std::string& text) {
  return ReadInt<std::int16_t>(text);
}

std::int32_t BufferSizeFromText(const std::string& text) {
  const std::int32_t size = ReadInt32(text).value_or(0);
  return size < 1 ? 4096 : size;
}

std::int16_t OverwriteModeFromText(const std::string& text) {
  return ReadInt16(text).value_or(0);
}

}  // namespace vornak
