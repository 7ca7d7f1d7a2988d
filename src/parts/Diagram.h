// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts diagram as a pure model: the state decision, the drawing
// primitives in strip pixels (columns 1..W, rows 1..H), the tooltip, the
// parts summary, the pointer and the split button's state. The window paints
// the primitives into a backing image; nothing is recomputed on repaint.
#include <cstdint>
#include <string>
#include <vector>

namespace vornak {

enum class DiagramState { Blank, FileError, OnePart, SizeError, TooLong, TooManyParts, Parts };

// Colours the drawing names; the window maps them onto the palette.
enum class DiagramColour {
  Foreground,       // the strip's foreground
  Fill,             // the strip's fill colour: RGB 128, 128, 255 on a light window
  InactiveBorder,   // error box outline
  InactiveCaption,  // error box interior
  Black,
  Red,
  White,
};

struct Primitive {
  enum class Kind { Box, Line, Circle, Point } kind = Kind::Box;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Box and Line corners (inclusive); Circle centre in x1, y1
  int radius = 0;                      // Circle
  DiagramColour outline = DiagramColour::Foreground;
  DiagramColour fill = DiagramColour::Fill;  // Box and Circle interiors
  int penWidth = 1;
  bool operator==(const Primitive&) const = default;
};

struct DiagramInput {
  int width = 0;                // W = diagramWidth
  int height = 0;               // H = diagramHeight
  bool haveSourceFile = false;  // sourcePath is not empty
  double fileSize = -1;         // fileSize
  double partSize = 0;          // partSize
};

struct Diagram {
  DiagramState state = DiagramState::Blank;
  std::vector<Primitive> primitives;
  std::string tooltip;
  std::string partsText;       // "N split files" or empty
  bool customPointer = false;  // the split cursor is on
  bool splitEnabled = false;   // the split button
};

// The whole refresh decision: drawParts, the three drawings and makeTooltip.
Diagram computeDiagram(const DiagramInput& input);

// makeTooltip's texts for T, F and P (P <= 0: tooltip T, no summary).
void makeTooltipTexts(const std::string& tooltipText, double fileSize, double partSize, std::string& tooltip,
                      std::string& partsText);

}  // namespace vornak
