// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/Presets.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "parts/PartSize.h"

namespace vornak {

std::vector<std::string> defaultPresetRows(char decimalSeparator) {
  const auto row = [decimalSeparator](double number, const char* label) {
    return numberText(number, decimalSeparator) + label;
  };
  return {
      row(700, " MB (CD-R 80 min)"),
      row(650, " MB (CD-R 74 min)"),
      row(95.77, " MB (ZIP 100)"),
      row(1.39, " MB (Diskette)"),
      row(64, " KB"),
      row(4096, ""),
      row(1024, ""),
      row(512, ""),
  };
}

void updatePartSizeList(std::vector<std::string>& rows, const std::string& text) {
  if (rows.empty()) return;
  // The last row equal to the text, if any, is the one that moves up.
  std::size_t k = rows.size() - 1;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] == text) k = i;
  }
  // With no equal row, k is the last row, whose text is lost.
  for (std::size_t i = k; i >= 1; --i) rows[i] = rows[i - 1];
  rows[0] = text;
}

std::optional<std::string> clickToSize(double fileSize, bool haveSourceFile, int width,
                                       const DiagramClick& click) {
  if (fileSize < 1 || !haveSourceFile) return std::nullopt;
  const double w = width;
  const double f = fileSize;
  double size;
  if (click.rightButton || click.ctrl) {
    // By count: the middle gives 2 equal parts, the ends about 20; the right
    // half mirrors the left.
    double x = click.x;
    if (x > w / 2) x = std::trunc(w - x);
    if (x < w / 20) x = std::trunc(w / 20);
    const std::optional<std::int32_t> n = rounded(w / x);
    if (!n || *n < 1) return std::nullopt;
    const std::optional<double> remainder = hugeMod(f, *n);
    if (!remainder) return std::nullopt;
    size = std::trunc(f / *n) + (*remainder != 0 ? 1 : 0);
  } else {
    // By position: the share of the file left of the pointer.
    size = std::trunc(click.x / w * f);
  }
  if (size >= f) {
    size = std::trunc((w - 1) / w * f);
  } else if (size <= 0) {
    size = std::trunc(1 / w * f);
  }
  if (!std::isfinite(size)) return std::nullopt;
  return plainDigits(size);
}

}  // namespace vornak
