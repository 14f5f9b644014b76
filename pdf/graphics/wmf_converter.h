#pragma once
// Windows Metafiles (WMF, with or without the placeable header) read as a
// list of drawing steps: polylines, polygons and poly-polygons with the
// pens and brushes the file creates and selects, and the window mapping
// set before the first of them. Every other record is skipped.

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/core/bytes.h"
#include "pdf/graphics/raster_image.h"

namespace pdf {

enum class WmfStepKind {
  kLine,        // text: a content line as it stands (points, dash, painting)
  kMapping,     // values: window origin x, y and extent x, y
  kPenColour,   // rgb: the stroke colour
  kPenWidth,    // values[0]: the pen width in logical units
  kFillColour,  // rgb: the fill colour
};

struct WmfStep {
  WmfStepKind kind = WmfStepKind::kLine;
  std::string text;
  std::int32_t values[4] = {0, 0, 0, 0};
  std::uint8_t rgb[3] = {0, 0, 0};
};

struct WmfDrawing {
  ReadStatus status = ReadStatus::kOk;
  std::string reason;  // the first fault found; the steps before it stand
  std::vector<WmfStep> steps;
};

// Reads the records in order. A record shorter than its own head or running
// past the end of the file ends the reading; a record whose counts or
// object index do not fit is skipped. Either way the fault is reported
// and the steps read so far are kept. Coordinates are signed 16-bit.
WmfDrawing ConvertWmfRecords(ByteSpan File);

}  // namespace pdf
