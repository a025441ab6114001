// Every refusal says why: the reason under "Can't open document: PATH", one
// case per reason the core gives, through the open the window and
// tessel-dump share, and as tessel-dump prints it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "catalog/field_catalog.h"
#include "document/document.h"
#include "document/document_xls.h"
#include "document/io/path_text.h"
#include "document/workbook/workbook.h"
#include "document/workbook/workbook_import.h"
#include "test_support.h"
#include "view/tessel_doc.h"

namespace tessel::document {
namespace {

namespace fs = std::filesystem;
using test_support::scratch;

// The reason the shared open gives for the file at `path` (empty when it
// was accepted).
std::u16string reason_for(const std::u16string& path) {
  view::TesselDoc doc;
  if (doc.open(path)) return u"(accepted)";
  return doc.refusal_reason();
}
std::string reason_for(const fs::path& path) { return narrow_path(reason_for(path.u16string())); }

// ---- Workbook bytes -------------------------------------------------------------

struct bytes : std::string {
  bytes& u8(unsigned v) { return push_back(char(v & 0xFF)), *this; }
  bytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
  bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  bytes& text(std::string_view s) { return append(s), *this; }
};
std::string rec(uint16_t type, const std::string& data) { return bytes().u16(type).u16(unsigned(data.size())) + data; }
std::string bof(unsigned kind, unsigned version = 0x0600) {
  return rec(0x0809, bytes().u16(version).u16(kind).u32(0).u32(0).u32(0));
}
std::string dims(uint32_t rows, unsigned cols) { return rec(0x0200, bytes().u32(0).u32(rows).u16(0).u16(cols).u16(0)); }
std::string label(unsigned r, unsigned c, std::string_view latin1) {
  return rec(0x0204, bytes().u16(r).u16(c).u16(0).u16(unsigned(latin1.size())).u8(0).text(latin1));
}
// A workbook stream: the sheet list, then each sheet between its begin and
// end records.
std::string stream(const std::vector<std::pair<std::string, std::string>>& sheets) {
  std::string s = bof(0x0005);
  std::vector<size_t> offsets;
  for (const auto& [name, body] : sheets) {
    offsets.push_back(s.size() + 4);
    s += rec(0x0085, bytes().u32(0).u8(0).u8(0).u8(unsigned(name.size())).u8(0).text(name));
  }
  s += rec(0x000A, "");
  for (size_t i = 0; i < sheets.size(); ++i) {
    s.replace(offsets[i], 4, bytes().u32(uint32_t(s.size())));
    s += bof(0x0010) + sheets[i].second + rec(0x000A, "");
  }
  return s;
}
// A compound file holding `s` as its workbook stream.
std::string compound(std::string s) {
  s.resize(std::max<size_t>(s.size(), 4096));
  const uint32_t size = uint32_t(s.size());
  s.resize((s.size() + 511) / 512 * 512);
  const uint32_t n = uint32_t(s.size() / 512);
  bytes f;
  f.text("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1").text(std::string(16, '\0')).u16(0x3E).u16(3).u16(0xFFFE).u16(9).u16(6);
  f.text(std::string(10, '\0')).u32(1).u32(1).u32(0).u32(4096).u32(0xFFFFFFFE).u32(0).u32(0xFFFFFFFE).u32(0).u32(0);
  while (f.size() < 512) f.u32(0xFFFFFFFF);
  f.u32(0xFFFFFFFD).u32(0xFFFFFFFE);
  for (uint32_t i = 0; i < n; ++i) f.u32(i + 1 < n ? i + 3 : 0xFFFFFFFE);
  while (f.size() < 1024) f.u32(0xFFFFFFFF);
  auto entry = [&](std::u16string_view name, unsigned type, uint32_t child, uint32_t start, uint32_t length) {
    const size_t at = f.size();
    for (char16_t c : name) f.u16(c);
    f.resize(at + 64, '\0');
    f.u16(unsigned(name.size() + 1) * 2).u8(type).u8(1).u32(0xFFFFFFFF).u32(0xFFFFFFFF).u32(child);
    f.resize(at + 116, '\0');
    f.u32(start).u32(length).u32(0);
  };
  entry(u"Root Entry", 5, 1, 0xFFFFFFFE, 0);
  entry(u"Workbook", 2, 0xFFFFFFFF, 2, size);
  f.resize(1536, '\0');
  return f + s;
}

const std::string user_data = dims(3, 1) + label(0, 0, "user_data");

// ---- What the first look refuses ------------------------------------------------

TEST(RefusalReasons, WhatIsNoScheduleFile) {
  scratch s;
  EXPECT_EQ(reason_for(s.file("empty.xer", "")), "The file is empty.");
  EXPECT_EQ(reason_for(s.dir), "This is a folder, not a file.");
  EXPECT_EQ(reason_for(s.dir / "missing.xer"), "The file does not exist.");
  EXPECT_EQ(reason_for(s.file("notes.xer", "HEADER\t8.0\n")),
            "The file is not a schedule export (it does not start with ERMHDR).");
  ASSERT_EQ(::mkfifo((s.dir / "pipe.xer").c_str(), 0600), 0);
  EXPECT_EQ(reason_for(s.dir / "pipe.xer"), "This is not a regular file.");
  // A file past what may be opened is refused before a byte is read; a
  // sparse file has the size without the disk.
  const fs::path huge = s.file("huge.xer", "ERMHDR\t19.12\n");
  fs::resize_file(huge, uint64_t(3) << 30);
  EXPECT_EQ(reason_for(huge), "The file is larger than the memory this computer has free.");
}

TEST(RefusalReasons, NoPermission) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
  scratch s;
  const fs::path locked = s.file("locked.xer", "ERMHDR\t19.12\n%E\n");
  fs::permissions(locked, fs::perms::none);
  EXPECT_EQ(reason_for(locked), "You have no permission to read this file.");
}

// ---- What reading an export refuses --------------------------------------------

TEST(RefusalReasons, ExportRowsOutweighingTheFile) {
  scratch s;
  // Three bytes a row claim an activity record each.
  std::string text = "ERMHDR\t19.12\n%T\tTASK\n%F\ttask_id\n";
  for (int i = 0; i < 200000; ++i) text += "%R\n";
  EXPECT_EQ(reason_for(s.file("claims.xer", text)),
            "The file's rows would take far more memory than a file of its size justifies.");
}

TEST(RefusalReasons, ExportUnreadableWhenRead) {
  // Taken for an export at first look, not one when read: nothing is built.
  Document_xer doc;
  EXPECT_FALSE(doc.load_bytes("ERMHDX\n%T\tTASK\n"));
  EXPECT_TRUE(doc.refused());
  EXPECT_EQ(doc.refusal_reason(), u"The file could not be read.");
}

// ---- What reading a workbook refuses --------------------------------------------

TEST(RefusalReasons, DamagedOrOldWorkbooks) {
  catalog::build_catalogs();
  scratch s;
  EXPECT_EQ(reason_for(s.file("torn.xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(600, 'x'))),
            narrow_path(workbook_refusal::damaged_container));
  EXPECT_EQ(reason_for(s.file("noise.xls", compound(std::string(64, '\x11')))),
            narrow_path(workbook_refusal::damaged_records));
  EXPECT_EQ(reason_for(s.file("old.xls", compound(bof(0x0005, 0x0500) + rec(0x000A, "")))),
            narrow_path(workbook_refusal::old_version));
  EXPECT_EQ(reason_for(s.file("vast.xls", compound(stream({{"USERDATA", user_data}, {"Big", dims(0x80000000u, 256)}})))),
            narrow_path(workbook_refusal::too_many_cells));
  // Rows declared but empty: within the cell limit, yet each would be an
  // activity record.
  EXPECT_EQ(reason_for(s.file("claims.xls", compound(stream({{"USERDATA", user_data},
                                                              {"TASK", dims(60000, 1) + label(0, 0, "task_code")}})))),
            narrow_path(workbook_refusal::too_many_records));
}

TEST(RefusalReasons, WorkbooksWithoutASchedule) {
  catalog::build_catalogs();
  scratch s;
  EXPECT_EQ(reason_for(s.file("plain.xls", compound(stream({{"Sheet1", label(0, 0, "x")}})))),
            "The workbook has no USERDATA sheet: it is not a schedule export.");
  EXPECT_EQ(reason_for(s.file("notasks.xls", compound(stream({{"USERDATA", user_data}, {"Task", label(0, 0, "x")}})))),
            "The workbook has no TASK sheet.");
  // A workbook with both opens.
  EXPECT_EQ(reason_for(s.file("good.xls", compound(stream({{"USERDATA", user_data},
                                                            {"TASK", dims(3, 1) + label(0, 0, "task_code") +
                                                                         label(2, 0, "A1")}})))),
            "(accepted)");
}

// ---- As the user reads them -----------------------------------------------------

TEST(RefusalReasons, MessageHasTheReasonUnderThePath) {
  EXPECT_EQ(view::refusal_message(u"/x/y.xer", u"The file is empty."),
            u"Can't open document: /x/y.xer\nThe file is empty.");
  EXPECT_EQ(view::refusal_message(u"/x/y.xer"), u"Can't open document: /x/y.xer");

  scratch s;
  const fs::path torn = s.file("torn.xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(600, 'x'));
  const fs::path empty = s.file("empty.xer", "");
  // Commands that open a document, and the one that reads the text tree.
  for (const std::string command : {"--summary ", "--report ", ""}) {
    int status = -1;
    EXPECT_EQ(test_support::run_dump(command + test_support::quoted(empty), &status, true),
              "Can't open document: " + empty.string() + "\nThe file is empty.\n");
    EXPECT_EQ(status, 1);
  }
  int status = -1;
  EXPECT_EQ(test_support::run_dump("--summary " + test_support::quoted(torn), &status, true),
            "Can't open document: " + torn.string() + "\n" + narrow_path(workbook_refusal::damaged_container) + "\n");
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace tessel::document
