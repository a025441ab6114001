// The scanner of worksheet XML: what it hands its handler (local names,
// decoded text and attributes) whatever the chunks the bytes arrive in, and
// what it refuses (a document type, undefined entities, another encoding,
// XML that is not well-formed).
#include <gtest/gtest.h>

#include <string>

#include "document/workbook/xml_scan.h"
#include "document/workbook/xml_stream.h"
#include "test_support.h"

namespace tessel::document {
namespace {

using test_support::narrow;

// Writes down every event: "<name a=v>", "</name>", "[text]" (adjacent
// texts joined, since their split is the chunks').
class recorder : public xml_handler {
 public:
  std::string events;
  void start(std::string_view name, const char** a) override {
    events += "<" + std::string(name);
    for (; a && a[0]; a += 2) events += " " + std::string(a[0]) + "=" + a[1];
    events += ">";
  }
  void end(std::string_view name) override { events += "</" + std::string(name) + ">"; }
  void text(std::string_view t) override {
    if (!events.empty() && events.back() == ']') events.pop_back();
    else events += "[";
    events += std::string(t) + "]";
  }
};

std::string scanned(const std::string& xml, size_t chunk = size_t(-1)) {
  recorder r;
  std::u16string why;
  if (!scan_xml_text(xml, "xl/worksheets/sheet1.xml", r, why, chunk)) return "refused: " + narrow(why);
  return r.events;
}

TEST(XmlScan, ElementsAttributesAndText) {
  const std::string xml =
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n"
      "<x:worksheet xmlns:x=\"urn:x\"><!-- a comment with <tags> -->"
      "<x:row r='2' spans=\"1:2\"><x:c r=\"A2\" t = \"s\" ><x:v>12</x:v></x:c>"
      "<x:c t=\"inlineStr\" note=\"a&gt;b &amp; &quot;c&quot; &#65;&#x42;\"><x:is><x:t>&lt;&apos;&amp;&#x20AC;&#128512;</x:t></x:is></x:c>"
      "<x:c><x:v><![CDATA[<&>]]></x:v></x:c><x:c/></x:row><?pi ignored?></x:worksheet>";
  const std::string expected =
      "<worksheet xmlns:x=urn:x><row r=2 spans=1:2><c r=A2 t=s><v>[12]</v></c>"
      "<c t=inlineStr note=a>b & \"c\" AB><is><t>[<'&\xE2\x82\xAC\xF0\x9F\x98\x80]</t></is></c>"
      "<c><v>[<&>]</v></c><c></c></row></worksheet>";
  EXPECT_EQ(scanned(xml), expected);
  // However the bytes are cut, the events are the same.
  for (size_t chunk = 1; chunk < xml.size(); ++chunk) ASSERT_EQ(scanned(xml, chunk), expected) << "chunk " << chunk;
}

TEST(XmlScan, RefusesWhatAWorksheetNeverHolds) {
  const struct {
    std::string xml;
    const char* reason;
  } cases[] = {
      {"<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY b \"c\">]><a>&b;</a>", "declares a document type"},
      {"<a>&b;</a>", "entity that XML does not define"},
      {"<a x=\"&nbsp;\"/>", "entity that XML does not define"},
      {"<a>&#0;</a>", "entity that XML does not define"},
      {"<a>&#xD800;</a>", "entity that XML does not define"},
      {"<a>&#x110000;</a>", "entity that XML does not define"},
      {"<a>&amp</a>", "entity that XML does not define"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>", "not written in UTF-8"},
      {"\xFF\xFE<\0a\0/\0>\0", "not written in UTF-8"},
      {"<a><b></a></b>", "does not match its start"},
      {"</a>", "does not match its start"},
      {"<a><b>", "ends before its elements do"},
      {"<a><b x=\"1", "ends inside a tag"},
      {"<a><!-- open", "ends inside a tag"},
      {"<a x=1/>", "without quotes"},
      {"<a x/>", "without its value"},
      {"<a x=\"1/>", "ends inside a tag"},
      {"< a/>", "a tag without a name"},
      {"<a><!ELEMENT a ANY></a>", "a markup declaration"},
      {"<a/>junk", "text outside its elements"},
      {[] {
         std::string deep;
         for (size_t i = 0; i <= max_xml_depth; ++i) deep += "<a>";
         return deep;
       }(),
       "nests its elements deeper"},
  };
  for (const auto& c : cases) {
    for (size_t chunk : {size_t(-1), size_t(1), size_t(3)}) {
      const std::string got = scanned(c.xml, chunk);
      EXPECT_NE(got.find(c.reason), std::string::npos) << c.xml << " in chunks of " << chunk << ": " << got;
      EXPECT_EQ(got.rfind("refused: The part ", 0), 0u) << got;
      EXPECT_NE(got.find("xl/worksheets/sheet1.xml"), std::string::npos) << got;
    }
  }
  // A handler's refusal stops the scan with the handler's words.
  struct stopper : recorder {
    void start(std::string_view name, const char** a) override {
      recorder::start(name, a);
      if (name == "stop") refusal = u"Stopped here.";
    }
  } s;
  std::u16string why;
  EXPECT_FALSE(scan_xml_text("<a><b/><stop/><c/></a>", "p.xml", s, why));
  EXPECT_EQ(why, u"Stopped here.");
  EXPECT_EQ(s.events, "<a><b></b><stop>");
}

TEST(XmlScan, ATokenMayNotGrowWithoutEnd) {
  const std::string xml = "<a>" + std::string(max_xml_token + 200000, 'x') + "</a>";
  EXPECT_NE(scanned(xml, 65536).find("longer than any worksheet writes"), std::string::npos);
  // Long, but ended, is read.
  EXPECT_EQ(scanned("<a>" + std::string(100000, 'y') + "</a>", 4096), "<a>[" + std::string(100000, 'y') + "]</a>");
}

}  // namespace
}  // namespace tessel::document
