// SPDX-License-Identifier: GPL-3.0-or-later
// The parts diagram for any strip, file size and part size: every primitive
// stays inside the strip (columns 1..W, rows 1..H), the part boxes are one per
// part file and at most ceil(W / 5) of them. Input: 2 bytes of width, 1 of
// height, 8 of file size and 8 of part size.
#include <cmath>
#include <cstring>

#include "FuzzCheck.h"
#include "parts/Diagram.h"
#include "parts/PartSize.h"

namespace {

using vornak::fuzz::check;

double sizeAt(const std::uint8_t* data) {
  std::uint64_t raw = 0;
  std::memcpy(&raw, data, 8);
  // The size queries give -1 or a whole number; the entry gives -1, 0 or a whole number.
  if (raw >> 62 == 3) return -1;
  return static_cast<double>(raw >> (raw % 64 / 2 + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 19) return 0;
  vornak::DiagramInput in;
  // The strip of the layout is 216 columns at 100 %; larger fonts and scales widen it.
  in.width = 30 + (data[0] | data[1] << 8) % 4000;
  in.height = 3 + data[2] % 200;
  in.haveSourceFile = true;
  in.fileSize = sizeAt(data + 3);
  in.partSize = sizeAt(data + 11);
  const vornak::Diagram diagram = vornak::computeDiagram(in);
  int boxes = 0;
  for (const vornak::Primitive& p : diagram.primitives) {
    if (p.kind == vornak::Primitive::Kind::Box || p.kind == vornak::Primitive::Kind::Point) {
      const int x2 = p.kind == vornak::Primitive::Kind::Point ? p.x1 : p.x2;
      const int y2 = p.kind == vornak::Primitive::Kind::Point ? p.y1 : p.y2;
      check(p.x1 >= 1 && x2 <= in.width && p.x1 <= x2, "columns inside the strip");
      check(p.y1 >= 1 && y2 <= in.height && p.y1 <= y2, "rows inside the strip");
      boxes += p.kind == vornak::Primitive::Kind::Box;
    }
  }
  if (diagram.state == vornak::DiagramState::Parts) {
    check(boxes == vornak::planParts(in.fileSize, in.partSize).count, "one box per part file");
    check(boxes <= (in.width + 4) / 5, "at most ceil(W / 5) boxes");
  }
  return 0;
}
