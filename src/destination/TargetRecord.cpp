// SPDX-License-Identifier: GPL-3.0-or-later
#include "destination/TargetRecord.h"

#include <cmath>
#include <limits>

#include "fileservices/Filenames.h"
#include "parts/PartSize.h"

namespace vornak {

std::string counterPattern(std::int32_t count) {
  // A count of 0 or less still has one digit.
  std::string digits = std::to_string(count < 0 ? -static_cast<std::int64_t>(count) : count);
  return std::string(digits.size(), '0');
}

std::string counterText(std::int32_t i, const std::string& pattern) {
  std::string text = std::to_string(i);
  if (text.size() < pattern.size()) text.insert(0, pattern.size() - text.size(), '0');
  return text;
}

std::string partPath(const TargetRecord& record, std::int32_t i) {
  std::string path = record.folder;
  // The file system root keeps its own separator; no folder ends in one otherwise.
  if (path.empty() || path.back() != Filenames::kSeparator) path += Filenames::kSeparator;
  path += record.baseName;
  path += counterText(i, record.counterFormat);
  path += '.';
  path += record.extension;
  return path;
}

std::string previewName(const std::string& nameField, const TargetRecord& record, std::int32_t i) {
  std::string extension = Filenames::getExtension(nameField);
  if (extension.empty()) extension = record.extension;
  return Filenames::getTitle(nameField) + counterText(i, record.counterFormat) + "." + extension;
}

void planTarget(TargetRecord& record, const std::string& sourcePath, double fileSize, double partSize) {
  // The caller has refused plans of more than 32736 parts; the clamp only keeps
  // the conversion defined for inputs that were not checked.
  double count = planParts(fileSize, partSize).count;
  if (!(count >= 0)) count = 0;
  if (count > std::numeric_limits<std::int32_t>::max()) count = std::numeric_limits<std::int32_t>::max();
  record.partCount = static_cast<std::int32_t>(count);
  record.counterFormat = counterPattern(record.partCount);
  if (record.folder.empty()) record.folder = Filenames::getFolder(sourcePath);
  record.baseName = Filenames::getFilename(sourcePath);
}

}  // namespace vornak
