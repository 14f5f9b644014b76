// Document settings: page labels and the XMP metadata packet.

#include "tests/pdf/core/core_probe.h"

namespace {

using namespace core_test;

// The packet as its lines give it, for the given texts.
std::string ExpectedXmp(const std::string& producer, const std::string& author, const std::string& creator,
                        const std::string& date, const std::string& title, const std::string& subject,
                        const std::string& keywords) {
  const std::string rdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
  const std::string pdfNs = "http://ns.adobe.com/pdf/1.3/";
  const std::string xap = "http://ns.adobe.com/xap/1.0/";
  const std::string dc = "http://purl.org/dc/elements/1.1/";
  const std::vector<std::string> lines = {
      "<rdf:RDF xmlns:rdf='" + rdf + "' xmlns:iX='http://ns.adobe.com/iX/1.0/'>",
      " <rdf:Description about='' xmlns='" + pdfNs + "' xmlns:pdf='" + pdfNs + "'>",
      "  <pdf:Producer>" + producer + "</pdf:Producer>",
      "  <pdf:Author>" + author + "</pdf:Author>",
      "  <pdf:Creator>" + creator + "</pdf:Creator>",
      "  <pdf:ModDate>" + date + "</pdf:ModDate>",
      "  <pdf:Title>" + title + "</pdf:Title>",
      "  <pdf:CreationDate>" + date + "</pdf:CreationDate>",
      "  <pdf:Subject>" + subject + "</pdf:Subject>",
      "  <pdf:Keywords>" + keywords + "</pdf:Keywords>",
      " </rdf:Description>",
      " <rdf:Description about='' xmlns='" + xap + "' xmlns:xap='" + xap + "'>",
      "  <xap:Author>" + author + "</xap:Author>",
      "  <xap:ModifyDate>" + date + "</xap:ModifyDate>",
      "  <xap:Title>",
      "   <rdf:Alt>",
      "  <rdf:li xml:lang='x-default'>" + title + "</rdf:li>",
      "   </rdf:Alt>",
      "  </xap:Title>",
      "  <xap:CreateDate>" + date + "</xap:CreateDate>",
      "  <xap:Description>",
      "   <rdf:Alt>",
      "  <rdf:li xml:lang='x-default'>" + subject + "</rdf:li>",
      "   </rdf:Alt>",
      "  </xap:Description>",
      "  <xap:MetadataDate>" + date + "</xap:MetadataDate>",
      " </rdf:Description>",
      " <rdf:Description about='' xmlns='" + dc + "' xmlns:dc='" + dc + "'>",
      "  <dc:creator>" + creator + "</dc:creator>",
      "  <dc:title>" + title + "</dc:title>",
      "  <dc:description>" + subject + "</dc:description>",
      " </rdf:Description>",
      "</rdf:RDF>",
      "<?xpacket end='r'?>",
  };
  std::string body;
  for (std::size_t i = 0; i < lines.size(); ++i) body += lines[i] + (i + 1 < lines.size() ? "\r" : "");
  return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" + std::to_string(body.size() + 64) +
         "'?>\r" + body;
}

TEST(CoreDocInfo, XmpPacketByteForByte) {
  Probe w;
  w.Properties.CreationDate = "D:20240131235959";
  w.SetDocProperty("Modello quadro economico", "Computo metrico", "", "", "", "sevrina");
  const std::string packet = w.BuildXmpMetadata();
  EXPECT_EQ(packet, ExpectedXmp("Sevrina PDF writer", "Sevrina", "Sevrina PDF writer", "D:20240131235959",
                                "Modello quadro economico", "Computo metrico", "sevrina"));
  // With the defaults the count has four digits and is the packet's length.
  Probe d;
  const std::string def = d.BuildXmpMetadata();
  const std::string count = def.substr(56, def.find('\'', 56) - 56);
  EXPECT_EQ(count.size(), 4u);
  EXPECT_EQ(std::stoul(count), def.size());
}

}  // namespace
