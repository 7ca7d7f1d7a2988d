#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parts/Diagram.h"
#include "parts/PartSize.h"

namespace {

using vornak::ComputeDiagram;
using vornak::DiagramColour;
using vornak::DiagramInput;
using vornak::DiagramState;
using vornak::Primitive;

constexpr int kW = 216;
constexpr int kH = 10;

Primitive PartBox(int x1, int x2) {
  Primitive box;
  box.x1 = x1;
  box.y1 = 1;
  box.x2 = x2;
  box.y2 = kH;
  return box;
}

std::vector<Primitive> RegularBoxes(int count, int pw) {
  std::vector<Primitive> boxes;
  for (int k = 0; k < count; ++k) boxes.push_back(PartBox(1 + k * pw, k * pw + pw - 1));
  return boxes;
}

std::vector<Primitive> With(std::vector<Primitive> boxes, const Primitive& last) {
  boxes.push_back(last);
  return boxes;
}

std::vector<Primitive> ErrorSymbol() {
  Primitive box{Primitive::Kind::Box,           1, 1, 215, 10, 0, DiagramColour::InactiveBorder,
                DiagramColour::InactiveCaption, 1};
  Primitive disc{Primitive::Kind::Circle, 108, 5, 0, 0, 5, DiagramColour::Black, DiagramColour::Red, 1};
  Primitive cross1{Primitive::Kind::Line, 107, 4, 109, 6, 0, DiagramColour::White, DiagramColour::Fill, 2};
  Primitive cross2{Primitive::Kind::Line, 107, 6, 109, 4, 0, DiagramColour::White, DiagramColour::Fill, 2};
  return {box, disc, cross1, cross2};
}

std::vector<Primitive> MinimalBoxesAndDots() {
  std::vector<Primitive> result;
  for (int i = 1; i < kW - 20; i += 5) result.push_back(PartBox(i, i + 3));
  for (const int y : {1, kH}) {
    for (const int x : {198, 201, 204}) {
      Primitive dot;
      dot.kind = Primitive::Kind::Point;
      dot.x1 = x;
      dot.y1 = y;
      result.push_back(dot);
    }
  }
  return result;
}

struct DiagramRow {
  const char* name;
  bool haveFile;
  double fileSize, partSize;
  DiagramState state;
  std::vector<Primitive> primitives;
  std::string tooltip, partstext;
  bool customPointer, splitEnabled;
};

TEST(ComputeDiagram, StatesAndPictures) {
  const DiagramRow rows[] = {
      {"no file", false, 3000000, 1048576, DiagramState::Blank, {}, "", "", false, false},
      {"size unreadable", true, -1, 1048576, DiagramState::FileError, ErrorSymbol(), "Check the 'Filename'.",
       "", false, false},
      {"part size 0",
       true,
       3000000,
       0,
       DiagramState::OnePart,
       {PartBox(1, kW)},
       "Click to define the size of the split files",
       "",
       true,
       false},
      {"part size invalid", true, 3000000, -1, DiagramState::SizeError, ErrorSymbol(),
       "Check the 'Size of split files'.", "", true, false},
      {"part = file", true, 3000000, 3000000, DiagramState::TooLong, ErrorSymbol(),
       "The 'Size of split files' is too long.", "", true, false},
      {"part > file", true, 3000000, 3000001, DiagramState::TooLong, ErrorSymbol(),
       "The 'Size of split files' is too long.", "", true, false},
      {"empty file", true, 0, 1, DiagramState::TooLong, ErrorSymbol(),
       "The 'Size of split files' is too long.", "", true, false},
      {"3,000,000 / 1 MB",
       true,
       3000000,
       1048576,
       DiagramState::Parts,
       {PartBox(1, 74), PartBox(76, 149), PartBox(151, 214)},
       "2 x 1048576 Bytes  +  1 x 902848 Bytes",
       "3 split files",
       true,
       true},
      {"2,097,152 / 1 MB",
       true,
       2097152,
       1048576,
       DiagramState::Parts,
       {PartBox(1, 107), PartBox(109, 215)},
       "2 x 1048576 Bytes",
       "2 split files",
       true,
       true},
      {"1,000,000 / 999999",
       true,
       1000000,
       999999,
       DiagramState::Parts,
       {PartBox(1, 214), PartBox(216, 216)},
       "1 x 999999 Bytes  +  1 x 1 Bytes",
       "2 split files",
       true,
       true},
      {"1,000,000 / 24000", true, 1000000, 24000, DiagramState::Parts,
       With(RegularBoxes(41, 5), PartBox(206, 207)), "41 x 24000 Bytes  +  1 x 16000 Bytes", "42 split files",
       true, true},
      {"1,000,000 / 23149", true, 1000000, 23149, DiagramState::Parts,
       With(RegularBoxes(43, 5), PartBox(216, 216)), "43 x 23149 Bytes  +  1 x 4593 Bytes", "44 split files",
       true, true},
      {"1,000,000 / 23000", true, 1000000, 23000, DiagramState::TooManyParts, MinimalBoxesAndDots(),
       "43 x 23000 Bytes  +  1 x 11000 Bytes", "44 split files", true, true},
  };
  for (const DiagramRow& row : rows) {
    SCOPED_TRACE(row.name);
    const vornak::Diagram d = ComputeDiagram(DiagramInput{kW, kH, row.haveFile, row.fileSize, row.partSize});
    EXPECT_EQ(d.state, row.state);
    EXPECT_EQ(d.primitives.size(), row.primitives.size());
    EXPECT_EQ(d.primitives, row.primitives);
    EXPECT_EQ(d.tooltip, row.tooltip);
    EXPECT_EQ(d.partstext, row.partstext);
    EXPECT_EQ(d.customPointer, row.customPointer);
    EXPECT_EQ(d.splitEnabled, row.splitEnabled);
  }
}

TEST(ComputeDiagram, BoxCountFollowsThePartCount) {
  // Whatever the part width, there is one box per part file, all inside the strip.
  for (double partSize = 23149; partSize < 1000000; partSize += 997) {
    const vornak::Diagram d = ComputeDiagram(DiagramInput{kW, kH, true, 1000000, partSize});
    ASSERT_EQ(d.state, DiagramState::Parts);
    const double count = vornak::PlanParts(1000000, partSize).count;
    EXPECT_EQ(static_cast<double>(d.primitives.size()), count) << partSize;
    for (const Primitive& box : d.primitives) {
      EXPECT_GE(box.x1, 1);
      EXPECT_LE(box.x2, kW);
      EXPECT_LE(box.x1, box.x2) << partSize;
    }
  }
}

TEST(MakeTooltipTexts, Texts) {
  std::string tooltip = "old", partstext = "old";
  vornak::MakeTooltipTexts("Hint", 3000000, 0, tooltip, partstext);
  EXPECT_EQ(tooltip, "Hint");
  EXPECT_EQ(partstext, "");
  vornak::MakeTooltipTexts("Hint", 9007199254740992.0, 1048576, tooltip, partstext);
  EXPECT_EQ(tooltip, "8589934592 x 1048576 Bytes");
  EXPECT_EQ(partstext, "8589934592 split files");
  vornak::MakeTooltipTexts("", 4294967297.0, 4294967296.0, tooltip, partstext);
  EXPECT_EQ(tooltip, "1 x 4294967296 Bytes  +  1 x 1 Bytes");
  EXPECT_EQ(partstext, "2 split files");
}

}  // namespace
