// SPDX-License-Identifier: GPL-3.0-or-later
// One harness for the code that reads untrusted text. The first byte picks the
// reader: 0, a typed part size (8 bytes of file size, a byte choosing the
// decimal separator, then the text) and its plan, checked with exact 128-bit
// arithmetic; 1, the numbers of stored settings, against strtod; 2, a name typed
// into the Save dialog (a byte of part count, then the name) and the part paths
// made from it. Without libFuzzer (the g++ builds) main runs it once on every
// file of the folder named last on the command line.
#include <algorithm>
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

bool refused(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return std::string_view("\\?:*\"<>|/").find(c) != std::string_view::npos || byte < 0x20 || byte == 0x7F;
}

// The size does not depend on which character separates the decimals, nor on
// blanks around the text, and it reads back from the forms the program writes.
void fuzzPartSize(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return;
  std::uint64_t raw = 0;
  std::memcpy(&raw, data, 8);
  const double fileSize = static_cast<double>(raw >> 1);  // as a size query gives it: up to 2^63
  const char separator = data[8] % 2 == 0 ? '.' : ',';
  const std::string typed = asText(data + 9, size - 9);
  std::string swapped = typed;
  for (char& c : swapped) c = c == '.' ? ',' : c == ',' ? '.' : c;

  const double partSize = vornak::getPartSize(typed, separator);
  check(partSize == -1 || (partSize >= 0 && partSize == std::floor(partSize)),
        "a size is -1 or a whole number");
  check(vornak::getPartSize(swapped, separator == '.' ? ',' : '.') == partSize, "only the separator counts");
  check(vornak::getPartSize("  " + typed + " ", separator) == partSize, "blanks around the text count not");
  if (partSize < 0) return;
  check(vornak::getPartSize(vornak::plainDigits(partSize), separator) == partSize, "the digits read back");
  for (const auto& [unit, bytes] : {std::pair(" KB", 1024.0), std::pair("mb", 1048576.0)}) {
    const std::string text = vornak::numberText(partSize / bytes, separator) + unit;
    check(vornak::getPartSize(text, separator) == partSize, "a size in KB or MB reads back");
  }

  if (partSize == 0 || fileSize == 0) return;
  const vornak::PartPlan plan = vornak::planParts(fileSize, partSize);
  // Counts far beyond what a split takes (32736 parts) lose their last digit in a double.
  if (partSize >= 0x1p64 || fileSize / partSize >= 0x1p48) return;
  const auto exact = [](double whole) { return static_cast<u128>(whole); };
  const u128 file = exact(fileSize), part = exact(partSize), count = exact(plan.count);
  check(count * part >= file, "the parts hold the whole file");
  check((count - 1) * part < file, "no part is left empty");
  check(exact(plan.remainder) < part && exact(plan.fullParts) * part + exact(plan.remainder) == file,
        "full parts and a shorter rest make the file");
}

void fuzzSettingsNumbers(const std::uint8_t* data, std::size_t size) {
  const std::string text = asText(data, size);
  const std::optional<double> value = vornak::leadingNumber(text);
  // strtod reads from where the reader's blanks end; where it reads another
  // spelling ("0x1p3", "inf", or after a blank such as "\r") it is no model.
  const char* start = text.c_str() + std::min(text.find_first_not_of(" \t\n"), text.size());
  char* end = nullptr;
  errno = 0;
  const double expected = std::strtod(start, &end);
  const bool decimal =
      std::string_view(start, end).find_first_not_of("+-.0123456789eE") == std::string_view::npos;
  if (decimal && errno == ERANGE && std::fabs(expected) > 1) {
    check(!value, "a number beyond a double is too large");
  } else if (decimal) {
    // Below the normal range the reader may give 0 for a tiny number.
    check(value && (*value == expected ||
                    (std::fabs(expected) < std::numeric_limits<double>::min() && *value == 0)),
          "the value differs from strtod's reading");
  }
  if (value && std::fabs(*value) < 1e9)
    check(vornak::readInt32(text) == std::nearbyint(*value), "whole numbers round half to even");
  check(vornak::bufferSizeFromText(text) >= 1, "the copy buffer holds at least one byte");
  const std::int16_t mode = vornak::overwriteModeFromText(text);  // 1 overwrites without asking
  check(mode == 0 || (value && mode == std::nearbyint(*value)), "the mode is the rounded number or 0");
}

void fuzzFilenames(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return;
  const std::string typed = asText(data + 1, size - 1);
  std::string name = typed, kept;
  const std::int32_t removed = Filenames::removeInvalidChars(name);
  for (const char c : typed)
    if (!refused(c)) kept += c;
  check(name == kept, "only the refused characters go, the others keep their order");
  check(removed == static_cast<std::int32_t>(typed.size() - kept.size()), "the count is what was removed");

  // As the Save dialog takes the cleaned name: the title, and the extension
  // when there is one (else the one proposed).
  const std::string folder = "/media/stick", inFolder = folder + Filenames::kSeparator;
  vornak::TargetRecord record;
  record.folder = folder;
  const std::int32_t count = 1 + data[0] * 129;  // up to 32896 parts
  vornak::planTarget(record, inFolder + "source.bin", count, 1);
  record.extension = "bin";
  record.baseName = Filenames::getTitle(name);
  if (const std::string ext = Filenames::getExtension(name); !ext.empty()) record.extension = ext;
  if (record.baseName.empty()) return;  // refused by the dialog
  for (const std::int32_t i : {1, count / 2 + 1, count}) {
    const std::string path = vornak::partPath(record, i);
    check(path.starts_with(inFolder), "a part lies in its folder");
    const std::string file = path.substr(inFolder.size());
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
  std::setlocale(LC_NUMERIC, "C");  // strtod reads "." as the checks expect
  void (*const readers[])(const std::uint8_t*, std::size_t) = {fuzzPartSize, fuzzSettingsNumbers,
                                                               fuzzFilenames};
  readers[data[0] % 3](data + 1, size - 1);
  return 0;
}

#ifndef VORNAK_LIBFUZZER
int main(int argc, char** argv) {
  std::size_t count = 0;
  for (const auto& input : std::filesystem::directory_iterator(argv[argc - 1])) {
    std::ifstream in(input.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "%s\n", input.path().string().c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++count;
  }
  std::printf("%zu inputs\n", count);
  return count == 0 ? 1 : 0;
}
#endif
