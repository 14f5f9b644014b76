#pragma once
// Pictures for the image and drawing tests: files made by ImageMagick,
// pages rendered by pdftoppm, both read back as RGB pixels, and a writer
// whose page is exactly the size of what it shows.

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "tests/pdf/pdf_tools.h"

namespace imgtest {

constexpr const char* kConvert = "/usr/bin/convert-im6.q16";

// An RGB picture, 3 bytes a pixel, rows top first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::string rgb;

  int At(int x, int y, int channel) const {
    return static_cast<unsigned char>(rgb[static_cast<std::size_t>((y * width + x) * 3 + channel)]);
  }
};

// A binary PPM (P6, 255) as pdftoppm, mutool, Ghostscript and ImageMagick
// write it.
inline Pixels ParsePpm(const std::string& ppm) {
  Pixels p;
  std::size_t pos = 0;
  auto token = [&]() {
    for (;;) {  // blanks and "#" comment lines between the fields
      while (pos < ppm.size() && std::isspace(static_cast<unsigned char>(ppm[pos]))) ++pos;
      if (pos >= ppm.size() || ppm[pos] != '#') break;
      while (pos < ppm.size() && ppm[pos] != '\n') ++pos;
    }
    const std::size_t start = pos;
    while (pos < ppm.size() && !std::isspace(static_cast<unsigned char>(ppm[pos]))) ++pos;
    return ppm.substr(start, pos - start);
  };
  if (token() != "P6") return p;
  p.width = std::atoi(token().c_str());
  p.height = std::atoi(token().c_str());
  if (token() != "255") return Pixels{};
  ++pos;
  p.rgb = ppm.substr(pos);
  if (p.rgb.size() != static_cast<std::size_t>(p.width) * p.height * 3) return Pixels{};
  return p;
}

// Runs ImageMagick's convert with the arguments; a failure fails the test.
inline void Convert(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {kConvert};
  argv.insert(argv.end(), args.begin(), args.end());
  const pdftest::ToolResult r = pdftest::RunTool(argv);
  ASSERT_EQ(r.exit_code, 0) << r.err;
}

// ImageMagick's own reading of a file (a frame given as "file[1]"),
// flattened onto white as a page shows transparent pixels. It keeps a TGA's
// rows in file order and only notes the origin, so the picture is turned
// upright by its orientation first.
inline Pixels DecodeWithImageMagick(const std::string& file) {
  const pdftest::ToolResult r =
      pdftest::RunTool({kConvert, file, "-auto-orient", "-background", "white", "-flatten", "-depth", "8", "ppm:-"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return ParsePpm(r.out);
}

// Page 1 of a PDF rendered at 72 dpi (one pixel per point). mutool copies
// image samples one to one at that scale, where pdftoppm smooths them; but
// mutool ignores colour-key masks on indexed images, so masks are judged by
// pdftoppm.
inline Pixels RenderPage(const std::string& pdf, bool with_pdftoppm = false) {
  const pdftest::ToolResult r =
      with_pdftoppm ? pdftest::RunTool({"pdftoppm", "-r", "72", "-f", "1", "-l", "1", pdf})
                    : pdftest::RunTool({"mutool", "draw", "-q", "-r", "72", "-c", "rgb", "-F", "pnm", "-o", "-", pdf, "1"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return ParsePpm(r.out);
}

// The largest and the mean difference of one channel between two pictures
// of the same size over their whole area; largest -1 when the sizes differ.
struct Difference {
  int largest = -1;
  double mean = 0;
};
inline Difference Compare(const Pixels& a, const Pixels& b) {
  Difference d;
  if (a.width != b.width || a.height != b.height || a.rgb.empty()) return d;
  d.largest = 0;
  double sum = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) {
    const int v = std::abs(static_cast<unsigned char>(a.rgb[i]) - static_cast<unsigned char>(b.rgb[i]));
    if (v > d.largest) d.largest = v;
    sum += v;
  }
  d.mean = sum / static_cast<double>(a.rgb.size());
  return d;
}

// Compares two renderings of one drawing on its fills: every point of a
// grid whose neighbourhood is of one colour in the reference (so away from
// edges, where renderers draw lines and anti-alias differently) must have
// that colour in ours, within a few levels. Returns the points compared.
inline int ExpectSameFills(const Pixels& ours, const Pixels& reference, int step = 3) {
  EXPECT_EQ(ours.width, reference.width);
  EXPECT_EQ(ours.height, reference.height);
  if (ours.width != reference.width || ours.height != reference.height) return 0;
  int compared = 0, wrong = 0;
  for (int y = 2; y + 2 < reference.height; y += step) {
    for (int x = 2; x + 2 < reference.width; x += step) {
      bool uniform = true;
      for (int dy = -2; dy <= 2 && uniform; ++dy)
        for (int dx = -2; dx <= 2 && uniform; ++dx)
          for (int c = 0; c < 3; ++c) uniform = uniform && reference.At(x + dx, y + dy, c) == reference.At(x, y, c);
      if (!uniform) continue;
      ++compared;
      bool same = true;
      for (int c = 0; c < 3; ++c) same = same && std::abs(ours.At(x, y, c) - reference.At(x, y, c)) <= 3;
      if (!same && ++wrong <= 5) {
        ADD_FAILURE() << "at (" << x << ", " << y << "): ours " << ours.At(x, y, 0) << " " << ours.At(x, y, 1) << " "
                      << ours.At(x, y, 2) << ", reference " << reference.At(x, y, 0) << " " << reference.At(x, y, 1)
                      << " " << reference.At(x, y, 2);
      }
    }
  }
  EXPECT_EQ(wrong, 0) << "of " << compared << " points";
  return compared;
}

// A writer whose document has one page of Width x Height points and no
// margins, the drawing origin at the page's top-left corner.
class PageWriter : public pdf::PdfWriter {
 public:
  using PdfWriter::Content;
  using PdfWriter::Resources;

  void Open(const std::string& path, float width, float height) {
    BeginDoc(path);
    SetPaperSize(255, width, height);
    BeginPage();
    mark_ = BufferText(Content.PageContent).size();
  }
  // The page content written since Open.
  std::string PageText() const { return BufferText(Content.PageContent).substr(mark_); }

 private:
  std::size_t mark_ = 0;
};

}  // namespace imgtest
