// The open of a workbook from its bytes: the compound file, the workbook
// records, the import into records, linking and the passes (all of
// Document_xls::load but the reading of the file and the field lookup).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalog/field_catalog.h"
#include "document/document_xls.h"
#include "document/workbook/workbook.h"
#include "document/workbook/workbook_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessel;
  // Every import starts from the built-in catalogs, as every open does. Most
  // inputs never get past the container and the records, so the catalogs
  // are put back after an import rather than built before every input; and
  // within the same run, so that what the import added is freed in the run
  // that allocated it (libFuzzer would take it for a leak otherwise).
  static const bool built = (catalog::build_catalogs(), true);
  (void)built;
  document::workbook book;
  if (!book.open_bytes(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  catalog::catalogs().clear_available();
  {
    document::Document_xls doc;
    if (document::import_book(doc, book)) {
      doc.link();
      doc.run_passes();
    }
  }
  catalog::build_catalogs();
  return 0;
}
