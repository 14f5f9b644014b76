#pragma once
// EPS and Illustrator drawings read as lines of text: the placement comes
// from the bounding-box comment, and the lines whose last word is one of the
// short path, colour and line-style operators that such files use (and that
// coincide with PDF's) are copied as content. It is no PostScript
// interpreter: everything else is dropped.

#include <cstddef>
#include <string>
#include <vector>

#include "pdf/core/bytes.h"

namespace pdf {

struct EpsDrawing {
  bool has_box = false;    // a "%%BoundingBox:" comment was found (the first one counts)
  bool box_valid = false;  // its four values are numbers and its width and height are not 0
  double llx = 0, lly = 0, urx = 0, ury = 0;
  std::size_t box_at = 0;  // the number of converted lines that come before it
  std::vector<std::string> lines;  // content lines, in order
  bool colours = false;  // a colour line is among them
};

// Converts the drawing's lines. Conversion starts after the bounding box,
// "%%EndSetup" or "%%EndProlog" and stops at "%%PageTrailer" or "showpage".
// A line is copied only when its final operator is one of the set and
// every operator on it (the others may be any path, clipping or numeric
// graphics-state operator of PDF, "h" among them) has its operands as
// plain numbers the writer could write, as many as it takes (a dash array
// in brackets for "d") and in the range PDF gives it; a line of several
// operators gives one content line each. Fills become even-odd fills, and
// a stroke right after a fill of the same path is dropped. A line, curve,
// clip, closing or painting operator with no current point in the copied
// content (its "m" was on a refused line, or the path was already
// painted) is not copied, nor is a transform inside a path. A clip is
// copied right before the operator that ends its path. A path the copied
// lines leave open at the end, or where the bounding box comes after some
// of them (the placement goes in there), is ended with "n". Without
// Colours, the colour operators (g, G, k, K and Illustrator's Xa and XR)
// are left out and all else is copied as with them.
EpsDrawing ConvertEpsLines(ByteSpan File, bool Colours = true);

}  // namespace pdf
