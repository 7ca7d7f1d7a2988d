// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/PartSize.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string_view>
#include <system_error>

namespace vornak {

namespace {

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Position of the first occurrence of needle (lower-case ASCII) in text, any
// letter case; npos when there is none.
std::size_t findIgnoringCase(std::string_view text, std::string_view needle) {
  if (needle.size() > text.size()) return std::string_view::npos;
  for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && lowerAscii(text[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads a number written as: optional blanks, optional sign, digits with at
// most one decimal separator, optional blanks. At least one digit must stand
// before or after the separator ("12." and ".5" are numbers, "." is not).
// Group separators and exponents are not accepted, and the whole text must be
// used. The digits are converted in one step, so the value is the double
// nearest to the decimal number written.
std::optional<double> parseNumber(std::string_view text, char decimalSeparator) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string canonical;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') canonical += '-';
    ++i;
  }
  bool anyDigit = false;
  bool separatorSeen = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (isDigit(c)) {
      canonical += c;
      anyDigit = true;
    } else if (c == decimalSeparator && !separatorSeen) {
      canonical += '.';
      separatorSeen = true;
    } else {
      break;
    }
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size() || !anyDigit) return std::nullopt;
  // from_chars reads "12." only up to the dot; a lone trailing dot adds nothing.
  if (canonical.back() == '.') canonical.pop_back();
  double value = 0;
  const char* first = canonical.data();
  const char* last = first + canonical.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (error == std::errc::result_out_of_range && end == last) {
    // Too small for a double: a positive size of less than a byte still takes
    // one byte. Too large: not a size.
    const std::size_t digit = canonical.find_first_of("123456789");
    const std::size_t point = canonical.find('.');
    if (digit != std::string::npos && point != std::string::npos && digit > point) {
      return canonical[0] == '-' ? -std::numeric_limits<double>::denorm_min()
                                 : std::numeric_limits<double>::denorm_min();
    }
    return std::nullopt;
  }
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

double getPartSize(const std::string& text, char decimalSeparator) {
  // Only blanks are trimmed; a tab stays and makes the text invalid.
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return 0;
  const std::size_t end = text.find_last_not_of(' ');
  const std::string_view s = std::string_view(text).substr(begin, end - begin + 1);

  double multiplier = 1;
  std::string_view number = s;
  if (const std::size_t mb = findIgnoringCase(s, "mb"); mb != std::string_view::npos) {
    number = s.substr(0, mb);
    multiplier = kMB;
  } else if (const std::size_t kb = findIgnoringCase(s, "kb"); kb != std::string_view::npos) {
    number = s.substr(0, kb);
    multiplier = kKB;
  } else if (const std::size_t paren = s.find('('); paren != std::string_view::npos) {
    number = s.substr(0, paren);
  }

  const std::optional<double> value = parseNumber(number, decimalSeparator);
  if (!value) return -1;
  const double bytes = *value * multiplier;
  if (!std::isfinite(bytes)) return -1;
  // A fraction of a byte rounds up; a negative size counts by its amount.
  return std::fabs(std::floor(-bytes));
}

std::optional<std::int32_t> rounded(double z) {
  if (!std::isfinite(z)) return std::nullopt;
  const double t = std::trunc(z);
  const double result = z - t > 0.5 ? t + 1 : t;
  if (result < std::numeric_limits<std::int32_t>::min() ||
      result > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(result);
}

std::optional<double> hugeMod(double dividend, double divisor) {
  if (divisor == 0) return std::nullopt;
  const double q = dividend / divisor;
  if (!std::isfinite(q)) return std::nullopt;
  // fmod is dividend - trunc(dividend / divisor) * divisor computed exactly, so
  // no rounding of the quotient can make the remainder negative or too large.
  const double result = std::fmod(dividend, divisor);
  if (!std::isfinite(result)) return std::nullopt;
  return result;
}

PartPlan planParts(double fileSize, double partSize) {
  PartPlan plan;
  if (!(partSize > 0)) return plan;
  const std::optional<double> remainder = hugeMod(fileSize, partSize);
  if (!remainder) return plan;
  plan.remainder = *remainder;
  // fileSize - remainder is a whole multiple of partSize, where
  // trunc(fileSize / partSize) could round up. The subtraction itself may
  // round by a unit in the last place of a very large file, so the quotient
  // is taken to the nearest whole number, which is exact for every count a
  // double holds exactly.
  plan.fullParts = std::round((fileSize - plan.remainder) / partSize);
  plan.count = plan.remainder != 0 ? plan.fullParts + 1 : plan.fullParts;
  return plan;
}

std::string numberText(double value, char decimalSeparator) {
  char buffer[400];
  // The shortest text that reads back as the same number, without exponent.
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (error != std::errc()) return {};
  std::string text(buffer, end);
  for (char& c : text) {
    if (c == '.') c = decimalSeparator;
  }
  return text;
}

std::string plainDigits(double value) {
  char buffer[400];
  const double whole = std::trunc(value) + 0.0;  // + 0.0 turns -0 into 0
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, whole, std::chars_format::fixed, 0);
  if (error != std::errc()) return {};
  return std::string(buffer, end);
}

}  // namespace vornak
