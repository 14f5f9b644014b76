// GetInfo and ImportPage on PDF files made at test time by real tools that
// nobody here wrote (Ghostscript, cairo, qpdf in its several forms,
// poppler's pdfattach, pdfunite and pdfseparate, ImageMagick where its
// policy lets it write PDF). Every accepted file must give pdfinfo's page
// count and title; every refused one its recorded error; an imported page
// must render like its source page, in a file qpdf --check accepts.

#include <sstream>

#include "pdf/PdfWriter.h"
#include "platform/text/cp1252.h"
#include "tests/pdf/pdf_tools.h"

namespace {

using pdftest::RunTool;

struct Source {
  std::string name;       // file name in the corpus folder
  std::int32_t error;     // 0 = accepted
  std::string because;    // a part of the recorded description
};

// The corpus, made once for the whole program.
class Corpus {
 public:
  static Corpus& Get() {
    static Corpus corpus;
    return corpus;
  }
  std::string Path(const std::string& name) const { return dir_.file(name); }
  const std::vector<Source>& Sources() const { return sources_; }

 private:
  Corpus() {
    pdftest::WriteFile(Path("a.ps"),
                       "%!PS\n[ /Title (Citt\\340 \\(one\\) title) /Author (Ada) /Subject (Tests) /DOCINFO pdfmark\n"
                       "/Helvetica findfont 40 scalefont setfont\n"
                       "72 700 moveto (Page one) show 0.2 setgray 100 100 200 300 rectfill showpage\n"
                       "72 600 moveto (Page two) show 300 100 100 100 rectfill showpage\n"
                       "72 500 moveto (Page three) show 50 50 moveto 500 500 lineto stroke showpage\n");
    pdftest::WriteFile(Path("att.txt"), "attached\n");
    Make({"ps2pdf", "-sPAPERSIZE=a4", "-dFIXEDMEDIA", Path("a.ps"), Path("gs.pdf")}, "gs.pdf");
    Make({"pdftocairo", "-pdf", Path("gs.pdf"), Path("cairo.pdf")}, "cairo.pdf");
    Make({"qpdf", Path("gs.pdf"), Path("plain.pdf")}, "plain.pdf");
    Make({"qpdf", "--qdf", Path("gs.pdf"), Path("qdf.pdf")}, "qdf.pdf");
    Make({"qpdf", "--linearize", Path("gs.pdf"), Path("linear.pdf")}, "linear.pdf");
    Make({"qpdf", Path("gs.pdf"), "--overlay", Path("cairo.pdf"), "--", Path("overlay.pdf")}, "overlay.pdf");
    Make({"pdfattach", Path("gs.pdf"), Path("att.txt"), Path("attach.pdf")}, "attach.pdf");
    Make({"pdfunite", Path("gs.pdf"), Path("cairo.pdf"), Path("unite.pdf")}, "unite.pdf");
    Make({"pdfseparate", "-f", "2", "-l", "2", Path("gs.pdf"), Path("sep-%d.pdf")}, "sep-2.pdf");
    Make({"qpdf", "--object-streams=generate", Path("gs.pdf"), Path("objstm.pdf")}, "objstm.pdf", 321,
         "cross-reference streams");
    Make({"qpdf", "--encrypt", "u", "o", "256", "--", Path("gs.pdf"), Path("encrypted.pdf")}, "encrypted.pdf",
         321, "Invalid file format");
    // ImageMagick's default policy may refuse to write PDF: then it is left out.
    if (RunTool({"convert-im6.q16", "-size", "100x80", "xc:red", Path("magick.pdf")}).exit_code == 0)
      sources_.push_back({"magick.pdf", 0, ""});
  }
  void Make(const std::vector<std::string>& argv, const std::string& name, std::int32_t error = 0,
            const std::string& because = "") {
    const pdftest::ToolResult r = RunTool(argv);
    EXPECT_EQ(r.exit_code, 0) << argv[0] << ": " << r.err;
    sources_.push_back({name, error, because});
  }

  pdftest::TempDir dir_;
  std::vector<Source> sources_;
};

// A greyscale rendering of one page at 30 dpi: width, height, pixels.
struct Picture {
  int width = 0, height = 0;
  std::string pixels;
};

Picture Render(const std::string& pdf, int page) {
  const std::string p = std::to_string(page);
  const pdftest::ToolResult r =
      RunTool({"pdftoppm", "-r", "30", "-gray", "-f", p, "-l", p, "-singlefile", pdf});
  // PGM: "P5\n<w> <h>\n255\n" and the pixels.
  std::istringstream in(r.out);
  std::string magic;
  int max = 0;
  Picture pic;
  if (!(in >> magic >> pic.width >> pic.height >> max) || in.get() == EOF) return Picture{};
  pic.pixels = r.out.substr(static_cast<std::size_t>(in.tellg()));
  return pic;
}

// The share of pixels (over the smaller of the two sizes) whose grey
// differs by more than 64.
double Difference(const Picture& a, const Picture& b) {
  const int w = std::min(a.width, b.width), h = std::min(a.height, b.height);
  if (w <= 0 || h <= 0) return 1;
  int differ = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      differ += std::abs(static_cast<unsigned char>(a.pixels[static_cast<std::size_t>(y * a.width + x)]) -
                         static_cast<unsigned char>(b.pixels[static_cast<std::size_t>(y * b.width + x)])) > 64;
  return static_cast<double>(differ) / (w * h);
}

TEST(ImportCorpus, GetInfoAgreesWithPdfinfoOrRecordsItsError) {
  const Corpus& corpus = Corpus::Get();
  for (const Source& s : corpus.Sources()) {
    SCOPED_TRACE(s.name);
    pdf::PdfWriter w;
    std::string title = "unchanged", subject, author;
    bool encrypted = true;
    const std::int32_t pages = w.GetInfo(corpus.Path(s.name), &title, &subject, &author, &encrypted);
    if (s.error != 0) {
      EXPECT_EQ(pages, 0);
      EXPECT_EQ(w.ErrNumber(), s.error);
      EXPECT_EQ(w.ErrSource(), "PdfWriter.GetInfo");
      EXPECT_NE(w.ErrDescription().find(corpus.Path(s.name) + " - "), std::string::npos) << w.ErrDescription();
      EXPECT_NE(w.ErrDescription().find(s.because), std::string::npos) << w.ErrDescription();
      EXPECT_EQ(title, "unchanged");
      continue;
    }
    EXPECT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
    const pdftest::ToolResult info = pdftest::Pdfinfo(corpus.Path(s.name));
    EXPECT_EQ(std::to_string(pages), pdftest::PdfinfoValue(info.out, "Pages"));
    EXPECT_EQ(cp1252::to_utf8(title), pdftest::PdfinfoValue(info.out, "Title"));
    EXPECT_FALSE(encrypted);
  }
}

// Every page of every accepted source, imported at its own size onto a page
// of that size, renders like the source page.
TEST(ImportCorpus, ImportedPagesRenderLikeTheirSources) {
  const Corpus& corpus = Corpus::Get();
  for (bool protect : {false, true}) {
    for (const Source& s : corpus.Sources()) {
      if (s.error != 0) continue;
      SCOPED_TRACE(s.name + (protect ? " into a protected file" : ""));
      const std::string src = corpus.Path(s.name);
      const std::string out = pdftest::TempPdf(s.name + (protect ? "_protected" : ""));
      pdf::PdfWriter w;
      if (protect) w.SetProtection(4, "owner", "");
      const std::int32_t pages = w.GetInfo(src);
      ASSERT_GT(pages, 0);
      w.BeginDoc(out);
      for (std::int32_t p = 1; p <= pages; ++p) {
        w.BeginPage();
        w.ImportPage(src, p, 0, 0);
      }
      w.EndDoc();
      ASSERT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
      const pdftest::ToolResult check = pdftest::QpdfCheck(out);
      EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
      for (std::int32_t p = 1; p <= pages; ++p) {
        EXPECT_LT(Difference(Render(src, p), Render(out, p)), 0.01) << "page " << p;
      }
    }
  }
}

}  // namespace
