// SPDX-License-Identifier: GPL-3.0-or-later
// The part-size entry against strtod on the cleaned text, and the plan for
// that size checked with exact 128-bit arithmetic. Input: 8 bytes of file
// size, one byte choosing the decimal separator, then the typed text.
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>

#include "FuzzCheck.h"
#include "parts/PartSize.h"

namespace {

using vornak::fuzz::check;
__extension__ typedef unsigned __int128 u128;

std::string trimmed(const std::string& s) {
  const std::size_t a = s.find_first_not_of(' ');
  return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// The entry's rules written out afresh: "mb", else "kb", else "(" ends the
// number, which is a sign, digits and at most one separator; strtod reads it.
double reference(const std::string& typed, char separator) {
  const std::string text = trimmed(typed);
  if (text.empty()) return 0;
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::size_t mb = lower.find("mb"), kb = lower.find("kb");
  const double multiplier = mb != std::string::npos ? 1048576 : kb != std::string::npos ? 1024 : 1;
  const std::size_t end = mb != std::string::npos ? mb : kb != std::string::npos ? kb : text.find('(');
  std::string number = trimmed(text.substr(0, end));
  const bool negative = !number.empty() && number[0] == '-';
  if (!number.empty() && (number[0] == '+' || negative)) number.erase(0, 1);
  int separators = 0, digits = 0, nonZero = 0;
  for (char& c : number) {
    if (c == separator)
      c = '.', ++separators;
    else if (c >= '0' && c <= '9')
      ++digits, nonZero += c != '0';
    else
      return -1;
  }
  if (separators > 1 || digits == 0) return -1;
  errno = 0;
  double value = std::strtod(number.c_str(), nullptr);
  if (errno == ERANGE && value > 1) return -1;
  if (nonZero > 0 && value < std::numeric_limits<double>::min())
    value = std::numeric_limits<double>::denorm_min();
  const double bytes = (negative ? -value : value) * multiplier;
  return std::isfinite(bytes) ? std::fabs(std::floor(-bytes)) : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  std::setlocale(LC_NUMERIC, "C");
  std::uint64_t raw = 0;
  std::memcpy(&raw, data, 8);
  const double fileSize = static_cast<double>(raw >> 1);  // as a size query gives it: up to 2^63
  const char separator = data[8] % 2 == 0 ? '.' : ',';
  const std::string typed = vornak::fuzz::text(data + 9, size - 9);

  const double partSize = vornak::getPartSize(typed, separator);
  check(partSize == reference(typed, separator), "the size differs from strtod's reading");
  check(partSize == -1 || (partSize >= 0 && partSize == std::floor(partSize)),
        "a size is -1 or a whole number");

  if (!(partSize > 0) || fileSize == 0) return 0;
  const vornak::PartPlan plan = vornak::planParts(fileSize, partSize);
  if (partSize >= 0x1p64) {
    check(plan.count == 1 && plan.remainder == fileSize, "a part larger than any file makes one part");
    return 0;
  }
  // Counts far beyond what a split takes (32736 parts) lose their last digit in a double.
  if (fileSize / partSize >= 0x1p48) return 0;
  const auto exact = [](double whole) { return static_cast<u128>(whole); };
  const u128 file = exact(fileSize), part = exact(partSize), count = exact(plan.count);
  check(count * part >= file, "the parts hold the whole file");
  check((count - 1) * part < file, "no part is left empty");
  check(exact(plan.fullParts) * part + exact(plan.remainder) == file,
        "full parts and remainder make the file");
  return 0;
}
