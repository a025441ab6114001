// Excel 2007+ workbooks assembled in the tests: XML parts written into a
// ZIP container through the ZIP library, laid out as the schedule export
// lays them out (sheets listed by name in the workbook part and found
// through its relationships).
#pragma once

#include <zip.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

inline std::string file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
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
