#include "document/document.h"

#include "document/io/open_limits.h"
#include "document/report_xer.h"
#include "document/table_loaders.h"
#include "document/xer/xer.h"

namespace tessel::document {

xer_parser::table_plan Document_xer::plan() {
  refused_ = false;
  refusal_reason_.clear();
  report_ = load_report();
  report_.format = "XER text export";
  // Only the tables the schedule holds are read, and none of them before it
  // is known that their records fit: a few bytes of "%R" lines must not
  // turn into gigabytes of records.
  return [this](std::vector<xer_parser::table_count>& tables, const xer_parser::xer_file_facts& file) {
    uint64_t record_bytes = 0;
    for (xer_parser::table_count& t : tables) {
      const size_t size = record_size(t.name);
      t.wanted = size > 0;
      if (t.wanted) record_bytes += uint64_t(t.rows) * (size + sizeof(xer_row));
    }
    note_xer_tables(report_, tables, file);
    if (!records_acceptable(record_bytes, file.bytes, available_memory())) {
      refused_ = true;
      refusal_reason_ = u"The file's rows would take far more memory than a file of its size justifies.";
    }
    return !refused_;
  };
}

void Document_xer::take_table(const xer_table& table, xer_row_checks& checks) {
  checks.check_rows(table);
  const size_t first = record_count(*this, table.name());
  if (load_table(*this, table)) checks.check_dates(*this, table, first);
}

bool Document_xer::load(const std::u16string& path) {
  // Tables are handed to their loaders one by one as the reader completes
  // them, so the text of the whole file never stands in memory as cells at
  // once; tables the schedule does not hold are skipped.
  xer_row_checks checks(report_);
  auto table_plan = plan();
  return finish_load(xer_parser::parse_tables(
      path, [&](const xer_table& table) { take_table(table, checks); }, table_plan, encoding_, &used_));
}

bool Document_xer::load_bytes(std::string bytes) {
  xer_row_checks checks(report_);
  auto table_plan = plan();
  return finish_load(xer_parser::parse_tables_bytes(
      std::move(bytes), [&](const xer_table& table) { take_table(table, checks); }, table_plan, encoding_, &used_));
}

bool Document_xer::finish_load(bool read) {
  if (read) {
    link();
    run_passes();
    count_dangling(report_, *this);
    report_.encoding = std::string(name_of(used_));
  } else if (!refused_) {
    // Sniffed as an export but unreadable by the time it was read (gone,
    // shrunk, grown past what memory holds): nothing was built from it.
    refused_ = true;
    refusal_reason_ = u"The file could not be read.";
  }
  build_field_lookup();
  return read;
}

}  // namespace tessel::document
