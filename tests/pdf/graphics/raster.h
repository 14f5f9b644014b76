#pragma once
// One page of a PDF file rendered by pdftoppm at one pixel per point, read
// back pixel by pixel.

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/pdf_tools.h"

namespace gfxtest {

class Raster {
 public:
  Raster(const std::string& pdf_path, int page) {
    const pdftest::ToolResult r = pdftest::RunTool(
        {"pdftoppm", "-r", "72", "-f", std::to_string(page), "-l", std::to_string(page), pdf_path});
    EXPECT_EQ(r.exit_code, 0) << "pdftoppm: " << r.err;
    std::istringstream in(r.out);
    std::string magic, max;
    in >> magic >> width_ >> height_ >> max;  // "P6", sizes, 255, one blank
    pixels_ = r.out.substr(static_cast<std::size_t>(in.tellg()) + 1);
    EXPECT_EQ(pixels_.size(), static_cast<std::size_t>(width_) * height_ * 3) << magic;
  }

  int width() const { return width_; }
  int height() const { return height_; }

  // The red, green and blue values of pixel (x, y) from the top-left corner.
  std::vector<int> At(int x, int y) const {
    std::vector<int> v(3, -1);
    for (std::size_t c = 0; c < 3 && x >= 0 && y >= 0 && x < width_ && y < height_; ++c)
      v[c] = static_cast<unsigned char>(pixels_[static_cast<std::size_t>((y * width_ + x) * 3) + c]);
    return v;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::string pixels_;
};

}  // namespace gfxtest
