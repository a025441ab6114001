#include "document/document.h"

#include "document/table_loaders.h"
#include "document/xer.h"

namespace tessel::document {

bool Document_xer::load(const std::u16string& path) {
  // Tables are handed to their loaders one by one as the reader completes
  // them, so the text of the whole file never stands in memory as cells at
  // once; tables the schedule does not hold are skipped.
  const bool read = xer_parser::parse_tables(
      path, [this](const xer_table& table) { load_table(*this, table); }, encoding_, &used_);
  if (!read) {
    build_field_lookup();
    return false;
  }
  link();
  run_passes();
  build_field_lookup();
  return true;
}

}  // namespace tessel::document
