// Stream objects: the bytes around the data, the filter list, and each
// encoder combination read back by a real reader.

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::ObjectBytes;
using core_test::Probe;
using core_test::ReadFile;
using core_test::TempPdf;

TEST(CoreStreams, PlainStreamBytes) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  EXPECT_EQ(w.WriteStreamObject(""), 4);
  EXPECT_EQ(w.WriteStreamObject("abc\r\n)"), 5);
  w.BeginIndirectObject(0);
  w.WriteLine("<< /Subtype /TrueType");
  pdf::Bytes font = {0, 1, 2, 255};
  w.WriteStream(font, 0, "", 1234);
  w.EndIndirectObject();
  w.Abort();
  const std::string file = ReadFile(path);
  EXPECT_EQ(ObjectBytes(file, 4), "4 0 obj\n<<\n/Length 0 >>\rstream\n\nendstream\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 5), "5 0 obj\n<<\n/Length 6 >>\rstream\nabc\r\n)\nendstream\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 6), std::string("6 0 obj\n<< /Subtype /TrueType\n/Length1 1234\n/Length 4 >>\rstream\n") +
                                      std::string("\0\1\2\xFF", 4) + "\nendstream\nendobj\n");
}

TEST(CoreStreams, CompressionSettings) {
  Probe w;
  w.SetCompression(2, 200);
  EXPECT_EQ(w.Settings.CompressionQuality, 3);
  EXPECT_EQ(w.Settings.CompressionMode, 2);
  w.SetCompression(32);
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.WriteStreamObject("plain");
  w.Abort();
  EXPECT_EQ(ObjectBytes(ReadFile(path), 4), "4 0 obj\n<<\n/Length 5 >>\rstream\nplain\nendstream\nendobj\n");
}

TEST(CoreStreams, CallersFilterComesLastAndSkipsCompression) {
  for (int mode : {2, 8, 1 | 2 | 4 | 16}) {
    Probe w;
    const std::string path = TempPdf(std::to_string(mode));
    w.BeginDoc(path);
    w.SetCompression(mode);
    w.BeginIndirectObject(0);
    w.WriteLine("<< /Type /XObject");
    pdf::Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xD9};
    w.WriteStream(jpeg, 0, "/DCTDecode ", 0);
    w.EndIndirectObject();
    w.Abort();
    const std::string obj = ObjectBytes(ReadFile(path), 4);
    if (mode == 2) {
      EXPECT_NE(obj.find("\n/Filter [/DCTDecode ]\n/Length 4 >>\rstream\n\xFF\xD8\xFF\xD9\nendstream"),
                std::string::npos);
    } else if (mode == 8) {
      EXPECT_NE(obj.find("\n/Filter [/ASCII85Decode /DCTDecode ]\n/Length "), std::string::npos) << obj;
      EXPECT_NE(obj.find("~>\nendstream"), std::string::npos) << obj;
    } else {
      EXPECT_NE(obj.find("\n/Filter [/ASCIIHexDecode /DCTDecode ]\n/Length 9 >>\rstream\nFFD8FFD9>\nendstream"),
                std::string::npos)
          << obj;
    }
  }
}

// Every combination of encoders: the filter list names the decoders in the
// order a reader applies them, and qpdf decodes the page content back.
TEST(CoreStreams, EncoderCombinationsDecodeBack) {
  const struct {
    int mode;
    const char* filters;
  } cases[] = {
      {1, "/RunLengthDecode "},
      {2, "/FlateDecode "},
      {4, "/LZWDecode "},
      {8, "/ASCII85Decode "},
      {16, "/ASCIIHexDecode "},
      {1 | 2 | 4, "/LZWDecode /FlateDecode /RunLengthDecode "},
      {2 | 8, "/ASCII85Decode /FlateDecode "},
      {31, "/ASCIIHexDecode /ASCII85Decode /LZWDecode /FlateDecode /RunLengthDecode "},
  };
  for (const auto& c : cases) {
    for (int quality : {0, 3}) {
      Probe w;
      const std::string path = TempPdf(std::to_string(c.mode) + "_" + std::to_string(quality));
      w.BeginDoc(path);
      w.SetCompression(c.mode, static_cast<std::uint8_t>(quality));
      w.BeginPage();
      for (int i = 0; i < 300; ++i) w.AppendContent("0 0 " + std::to_string(i % 17) + " 10 re f");
      const std::string content = "1 0 0 -1 0 842 cm \r" + w.PageText();
      w.EndDoc();
      const std::string file = ReadFile(path);
      EXPECT_NE(ObjectBytes(file, 5).find(std::string("<<\n/Filter [") + c.filters + "]\n/Length "),
                std::string::npos)
          << c.mode;
      const auto shown = pdftest::Qpdf({"--show-object=5", "--filtered-stream-data", path});
      EXPECT_EQ(shown.exit_code, 0) << c.mode << shown.err;
      EXPECT_EQ(shown.out, content) << "mode " << c.mode << " quality " << quality;
      pdftest::ExpectReadersAccept(path);
    }
  }
}

}  // namespace
