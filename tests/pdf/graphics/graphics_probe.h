#pragma once
// The graphics tests' helpers: a writer whose content and state the tests
// can read, with an open document and page; renderings and ImageMagick's
// readings as RGB pixels, compared.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "tests/pdf/pdf_tools.h"

namespace gfxtest {

// A writer whose content and state the tests can read; Open gives it one
// page of width x height points and no margins.
class Probe : public pdf::PdfWriter {
 public:
  using PdfWriter::Navigation;
  using PdfWriter::Objects;
  using PdfWriter::Resources;
  using PdfWriter::Text;
  using PdfWriter::PatternDefined;

  void Open(const std::string& path, float width, float height) {
    BeginDoc(path);
    SetPaperSize(255, width, height);
    BeginPage();
    mark_ = BufferText(Content.PageContent).size();
  }
  // The page content written since Open.
  std::string PageText() const { return BufferText(Content.PageContent).substr(mark_); }
  std::string TilingText() const { return BufferText(Content.TilingContent); }
  std::array<float, 4> LastRect() const { return Content.LastRect; }
  // A member that records its failure (DrawImage) raises it instead, for
  // tables of failures that are raised; what was recorded before is cleared.
  template <typename Call>
  void Raising(Call call) {
    Error = {};
    call();
    if (ErrNumber() != 0) throw pdf::PdfError(ErrNumber(), ErrDescription());
  }

 private:
  std::size_t mark_ = 0;
};

class GraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override { Reopen(1); }
  // Starts on a fresh document and page at the given points-per-unit factor.
  void Reopen(float scale) {
    pdf_.Abort();
    mark_ = 0;
    pdf_.BeginDoc(path_ = dir_.file("graphics.pdf"));
    ASSERT_EQ(pdf_.ErrNumber(), 0) << pdf_.ErrDescription();
    if (scale != 1) pdf_.SetScale(255, scale);
    pdf_.BeginPage();
    Take();
  }
  // The content lines appended since the previous Take().
  std::string Take() {
    std::string fresh = pdf_.PageText().substr(mark_);
    mark_ += fresh.size();
    return fresh;
  }

  pdftest::TempDir dir_;
  std::string path_;
  Probe pdf_;
  std::size_t mark_ = 0;
};

// A one-page PDF file of 100 x 50 points holding a filled square, for the
// tests that import a page.
inline void WriteSourcePage(const std::string& path) {
  pdf::PdfWriter source;
  source.BeginDoc(path);
  source.SetPaperSize(255, 100, 50);
  source.BeginPage();
  source.DrawRect(10, 10, 20, 20, 4);
  source.EndDoc();
}

inline void ExpectRect(const std::array<float, 4>& r, float x1, float y1, float x2, float y2) {
  EXPECT_FLOAT_EQ(r[0], x1);
  EXPECT_FLOAT_EQ(r[1], y1);
  EXPECT_FLOAT_EQ(r[2], x2);
  EXPECT_FLOAT_EQ(r[3], y2);
}


constexpr const char* kConvert = "/usr/bin/convert-im6.q16";

// An RGB picture, 3 bytes a pixel, rows top first.
struct Pixels {
  int width = 0, height = 0;
  std::string rgb;
  int At(int x, int y, int c) const { return static_cast<unsigned char>(rgb[(y * width + x) * 3 + c]); }
};

// A binary PPM (P6, 255); Ghostscript puts a "#" comment in its head.
inline Pixels ParsePpm(const std::string& ppm) {
  std::istringstream in(ppm);
  std::string magic;
  int depth = 0;
  Pixels p;
  in >> magic >> std::ws;
  while (in.peek() == '#') in.ignore(1 << 20, '\n');
  in >> p.width >> p.height >> depth;
  in.get();
  p.rgb.assign(std::istreambuf_iterator<char>(in), {});
  if (magic != "P6" || depth != 255 || p.rgb.size() != static_cast<std::size_t>(p.width) * p.height * 3) return Pixels{};
  return p;
}

inline Pixels Ppm(const std::vector<std::string>& argv) {
  const pdftest::ToolResult r = pdftest::RunTool(argv);
  EXPECT_EQ(r.exit_code, 0) << argv[0] << ": " << r.err;
  return ParsePpm(r.out);
}

// ImageMagick's reading of a file ("file[1]" for a frame) flattened onto
// white as a page shows transparency. It keeps a TGA's rows in file order
// and only notes the origin: the picture is turned upright first.
inline Pixels DecodeWithImageMagick(const std::string& file) {
  return Ppm({kConvert, file, "-auto-orient", "-background", "white", "-flatten", "-depth", "8", "ppm:-"});
}

// A page at 72 dpi: mutool copies samples one to one (pdftoppm smooths
// them) but ignores colour keys on indexed images, which pdftoppm judges.
inline Pixels RenderPage(const std::string& pdf, bool with_pdftoppm = false, int page = 1) {
  const std::string n = std::to_string(page);
  if (with_pdftoppm) return Ppm({"pdftoppm", "-r", "72", "-f", n, "-l", n, pdf});
  return Ppm({"mutool", "draw", "-q", "-r", "72", "-c", "rgb", "-F", "pnm", "-o", "-", pdf, n});
}

// The largest and the mean difference of a channel (-1 for other sizes).
inline std::pair<int, double> Compare(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height || a.rgb.empty()) return {-1, 0};
  int largest = 0;
  double sum = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) {
    const int v = std::abs(static_cast<unsigned char>(a.rgb[i]) - static_cast<unsigned char>(b.rgb[i]));
    largest = std::max(largest, v);
    sum += v;
  }
  return {largest, sum / static_cast<double>(a.rgb.size())};
}

// Compares two renderings on their fills: each grid point whose 5 x 5
// neighbourhood is of one colour in the reference (away from edges, drawn
// differently by each) has that colour in ours. Returns the points compared.
inline int ExpectSameFills(const Pixels& ours, const Pixels& ref) {
  EXPECT_TRUE(ours.width == ref.width && ours.height == ref.height) << ours.width << "x" << ours.height;
  if (ours.width != ref.width || ours.height != ref.height) return 0;
  int compared = 0, wrong = 0;
  std::string first;
  for (int y = 2; y + 2 < ref.height; y += 3) {
    for (int x = 2; x + 2 < ref.width; x += 3) {
      bool uniform = true;
      for (int k = 0; k < 75 && uniform; ++k) uniform = ref.At(x + k / 15 - 2, y + k / 3 % 5 - 2, k % 3) == ref.At(x, y, k % 3);
      if (!uniform) continue;
      ++compared;
      for (int c = 0; c < 3; ++c)
        if (std::abs(ours.At(x, y, c) - ref.At(x, y, c)) > 3 && wrong++ == 0) first = std::to_string(x) + "," + std::to_string(y);
    }
  }
  EXPECT_EQ(wrong, 0) << "of " << compared << " points, first at " << first;
  return compared;
}

}  // namespace gfxtest
