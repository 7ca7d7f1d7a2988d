// SPDX-License-Identifier: GPL-3.0-or-later
// A name typed into the Save dialog becomes part paths: they stay in their
// folder, hold no "/" after it, are never "." or "..", hold no control
// character, and removeInvalidChars counts what it removed.
#include <string_view>

#include "FuzzCheck.h"
#include "destination/TargetRecord.h"
#include "fileservices/Filenames.h"

namespace {

using vornak::fuzz::check;

bool refused(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return std::string_view("\\?:*\"<>|/").find(c) != std::string_view::npos || byte < 0x20 || byte == 0x7F;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string typed = vornak::fuzz::text(data + 1, size - 1);
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
  if (record.baseName.empty()) return 0;  // refused by the dialog
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
  return 0;
}
