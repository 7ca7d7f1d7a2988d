// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "parts/Diagram.h"
#include "parts/PartSize.h"

namespace {

using namespace vornak;
using Boxes = std::vector<Primitive>;
constexpr int kW = 216, kH = 10;

const auto box = [](int x1, int x2) { return Primitive{.x1 = x1, .y1 = 1, .x2 = x2, .y2 = kH}; };

// count boxes of width pw, then the last box (x1, x2)
Boxes regular(int count, int pw, int x1, int x2) {
  Boxes boxes;
  for (int k = 0; k < count; ++k) boxes.push_back(box(1 + k * pw, k * pw + pw - 1));
  boxes.push_back(box(x1, x2));
  return boxes;
}

// One box per part, inside the strip; the pictures of errors and of too many
// parts are only checked for being there.
TEST(ComputeDiagram, StatesAndPictures) {
  // source file?, file size, part size -> state, picture, tooltip, parts text, split pointer, Split enabled
  using Row = std::tuple<bool, double, double, DiagramState, Boxes, std::string, std::string, bool, bool>;
  // clang-format off
  const Row rows[] = {
      {false, 3000000, 1048576, DiagramState::Blank, {}, "", "", false, false},
      {true, -1, 1048576, DiagramState::FileError, {}, "Check the 'Filename'.", "", false, false},
      {true, 3000000, 0, DiagramState::OnePart, {box(1, kW)}, "Click to define the size of the split files", "", true, false},
      {true, 3000000, -1, DiagramState::SizeError, {}, "Check the 'Size of split files'.", "", true, false},
      {true, 3000000, 3000000, DiagramState::TooLong, {}, "The 'Size of split files' is too long.", "", true, false},
      {true, 3000000, 1048576, DiagramState::Parts, regular(2, 75, 151, 214), "2 x 1048576 Bytes  +  1 x 902848 Bytes", "3 split files", true, true},
      {true, 1000000, 999999, DiagramState::Parts, {box(1, 214), box(216, 216)}, "1 x 999999 Bytes  +  1 x 1 Bytes", "2 split files", true, true},
      {true, 1000000, 23149, DiagramState::Parts, regular(43, 5, 216, 216), "43 x 23149 Bytes  +  1 x 4593 Bytes", "44 split files", true, true},
      {true, 1000000, 23000, DiagramState::TooManyParts, {}, "43 x 23000 Bytes  +  1 x 11000 Bytes", "44 split files", true, true}};
  // clang-format on
  for (const auto& [haveFile, fileSize, partSize, state, primitives, tooltip, partsText, pointer, split] :
       rows) {
    SCOPED_TRACE(std::to_string(fileSize) + " / " + std::to_string(partSize));
    const Diagram d = computeDiagram(DiagramInput{kW, kH, haveFile, fileSize, partSize});
    EXPECT_EQ(d.state, state);
    EXPECT_TRUE(primitives.empty() ? d.primitives.empty() == (state == DiagramState::Blank)
                                   : d.primitives == primitives)
        << d.primitives.size();
    EXPECT_EQ(std::tie(d.tooltip, d.partsText, d.customPointer, d.splitEnabled),
              std::tie(tooltip, partsText, pointer, split));
  }
}

}  // namespace
