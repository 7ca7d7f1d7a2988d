// SPDX-License-Identifier: GPL-3.0-or-later
// One harness for the code that reads untrusted text. The first byte picks the
// reader, the rest is its input:
// 0: the part-size entry against strtod on the cleaned text, and the plan for
//    that size checked with exact 128-bit arithmetic (8 bytes of file size,
//    one byte choosing the decimal separator, then the typed text);
// 1: the numbers read from stored settings against strtod on the number the
//    reader should have taken from the start of the text;
// 2: a name typed into the Save dialog becomes part paths: they stay in their
//    folder, hold no "/" after it, are never "." or "..", hold no control
//    character, and removeInvalidChars counts what it removed (one byte of
//    part count, then the name).
// Without libFuzzer (the g++ builds) main runs it once on every file named on
// the command line or in a folder named there, skipping options ("-runs=0").
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "destination/TargetRecord.h"
#include "fileservices/Filenames.h"
#include "parts/PartSize.h"
#include "settings/SettingsNumbers.h"

namespace {

void check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

std::string asText(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

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

bool refused(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return std::string_view("\\?:*\"<>|/").find(c) != std::string_view::npos || byte < 0x20 || byte == 0x7F;
}

void fuzzPartSize(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return;
  std::uint64_t raw = 0;
  std::memcpy(&raw, data, 8);
  const double fileSize = static_cast<double>(raw >> 1);  // as a size query gives it: up to 2^63
  const char separator = data[8] % 2 == 0 ? '.' : ',';
  const std::string typed = asText(data + 9, size - 9);

  const double partSize = vornak::getPartSize(typed, separator);
  check(partSize == reference(typed, separator), "the size differs from strtod's reading");
  check(partSize == -1 || (partSize >= 0 && partSize == std::floor(partSize)),
        "a size is -1 or a whole number");

  if (!(partSize > 0) || fileSize == 0) return;
  const vornak::PartPlan plan = vornak::planParts(fileSize, partSize);
  if (partSize >= 0x1p64) {
    check(plan.count == 1 && plan.remainder == fileSize, "a part larger than any file makes one part");
    return;
  }
  // Counts far beyond what a split takes (32736 parts) lose their last digit in a double.
  if (fileSize / partSize >= 0x1p48) return;
  const auto exact = [](double whole) { return static_cast<u128>(whole); };
  const u128 file = exact(fileSize), part = exact(partSize), count = exact(plan.count);
  check(count * part >= file, "the parts hold the whole file");
  check((count - 1) * part < file, "no part is left empty");
  check(exact(plan.fullParts) * part + exact(plan.remainder) == file,
        "full parts and remainder make the file");
  return;
}

void fuzzSettingsNumbers(const std::uint8_t* data, std::size_t size) {
  const std::string text = asText(data, size);
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
}

void fuzzFilenames(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return;
  const std::string typed = asText(data + 1, size - 1);
  std::string name = typed, kept;
  const std::int32_t removed = Filenames::removeInvalidChars(name);
  for (const char c : typed) {
    if (!refused(c)) kept += c;
  }
  check(name == kept, "only the refused characters go, the others keep their order");
  check(removed == static_cast<std::int32_t>(typed.size() - kept.size()), "the count is what was removed");

  // As the Save dialog takes the cleaned name: the title, and the extension
  // when there is one (else the one proposed).
  const std::string folder = "/media/stick";
  vornak::TargetRecord record;
  record.folder = folder;
  const std::int32_t count = 1 + data[0] * 129;  // up to 32896 parts
  const char separator = Filenames::kSeparator;
  vornak::planTarget(record, folder + separator + "source.bin", count, 1);
  record.extension = "bin";
  record.baseName = Filenames::getTitle(name);
  if (const std::string ext = Filenames::getExtension(name); !ext.empty()) record.extension = ext;
  if (record.baseName.empty()) return;  // refused by the dialog
  for (const std::int32_t i : {1, count / 2 + 1, count}) {
    const std::string path = vornak::partPath(record, i);
    check(path.starts_with(folder + separator), "a part lies in its folder");
    const std::string file = path.substr(folder.size() + 1);
    check(file.find_first_of("/\\") == std::string::npos, "no separator after the folder");
    check(file != "." && file != ".." && !file.empty(), "a part names a file");
    for (const char c : file) check(!refused(c), "no control or refused character");
    check(Filenames::getFolder(path) == folder && Filenames::getFilename(path) == file,
          "the path splits back");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::setlocale(LC_NUMERIC, "C");  // strtod reads "." as the references expect
  void (*const readers[])(const std::uint8_t*, std::size_t) = {fuzzPartSize, fuzzSettingsNumbers,
                                                               fuzzFilenames};
  readers[data[0] % 3](data + 1, size - 1);
  return 0;
}

#ifndef VORNAK_LIBFUZZER
int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') continue;
    if (!fs::is_directory(argv[i])) inputs.push_back(argv[i]);
    if (fs::is_directory(argv[i])) inputs.insert(inputs.end(), fs::directory_iterator(argv[i]), {});
  }
  for (const fs::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "%s\n", input.string().c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
#endif
