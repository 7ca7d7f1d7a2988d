// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers kept as text in the settings store. The number at the start of the
// text counts ("." is the decimal point whatever the locale, an exponent is
// allowed, leading blanks, tabs and line feeds are skipped); text without a
// leading number counts as 0. Whole numbers are reached by rounding halves to
// the even neighbour.
#include <cstdint>
#include <optional>
#include <string>

namespace vornak {

// The value of the number at the start of text, 0 when there is none; nullopt
// when the number is too large for a double.
std::optional<double> leadingNumber(const std::string& text);

// leadingNumber rounded half to even; nullopt when it does not fit.
std::optional<std::int32_t> readInt32(const std::string& text);
std::optional<std::int16_t> readInt16(const std::string& text);

// The copy buffer size from the stored text: 4096 when the text gives no
// number of at least 1 that fits a 32-bit integer.
std::int32_t bufferSizeFromText(const std::string& text);
// The overwrite mode from the stored text: 0 when it does not fit 16 bits.
std::int16_t overwriteModeFromText(const std::string& text);

}  // namespace vornak
