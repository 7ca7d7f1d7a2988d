// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the parts of a split go and what they are called: the target record
// that the split command, the Save dialog and the split loop share, and the one
// naming rule that both the dialog's preview and the loop use.
#include <cstdint>
#include <string>

namespace vornak {

struct TargetRecord {
  std::string savedrive;   // volume of the target folder, no trailing separator
  std::string savepath;    // target folder, no trailing separator (the file system root stays "/")
  std::string saveftitle;  // base name; empty after a cancelled dialog
  std::string savefext;    // extension without the dot; may be empty
  std::string saveformat;  // "0" repeated as many times as savefcount has digits
  std::int32_t savefcount = 0;
  std::int16_t saveoverwrite = 0;  // 1 = replace existing parts without asking
};

// "0" repeated once per decimal digit of count.
std::string CounterPattern(std::int32_t count);
// i padded on the left with "0" to the length of the pattern.
std::string CounterText(std::int32_t i, const std::string& pattern);
// folder + separator + title + counter + "." + ext; the separator is not
// doubled when the folder is the file system root.
std::string PartPath(const TargetRecord& record, std::int32_t i);
// The preview row for part i of the name field's text: GetTitle of it, the
// counter, ".", and GetExtension of it or savefext when it has none.
std::string PreviewName(const std::string& nameField, const TargetRecord& record, std::int32_t i);
// Fills savefcount and saveformat for a split of fileSize into partSize parts,
// savepath when it is empty (the source's folder), and saveftitle (the source's
// file name with its extension).
void PlanTarget(TargetRecord& record, const std::string& sourcefile, double fileSize, double partSize);

}  // namespace vornak
