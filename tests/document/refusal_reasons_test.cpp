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
#include "document/biff_builder.h"
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

using namespace biff_builder;

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
