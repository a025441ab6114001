// The open of an Excel 2007+ workbook from its bytes: the ZIP container and
// its bounds, the XML parts, the sheets' cells, then the import into
// records, linking and the passes (all of Document_xls::load but the
// reading of the file and the field lookup).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalog/field_catalog.h"
#include "document/document_xls.h"
#include "document/workbook/workbook.h"
#include "document/workbook/workbook_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessel;
  // As for the binary workbook: the built-in catalogs once, put back after
  // every import within the run that changed them.
  static const bool built = (catalog::build_catalogs(), true);
  (void)built;
  document::workbook book;
  if (!book.open_bytes(std::string_view(reinterpret_cast<const char*>(data), size), document::workbook_kind::xlsx))
    return 0;
  catalog::catalogs().clear_available();
  {
    document::Document_xls doc(document::workbook_kind::xlsx);
    if (document::import_book(doc, book)) {
      doc.link();
      doc.run_passes();
    }
  }
  catalog::build_catalogs();
  return 0;
}
