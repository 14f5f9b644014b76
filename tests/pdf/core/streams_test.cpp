// Each encoder combination: the filter list, and the stream read back by
// the real readers.

#include "tests/pdf/core/core_probe.h"

namespace {

using namespace core_test;

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
