// The open of a workbook from its bytes: the compound file, the workbook
// records, the import into records, linking and the passes (all of
// Document_xls::load but the reading of the file and the field lookup).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalog/field_catalog.h"
#include "document/document_xls.h"
#include "document/workbook.h"
#include "document/workbook_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessel;
  catalog::build_catalogs();
  document::workbook book;
  if (!book.open_bytes(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  catalog::catalogs().clear_available();
  document::Document_xls doc;
  if (document::import_book(doc, book)) {
    doc.link();
    doc.run_passes();
  }
  return 0;
}
