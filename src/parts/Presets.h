// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preset list of the part-size entry (a most-recently-used list of eight
// rows) and sizing by clicking into the parts diagram.
#include <optional>
#include <string>
#include <vector>

namespace vornak {

// The eight default rows, with numbers written with the locale's decimal
// separator ("95,77 MB (ZIP 100)").
std::vector<std::string> defaultPresetRows(char decimalSeparator);

// Moves text to the top row. When the text equals a row exactly (the last such
// row), the rows above it move down one; otherwise every row moves down and the
// last is lost. The number of rows never changes. The top row becomes selected.
void updatePartSizeList(std::vector<std::string>& rows, const std::string& text);

struct DiagramClick {
  bool rightButton = false;  // the released button was the right one
  bool ctrl = false;         // Ctrl was held
  double x = 0;              // pointer x in strip pixels, may lie outside 0..W
};

// The entry text a click into the diagram sets (plain digits), or nullopt when
// the click does nothing (no accepted file, or a size below 1 byte).
std::optional<std::string> clickToSize(double fileSize, bool haveSourceFile, int width,
                                       const DiagramClick& click);

}  // namespace vornak
