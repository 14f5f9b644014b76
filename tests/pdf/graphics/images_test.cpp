// DrawImage on files made by ImageMagick in every depth and compression
// (or built here), drawn at one pixel per point and compared pixel by pixel
// with ImageMagick's reading; lying headers record an error, draw nothing.

#include <array>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/graphics_probe.h"

namespace {

using gfxtest::Probe;
using Bytes = std::string;

void PutLe(Bytes& s, std::size_t at, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}
std::uint32_t GetLe(const Bytes& s, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

class ImagesTest : public ::testing::Test {
 protected:
  // Makes `name` ("BMP3:x.bmp": the Windows 3 header) from blank-separated arguments.
  std::string Make(const std::string& args, const std::string& name) {
    std::vector<std::string> argv = {gfxtest::kConvert};
    std::istringstream words(args);
    for (std::string w; words >> w;) argv.push_back(w);
    const std::string file = dir_.file(name.substr(name.find(':') + 1));
    argv.push_back(name.substr(0, name.find(':') + 1) + file);
    EXPECT_EQ(pdftest::RunTool(argv).exit_code, 0) << name;
    return file;
  }
  // Draws `file` at one pixel per point; compares with ImageMagick's `reference`.
  void ExpectRendersLike(const std::string& file, const std::string& reference, int tolerance, std::int16_t frame = 1) {
    const gfxtest::Pixels expected = gfxtest::DecodeWithImageMagick(reference);
    const std::string pdf = dir_.file("page.pdf");
    Probe writer;
    writer.Open(pdf, static_cast<float>(expected.width), static_cast<float>(expected.height));
    writer.DrawImage(file, 0, 0, 0, 0, frame);
    EXPECT_EQ(writer.ErrNumber(), 0) << writer.ErrDescription();
    writer.EndDoc();
    EXPECT_EQ(pdftest::QpdfCheck(pdf).exit_code, 0);
    const auto [largest, mean] = gfxtest::Compare(gfxtest::RenderPage(pdf), expected);
    EXPECT_TRUE(largest >= 0 && largest <= tolerance) << largest;
    EXPECT_LE(mean, tolerance <= 8 ? tolerance : 25);  // CMYK: 18 upright, 100 inverted
  }
  pdftest::TempDir dir_;
};

// The same picture stored top down: rows reversed, BMP height negated, TGA origin bit set.
Bytes TopDown(const Bytes& f) {
  const bool bmp = f[0] == 'B';
  const int h = static_cast<int>(GetLe(f, bmp ? 22 : 14, bmp ? 4 : 2));
  const std::size_t start = bmp ? GetLe(f, 10, 4) : 18, row = (f.size() - start) / h;
  Bytes out = f;
  for (int y = 0; y < h; ++y) out.replace(start + y * row, row, f.substr(start + (h - 1 - y) * row, row));
  if (bmp) PutLe(out, 22, static_cast<std::uint32_t>(-h), 4);
  else out[17] = static_cast<char>(f[17] | 0x20);
  return out;
}

// A 24-bit BMP3 at 16 bits, 5 bits a channel.
Bytes Sixteen(const Bytes& f) {
  const std::size_t start = GetLe(f, 10, 4), w = GetLe(f, 18, 4), h = GetLe(f, 22, 4);
  const std::size_t in_row = (w * 3 + 3) / 4 * 4, out_row = (w * 2 + 3) / 4 * 4;
  Bytes out = f.substr(0, start) + Bytes(out_row * h, '\0');
  PutLe(out, 28, 16, 2);
  for (std::size_t y = 0; y < h; ++y)
    for (std::size_t x = 0; x < w; ++x) {
      const auto c = [&](int k) { return static_cast<unsigned char>(f[start + y * in_row + x * 3 + k]) >> 3; };
      PutLe(out, start + y * out_row + x * 2, c(2) << 10 | c(1) << 5 | c(0), 2);
    }
  return out;
}

// A 4-bit BMP3 run-length encoded (RLE4): each row's first pixel as an
// encoded run of 1, the rest as absolute runs of up to 255 (odd counts too).
Bytes Rle4(const Bytes& f) {
  const std::size_t start = GetLe(f, 10, 4), w = GetLe(f, 18, 4), h = GetLe(f, 22, 4), stride = (w + 7) / 8 * 4;
  Bytes data;
  for (std::size_t y = 0; y < h; ++y) {
    const auto px = [&](std::size_t x) { const int b = static_cast<unsigned char>(f[start + y * stride + x / 2]); return x % 2 ? b & 15 : b >> 4; };
    data += {'\1', static_cast<char>(px(0) * 17)};
    for (std::size_t x = 1, n; x < w; x += n) {
      n = std::min<std::size_t>(w - x, 255);
      Bytes run((n + 1) / 2 + (n + 1) / 2 % 2, '\0');  // padded to an even count
      for (std::size_t i = 0; i < n; ++i) run[i / 2] = static_cast<char>(run[i / 2] | px(x + i) << (i % 2 ? 0 : 4));
      data += n < 3 ? Bytes{static_cast<char>(n), static_cast<char>(px(x) << 4 | px(x + 1))} : Bytes{'\0', static_cast<char>(n)} + run;
    }
    data += Bytes(2, '\0');
  }
  Bytes out = f.substr(0, start) + data + Bytes{'\0', '\1'};
  PutLe(out, 30, 2, 4);
  return out;
}

// ImageMagick's arguments, its file, a rewriting (or none), the largest difference.
TEST_F(ImagesTest, EveryDepthAndCompressionRendersAsImageMagickReadsIt) {
  const std::string palette16 = "rose: -type palette -colors 16 -compress none";
  const struct { std::string args, name; std::function<Bytes(const Bytes&)> rewrite = nullptr; int tolerance = 0; } cases[] = {
      {"rose: -monochrome", "BMP3:1bit.bmp"}, {palette16, "4bit.bmp"}, {"rose: -colors 200 -compress none", "8bit.bmp"},
      {"rose: -colors 200", "rle8.bmp"}, {"rose: -resize 37x23! -colors 50", "rle8-odd-width.bmp"},
      {"rose: -type truecolor", "24bit.bmp"}, {"rose: -resize 37x23! -type truecolor", "BMP3:24bit-odd.bmp"},
      {"rose: -type truecolor", "BMP3:top-down.bmp", TopDown}, {palette16, "BMP3:rle4.bmp", Rle4},
      {"rose: -resize 37x23! -type palette -colors 9 -compress none", "BMP3:rle4-odd.bmp", Rle4},
      {"rose: -type truecolor", "BMP3:16bit.bmp", Sixteen, 8},  // 5 bits a channel: 7FFF is 248, 248, 248
      {"rose:", "type2.tga"}, {"rose: -compress RLE", "type10.tga"}, {"rose: -alpha set", "32bit-alpha.tga"},
      {"rose: -alpha set -compress RLE", "32bit-rle.tga"}, {"rose:", "top-left.tga", TopDown},
      {"rose: -alpha set", "top-left-32bit.tga", TopDown}, {"rose:", "plain.gif"}, {"rose: -interlace GIF", "interlaced.gif"},
      {"rose: -colors 5", "3bit-table.gif"}, {"rose: -resize 37x23! -monochrome", "2-colours-odd.gif"},
      {"rose: -colors 64", "GIF87:87a.gif"}, {"rose: ( rose: -negate )", "frames.gif"},
      {"rose: -quality 92", "baseline.jpg", nullptr, 6}, {"rose: -interlace JPEG", "progressive.jpg", nullptr, 6},
      {"rose: -colorspace gray", "grey.jpg", nullptr, 6}, {"rose: -colorspace cmyk", "cmyk-adobe.jpg", nullptr, 80},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string source = Make(c.args, c.name), frames = c.name == "frames.gif" ? "[1]" : "";
    std::string file = source;
    if (c.rewrite) pdftest::WriteFile(file = dir_.file("made") + source.substr(source.size() - 4), c.rewrite(pdftest::ReadFile(source)));
    ExpectRendersLike(file, source + frames, c.tolerance, frames.empty() ? 1 : 2);
  }
}

TEST_F(ImagesTest, ColourMasksAndTransparentIndexesShowThePageThrough) {
  // Left half blue, right half red; "" as the mask entry: none written.
  const struct { std::string option, name, mask, entry; } cases[] = {
      {"-type truecolor", "BMP3:24bit.bmp", "#0000FF", "/Mask [0 0 0 0 255 255 ]"},
      {"-type palette", "BMP3:indexed.bmp", "#0000FF", "/Mask [1 1 ]"},
      {"-transparent blue", "transparent-index.gif", "", "/Mask ["},
      {"-type palette", "every-pixel-shown.gif", "", ""}};  // whatever its background index
  for (const auto& c : cases) {
    const std::string file = Make("-size 10x10 xc:blue xc:red +append " + c.option, c.name);
    Probe writer;
    writer.Open(dir_.file("mask.pdf"), 20, 10);
    writer.DrawImage(file, 0, 0, 0, 0, 1, c.mask);
    writer.EndDoc();
    const bool masked = !c.entry.empty();
    EXPECT_EQ(pdftest::ReadFile(dir_.file("mask.pdf")).find(masked ? c.entry : "/Mask") != std::string::npos, masked) << file;
    const gfxtest::Pixels page = gfxtest::RenderPage(dir_.file("mask.pdf"), true);
    ASSERT_EQ(page.width, 20);
    EXPECT_EQ(page.At(3, 5, 0) + page.At(3, 5, 1) + page.At(3, 5, 2), masked ? 765 : 255) << file << ": white or blue";
    EXPECT_EQ(page.At(15, 5, 0) + page.At(15, 5, 1) + page.At(15, 5, 2), 255) << file << ": red";
  }
}

TEST_F(ImagesTest, OneObjectPerFileAndFramePlacedAsOftenAsAsked) {
  const std::string bmp = Make("-size 100x50 xc:orange -type truecolor", "BMP3:p.bmp");
  const std::string other = Make("-size 20x10 xc:green -type truecolor", "BMP3:P.BMP");
  const std::string jpg = Make("-size 100x50 xc:orange -colorspace cmyk", "p.jpg"), gif = Make("-size 8x4 xc:red xc:blue", "two.gif");
  Probe writer;
  writer.Open(dir_.file("cache.pdf"), 595, 842);
  writer.DrawImage(bmp, 10, 20);                   // one pixel per point
  writer.DrawImage(other, 0, 0, 30);               // the same name in other case: another file here
  writer.DrawImage(jpg, 5, 6, 0, 25);              // drawn mirrored
  writer.DrawImage(gif, 0, 0, 0, 0, 1);
  writer.DrawImage(gif, 0, 0, 0, 0, 2);            // frame 2 is an image of its own
  writer.SetScale(3);                              // centimetres: 10 wide is 5 high
  writer.DrawImage(bmp, 1, 2, 10);
  EXPECT_EQ(writer.ErrNumber(), 0) << writer.ErrDescription();
  EXPECT_EQ(writer.PageText(), "\rq 100 0 0 50 10 20 cm /_IMG_1 Do Q\rq 30 0 0 15 0 0 cm /_IMG_2 Do Q"
                               "\rq 50 0 0 -25 5 31 cm /_IMG_3 Do Q\rq 8 0 0 4 0 0 cm /_IMG_4 Do Q\rq 8 0 0 4 0 0 cm /_IMG_5 Do Q"
                               "\rq 283.465 0 0 141.732 28.346 56.693 cm /_IMG_1 Do Q");
  EXPECT_NEAR(writer.LastRect()[1] - writer.LastRect()[3], 141.732f, 1e-3);
  writer.EndDoc();
  const std::string pdf = pdftest::ReadFile(dir_.file("cache.pdf"));
  EXPECT_EQ(pdftest::Count(pdf, "/Subtype /Image"), 5);
  EXPECT_EQ(pdftest::Count(pdf, "/Decode [1 0 1 0 1 0 1 0]"), 1) << "CMYK under the Adobe marker is inverted";
  pdftest::ExpectReadersAccept(dir_.file("cache.pdf"));
}

// ---- GIF files built here --------------------------------------------------

using Rgb = std::array<unsigned char, 3>;
struct GifFrame {
  int left, top, width, height;
  std::vector<Rgb> table;  // empty: the global one
  std::vector<int> pixels;
  std::size_t codes = std::string::npos;  // pixels coded before the data stop
  bool end_code = true;                   // the data stop with an end code
};

// A GIF of 2-bit codes: a clear code before every second pixel keeps the
// codes 3 bits wide, so the data can stop after any pixel.
Bytes Gif(int width, int height, const std::vector<Rgb>& global, int background, const std::vector<GifFrame>& frames) {
  const auto table = [](const std::vector<Rgb>& t) {
    Bytes out;
    for (const Rgb& c : t) out.append(c.begin(), c.end());
    return out;
  };
  const auto bits = [](std::size_t entries) { return entries <= 2 ? 0 : entries <= 4 ? 1 : 2; };  // size field
  Bytes out = "GIF89a" + Bytes(7, '\0');
  PutLe(out, 6, width, 2), PutLe(out, 8, height, 2), PutLe(out, 10, 0x80 | bits(global.size()), 1), PutLe(out, 11, background, 1);
  out += table(global);
  for (const GifFrame& f : frames) {
    Bytes head = "," + Bytes(9, '\0');
    PutLe(head, 1, f.left, 2), PutLe(head, 3, f.top, 2), PutLe(head, 5, f.width, 2), PutLe(head, 7, f.height, 2);
    if (!f.table.empty()) head[9] = static_cast<char>(0x80 | bits(f.table.size()));
    out += head + table(f.table) + '\2';
    std::vector<int> codes;
    for (std::size_t i = 0; i < f.pixels.size() && i < f.codes; ++i) {
      if (i % 2 == 0) codes.push_back(4);  // clear
      codes.push_back(f.pixels[i]);
    }
    if (f.end_code) codes.push_back(5);
    Bytes data;
    std::uint32_t acc = 0;
    int n = 0;
    for (const int c : codes)
      for (acc |= static_cast<std::uint32_t>(c) << n, n += 3; n >= 8; acc >>= 8, n -= 8) data += static_cast<char>(acc & 255);
    if (n > 0) data += static_cast<char>(acc & 255);
    for (std::size_t at = 0; at < data.size(); at += 255) out += static_cast<char>(std::min<std::size_t>(255, data.size() - at)) + data.substr(at, 255);
    out += '\0';
  }
  return out + ";";
}

TEST_F(ImagesTest, GifFramesKeepTheFillWhereTheirDataEndOrDoNotReach) {
  const Rgb blue{0, 0, 255}, red{255, 0, 0}, green{0, 255, 0}, white{255, 255, 255};
  const std::vector<Rgb> palette = {blue, red, green, white};
  std::vector<int> stripes(32), early(32, 0), square(64, 0), red_square(64, 0);
  for (int i = 0; i < 32; ++i) stripes[i] = 1 + i / 8 % 3, early[i] = i < 13 ? stripes[i] : 0;
  for (int i = 0; i < 64; ++i) square[i] = i / 8 >= 2 && i / 8 < 6 && i % 8 >= 2 && i % 8 < 6 ? 1 : 2;
  for (int i = 0; i < 64; ++i) red_square[i] = square[i] == 1 ? 1 : 0;
  const GifFrame whole{0, 0, 8, 4, {}, stripes}, green_screen{0, 0, 8, 8, {}, std::vector<int>(64, 2)};
  // What is wrong, the file and its frame, the same picture as a plain GIF.
  const struct { std::string name; Bytes file; std::int16_t frame; Bytes reference; } cases[] = {
      {"end code after 13 pixels", Gif(8, 4, palette, 0, {{0, 0, 8, 4, {}, stripes, 13}}), 1,
       Gif(8, 4, palette, 0, {{0, 0, 8, 4, {}, early}})},
      {"data run out after 13 pixels", Gif(8, 4, palette, 0, {{0, 0, 8, 4, {}, stripes, 13, false}}), 1,
       Gif(8, 4, palette, 0, {{0, 0, 8, 4, {}, early}})},
      {"end code before any pixel", Gif(8, 4, palette, 0, {whole, {0, 0, 8, 4, {}, stripes, 0}}), 2,
       Gif(8, 4, palette, 0, {{0, 0, 8, 4, {}, std::vector<int>(32, 0)}})},
      {"offset frame, own table without the background", Gif(8, 8, palette, 0, {green_screen, {2, 2, 4, 4, {red, green, white, green}, std::vector<int>(16, 0)}}), 2,
       Gif(8, 8, palette, 0, {{0, 0, 8, 8, {}, red_square}})},
      {"offset frame, own full table of two", Gif(8, 8, palette, 0, {green_screen, {2, 2, 4, 4, {red, green}, std::vector<int>(16, 0)}}), 2,
       Gif(8, 8, palette, 0, {{0, 0, 8, 8, {}, red_square}})},
      {"offset frame, own table holding the background", Gif(8, 8, palette, 2, {whole, {2, 2, 4, 4, {white, red, blue, green}, std::vector<int>(16, 1)}}), 2,
       Gif(8, 8, palette, 0, {{0, 0, 8, 8, {}, square}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir_.file("built.gif"), reference = dir_.file("reference.gif");
    pdftest::WriteFile(file, c.file);
    pdftest::WriteFile(reference, c.reference);
    ExpectRendersLike(file, reference, 0, c.frame);
  }
}

// ---- files that cannot be used -------------------------------------------

// What is wrong, how the file is damaged, the error (0: still drawn).
using Hostile = std::tuple<const char*, std::function<void(Bytes&)>, int>;
std::function<void(Bytes&)> Cut(std::size_t keep) { return [keep](Bytes& s) { s.resize(keep); }; }
std::function<void(Bytes&)> Put(std::size_t at, std::uint32_t v, int n) { return [=](Bytes& s) { PutLe(s, at, v, n); }; }

TEST_F(ImagesTest, LyingHeadersRecordAnErrorAndDrawNothing) {
  const std::string bmp = Make("rose: -type truecolor", "BMP3:t.bmp"), rle = Make("rose: -colors 200", "r.bmp");
  const std::string tga = Make("rose: -compress RLE", "t.tga"), gif = Make("rose:", "g.gif"), jpg = Make("rose:", "j.jpg");
  const std::size_t image = pdftest::ReadFile(gif).find(',', 13 + 768);
  const Bytes jpeg = pdftest::ReadFile(jpg);
  const std::size_t sof = jpeg.find("\xFF\xC0"), sos = jpeg.find("\xFF\xDA");
  const std::size_t frame_end = sof + 2 + (static_cast<unsigned char>(jpeg[sof + 2]) << 8 | static_cast<unsigned char>(jpeg[sof + 3]));
  const struct { std::string file; std::vector<Hostile> rows; } tables[] = {
      {bmp, {{"cut in the header", Cut(30), 62}, {"no signature", Put(0, 'X', 1), 321},
             {"width 2^31 - 1", Put(18, 0x7FFFFFFF, 4), 7}, {"height 0", Put(22, 0, 4), 321},
             {"height past the data", Put(22, 4000, 4), 62}, {"data offset past the end", Put(10, 0x7FFFFFF0, 4), 62},
             {"3 bits a pixel", Put(28, 3, 2), 321}, {"bit fields", Put(30, 3, 4), 321},
             {"12-byte header", Put(14, 12, 4), 321}, {"last row's padding missing", Cut(9804), 0}}},
      {rle, {{"palette past the end", Put(14, 0x7FFFFF00, 4), 62}, {"2^32 - 1 colours", Put(46, 0xFFFFFFFF, 4), 0},
             {"runs past the height", Put(22, 3, 4), 0}, {"runs past the width", Put(18, 5, 4), 0},
             {"no end of bitmap", Cut(1300), 0}, {"top down", Put(22, static_cast<std::uint32_t>(-46), 4), 321},
             {"cut in an absolute run", [](Bytes& s) { s.resize(GetLe(s, 10, 4)); s += Bytes("\0\5\1\2", 4); }, 62}}},
      {tga, {{"cut in the header", Cut(10), 62}, {"colour-mapped type", Put(2, 1, 1), 321}, {"16 bits", Put(16, 16, 1), 321},
             {"65535 x 65535", Put(12, 0xFFFFFFFF, 4), 7}, {"width 0", Put(12, 0, 2), 321},
             {"image ID past the end", [](Bytes& s) { s[0] = '\xFF'; s.resize(100); }, 62},
             {"colour map past the end", [](Bytes& s) { s[1] = 1; PutLe(s, 5, 0xFFFF, 2); s[7] = 32; }, 62},
             {"packets cut short", Cut(1000), 62}, {"more pixels than packets hold", Put(14, 4000, 2), 62}}},
      {gif, {{"cut in the screen", Cut(9), 62}, {"no signature", Put(3, 'x', 1), 321}, {"screen width 0", Put(6, 0, 2), 321},
             {"cut in the image data", Cut(3000), 62}, {"frame far outside the screen", Put(image + 1, 60000, 2), 0},
             {"frame larger than its data", Put(image + 5, 500, 2), 0}, {"code size 12", Put(image + 10, 12, 1), 321},
             {"first code not a pixel", Put(image + 12, 0xFFFF, 2), 321}, {"65535 x 65535", Put(image + 5, 0xFFFFFFFF, 4), 7}}},
      {Make("rose:", "x.png"), {{"no reader for .png", Cut(100), 321}}},
      {Make("rose:", "x.jpeg"), {{"no reader for .jpeg", Cut(100), 321}}},
      {jpg, {{"no start mark", Put(1, 0, 1), 321}, {"cut before the frame", Cut(sof), 62}, {"width 0", Put(sof + 7, 0, 2), 321},
             {"2 components", Put(sof + 9, 2, 1), 321}, {"12 bits", Put(sof + 4, 12, 1), 321},
             {"segment length 0", Put(4, 0, 2), 321}, {"segment past the end", Put(4, 0xFFFF, 2), 62},
             {"cut after the frame header", Cut(frame_end), 321}, {"cut in the scan header", Cut(sos + 5), 321},
             {"cut in the scan data", Cut(sos + 40), 321}, {"bytes after the end", [](Bytes& s) { s += "junk"; }, 0}}},
  };
  for (const auto& table : tables) {
    for (const auto& [what, damage, error] : table.rows) {
      SCOPED_TRACE(std::string(what) + " in " + table.file);
      Bytes bytes = pdftest::ReadFile(table.file);
      damage(bytes);
      const std::string file = dir_.file("hostile") + table.file.substr(table.file.rfind('.')), pdf = dir_.file("h.pdf");
      pdftest::WriteFile(file, bytes);
      Probe writer;
      writer.Open(pdf, 200, 200);
      writer.DrawImage(file, 0, 0);
      EXPECT_EQ(writer.ErrNumber(), error) << writer.ErrDescription();
      EXPECT_EQ(writer.ErrSource(), error == 0 ? "" : "PdfWriter.DrawImage");
      EXPECT_EQ(writer.PageText().find("Do") != std::string::npos, error == 0) << "a placement only when written";
      EXPECT_EQ(writer.Resources.ImageCount, error == 0 ? 1 : 0) << "nothing cached";
      writer.EndDoc();
      EXPECT_EQ(pdftest::QpdfCheck(pdf).exit_code, 0);
    }
  }
}

}  // namespace
