// Images and drawings: each reader alone on a 1000 x 700 picture (MB of
// decoded pixels per second), loading and embedding a picture into a
// document through DrawImage beside libharu doing the same with its own
// loaders (JPEG passed through by both; our 24-bit BMP beside its PNG, the
// nearest it reads, with the same 8 bits a sample: ImageMagick's plasma is
// 16 bits a sample unless told, twice the samples to read and compress),
// and the EPS and WMF converters on large drawings.

#include <benchmark/benchmark.h>
#include <hpdf.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/haru_pages.h"
#include "pdf/PdfWriter.h"
#include "pdf/graphics/bmp_reader.h"
#include "pdf/graphics/eps_converter.h"
#include "pdf/graphics/gif_reader.h"
#include "pdf/graphics/tga_reader.h"
#include "pdf/graphics/wmf_converter.h"

namespace {

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    auto f = std::filesystem::temp_directory_path() / "sevrina_images_bench";
    std::filesystem::create_directories(f);
    return f;
  }();
  return folder;
}

// A picture made once by ImageMagick in the given form.
std::string Picture(const std::string& name, const std::string& options) {
  const std::string path = (Folder() / name).string();
  if (!std::filesystem::exists(path)) {
    const std::string full = "/usr/bin/convert-im6.q16 -seed 7 -size 1000x700 plasma:fractal " + options + " " +
                             (name.size() > 4 && name.substr(name.size() - 4) == ".bmp" ? "BMP3:" : "") + path;
    if (std::system(full.c_str()) != 0) std::fprintf(stderr, "cannot make %s\n", path.c_str());
  }
  return path;
}

pdf::Bytes Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return pdf::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Rate(benchmark::State& state, std::size_t bytes) {
  state.counters["MB_per_s"] = benchmark::Counter(static_cast<double>(bytes) * static_cast<double>(state.iterations()) / 1e6,
                                                  benchmark::Counter::kIsRate);
}

// ---- the readers alone -------------------------------------------------

void BM_ReadBmp24(benchmark::State& state) {
  const pdf::Bytes file = Load(Picture("p24.bmp", "-type truecolor"));
  for (auto _ : state) benchmark::DoNotOptimize(pdf::ReadBmp(file));
  Rate(state, 1000 * 700 * 3);
}
void BM_ReadBmpRle8(benchmark::State& state) {
  const pdf::Bytes file = Load(Picture("rle8.bmp", "-colors 200 -compress RLE"));
  for (auto _ : state) benchmark::DoNotOptimize(pdf::ReadBmp(file));
  Rate(state, 1000 * 700);
}
void BM_ReadGif(benchmark::State& state) {
  const pdf::Bytes file = Load(Picture("p.gif", ""));
  for (auto _ : state) benchmark::DoNotOptimize(pdf::ReadGif(file, 1));
  Rate(state, 1000 * 700);
}
void BM_ReadTgaRle(benchmark::State& state) {
  const pdf::Bytes file = Load(Picture("p.tga", "-compress RLE"));
  for (auto _ : state) benchmark::DoNotOptimize(pdf::ReadTga(file));
  Rate(state, 1000 * 700 * 3);
}
BENCHMARK(BM_ReadBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBmpRle8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadGif)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTgaRle)->Unit(benchmark::kMillisecond);

// ---- a document with one picture, ours and libharu's --------------------

void Ours(benchmark::State& state, const std::string& picture, int compression) {
  for (auto _ : state) {
    pdf::PdfWriter w;
    w.BeginDoc(haru_pages::OutputPath("sevrina_images_ours"));
    w.SetCompression(compression);
    w.BeginPage();
    w.DrawImage(picture, 0, 0, 500, 0);
    w.EndDoc();
    if (w.ErrNumber() != 0) state.SkipWithError(w.ErrDescription().c_str());
  }
}

void Haru(benchmark::State& state, const std::string& picture, bool jpeg, bool compress) {
  for (auto _ : state) {
    HPDF_Doc doc = HPDF_New(haru_pages::IgnoreError, nullptr);
    if (compress) HPDF_SetCompressionMode(doc, HPDF_COMP_ALL);
    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Image image = jpeg ? HPDF_LoadJpegImageFromFile(doc, picture.c_str())
                            : HPDF_LoadPngImageFromFile(doc, picture.c_str());
    HPDF_Page_DrawImage(page, image, 0, 0, 500, 350);
    haru_pages::SaveHaru(doc, "sevrina_images_haru");
  }
}

void BM_EmbedJpeg_Ours(benchmark::State& s) { Ours(s, Picture("p.jpg", "-quality 85"), 0); }
void BM_EmbedJpeg_Libharu(benchmark::State& s) { Haru(s, Picture("p.jpg", "-quality 85"), true, false); }
void BM_EmbedBmp24_Ours(benchmark::State& s) { Ours(s, Picture("p24.bmp", "-type truecolor"), 0); }
void BM_EmbedBmp24Flate_Ours(benchmark::State& s) { Ours(s, Picture("p24.bmp", "-type truecolor"), 2); }
void BM_EmbedPng_Libharu(benchmark::State& s) { Haru(s, Picture("p8.png", "-depth 8"), false, false); }
void BM_EmbedPngFlate_Libharu(benchmark::State& s) { Haru(s, Picture("p8.png", "-depth 8"), false, true); }
void BM_EmbedGif_Ours(benchmark::State& s) { Ours(s, Picture("p.gif", ""), 0); }
BENCHMARK(BM_EmbedJpeg_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmbedJpeg_Libharu)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmbedBmp24_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmbedPng_Libharu)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmbedBmp24Flate_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmbedPngFlate_Libharu)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmbedGif_Ours)->Unit(benchmark::kMillisecond);

// ---- the converters --------------------------------------------------------

void BM_ConvertEps(benchmark::State& state) {
  std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 1000 1000\n%%EndProlog\n";
  for (int i = 0; i < 20000; ++i) {
    eps += "0.2 0.4 0.6 Xa\n" + std::to_string(i % 997) + " 10.5 m\n300 " + std::to_string(i % 991) +
           " l\n10 20 30 40 50 60 c\nf\n";
  }
  for (auto _ : state) benchmark::DoNotOptimize(pdf::ConvertEpsLines(pdf::as_bytes(eps)));
  Rate(state, eps.size());
}

void BM_ConvertWmf(benchmark::State& state) {
  std::string wmf(18, '\0');
  const auto word = [&wmf](int v) {
    wmf += static_cast<char>(v & 0xFF);
    wmf += static_cast<char>((v >> 8) & 0xFF);
  };
  for (int i = 0; i < 20000; ++i) {  // one polygon of 8 points each
    word(3 + 1 + 16);
    word(0);
    word(0x0324);
    word(8);
    for (int k = 0; k < 16; ++k) word((i * 7 + k * 131) % 30000);
  }
  for (auto _ : state) benchmark::DoNotOptimize(pdf::ConvertWmfRecords(pdf::as_bytes(wmf)));
  Rate(state, wmf.size());
}
BENCHMARK(BM_ConvertEps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertWmf)->Unit(benchmark::kMillisecond);

}  // namespace
