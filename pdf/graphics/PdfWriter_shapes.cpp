// Paths and shapes: lines, curves, rectangles (square or rounded), ellipses,
// circles, arcs and pies, regular polygons and polylines.
//
// Every coordinate is in the caller's unit, origin at the top-left corner of
// the margin box, y downward (the page content is flipped). Sums of user
// values are formed in single precision before they are formatted, so the
// arithmetic below keeps float operands on purpose; where a product with a
// double constant or a double-valued function is rounded back to single
// precision that is written out explicitly.

#include "pdf/PdfWriter.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace pdf {

namespace {

// Degrees to radians, the constant the angles of arcs and polygons use.
constexpr double kDegToRad = 0.0174532925199433;

// Handle length factor of a quarter ellipse drawn as one cubic curve.
const double kEllipseHandle = 4.0 * (std::sqrt(2.0) - 1.0) / 3.0;

// Handle length factor of a rounded rectangle's corner.
constexpr double kCornerHandle = 0.55;

}  // namespace

// "x y" with both values in user units.
std::string PdfWriter::FormatPoint(float X, float Y) const {
  return FormatUnits(X) + " " + FormatUnits(Y);
}

std::string PdfWriter::PathStart() {
  const StringBuffer* target = ActiveContent();
  if (target == nullptr || target->PathOpen) return std::string();
  return FormatNumber(Pages.CurrentX) + " " + FormatNumber(Pages.CurrentY) + " m ";
}

void PdfWriter::EndOpenPath() {
  if (StringBuffer* target = ActiveContent()) EndPath(*target);
}

bool PdfWriter::PaintsPath(std::string_view Line) {
  const std::size_t end = Line.find_last_not_of(" \t\r\n");
  if (end == std::string_view::npos) return false;
  const std::size_t blank = Line.find_last_of(" \t\r\n", end);
  const std::size_t start = blank == std::string_view::npos ? 0 : blank + 1;
  const std::string_view op = Line.substr(start, end + 1 - start);
  for (const std::string_view paint : {"S", "s", "f", "F", "f*", "B", "B*", "b", "b*"}) {
    if (op == paint) return true;
  }
  return false;
}

void PdfWriter::MoveTo(float X, float Y) {
  AppendContent(FormatPoint(X, Y) + " m");
  if (StringBuffer* target = ActiveContent()) target->PathOpen = true;
  SetXY(X, Y);
}

void PdfWriter::DrawLine(float X1, float Y1, float X2, float Y2, std::int32_t Options) {
  AppendContent(FormatPoint(X1, Y1) + " m " + FormatPoint(X2, Y2) + " l");
  PaintOperator(Options);
  const float s = Pages.ScaleFactor;
  const float h = Pages.PageHeight;
  SetLastRect(X1 * s, h - Y1 * s, X2 * s, h - Y2 * s);
  SetXY(X2, Y2);
}

void PdfWriter::DrawLineTo(float X, float Y, std::int32_t Options) {
  AppendContent(PathStart() + FormatPoint(X, Y) + " l");
  PaintOperator(Options);
  SetXY(X, Y);
}

void PdfWriter::DrawCurve(std::int16_t CurveType, float X1, float Y1, float X2, float Y2,
                          float X3, float Y3, std::int32_t Options) {
  switch (CurveType) {
    case 1:  // two control points, then the end point
      AppendContent(PathStart() + FormatPoint(X1, Y1) + " " + FormatPoint(X2, Y2) + " " +
                    FormatPoint(X3, Y3) + " c");
      SetXY(X3, Y3);
      break;
    case 2:  // the current point is the first control point
      AppendContent(PathStart() + FormatPoint(X1, Y1) + " " + FormatPoint(X2, Y2) + " v");
      SetXY(X2, Y2);
      break;
    case 3:  // the end point is also the second control point
      AppendContent(PathStart() + FormatPoint(X1, Y1) + " " + FormatPoint(X2, Y2) + " y");
      SetXY(X2, Y2);
      break;
    default:  // unknown type: no segment, the paint line all the same
      // (only for a path open before: painting none stops readers)
      if (!ActiveContent() || !ActiveContent()->PathOpen) return;
      break;
  }
  PaintOperator(Options);
}

void PdfWriter::DrawRect(float X, float Y, float XDim, float YDim, std::int32_t Options,
                         float Ray, std::int32_t RoundedCorner) {
  if (Ray <= 0) {
    AppendContent(FormatPoint(X, Y) + " " + FormatPoint(XDim, YDim) + " re");
  } else {
    float r = Ray;
    if (XDim / 2 < r) r = XDim / 2;
    if (YDim / 2 < r) r = YDim / 2;
    const float k = static_cast<float>(static_cast<double>(r) * kCornerHandle);
    const bool c1 = (RoundedCorner & 1) != 0;  // top-left, at (X, Y)
    const bool c2 = (RoundedCorner & 2) != 0;  // top-right
    const bool c4 = (RoundedCorner & 4) != 0;  // bottom-right
    const bool c8 = (RoundedCorner & 8) != 0;  // bottom-left
    const float right = X + XDim;
    const float bottom = Y + YDim;
    const std::string cr = "\r";
    std::string t;
    t += FormatPoint(c1 ? X + r : X, Y) + " m" + cr;
    t += FormatPoint(c2 ? right - r : right, Y) + " l" + cr;
    if (c2) {
      t += FormatPoint(right - r + k, Y) + " " + FormatPoint(right, Y + r - k) + " " +
           FormatPoint(right, Y + r) + " c" + cr;
    }
    t += FormatPoint(right, c4 ? bottom - r : bottom) + " l" + cr;
    if (c4) {
      t += FormatPoint(right, bottom - r + k) + " " + FormatPoint(right - r + k, bottom) + " " +
           FormatPoint(right - r, bottom) + " c" + cr;
    }
    t += FormatPoint(c8 ? X + r : X, bottom) + " l" + cr;
    if (c8) {
      t += FormatPoint(X + r - k, bottom) + " " + FormatPoint(X, bottom - r + k) + " " +
           FormatPoint(X, bottom - r) + " c" + cr;
    }
    t += FormatPoint(X, c1 ? Y + r : Y) + " l";
    // The closing corner is the last line; without it the text keeps its CR.
    if (c1) {
      t += cr + FormatPoint(X, Y + r - k) + " " + FormatPoint(X + r - k, Y) + " " +
           FormatPoint(X + r, Y) + " c";
    } else {
      t += cr;
    }
    AppendContent(t);
  }
  PaintOperator(Options);
  const float s = Pages.ScaleFactor;
  const float h = Pages.PageHeight;
  SetLastRect(X * s, h - Y * s, X * s + XDim * s, h - Y * s - YDim * s);
  SetXY(X, Y);
}

void PdfWriter::DrawEllipse(float X, float Y, float XRay, float YRay, std::int32_t Options) {
  const float kx = static_cast<float>(kEllipseHandle * XRay);
  const float ky = static_cast<float>(kEllipseHandle * YRay);
  const float right = X + XRay;
  const float left = X - XRay;
  const float top = Y - YRay;
  const float bottom = Y + YRay;
  const std::string cr = "\r";
  std::string t;
  t += FormatPoint(right, Y) + " m" + cr;
  t += FormatPoint(right, Y - ky) + " " + FormatPoint(X + kx, top) + " " + FormatPoint(X, top) +
       " c" + cr;
  t += FormatPoint(X - kx, top) + " " + FormatPoint(left, Y - ky) + " " + FormatPoint(left, Y) +
       " c" + cr;
  t += FormatPoint(left, Y + ky) + " " + FormatPoint(X - kx, bottom) + " " +
       FormatPoint(X, bottom) + " c" + cr;
  t += FormatPoint(X + kx, bottom) + " " + FormatPoint(right, Y + ky) + " " +
       FormatPoint(right, Y) + " c";
  AppendContent(t);
  PaintOperator(Options);
  const float s = Pages.ScaleFactor;
  const float h = Pages.PageHeight;
  SetLastRect(left * s, h - top * s, right * s, h - bottom * s);
  SetXY(X, Y);
}

void PdfWriter::DrawCircle(float X, float Y, float Ray, std::int32_t Options) {
  DrawEllipse(X, Y, Ray, Ray, Options);
}

void PdfWriter::DrawArc(float X, float Y, float Ray, float StartAngle, float EndAngle,
                        float Ratio, bool Pie, std::int16_t Quality, std::int32_t Options) {
  // A step of 0 would never move the angle: take the default step instead.
  const float step = Quality == 0 ? 1.0f : static_cast<float>(Quality);
  // An arc of more than a million points (a span of millions of degrees)
  // would take seconds and megabytes for a shape no reader can show.
  constexpr double kMostPoints = 1e6;
  if (static_cast<double>(EndAngle - StartAngle) / step > kMostPoints) throw PdfError(6);
  ContentRollback rollback(*this);
  AppendContent(FormatPoint(X, Y) + " m");
  if (Options & 4) Pie = true;
  const float ry = Ray * Ratio;
  float a = StartAngle;
  while (step > 0 ? a <= EndAngle : a >= EndAngle) {
    const float r = static_cast<float>(a * kDegToRad);
    const float dx = static_cast<float>(Ray * std::cos(static_cast<double>(r)));
    const float dy = static_cast<float>(ry * std::sin(static_cast<double>(r)));
    const std::string point = FormatPoint(X + dx, Y + dy);
    if (a == StartAngle && !Pie) AppendContent(point + " m");
    AppendContent(point + " l");
    const float next = a + step;
    // Far from zero (2^24 degrees and beyond for a step of 1) adding the step
    // no longer changes a single-precision angle. The default step of one
    // degree is the smallest there is, so it cannot help: the arc ends there
    // instead of writing the same point for ever.
    if (next == a) break;
    a = next;
  }
  if (Pie) AppendContent(FormatPoint(X, Y) + " l");
  PaintOperator(Options);
  const float s = Pages.ScaleFactor;
  const float h = Pages.PageHeight;
  SetLastRect((X - Ray) * s, h - (Y - Ray) * s, (X + Ray) * s, h - (Y + Ray) * s);
  SetXY(X, Y);
}

void PdfWriter::DrawPolygon(float X, float Y, float Ray, std::int16_t Sides,
                            std::int32_t Options) {
  if (Sides == 0) throw PdfError(11);
  const float r = std::fabs(Ray);
  const float step = static_cast<float>(360.0 / Sides);
  const float g = step < 0 ? -1.0f : 1.0f;
  std::string t = FormatPoint(X + g * r, Y) + " m";
  // The angle accumulates in single precision: for some side counts (7, 11,
  // 19, ...) it stays just below 360 and an extra vertex lands on the first.
  for (float a = step; std::fabs(a) < 360; a += step) {
    const double rad = a * kDegToRad;
    const float px = static_cast<float>(static_cast<double>(g * r) * std::cos(rad) + X);
    const float py = static_cast<float>(static_cast<double>(r) * std::sin(rad) + Y);
    t += "\r" + FormatPoint(px, py) + " l";
  }
  AppendContent(t);
  PaintOperator(Options | 2);
  const float s = Pages.ScaleFactor;
  const float h = Pages.PageHeight;
  SetLastRect((X - r) * s, h - (Y - r) * s, (X + r) * s, h - (Y + r) * s);
  SetXY(X, Y);
}

void PdfWriter::DrawPolyline(const std::vector<double>& Points, std::int32_t Options) {
  // Points are indexed with a 16-bit signed index, as x, y pairs.
  if (Points.empty()) throw PdfError(9);
  if (Points.size() - 1 > 32767) throw PdfError(6);
  const float s = Pages.ScaleFactor;
  const float h = Pages.PageHeight;
  std::string t;
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  for (std::size_t i = 0; i < Points.size(); i += 2) {
    if (i + 1 >= Points.size()) {
      throw PdfError(9);
    }
    const float px = static_cast<float>(Points[i] * s);
    const float py = static_cast<float>(Points[i + 1] * s);
    t += FormatNumber(px) + " " + FormatNumber(py) + (i == 0 ? " m" : " l") + "\r";
    const float v = h - py;
    if (i == 0 || px < x1) x1 = px;
    if (i == 0 || v < y1) y1 = v;
    if (i == 0 || px > x2) x2 = px;
    if (i == 0 || v > y2) y2 = v;
    SetLastRect(x1, y1, x2, y2);
  }
  AppendContent(t);
  PaintOperator(Options);
  const std::size_t last = (Options & 2) ? 0 : Points.size() - 2;
  SetXY(static_cast<float>(Points[last]), static_cast<float>(Points[last + 1]));
}

}  // namespace pdf
