// A loaded schedule: the 28 record lists of the export, linked into one
// model. Document_xer reads XER text exports; the workbook import has its own
// subclass. Nothing here ever writes to a schedule file.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "document/field_lookup.h"
#include "document/load_report.h"
#include "document/records/record_lists.h"
#include "document/xer/text_encoding.h"
#include "document/xer/xer.h"

namespace tessel::document {

class Document : public record_lists {
 public:
  Document() = default;
  virtual ~Document() = default;

  // Reads the file and builds the records, then links them and runs the
  // post-load passes. Answers false when the file could not be read; the
  // records built so far stay and are shown.
  virtual bool load(const std::u16string& path) = 0;
  // Resolves the ids between records into references. Called by load.
  virtual void link() = 0;

  // Every record's value for every catalog field. Ready once load has
  // returned (whatever it answered).
  const field_lookup& fields() const { return *fields_; }

  // Whether the last load refused the file outright: it could not be read
  // as a schedule at all (a damaged workbook), or its rows would have taken
  // far more memory than its size justifies. Nothing was read from it then.
  bool refused() const { return refused_; }
  // Why, in plain words ("The workbook has no TASK sheet."); may be empty.
  const std::u16string& refusal_reason() const { return refusal_reason_; }
  // What the last load found in the file: how it was read, what it holds,
  // what looked wrong.
  const load_report& report() const { return report_; }

 protected:
  bool refused_ = false;
  std::u16string refusal_reason_;
  load_report report_;

  // Resolves the catalog fields against this document; the last step of
  // every load, after the document has registered its own fields.
  void build_field_lookup() { fields_ = std::make_unique<field_lookup>(*this); }

 private:
  std::unique_ptr<field_lookup> fields_;
};

// A schedule read from an XER text export.
class Document_xer : public Document {
 public:
  // Without an encoding the file's bytes decide how its text is read.
  Document_xer() = default;
  explicit Document_xer(std::optional<text_encoding> encoding) : encoding_(encoding) {}

  bool load(const std::u16string& path) override;
  // The same over the file's bytes already in memory.
  bool load_bytes(std::string bytes);
  void link() override;

  // The encoding the text was read in, once load has answered true.
  text_encoding encoding_used() const { return used_; }

  // The passes that compute the display members depending on linked
  // records, each over one whole list: activities, WBS elements, projects,
  // resources. Called by load after link.
  void run_passes();

 private:
  bool finish_load(bool read);
  xer_parser::table_plan plan();
  // Loads one table the reader completed, checking its rows for the report.
  void take_table(const xer_table& table, class xer_row_checks& checks);

  std::optional<text_encoding> encoding_;
  text_encoding used_ = text_encoding::windows_1252;
};

}  // namespace tessel::document
