#pragma once
// One page of a PDF file rendered by pdftoppm, read back pixel by pixel.

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/pdf_tools.h"

namespace gfxtest {

class Raster {
 public:
  // Colour (P6) at `dpi`, or grey (P5) with `gray`; `crop` pixels wide and
  // high from the top-left corner when not 0.
  Raster(const std::string& pdf_path, int page, int dpi = 72, bool gray = false, int crop = 0) {
    std::vector<std::string> args = {"pdftoppm", "-r", std::to_string(dpi), "-f",
                                     std::to_string(page), "-l", std::to_string(page)};
    if (gray) args.push_back("-gray");
    if (crop > 0) {
      for (const char* a : {"-W", "-H"}) {
        args.push_back(a);
        args.push_back(std::to_string(crop));
      }
    }
    args.push_back(pdf_path);
    const pdftest::ToolResult r = pdftest::RunTool(args);
    EXPECT_EQ(r.exit_code, 0) << "pdftoppm: " << r.err;
    EXPECT_EQ(r.err, "") << "pdftoppm stderr";
    Parse(r.out, gray ? "P5" : "P6", gray ? 1 : 3);
  }

  int width() const { return width_; }
  int height() const { return height_; }

  // The channel values of the pixel whose top-left corner is at (x, y)
  // pixels from the page's top-left corner ({-1, ...} outside the page).
  std::vector<int> At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return std::vector<int>(channels_, -1);
    const std::size_t p = static_cast<std::size_t>((y * width_ + x) * channels_);
    std::vector<int> v;
    for (int c = 0; c < channels_; ++c)
      v.push_back(static_cast<unsigned char>(pixels_[p + static_cast<std::size_t>(c)]));
    return v;
  }

 private:
  void Parse(const std::string& pnm, const std::string& magic, int channels) {
    // magic, blank, width, blank, height, blank, 255, one whitespace, data.
    channels_ = channels;
    std::size_t pos = 0;
    auto token = [&]() {
      while (pos < pnm.size() && std::isspace(static_cast<unsigned char>(pnm[pos]))) ++pos;
      const std::size_t start = pos;
      while (pos < pnm.size() && !std::isspace(static_cast<unsigned char>(pnm[pos]))) ++pos;
      return pnm.substr(start, pos - start);
    };
    ASSERT_EQ(token(), magic);
    width_ = std::atoi(token().c_str());
    height_ = std::atoi(token().c_str());
    ASSERT_EQ(token(), "255");
    ++pos;
    ASSERT_EQ(pnm.size() - pos, static_cast<std::size_t>(width_) * height_ * channels);
    pixels_ = pnm.substr(pos);
  }

  int width_ = 0;
  int height_ = 0;
  int channels_ = 3;
  std::string pixels_;
};

}  // namespace gfxtest
