// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part-size entry and the part arithmetic every other piece relies on.
// Byte counts are doubles holding whole numbers.
#include <cstdint>
#include <optional>
#include <string>

namespace vornak {

inline constexpr double kKB = 1024.0;
inline constexpr double kMB = 1048576.0;

// Parses the text of the part-size entry into bytes: 0 when it is empty (or
// rounds to 0), -1 when it is not a valid size, otherwise a positive whole
// number. "MB", "KB" (any case) or "(" end the number text; a fraction of a
// byte rounds up; the number is written with decimalSeparator. The number text
// is: optional blanks, an optional sign, digits with at most one separator
// (digits on at least one side: "12." and ".5" count), optional blanks; no
// group separators, exponents, "inf" or hex. It reads the same under every C
// locale. A value too large for a double gives -1. Never throws and never reads
// past its input.
double getPartSize(const std::string& text, char decimalSeparator);

// Rounds with halves going down (2.5 -> 2, 2.51 -> 3, -2.7 -> -2); nullopt when
// the result does not fit a 32-bit signed integer.
std::optional<std::int32_t> rounded(double z);

// dividend - trunc(dividend / divisor) * divisor, computed exactly (the sign is
// the dividend's); nullopt for a zero divisor or a quotient or result that is
// not finite.
std::optional<double> hugeMod(double dividend, double divisor);

// trunc(fileSize / partSize) parts of partSize bytes, plus one last part of the
// remainder when it is not 0.
struct PartPlan {
  double fullParts = 0;  // N
  double remainder = 0;  // R
  double count = 0;      // N, or N + 1 when R != 0
};
// partSize > 0; otherwise (or for a size that is not finite) all three are 0.
PartPlan planParts(double fileSize, double partSize);

// The number written with the locale's decimal separator, as the platform's
// number-to-text conversion does for the preset defaults and example sizes
// ("12.34" or "12,34"; whole numbers without a fraction). The text is the
// shortest that reads back as the same double, never in exponent form.
std::string numberText(double value, char decimalSeparator);

// A whole number as plain decimal digits, no separators ("3000000"); a
// fraction is cut off.
std::string plainDigits(double value);

}  // namespace vornak
