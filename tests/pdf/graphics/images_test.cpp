// Images through DrawImage: files made by ImageMagick in every depth and
// compression the readers take, placed at one pixel per point, rendered by
// pdftoppm and compared pixel by pixel with ImageMagick's own reading; files
// with lying headers give a recorded error, no image and a valid document.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/image_tools.h"
#include "tests/pdf/pdf_tools.h"

namespace {

using imgtest::Convert;
using imgtest::PageWriter;
using imgtest::Pixels;

void PutLe(std::string& s, std::size_t at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
std::uint32_t GetLe(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
  return v;
}

class ImagesTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return dir_.file(name); }

  // Draws the file at one pixel per point on a page of its own size and
  // compares the rendering with ImageMagick's reading of `reference`.
  void ExpectRendersLike(const std::string& file, const std::string& reference, int tolerance,
                         std::int16_t frame = 1) {
    const Pixels expected = imgtest::DecodeWithImageMagick(reference);
    ASSERT_GT(expected.width, 0) << reference;
    const std::string pdf = File("page.pdf");
    PageWriter writer;
    writer.Open(pdf, static_cast<float>(expected.width), static_cast<float>(expected.height));
    writer.DrawImage(file, 0, 0, 0, 0, frame);
    EXPECT_EQ(writer.ErrNumber(), 0) << writer.ErrDescription();
    writer.EndDoc();
    const pdftest::ToolResult check = pdftest::QpdfCheck(pdf);
    EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
    const Pixels page = imgtest::RenderPage(pdf);
    const imgtest::Difference d = imgtest::Compare(page, expected);
    EXPECT_GE(d.largest, 0) << "page " << page.width << "x" << page.height << ", image " << expected.width << "x"
                            << expected.height;
    EXPECT_LE(d.largest, tolerance);
    // CMYK is turned into RGB by each program's own formula: the mean
    // tells an upright picture (about 18) from an inverted one (about 100).
    EXPECT_LE(d.mean, tolerance <= 8 ? tolerance : 25) << "largest " << d.largest;
  }

  pdftest::TempDir dir_;
};

// ---- round trips --------------------------------------------------------

struct MadeImage {
  const char* what;
  std::vector<std::string> convert;  // arguments before the output name
  const char* output;                // the output name, with a format prefix if any
  int tolerance;
  std::int16_t frame = 1;
};

TEST_F(ImagesTest, EveryDepthAndCompressionRendersAsImageMagickReadsIt) {
  const std::vector<MadeImage> cases = {
      {"BMP 1 bit", {"rose:", "-monochrome"}, "BMP3:a.bmp", 0},
      {"BMP 1 bit, V4 header", {"rose:", "-monochrome"}, "b.bmp", 0},
      {"BMP 4 bits", {"rose:", "-type", "palette", "-colors", "16", "-compress", "none"}, "c.bmp", 0},
      {"BMP 8 bits, 200 colours", {"rose:", "-colors", "200", "-compress", "none"}, "d.bmp", 0},
      {"BMP 8 bits RLE8", {"rose:", "-colors", "200"}, "e.bmp", 0},
      {"BMP 8 bits RLE8, odd width", {"rose:", "-resize", "37x23!", "-colors", "50"}, "f.bmp", 0},
      {"BMP 24 bits", {"rose:", "-type", "truecolor"}, "g.bmp", 0},
      {"BMP 24 bits, odd width", {"rose:", "-resize", "37x23!", "-type", "truecolor"}, "BMP3:h.bmp", 0},
      {"TGA type 2", {"rose:"}, "i.tga", 0},
      {"TGA type 10", {"rose:", "-compress", "RLE"}, "j.tga", 0},
      {"TGA 32 bits with alpha", {"rose:", "-alpha", "set"}, "k.tga", 0},
      {"TGA 32 bits run-length", {"rose:", "-alpha", "set", "-compress", "RLE"}, "l.tga", 0},
      {"GIF", {"rose:"}, "m.gif", 0},
      {"GIF interlaced", {"rose:", "-interlace", "GIF"}, "n.gif", 0},
      {"GIF 3-bit table", {"rose:", "-colors", "5"}, "o.gif", 0},
      {"GIF 2 colours, odd size", {"rose:", "-resize", "37x23!", "-monochrome"}, "p.gif", 0},
      {"GIF 87a", {"rose:", "-colors", "64"}, "GIF87:q.gif", 0},
      {"GIF second frame", {"rose:", "(", "rose:", "-negate", ")"}, "r.gif", 0, 2},
      {"JPEG baseline", {"rose:", "-quality", "92"}, "s.jpg", 6},
      {"JPEG progressive", {"rose:", "-interlace", "JPEG"}, "t.jpg", 6},
      {"JPEG grey", {"rose:", "-colorspace", "gray"}, "u.jpg", 6},
      {"JPEG CMYK", {"rose:", "-colorspace", "cmyk"}, "v.jpg", 80},
  };
  for (const MadeImage& c : cases) {
    SCOPED_TRACE(c.what);
    std::string out = c.output;
    const std::size_t colon = out.find(':');
    const std::string name = colon == std::string::npos ? out : out.substr(colon + 1);
    std::vector<std::string> args = c.convert;
    args.push_back(colon == std::string::npos ? File(name) : out.substr(0, colon + 1) + File(name));
    Convert(args);
    const std::string reference = c.frame == 1 ? File(name) : File(name) + "[" + std::to_string(c.frame - 1) + "]";
    ExpectRendersLike(File(name), reference, c.tolerance, c.frame);
  }
}

// Files that ImageMagick does not write: built here from its 24-bit and
// 4-bit bitmaps and its TGA.
struct RewrittenImage {
  const char* what;
  std::vector<std::string> convert;
  const char* source;
  std::function<std::string(const std::string&)> rewrite;
  int tolerance;
};

// The rows of an uncompressed BMP3 file: data offset, row length, height.
struct BmpRows {
  std::size_t offset, stride;
  int width, height, bits;
};
BmpRows RowsOf(const std::string& bmp) {
  BmpRows r;
  r.offset = GetLe(bmp, 10, 4);
  r.width = static_cast<int>(GetLe(bmp, 18, 4));
  r.height = static_cast<int>(GetLe(bmp, 22, 4));
  r.bits = static_cast<int>(GetLe(bmp, 28, 2));
  r.stride = (static_cast<std::size_t>(r.width) * r.bits + 31) / 32 * 4;
  return r;
}

// Rows reversed and the height negated: the same picture stored top down.
std::string TopDown(const std::string& bmp) {
  const BmpRows r = RowsOf(bmp);
  std::string out = bmp;
  for (int y = 0; y < r.height; ++y)
    out.replace(r.offset + y * r.stride, r.stride, bmp.substr(r.offset + (r.height - 1 - y) * r.stride, r.stride));
  PutLe(out, 22, static_cast<std::uint32_t>(-r.height), 4);
  return out;
}

// The 24-bit picture at 16 bits (5 bits a channel) or 32 bits (an opaque
// alpha byte added), uncompressed.
std::string Direct(const std::string& bmp, int bits) {
  const BmpRows r = RowsOf(bmp);
  const std::size_t stride = (static_cast<std::size_t>(r.width) * bits + 31) / 32 * 4;
  std::string out = bmp.substr(0, r.offset);
  PutLe(out, 28, static_cast<std::uint32_t>(bits), 2);
  for (int y = 0; y < r.height; ++y) {
    std::string row(stride, '\0');
    for (int x = 0; x < r.width; ++x) {
      const std::size_t in = r.offset + y * r.stride + x * 3;
      const unsigned b = static_cast<unsigned char>(bmp[in]), g = static_cast<unsigned char>(bmp[in + 1]),
                     red = static_cast<unsigned char>(bmp[in + 2]);
      if (bits == 16) {
        PutLe(row, x * 2, ((red >> 3) << 10) | ((g >> 3) << 5) | (b >> 3), 2);
      } else {
        PutLe(row, x * 4, b | (g << 8) | (red << 16) | 0xFF000000u, 4);
      }
    }
    out += row;
  }
  PutLe(out, 2, static_cast<std::uint32_t>(out.size()), 4);
  return out;
}

// A 4-bit bitmap run-length encoded (RLE4): runs of equal pixels as
// encoded runs, the rest as absolute runs, odd counts included.
std::string Rle4(const std::string& bmp) {
  const BmpRows r = RowsOf(bmp);
  std::string data;
  for (int y = 0; y < r.height; ++y) {
    std::vector<int> px(static_cast<std::size_t>(r.width));
    for (int x = 0; x < r.width; ++x) {
      const unsigned char b = static_cast<unsigned char>(bmp[r.offset + y * r.stride + x / 2]);
      px[static_cast<std::size_t>(x)] = x % 2 == 0 ? b >> 4 : b & 15;
    }
    int x = 0;
    while (x < r.width) {
      int run = 1;
      while (x + run < r.width && run < 255 && px[x + run] == px[x]) ++run;
      if (run >= 3 || r.width - x < 3) {
        data += static_cast<char>(run);
        data += static_cast<char>(px[x] << 4 | px[x]);
        x += run;
        continue;
      }
      int n = 3;  // an absolute run of at least 3 pixels
      while (x + n < r.width && n < 255 && !(x + n + 2 < r.width && px[x + n] == px[x + n + 1] && px[x + n] == px[x + n + 2])) ++n;
      std::string bytes((n + 1) / 2, '\0');
      for (int i = 0; i < n; ++i) bytes[i / 2] = static_cast<char>(bytes[i / 2] | (i % 2 == 0 ? px[x + i] << 4 : px[x + i]));
      if (bytes.size() % 2 == 1) bytes += '\0';
      data += '\0';
      data += static_cast<char>(n);
      data += bytes;
      x += n;
    }
    data += std::string("\0\0", 2);
  }
  data += std::string("\0\1", 2);
  std::string out = bmp.substr(0, r.offset) + data;
  PutLe(out, 30, 2, 4);
  PutLe(out, 2, static_cast<std::uint32_t>(out.size()), 4);
  return out;
}

// A TGA with its rows reversed and the top-left origin bit set.
std::string TopLeftTga(const std::string& tga) {
  const int w = static_cast<int>(GetLe(tga, 12, 2)), h = static_cast<int>(GetLe(tga, 14, 2));
  const std::size_t px = static_cast<unsigned char>(tga[16]) / 8, start = 18 + static_cast<unsigned char>(tga[0]);
  const std::size_t row = w * px;
  std::string out = tga;
  for (int y = 0; y < h; ++y) out.replace(start + y * row, row, tga.substr(start + (h - 1 - y) * row, row));
  out[17] = static_cast<char>(tga[17] | 0x20);
  return out;
}

TEST_F(ImagesTest, FilesBuiltByTheTestRenderAsTheirSource) {
  const std::vector<RewrittenImage> cases = {
      {"BMP 24 bits top down", {"rose:", "-type", "truecolor"}, "BMP3:src.bmp", TopDown, 0},
      {"BMP 8 bits top down", {"rose:", "-colors", "100", "-compress", "none"}, "BMP3:src.bmp", TopDown, 0},
      {"BMP 32 bits", {"rose:", "-type", "truecolor"}, "BMP3:src.bmp", [](const std::string& b) { return Direct(b, 32); }, 0},
      {"BMP 16 bits", {"rose:", "-type", "truecolor"}, "BMP3:src.bmp", [](const std::string& b) { return Direct(b, 16); }, 8},
      {"BMP 4 bits RLE4", {"rose:", "-type", "palette", "-colors", "16", "-compress", "none"}, "BMP3:src.bmp", Rle4, 0},
      {"BMP 4 bits RLE4, odd width", {"rose:", "-resize", "37x23!", "-type", "palette", "-colors", "9", "-compress", "none"}, "BMP3:src.bmp", Rle4, 0},
      {"TGA top-left origin", {"rose:"}, "src.tga", TopLeftTga, 0},
      {"TGA 32 bits top-left origin", {"rose:", "-alpha", "set"}, "src.tga", TopLeftTga, 0},
  };
  for (const RewrittenImage& c : cases) {
    SCOPED_TRACE(c.what);
    std::string out = c.source;
    const std::size_t colon = out.find(':');
    const std::string name = colon == std::string::npos ? out : out.substr(colon + 1);
    std::vector<std::string> args = c.convert;
    args.push_back(colon == std::string::npos ? File(name) : out.substr(0, colon + 1) + File(name));
    Convert(args);
    const std::string made = File(std::string("made.") + (name.back() == 'a' ? "tga" : "bmp"));
    pdftest::WriteFile(made, c.rewrite(pdftest::ReadFile(File(name))));
    ExpectRendersLike(made, File(name), c.tolerance);
  }
}

// 7FFF at 16 bits keeps five bits a channel: 248, 248, 248.
TEST_F(ImagesTest, SixteenBitWhiteIsTwoFortyEight) {
  Convert({"-size", "4x3", "xc:white", "-type", "truecolor", "BMP3:" + File("w.bmp")});
  const std::string bmp = Direct(pdftest::ReadFile(File("w.bmp")), 16);
  EXPECT_EQ(GetLe(bmp, RowsOf(bmp).offset, 2), 0x7FFFu);
  pdftest::WriteFile(File("w16.bmp"), bmp);
  PageWriter writer;
  writer.Open(File("w.pdf"), 4, 3);
  writer.DrawImage(File("w16.bmp"), 0, 0);
  writer.EndDoc();
  const Pixels page = imgtest::RenderPage(File("w.pdf"));
  ASSERT_EQ(page.width, 4);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(page.At(1, 1, c), 248);
}

// ---- transparency ---------------------------------------------------------

TEST_F(ImagesTest, ColourMasksAndTransparentIndexesShowThePageThrough) {
  // Left half blue, right half red.
  const std::vector<std::string> two = {"-size", "20x10", "xc:red", "-fill", "blue", "-draw", "rectangle 0,0 9,9"};
  struct Case {
    const char* what;
    std::vector<std::string> extra;
    const char* name;
    const char* mask;
    const char* mask_entry;  // in the image dictionary; "" for none
  } cases[] = {
      {"24-bit BMP, mask colour", {"-type", "truecolor"}, "BMP3:m24.bmp", "#0000FF", "/Mask [0 0 0 0 255 255 ]"},
      {"8-bit BMP, mask colour", {"-type", "palette", "-compress", "none"}, "BMP3:m8.bmp", "#0000FF", "/Mask ["},
      {"GIF with a transparent index", {"-transparent", "blue", "-background", "blue"}, "t.gif", "", "/Mask ["},
      {"GIF without one keeps every pixel", {}, "o.gif", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string out = c.name;
    const std::size_t colon = out.find(':');
    const std::string name = colon == std::string::npos ? out : out.substr(colon + 1);
    std::vector<std::string> args = two;
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    args.push_back(colon == std::string::npos ? File(name) : out.substr(0, colon + 1) + File(name));
    Convert(args);
    const std::string pdf = File("mask.pdf");
    PageWriter writer;
    writer.Open(pdf, 20, 10);
    writer.SetColorFill("#00FF00");  // not drawn: the page stays white
    writer.DrawImage(File(name), 0, 0, 0, 0, 1, c.mask);
    EXPECT_EQ(writer.ErrNumber(), 0) << writer.ErrDescription();
    writer.EndDoc();
    const std::string bytes = pdftest::ReadFile(pdf);
    if (*c.mask_entry) {
      EXPECT_NE(bytes.find(c.mask_entry), std::string::npos);
    } else {
      EXPECT_EQ(bytes.find("/Mask"), std::string::npos);
    }
    const Pixels page = imgtest::RenderPage(pdf, true);
    ASSERT_EQ(page.width, 20);
    const int masked = *c.mask_entry != 0 ? 255 : 0;
    // The left half is white where masked, else blue.
    EXPECT_EQ(page.At(3, 5, 0), masked) << "left half";
    EXPECT_EQ(page.At(3, 5, 1), masked) << "left half";
    EXPECT_EQ(page.At(3, 5, 2), 255) << "left half";
    EXPECT_EQ(page.At(15, 5, 0), 255) << "right half red";
    EXPECT_EQ(page.At(15, 5, 1), 0) << "right half red";
  }
}

TEST_F(ImagesTest, CmykJpegUnderAnAdobeMarkerIsDecodedInverted) {
  Convert({"rose:", "-colorspace", "cmyk", File("c.jpg")});
  PageWriter writer;
  writer.Open(File("c.pdf"), 70, 46);
  writer.DrawImage(File("c.jpg"), 0, 0);
  writer.EndDoc();
  EXPECT_NE(pdftest::ReadFile(File("c.pdf")).find("/Decode [1 0 1 0 1 0 1 0]"), std::string::npos);
}

// ---- placement and the image cache -------------------------------------

TEST_F(ImagesTest, OneObjectPerFileAndFramePlacedAsOftenAsAsked) {
  Convert({"-size", "100x50", "xc:orange", "-type", "truecolor", "BMP3:" + File("p.bmp")});
  Convert({"-size", "100x50", "xc:orange", File("p.jpg")});
  Convert({"-size", "8x4", "xc:red", "(", "-size", "8x4", "xc:blue", ")", File("two.gif")});
  PageWriter writer;
  writer.Open(File("cache.pdf"), 595, 842);
  writer.DrawImage(File("p.bmp"), 10, 20);
  EXPECT_EQ(writer.PageText(), "\rq 100 0 0 50 10 20 cm /_IMG_1 Do Q") << "one pixel per point";
  writer.DrawImage(File("P.BMP"), 0, 0, 30);  // the same name in other case: not read again
  writer.DrawImage(File("p.jpg"), 5, 6, 0, 25);
  writer.DrawImage(File("two.gif"), 0, 0, 0, 0, 1);
  writer.DrawImage(File("two.gif"), 0, 0, 0, 0, 2);
  EXPECT_EQ(writer.ErrNumber(), 0) << writer.ErrDescription();
  EXPECT_EQ(writer.Resources.ImageCount, 4);
  const std::string text = writer.PageText();
  EXPECT_NE(text.find("\rq 30 0 0 15 0 0 cm /_IMG_1 Do Q"), std::string::npos) << "proportional height";
  EXPECT_NE(text.find("\rq 50 0 0 -25 5 31 cm /_IMG_2 Do Q"), std::string::npos) << "JPEG drawn mirrored";
  EXPECT_NE(text.find("/_IMG_4 Do"), std::string::npos) << "frame 2 is an image of its own";
  writer.EndDoc();
  const std::string bytes = pdftest::ReadFile(File("cache.pdf"));
  EXPECT_EQ(pdftest::Count(bytes, "/Subtype /Image"), 4);
  pdftest::ExpectReadersAccept(File("cache.pdf"));
}

TEST_F(ImagesTest, SizesFollowTheScale) {
  Convert({"-size", "100x50", "xc:orange", "-type", "truecolor", "BMP3:" + File("p.bmp")});
  PageWriter writer;
  writer.Open(File("scale.pdf"), 595, 842);
  writer.SetScale(3);  // centimetres
  writer.DrawImage(File("p.bmp"), 1, 2, 10);
  const auto r = writer.Content.LastRect;
  EXPECT_NEAR(r[2] - r[0], 283.46457f, 1e-3);
  EXPECT_NEAR(r[1] - r[3], 141.73228f, 1e-3) << "height 5 cm";
  EXPECT_NEAR(r[1], 842 - 56.692914f, 1e-3);
  writer.EndDoc();
}

// ---- files that cannot be used -------------------------------------------

struct Hostile {
  const char* what;
  std::function<void(std::string&)> damage;
  int error;  // 0: the file is still drawn
};

void RunHostileTable(const pdftest::TempDir& dir, const std::string& source, const std::vector<Hostile>& rows) {
  const std::string original = pdftest::ReadFile(source);
  ASSERT_FALSE(original.empty()) << source;
  const std::string ext = source.substr(source.size() - 4);
  for (const Hostile& row : rows) {
    SCOPED_TRACE(std::string(row.what) + " (" + ext + ")");
    std::string bytes = original;
    row.damage(bytes);
    const std::string file = dir.file(std::string("hostile") + ext);
    pdftest::WriteFile(file, bytes);
    const std::string pdf = dir.file("hostile.pdf");
    PageWriter writer;
    writer.Open(pdf, 200, 200);
    writer.DrawImage(file, 0, 0);
    EXPECT_EQ(writer.ErrNumber(), row.error) << writer.ErrDescription();
    if (row.error != 0) {
      EXPECT_EQ(writer.ErrSource(), "PdfWriter.DrawImage");
      EXPECT_EQ(writer.PageText().find("Do"), std::string::npos) << "no placement of an image never written";
      EXPECT_EQ(writer.Resources.ImageCount, 0) << "nothing cached";
    } else {
      EXPECT_NE(writer.PageText().find("Do"), std::string::npos);
    }
    writer.EndDoc();
    const pdftest::ToolResult check = pdftest::QpdfCheck(pdf);
    EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
  }
}

std::function<void(std::string&)> Cut(std::size_t keep) {
  return [keep](std::string& s) { s.resize(std::min(keep, s.size())); };
}
std::function<void(std::string&)> Put(std::size_t at, std::uint32_t v, int bytes) {
  return [=](std::string& s) { PutLe(s, at, v, bytes); };
}
std::function<void(std::string&)> Drop(std::size_t count) {
  return [count](std::string& s) { s.resize(s.size() - count); };
}

TEST_F(ImagesTest, HostileBitmaps) {
  Convert({"rose:", "-type", "truecolor", "BMP3:" + File("t.bmp")});
  RunHostileTable(dir_, File("t.bmp"),
                  {{"cut inside the header", Cut(30), 62},
                   {"no signature", Put(0, 'X', 1), 321},
                   {"width of 2^31 - 1", Put(18, 0x7FFFFFFF, 4), 7},
                   {"negative width", Put(18, 0xFFFFFFF0u, 4), 321},
                   {"height 0", Put(22, 0, 4), 321},
                   {"height larger than the data", Put(22, 4000, 4), 62},
                   {"data offset past the end", Put(10, 0x7FFFFFF0, 4), 62},
                   {"last rows missing", Drop(500), 62},
                   {"3 bits per pixel", Put(28, 3, 2), 321},
                   {"bit-field compression", Put(30, 3, 4), 321},
                   {"information header of 12 bytes", Put(14, 12, 4), 321},
                   {"padding of the last row missing", Drop(2), 0}});
  Convert({"rose:", "-colors", "200", File("r.bmp")});  // RLE8
  RunHostileTable(dir_, File("r.bmp"),
                  {{"palette past the end", Put(14, 0x7FFFFF00, 4), 62},
                   {"256 colours claimed past 8 bits", Put(46, 0xFFFFFFFF, 4), 0},
                   {"runs for more rows than the height", Put(22, 3, 4), 0},
                   {"runs wider than the width", Put(18, 5, 4), 0},
                   {"run-length data without its end", Cut(1300), 0},
                   {"run-length data cut inside an absolute run",
                    [](std::string& s) { s.resize(GetLe(s, 10, 4)); s += std::string("\0\5\1\2", 4); }, 62},
                   {"top down with run-length data", Put(22, static_cast<std::uint32_t>(-46), 4), 321},
                   {"RLE4 flag on 8 bits", Put(30, 2, 4), 321}});
}

TEST_F(ImagesTest, HostileTgaFiles) {
  Convert({"rose:", "-compress", "RLE", File("t.tga")});
  RunHostileTable(dir_, File("t.tga"),
                  {{"cut inside the header", Cut(10), 62},
                   {"colour-mapped type 1", Put(2, 1, 1), 321},
                   {"16 bits", Put(16, 16, 1), 321},
                   {"65535 x 65535", [](std::string& s) { PutLe(s, 12, 0xFFFF, 2); PutLe(s, 14, 0xFFFF, 2); }, 7},
                   {"width 0", Put(12, 0, 2), 321},
                   {"image ID past the end", [](std::string& s) { s[0] = static_cast<char>(255); s.resize(100); }, 62},
                   {"colour map past the end", [](std::string& s) { s[1] = 1; PutLe(s, 5, 0xFFFF, 2); s[7] = 32; }, 62},
                   {"packets cut short", Drop(300), 62},
                   {"more pixels than packets could hold", Put(14, 4000, 2), 62}});
  Convert({"rose:", File("u.tga")});
  RunHostileTable(dir_, File("u.tga"), {{"pixels cut short", Drop(1), 62},
                                         {"32 bits with 3 alpha bits", [](std::string& s) { s[16] = 32; s[17] = 3; }, 321},
                                         {"a colour map present", [](std::string& s) { s[1] = 1; }, 0}});
}

TEST_F(ImagesTest, HostileGifFiles) {
  Convert({"rose:", File("g.gif")});
  const std::string g = pdftest::ReadFile(File("g.gif"));
  const std::size_t image = g.find(',', 13 + 768);  // the image descriptor after the global table
  ASSERT_NE(image, std::string::npos);
  RunHostileTable(
      dir_, File("g.gif"),
      {{"cut inside the screen", Cut(9), 62},
       {"no signature", Put(3, 'x', 1), 321},
       {"screen of width 0", Put(6, 0, 2), 321},
       {"cut inside the image data", Cut(g.size() / 2), 62},
       {"no trailer after the frame", Drop(1), 0},
       {"frame placed far outside the screen", Put(image + 1, 60000, 2), 0},
       {"frame larger than the screen, data for less", Put(image + 5, 500, 2), 321},
       {"minimum code size 12", Put(image + 10, 12, 1), 321},
       {"code before any clear not a pixel", Put(image + 12, 0xFFFF, 2), 321},
       {"65535 x 65535 frame", [image](std::string& s) { PutLe(s, image + 5, 0xFFFF, 2); PutLe(s, image + 7, 0xFFFF, 2); }, 7}});
  // Frame 3 of a file with one frame.
  PageWriter writer;
  writer.Open(File("frame.pdf"), 100, 100);
  writer.DrawImage(File("g.gif"), 0, 0, 0, 0, 3);
  EXPECT_EQ(writer.ErrNumber(), 321);
  writer.EndDoc();
}

TEST_F(ImagesTest, HostileJpegFiles) {
  Convert({"rose:", File("j.jpg")});
  const std::string j = pdftest::ReadFile(File("j.jpg"));
  const std::size_t sof = j.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  RunHostileTable(dir_, File("j.jpg"),
                  {{"no start-of-image mark", Put(1, 0, 1), 321},
                   {"cut before the frame header", Cut(sof), 62},
                   {"frame of width 0", Put(sof + 7, 0, 2), 321},
                   {"two components", Put(sof + 9, 2, 1), 321},
                   {"12 bits per sample", Put(sof + 4, 12, 1), 321},
                   {"segment length 0", Put(4, 0, 2), 321},
                   {"segment length past the end", Put(4, 0xFFFF, 2), 62}});
}

TEST_F(ImagesTest, MissingFilesAndUnknownTypesDrawNothing) {
  Convert({"rose:", File("x.png")});
  const struct {
    std::string file;
    int error;
  } cases[] = {{File("missing.bmp"), 53}, {File("x.png"), 321}, {File("x.jpeg"), 321}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    if (c.file.find("jpeg") != std::string::npos) Convert({"rose:", c.file});
    PageWriter writer;
    writer.Open(File("none.pdf"), 100, 100);
    writer.DrawImage(c.file, 0, 0, 10);
    EXPECT_EQ(writer.ErrNumber(), c.error);
    EXPECT_EQ(writer.PageText(), "");
    writer.EndDoc();
    EXPECT_EQ(pdftest::QpdfCheck(File("none.pdf")).exit_code, 0);
  }
}

}  // namespace
