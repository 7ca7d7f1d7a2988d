// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/Diagram.h"

#include <algorithm>
#include <cmath>

#include "parts/PartSize.h"

namespace vornak {

namespace {

Primitive box(int x1, int y1, int x2, int y2, DiagramColour outline = DiagramColour::Foreground,
              DiagramColour fill = DiagramColour::Fill) {
  return Primitive{
      .kind = Primitive::Kind::Box, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .outline = outline, .fill = fill};
}

Primitive line(int x1, int y1, int x2, int y2, DiagramColour colour, int penWidth) {
  return Primitive{.kind = Primitive::Kind::Line,
                   .x1 = x1,
                   .y1 = y1,
                   .x2 = x2,
                   .y2 = y2,
                   .outline = colour,
                   .penWidth = penWidth};
}

Primitive point(int x, int y) {
  return Primitive{.kind = Primitive::Kind::Point, .x1 = x, .y1 = y};
}

// The whole file as a single part.
void drawOnePart(const DiagramInput& in, std::vector<Primitive>& out) {
  out.push_back(box(1, 1, in.width, in.height));
}

// A grey box with a red disc and a white cross on it.
void drawErrorPart(const DiagramInput& in, std::vector<Primitive>& out) {
  const int w = in.width;
  const int h = in.height;
  out.push_back(box(1, 1, w - 1, h, DiagramColour::InactiveBorder, DiagramColour::InactiveCaption));
  const int cx = w / 2;
  const int cy = h / 2;
  const int r = h / 2;
  out.push_back(Primitive{.kind = Primitive::Kind::Circle,
                          .x1 = cx,
                          .y1 = cy,
                          .radius = r,
                          .outline = DiagramColour::Black,
                          .fill = DiagramColour::Red});
  const int d = r - 4;
  out.push_back(line(cx - d, cy - d, cx + d, cy + d, DiagramColour::White, 2));
  out.push_back(line(cx - d, cy + d, cx + d, cy - d, DiagramColour::White, 2));
}

// Parts too narrow to tell apart: a row of boxes of the minimal part width of
// 5 columns, trailing off into three dots at the top and bottom.
void drawToManyParts(const DiagramInput& in, std::vector<Primitive>& out) {
  const int w = in.width;
  const int h = in.height;
  std::int32_t i = 1;
  while (i < w - 20) {
    out.push_back(box(i, 1, std::min(i + 3, w), h));
    i += 5;
  }
  for (const int y : {1, h}) {
    for (const int dx : {2, 5, 8}) out.push_back(point(i + dx, y));
  }
}

// One box per part file, each as wide as its share of the file with one empty
// column between boxes; the last, shorter part gets at least 2 columns and is
// clipped at the strip's right edge.
void drawPartBoxes(const DiagramInput& in, int pw, std::vector<Primitive>& out) {
  const double bytesPerColumn = in.fileSize / in.width;
  // The boxes are counted by the plan: adding up part sizes would round for
  // very large sizes and draw a box too many.
  const PartPlan plan = planParts(in.fileSize, in.partSize);
  int x1 = 1;
  int x2 = pw - 1;
  for (double part = 1; part <= plan.count; ++part) {
    x1 = std::min(x1, in.width);
    x2 = std::min(x2, in.width);
    out.push_back(box(x1, 1, x2, in.height));
    x1 += pw;
    if (part == plan.fullParts && plan.remainder != 0) {  // the next box is the last, shorter part
      pw = static_cast<int>(std::trunc(plan.remainder / bytesPerColumn));
      if (pw < 2) pw = 2;
    }
    x2 = x1 + pw - 2;
  }
}

}  // namespace

void makeTooltipTexts(const std::string& tooltipText, double fileSize, double partSize, std::string& tooltip,
                      std::string& partsText) {
  if (partSize > 0) {
    const PartPlan plan = planParts(fileSize, partSize);
    tooltip = plainDigits(plan.fullParts) + " x " + plainDigits(partSize) + " Bytes";
    if (plan.remainder != 0) tooltip += "  +  1 x " + plainDigits(plan.remainder) + " Bytes";
    partsText = plainDigits(plan.count) + " split files";
  } else {
    tooltip = tooltipText;
    partsText.clear();
  }
}

Diagram computeDiagram(const DiagramInput& input) {
  Diagram diagram;
  diagram.splitEnabled = input.partSize > 0 && input.haveSourceFile && input.partSize < input.fileSize;

  const auto finish = [&](DiagramState state, const std::string& tooltipText, double fileSize,
                          double partSize) {
    diagram.state = state;
    makeTooltipTexts(tooltipText, fileSize, partSize, diagram.tooltip, diagram.partsText);
    return diagram;
  };

  if (!input.haveSourceFile) return finish(DiagramState::Blank, "", 0, 0);
  if (input.fileSize < 0) {
    drawErrorPart(input, diagram.primitives);
    return finish(DiagramState::FileError, "Check the 'Filename'.", 0, 0);
  }
  // From here on the pointer invites a click that sets the size.
  diagram.customPointer = true;
  if (input.partSize == 0) {
    drawOnePart(input, diagram.primitives);
    return finish(DiagramState::OnePart, "Click to define the size of the split files", 0, 0);
  }
  if (input.partSize < 0) {
    drawErrorPart(input, diagram.primitives);
    return finish(DiagramState::SizeError, "Check the 'Size of split files'.", 0, 0);
  }
  if (input.partSize >= input.fileSize) {
    drawErrorPart(input, diagram.primitives);
    return finish(DiagramState::TooLong, "The 'Size of split files' is too long.", 0, 0);
  }
  const double columns = std::trunc(input.partSize / (input.fileSize / input.width));
  if (!(columns >= 5)) {
    drawToManyParts(input, diagram.primitives);
    return finish(DiagramState::TooManyParts, "", input.fileSize, input.partSize);
  }
  drawPartBoxes(input, static_cast<int>(columns), diagram.primitives);
  return finish(DiagramState::Parts, "", input.fileSize, input.partSize);
}

}  // namespace vornak
