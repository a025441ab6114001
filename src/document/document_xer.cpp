#include "document/document.h"

#include "document/io/open_limits.h"
#include "document/table_loaders.h"
#include "document/xer/xer.h"

namespace tessel::document {

xer_parser::table_plan Document_xer::plan() {
  refused_ = false;
  // Only the tables the schedule holds are read, and none of them before it
  // is known that their records fit: a few bytes of "%R" lines must not
  // turn into gigabytes of records.
  return [this](std::vector<xer_parser::table_count>& tables, size_t file_bytes) {
    uint64_t record_bytes = 0;
    for (xer_parser::table_count& t : tables) {
      const size_t size = record_size(t.name);
      t.wanted = size > 0;
      if (t.wanted) record_bytes += uint64_t(t.rows) * (size + sizeof(xer_row));
    }
    refused_ = !records_acceptable(record_bytes, file_bytes, available_memory());
    return !refused_;
  };
}

bool Document_xer::load(const std::u16string& path) {
  // Tables are handed to their loaders one by one as the reader completes
  // them, so the text of the whole file never stands in memory as cells at
  // once; tables the schedule does not hold are skipped.
  return finish_load(xer_parser::parse_tables(
      path, [this](const xer_table& table) { load_table(*this, table); }, plan(), encoding_, &used_));
}

bool Document_xer::load_bytes(std::string bytes) {
  return finish_load(xer_parser::parse_tables_bytes(
      std::move(bytes), [this](const xer_table& table) { load_table(*this, table); }, plan(), encoding_, &used_));
}

bool Document_xer::finish_load(bool read) {
  if (read) {
    link();
    run_passes();
  }
  build_field_lookup();
  return read;
}

}  // namespace tessel::document
