// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the parts of a split go and what they are called: the target record
// that the split command, the Save dialog and the split loop share, and the one
// naming rule that both the dialog's preview and the loop use.
#include <cstdint>
#include <string>

namespace vornak {

struct TargetRecord {
  std::string drive;          // volume of the target folder, no trailing separator
  std::string folder;         // target folder, no trailing separator (the file system root stays "/")
  std::string baseName;       // base name; empty after a cancelled dialog
  std::string extension;      // extension without the dot; may be empty
  std::string counterFormat;  // "0" repeated as many times as partCount has digits
  std::int32_t partCount = 0;
  std::int16_t overwriteAll = 0;  // 1 = replace existing parts without asking
};

// "0" repeated once per decimal digit of count.
std::string counterPattern(std::int32_t count);
// i padded on the left with "0" to the length of the pattern.
std::string counterText(std::int32_t i, const std::string& pattern);
// folder + separator + title + counter + "." + ext; the separator is not
// doubled when the folder is the file system root.
std::string partPath(const TargetRecord& record, std::int32_t i);
// The preview row for part i of the name field's text: getTitle of it, the
// counter, ".", and getExtension of it or extension when it has none.
std::string previewName(const std::string& nameField, const TargetRecord& record, std::int32_t i);
// Fills partCount and counterFormat for a split of fileSize into partSize parts,
// folder when it is empty (the source's folder), and baseName (the source's
// file name with its extension).
void planTarget(TargetRecord& record, const std::string& sourcePath, double fileSize, double partSize);

}  // namespace vornak
