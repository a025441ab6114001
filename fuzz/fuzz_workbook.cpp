// The whole open of a workbook from its bytes: the compound file, the
// workbook records, the import into records, linking and the passes.
#include <cstddef>
#include <cstdint>

#include "catalog/field_catalog.h"
#include "document/document_xls.h"
#include "document/path_text.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessel;
  static fuzz::memory_file file;
  static const std::u16string path = document::wide_text(file.path());
  file.write(data, size);
  catalog::build_catalogs();
  document::Document_xls doc;
  doc.load(path);
  return 0;
}
