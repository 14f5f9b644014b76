// Document settings: the XMP metadata packet, byte for byte.

#include "tests/pdf/core/core_probe.h"

namespace {

using namespace core_test;

// The packet for the texts the test sets, its lines ended by CR.
std::string ExpectedXmp() {
  std::string body = R"(<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' xmlns:iX='http://ns.adobe.com/iX/1.0/'>
 <rdf:Description about='' xmlns='http://ns.adobe.com/pdf/1.3/' xmlns:pdf='http://ns.adobe.com/pdf/1.3/'>
  <pdf:Producer>Sevrina PDF writer</pdf:Producer>
  <pdf:Author>Sevrina</pdf:Author>
  <pdf:Creator>Sevrina PDF writer</pdf:Creator>
  <pdf:ModDate>D:20240131235959</pdf:ModDate>
  <pdf:Title>Modello quadro economico</pdf:Title>
  <pdf:CreationDate>D:20240131235959</pdf:CreationDate>
  <pdf:Subject>Computo metrico</pdf:Subject>
  <pdf:Keywords>sevrina</pdf:Keywords>
 </rdf:Description>
 <rdf:Description about='' xmlns='http://ns.adobe.com/xap/1.0/' xmlns:xap='http://ns.adobe.com/xap/1.0/'>
  <xap:Author>Sevrina</xap:Author>
  <xap:ModifyDate>D:20240131235959</xap:ModifyDate>
  <xap:Title>
   <rdf:Alt>
  <rdf:li xml:lang='x-default'>Modello quadro economico</rdf:li>
   </rdf:Alt>
  </xap:Title>
  <xap:CreateDate>D:20240131235959</xap:CreateDate>
  <xap:Description>
   <rdf:Alt>
  <rdf:li xml:lang='x-default'>Computo metrico</rdf:li>
   </rdf:Alt>
  </xap:Description>
  <xap:MetadataDate>D:20240131235959</xap:MetadataDate>
 </rdf:Description>
 <rdf:Description about='' xmlns='http://purl.org/dc/elements/1.1/' xmlns:dc='http://purl.org/dc/elements/1.1/'>
  <dc:creator>Sevrina PDF writer</dc:creator>
  <dc:title>Modello quadro economico</dc:title>
  <dc:description>Computo metrico</dc:description>
 </rdf:Description>
</rdf:RDF>
<?xpacket end='r'?>)";
  std::replace(body.begin(), body.end(), '\n', '\r');
  return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" + std::to_string(body.size() + 64) + "'?>\r" + body;
}

TEST(CoreDocInfo, XmpPacketByteForByte) {
  Probe w;
  w.Properties.CreationDate = "D:20240131235959";
  w.SetDocProperty("Modello quadro economico", "Computo metrico", "", "", "", "sevrina");
  const std::string packet = w.BuildXmpMetadata();
  EXPECT_EQ(packet, ExpectedXmp());
  // With the defaults the count has four digits and is the packet's length.
  Probe d;
  const std::string def = d.BuildXmpMetadata();
  const std::string count = def.substr(56, def.find('\'', 56) - 56);
  EXPECT_EQ(count.size(), 4u);
  EXPECT_EQ(std::stoul(count), def.size());
}

}  // namespace
