// Excel 2007+ workbooks: the ZIP container and its bounds, the XML parts
// (workbook, relationships, styles, shared strings, sheets), every kind of
// cell as the binary workbook's reader shows it, and the import through the
// one open road, and the scanner of worksheet XML. The workbooks are
// assembled here.
#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalog/field_catalog.h"
#include "document/biff_builder.h"
#include "document/schedule_file.h"
#include "document/workbook/workbook.h"
#include "document/workbook/xlsx_workbook.h"
#include "document/workbook/xml_scan.h"
#include "document/workbook/xml_stream.h"
#include "document/workbook/zip_container.h"
#include "test_support.h"
#include "values/enums.h"
#include "values/s_date.h"

// Excel 2007+ workbooks assembled here: XML parts written into a ZIP
// container through the ZIP library, laid out as the schedule export lays
// them out (sheets listed by name in the workbook part and found through its
// relationships).
namespace test_support {

struct zip_part {
  std::string name;
  std::string data;
  bool deflate = true;
};

// Writes the parts, in this order, into a new ZIP file at `path`.
inline void write_zip(const std::filesystem::path& path, const std::vector<zip_part>& parts) {
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!z) throw std::runtime_error("cannot create " + path.string());
  for (const zip_part& p : parts) {
    zip_source_t* s = zip_source_buffer(z, p.data.data(), p.data.size(), 0);
    const zip_int64_t i = zip_file_add(z, p.name.c_str(), s, ZIP_FL_ENC_UTF_8);
    if (i < 0) throw std::runtime_error("cannot add " + p.name);
    zip_set_file_compression(z, zip_uint64_t(i), p.deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 9);
  }
  if (zip_close(z) != 0) throw std::runtime_error("cannot write " + path.string());
}

constexpr const char* sml_ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
constexpr const char* rel_type = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// A worksheet part around rows of cells.
inline std::string sheet_xml(const std::string& rows, const std::string& before_data = "") {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet ") + sml_ns + ">" + before_data +
         "<sheetData>" + rows + "</sheetData></worksheet>";
}

// An inline-string cell and a row of them.
inline std::string text_cell(const std::string& text) { return "<c t=\"inlineStr\"><is><t>" + text + "</t></is></c>"; }
inline std::string text_row(const std::vector<std::string>& texts) {
  std::string r = "<row>";
  for (const std::string& t : texts) r += text_cell(t);
  return r + "</row>";
}

struct xlsx_sheet_part {
  xlsx_sheet_part(std::string n, std::string x, std::string e = {})
      : name(std::move(n)), xml(std::move(x)), entry(std::move(e)) {}
  std::string name;  // as the workbook lists it
  std::string xml;
  std::string entry;  // the part's entry; "xl/worksheets/sheetN.xml" when empty
};

struct xlsx_parts {
  std::vector<xlsx_sheet_part> sheets;  // in workbook order
  std::string strings;                  // the shared strings part, if any
  std::string styles;                   // the styles part, if any
  std::string book_properties;          // e.g. <workbookPr date1904="1"/>
};

// The entries of a workbook; the sheets' entries come last and in reverse
// workbook order, so that nothing finds a sheet by its place in the file.
inline std::vector<zip_part> xlsx_entries(const xlsx_parts& w) {
  std::vector<zip_part> out;
  out.push_back({"_rels/.rels",
                 "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                 "<Relationship Id=\"rId1\" Type=\"" + std::string(rel_type) +
                     "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"});
  std::string sheets, links;
  std::vector<zip_part> sheet_entries;
  for (size_t i = 0; i < w.sheets.size(); ++i) {
    const std::string id = "rId" + std::to_string(i + 10);
    const std::string entry =
        w.sheets[i].entry.empty() ? "xl/worksheets/sheet" + std::to_string(i + 1) + ".xml" : w.sheets[i].entry;
    sheets += "<sheet name=\"" + w.sheets[i].name + "\" sheetId=\"" + std::to_string(i + 1) + "\" r:id=\"" + id + "\"/>";
    links += "<Relationship Id=\"" + id + "\" Type=\"" + rel_type + "worksheet\" Target=\"" +
             (entry.rfind("xl/", 0) == 0 ? entry.substr(3) : "/" + entry) + "\"/>";
    sheet_entries.insert(sheet_entries.begin(), {entry, w.sheets[i].xml});
  }
  if (!w.strings.empty()) {
    links += "<Relationship Id=\"rId2\" Type=\"" + std::string(rel_type) + "sharedStrings\" Target=\"sharedStrings.xml\"/>";
    out.push_back({"xl/sharedStrings.xml", w.strings});
  }
  if (!w.styles.empty()) {
    links += "<Relationship Id=\"rId3\" Type=\"" + std::string(rel_type) + "styles\" Target=\"styles.xml\"/>";
    out.push_back({"xl/styles.xml", w.styles});
  }
  out.push_back({"xl/workbook.xml",
                 std::string("<workbook ") + sml_ns +
                     " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">" +
                     w.book_properties + "<sheets>" + sheets + "</sheets></workbook>"});
  out.push_back({"xl/_rels/workbook.xml.rels",
                 "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + links +
                     "</Relationships>"});
  out.insert(out.end(), sheet_entries.begin(), sheet_entries.end());
  return out;
}

// The smallest user-data sheet an export writes.
inline xlsx_sheet_part user_data_sheet() {
  return {"USERDATA", sheet_xml(text_row({"user_data"}) + text_row({"UserSettings Do Not Edit"}) +
                                text_row({"DurationQtyType=QT_Hour"}))};
}

}  // namespace test_support

namespace tessel::document {
namespace {

namespace fs = std::filesystem;
using namespace test_support;
using biff_builder::sheet_text;

std::string text_of(const workbook_sheet& s, uint32_t row, uint32_t column) {
  return narrow(std::u16string(s.cell(row, column)));
}

class Xlsx : public ::testing::Test {
 protected:
  void SetUp() override { catalog::build_catalogs(); }

  // Writes the workbook and reads its sheets.
  bool read(const xlsx_parts& parts, workbook& book, bool deflate = true) {
    const fs::path path = s_.dir / "book.xlsx";
    std::vector<zip_part> entries = xlsx_entries(parts);
    for (zip_part& e : entries) e.deflate = deflate;
    write_zip(path, entries);
    return book.open(path.u16string(), workbook_kind::xlsx);
  }
  // Opens a file of these entries as a schedule.
  opened_file open(const std::vector<zip_part>& entries) {
    const fs::path path = s_.dir / "open.xlsx";
    write_zip(path, entries);
    return open_schedule(path.u16string(), std::nullopt, [] { catalog::build_catalogs(); });
  }

  scratch s_;
};

const char* const styles_xml =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy hh:mm\"/></numFmts>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"22\"/></cellStyleXfs>"
    "<cellXfs count=\"4\"><xf numFmtId=\"0\"/><xf numFmtId=\"22\"/><xf numFmtId=\"164\"/><xf numFmtId=\"14\"/>"
    "</cellXfs></styleSheet>";

TEST_F(Xlsx, EveryKindOfCell) {
  xlsx_parts p;
  p.styles = styles_xml;
  p.strings =
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"4\" uniqueCount=\"4\">"
      "<si><t>task_code</t></si>"
      "<si><r><rPr><b/></rPr><t>Activity </t></r><r><t>Name</t></r></si>"
      "<si><t>A1000</t><rPh sb=\"0\" eb=\"1\"><t>reading</t></rPh></si>"
      "<si><t xml:space=\"preserve\"> Pour_x000D_ &amp; cure_x005F_x0041_ </t></si></sst>";
  p.sheets.push_back(
      {"TASK", sheet_xml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                         "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>3</v></c>"
                         "<c r=\"E1\" t=\"s\"><v>99</v></c></row>"
                         "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><r><t>ab</t></r><r><t>c</t></r></is></c>"
                         "<c r=\"B2\" t=\"str\"><f>A1&amp;\"x\"</f><v>calc</v></c>"
                         "<c r=\"C2\" t=\"b\"><v>1</v></c><c r=\"D2\" t=\"b\"><v>0</v></c>"
                         "<c r=\"E2\" t=\"e\"><v>#N/A</v></c></row>"
                         "<row r=\"3\"><c r=\"A3\"><v>16</v></c><c r=\"B3\"><v>0.1</v></c>"
                         "<c r=\"C3\" s=\"1\"><v>45317.3125</v></c><c r=\"D3\" s=\"3\"><v>45317.3125</v></c>"
                         "<c r=\"E3\" s=\"2\"><v>45317.3125</v></c></row>"
                         // Neither the row nor two of its cells carry their place.
                         "<row><c><v>1</v></c><c r=\"D4\"><v>2</v></c><c><v>3</v></c></row>")});
  p.sheets.push_back(user_data_sheet());
  workbook book;
  ASSERT_TRUE(read(p, book)) << narrow(book.refusal());
  ASSERT_EQ(book.sheets().size(), 2u);
  // Shared strings: plain, rich text joined, phonetic guide left out,
  // escaped characters restored; an index past the table is empty. Inline
  // rich text, a formula's text result (not its formula), booleans, an
  // error. Numbers, and numbers with a date style: built-in date and time,
  // built-in date alone, a custom format. Cells without a reference take
  // the column after the one before.
  EXPECT_EQ(sheet_text(book.sheets()[0]),
            u"TASK\ntask_code|Activity Name|A1000| Pour\r & cure_x0041_ |\nabc|calc|TRUE|FALSE|\n"
            u"16|0.1|1/26/2024 7:30:00 AM|1/26/2024 12:00:00 AM|1/26/2024 7:30:00 AM\n1|||2|3");
}

TEST_F(Xlsx, DatesFrom1904WhenTheWorkbookSaysSo) {
  for (const char* property : {"<workbookPr date1904=\"1\"/>", "<workbookPr date1904=\"true\"/>", ""}) {
    xlsx_parts p;
    p.styles = styles_xml;
    p.book_properties = property;
    p.sheets.push_back({"TASK", sheet_xml("<row><c s=\"1\"><v>45317.3125</v></c><c s=\"3\"><v>0</v></c></row>")});
    workbook book;
    ASSERT_TRUE(read(p, book)) << narrow(book.refusal());
    ASSERT_EQ(book.sheets().size(), 1u);
    const bool from_1904 = *property != 0;
    EXPECT_EQ(text_of(book.sheets()[0], 0, 0), from_1904 ? "1/27/2028 7:30:00 AM" : "1/26/2024 7:30:00 AM");
    // Day 0 is the first day of the 1904 system; the 1900 system has none.
    EXPECT_EQ(text_of(book.sheets()[0], 0, 1), from_1904 ? "1/1/1904 12:00:00 AM" : "0");
  }
}

TEST_F(Xlsx, SheetsAreFoundByNameThroughTheRelationships) {
  // The workbook lists USERDATA, TASK, TASKPRED; their parts are named and
  // stored in another order.
  xlsx_parts p;
  p.sheets.push_back({"USERDATA", sheet_xml(text_row({"user_data"})), "xl/worksheets/sheet3.xml"});
  p.sheets.push_back({"TASK", sheet_xml(text_row({"task_code"})), "xl/worksheets/sheet1.xml"});
  p.sheets.push_back({"TASKPRED", sheet_xml(text_row({"task_id"})), "xl/other/relations.xml"});
  workbook book;
  ASSERT_TRUE(read(p, book, false)) << narrow(book.refusal());  // stored, not compressed
  ASSERT_EQ(book.sheets().size(), 3u);
  EXPECT_EQ(sheet_text(book.sheets()[0]) + u"/" + sheet_text(book.sheets()[1]) + u"/" + sheet_text(book.sheets()[2]),
            u"USERDATA\nuser_data/TASK\ntask_code/TASKPRED\ntask_id");
  ASSERT_NE(book.sheet("TASKPRED"), nullptr);
  EXPECT_EQ(text_of(*book.sheet("TASKPRED"), 0, 0), "task_id");
}

TEST_F(Xlsx, AnExportOpensAsASchedule) {
  xlsx_parts p;
  p.styles = styles_xml;
  p.sheets.push_back(user_data_sheet());
  p.sheets.push_back(
      {"TASK", sheet_xml(text_row({"task_code", "task_name", "status_code", "wbs_id", "start_date"}) +
                         text_row({"Activity ID", "Activity Name", "Status", "WBS", "Start"}) +
                         "<row>" + text_cell("A1") + text_cell("Dig") + text_cell("Not Started") + text_cell("P.A") +
                         "<c s=\"1\"><v>45317.3125</v></c></row><row>" + text_cell("A2") + text_cell("Pour") +
                         text_cell("Not Started") + text_cell("P.B") + "<c s=\"1\"><v>45320</v></c></row>")});
  p.sheets.push_back({"TASKPRED", sheet_xml(text_row({"task_id", "pred_task_id", "pred_type"}) +
                                            text_row({"Activity", "Predecessor", "Type"}) +
                                            text_row({"A2", "A1", "PR_SS"}))});
  const opened_file f = open(xlsx_entries(p));
  ASSERT_TRUE(f.document) << narrow(f.refusal);
  EXPECT_EQ(f.format, schedule_format::xlsx);
  const Document& d = *f.document;
  ASSERT_EQ(d.task.size(), 2u);
  ASSERT_EQ(d.taskpred.size(), 1u);
  EXPECT_EQ(d.task[1].task_name.value, u"Pour");
  EXPECT_EQ(d.task[0].start_date.time, s_date::from_ymd(2024, 1, 26, 7, 30).time);
  EXPECT_EQ(d.taskpred[0].pred_type.code, s_relationship_type(u"PR_SS").code);
  EXPECT_EQ(d.taskpred[0].task, &d.task[1]);
  EXPECT_EQ(d.taskpred[0].predtask, &d.task[0]);
  // WBS elements P, P.A and P.B under the project's own node.
  EXPECT_GE(d.projwbs.size(), 3u);
}

TEST(XlsxFormat, TheZipSignatureLeadsToTheWorkbookReader) {
  EXPECT_EQ(format_of_bytes(std::string("PK\x03\x04\x14\x00", 6)), schedule_format::xlsx);
  EXPECT_EQ(format_of_bytes(std::string("PK\x05\x06", 4)), schedule_format::none);  // an empty archive
  EXPECT_EQ(format_of_bytes("PK"), schedule_format::none);
}

// ---- Bounds ---------------------------------------------------------------------

TEST(XlsxBounds, EntrySizes) {
  EXPECT_NE(entry_size_refusal("xl/worksheets/sheet1.xml", (uint64_t(1) << 30) + 1, uint64_t(1) << 29)
                .find(u"more than 1 GiB"),
            std::u16string::npos);
  EXPECT_NE(entry_size_refusal("a.xml", 201, 1).find(u"more than 200 times"), std::u16string::npos);
  EXPECT_NE(entry_size_refusal("a.xml", 5, 0).find(u"more than 200 times"), std::u16string::npos);
  EXPECT_EQ(entry_size_refusal("a.xml", uint64_t(1) << 30, uint64_t(1) << 27), u"");
  EXPECT_EQ(entry_size_refusal("a.xml", 200, 1), u"");
  EXPECT_EQ(entry_size_refusal("a.xml", 0, 0), u"");
}

TEST(XlsxBounds, CellReferences) {
  std::string_view rest;
  EXPECT_EQ(reference_column("A1", &rest), 0);
  EXPECT_EQ(rest, "1");
  EXPECT_EQ(reference_column("AB7"), 27);
  EXPECT_EQ(reference_column("xfd3"), 16383);
  EXPECT_EQ(reference_column("XFE3"), -1);
  EXPECT_EQ(reference_column("ZZZZZZZZZZZZZZ1"), -1);
  EXPECT_EQ(reference_column("12"), -1);
}

TEST_F(Xlsx, EachBoundRefusesWithItsReason) {
  struct refusal_case {
    const char* what;
    std::vector<zip_part> entries;
    std::u16string reason;  // a part of the refusal's words
  };
  std::vector<refusal_case> cases;
  auto with_task = [](const std::string& task_xml, const std::string& strings = "") {
    xlsx_parts p;
    p.sheets.push_back(user_data_sheet());
    p.sheets.push_back({"TASK", task_xml});
    p.strings = strings;
    return xlsx_entries(p);
  };

  std::vector<zip_part> many = with_task(sheet_xml(text_row({"task_code"})));
  for (int i = 0; many.size() <= max_zip_entries; ++i) many.push_back({"customXml/item" + std::to_string(i) + ".xml", "<a/>"});
  cases.push_back({"entries", many, u"holds 10,001 entries"});

  cases.push_back({"ratio", with_task(sheet_xml(text_row({"task_code"}) + std::string(1 << 21, ' '))),
                   u"expands more than 200 times"});
  cases.push_back({"document type",
                   with_task("<?xml version=\"1.0\"?><!DOCTYPE worksheet [<!ENTITY a \"aaaaaaaaaa\">"
                             "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>" +
                             sheet_xml("<row><c t=\"inlineStr\"><is><t>&b;</t></is></c></row>").substr(38)),
                   u"declares a document type"});
  cases.push_back({"columns by cell", with_task(sheet_xml("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>")),
                   u"more than 16,384 columns"});
  cases.push_back({"columns declared", with_task(sheet_xml("", "<dimension ref=\"A1:XFE2\"/>")),
                   u"more than 16,384 columns"});
  std::string cells;
  for (int i = 0; i < 16385; ++i) cells += "<c><v>1</v></c>";
  // Stored, since so many equal cells compress beyond the ratio.
  std::vector<zip_part> wide = with_task(sheet_xml("<row>" + cells + "</row>"));
  for (zip_part& e : wide) e.deflate = false;
  cases.push_back({"columns counted", wide, u"more than 16,384 columns"});
  cases.push_back({"rows by number", with_task(sheet_xml("<row r=\"1048577\"><c><v>1</v></c></row>")),
                   u"more than 1,048,576 rows"});
  cases.push_back({"rows counted", with_task(sheet_xml("<row r=\"1048576\"/><row><c><v>1</v></c></row>")),
                   u"more than 1,048,576 rows"});
  cases.push_back({"rows declared", with_task(sheet_xml("", "<dimension ref=\"A1:B1048577\"/>")),
                   u"more than 1,048,576 rows"});
  cases.push_back({"rows beyond any number", with_task(sheet_xml("<row r=\"99999999999999999999999\"/>")),
                   u"more than 1,048,576 rows"});
  // Shared strings that compress well, but not too well: a number and a
  // long repeated tail each.
  std::string strings = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  for (int i = 0; i < 4000; ++i) strings += "<si><t>" + std::to_string(i * 7919 % 10007) + std::string(200, 'w') + "</t></si>";
  cases.push_back({"shared strings", with_task(sheet_xml(text_row({"task_code"})), strings + "</sst>"),
                   u"shared strings come to more text than eight times the file's size"});
  cases.push_back({"not well-formed", with_task(sheet_xml("<row><c><v>1</c></row>")), u"is not well-formed XML"});
  cases.push_back({"no workbook part", {{"docProps/app.xml", "<Properties/>"}}, u"has no workbook part"});

  for (const refusal_case& c : cases) {
    const opened_file f = open(c.entries);
    EXPECT_FALSE(f.document) << c.what;
    EXPECT_EQ(f.format, schedule_format::xlsx) << c.what;
    EXPECT_NE(f.refusal.find(c.reason), std::u16string::npos) << c.what << ": " << narrow(f.refusal);
  }

  // A file that only starts like a ZIP archive.
  const opened_file f = open_schedule(s_.write("broken.xlsx", std::string("PK\x03\x04", 4) + std::string(100, 'x')));
  EXPECT_FALSE(f.document);
  EXPECT_NE(f.refusal.find(u"ZIP directory"), std::u16string::npos) << narrow(f.refusal);
}

TEST_F(Xlsx, AnEntryMayNotExpandBeyondItsClaimedSize) {
  const fs::path path = s_.dir / "lying.zip";
  write_zip(path, {{"a.xml", "<a>" + std::string(5000, 'z') + "0123456789</a>"}});
  std::string bytes = read_file(path);
  // The directory's uncompressed size (offset 24 of its entry) made smaller.
  const size_t at = bytes.find("PK\x01\x02");
  ASSERT_NE(at, std::string::npos);
  bytes[at + 24] = char(uint8_t(bytes[at + 24]) - 100);
  zip_container zip;
  ASSERT_TRUE(zip.open_bytes(bytes)) << narrow(zip.refusal());
  uint64_t got = 0;
  EXPECT_FALSE(zip.read("a.xml", [&](std::string_view chunk, bool) {
    got += chunk.size();
    return true;
  }));
  EXPECT_LE(got, zip.size_of("a.xml"));
  EXPECT_NE(zip.refusal().find(u"beyond the size its directory gives"), std::u16string::npos) << narrow(zip.refusal());
}

// ---- The real export and its binary twin ----------------------------------------

TEST(XlsxReal, OpensLikeItsBinaryTwin) {
  SKIP_WITHOUT_REAL_EXPORTS();
  const fs::path xlsx = real_dir() / "xlsx" / "delayprediction-p2543-r01-oct24-rel.xlsx";
  const fs::path xls = real_dir() / "xls" / "delayprediction-p2543-r01-oct24-rel.xls";
  for (const fs::path& p : {xlsx, xls}) {
    const opened_file f = open_schedule(p.u16string(), std::nullopt, [] { catalog::build_catalogs(); });
    ASSERT_TRUE(f.document) << p << ": " << narrow(f.refusal);
    EXPECT_EQ(f.document->task.size(), 7107u) << p;
    EXPECT_EQ(f.document->taskpred.size(), 18550u) << p;
    EXPECT_EQ(f.document->projwbs.size(), 2476u) << p;
  }
  int status_xlsx = -1, status_xls = -1;
  const std::string from_xlsx = run_dump("--view activity " + quoted(xlsx), &status_xlsx);
  const std::string from_xls = run_dump("--view activity " + quoted(xls), &status_xls);
  EXPECT_EQ(status_xlsx, 0);
  EXPECT_EQ(status_xls, 0);
  EXPECT_GT(from_xlsx.size(), 100000u);
  EXPECT_TRUE(from_xlsx == from_xls) << "the Activity view's copy text differs";
}

}  // namespace
}  // namespace tessel::document

// The scanner of worksheet XML: what it hands its handler (local names,
// decoded text and attributes) whatever the chunks the bytes arrive in, and
// what it refuses (a document type, undefined entities, another encoding,
// XML that is not well-formed).
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

// What the load report says of a workbook that is not whole: an Activity ID
// taken twice, a date that is no date, relationships and assignments that
// name what no row holds.
TEST_F(Xlsx, TheLoadReportNamesWhatIsNotWhole) {
  xlsx_parts p;
  p.sheets.push_back(user_data_sheet());
  p.sheets.push_back({"TASK", sheet_xml(text_row({"task_code", "task_name", "start_date"}) +
                                        text_row({"Activity ID", "Name", "Start"}) + text_row({"A1", "Dig", ""}) +
                                        text_row({"A2", "Pour", "soon"}) + text_row({"A1", "Dig again", ""}))});
  // Reading stops at the first row naming an unknown activity; of the rows
  // from there on, two name one.
  p.sheets.push_back({"TASKPRED", sheet_xml(text_row({"task_id", "pred_task_id"}) +
                                            text_row({"Activity", "Predecessor"}) + text_row({"A2", "A1"}) +
                                            text_row({"A9", "A1"}) + text_row({"A2", "A1"}) +
                                            text_row({"A1", "A8"}))});
  p.sheets.push_back({"TASKRSRC", sheet_xml(text_row({"task_id", "rsrc__rsrc_concat_name"}) +
                                            text_row({"Activity", "Resource"}) + text_row({"A1", "X.Nobody"}) +
                                            text_row({"A7", ""}))});
  const opened_file f = open(xlsx_entries(p));
  ASSERT_TRUE(f.document) << narrow(f.refusal);
  EXPECT_EQ(f.document->taskpred.size(), 1u);
  const load_report& r = f.document->report();
  EXPECT_EQ(r.format, "XLSX workbook");
  ASSERT_EQ(r.row_faults.size(), 1u);
  EXPECT_EQ(r.row_faults[0].table, "TASK");
  const load_report::fault_lines& dup = r.row_faults[0].faults[size_t(row_fault::duplicate_id)];
  EXPECT_EQ(dup.count, 1u);
  EXPECT_EQ(dup.first_lines, std::vector<size_t>{5});  // the sheet's fifth row
  EXPECT_EQ(r.dangling[size_t(dangling_kind::relationship_missing_activity)], 2u);
  EXPECT_EQ(r.dangling[size_t(dangling_kind::assignment_missing_resource)], 1u);
  EXPECT_EQ(r.dangling[size_t(dangling_kind::assignment_missing_activity)], 1u);
  EXPECT_EQ(r.unreadable_dates.count, 1u);  // "soon"; an empty cell is no fault
  EXPECT_EQ(r.unreadable_dates.first_lines, std::vector<size_t>{4});
  EXPECT_TRUE(r.has_warning());
  EXPECT_NE(report_text(r).find("  2 relationships to an activity not in the file\n"), std::string::npos)
      << report_text(r);
}

}  // namespace
}  // namespace tessel::document
