// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/PartFile.h"

#include "fileservices/Filenames.h"

namespace vornak {

namespace {

constexpr const char* kMark = "vornak";
constexpr const char* kEnding = ".tmp";

// The folder part of path, with its separator.
std::string folderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of(Filenames::kSeparator);
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace

std::string PartFile::temporaryName(const std::string& partName, const std::string& baseName,
                                    bool shortForm) {
  // The first character differs from the base name's, so the name never
  // begins like a part.
  const char lead = !baseName.empty() && baseName.front() == '.' ? '~' : '.';
  return lead + std::string(kMark) + (shortForm ? std::string() : "-" + partName) + kEnding;
}

bool PartFile::isTemporaryName(const std::string& name) {
  const std::string mark = kMark, ending = kEnding;
  return name.size() >= 1 + mark.size() + ending.size() && (name.front() == '.' || name.front() == '~') &&
         name.compare(1, mark.size(), mark) == 0 &&
         (name.size() == 1 + mark.size() + ending.size() || name[1 + mark.size()] == '-') &&
         name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
}

void PartFile::removeLeftovers(FileInterface& files, const std::string& folder) {
  for (const std::string& name : files.folderEntries(folder)) {
    const std::string path = Filenames::resolve(folder, name);
    if (isTemporaryName(name) && files.lookupEntry(path) == EntryKind::File) files.removeUnused(path);
  }
}

int PartFile::create(const std::string& partPath, const std::string& baseName, FileInterface::Handle like) {
  partPath_ = partPath;
  int code = 0;
  for (const bool shortForm : {false, true}) {
    temporaryPath_ =
        folderOf(partPath) + temporaryName(Filenames::getFilename(partPath), baseName, shortForm);
    code = files_.createPart(temporaryPath_, like, handle_);
    if (FileInterface::meansExists(code) && files_.removeUnused(temporaryPath_) == 0)
      code = files_.createPart(temporaryPath_, like, handle_);
    if (!FileInterface::meansNameTooLong(code)) break;
  }
  // What stands there now is not ours to remove.
  if (code != 0) temporaryPath_.clear();
  return code;
}

int PartFile::finish() {
  if (const int code = files_.sync(handle_)) return code;
  const int code = files_.close(handle_);
  handle_ = FileInterface::kNoHandle;
  if (code != 0) return code;
  if (const int renamed = files_.rename(temporaryPath_, partPath_)) return renamed;
  temporaryPath_.clear();
  return 0;
}

void PartFile::discard() {
  if (isOpen()) files_.close(handle_);
  handle_ = FileInterface::kNoHandle;
  if (!temporaryPath_.empty()) files_.remove(temporaryPath_);
  temporaryPath_.clear();
}

}  // namespace vornak
