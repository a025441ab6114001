// The whole open of an XER export from its bytes: reading, loading every
// table, linking, the post-load passes and the field lookup.
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalog/field_catalog.h"
#include "document/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessel;
  // Loading registers the file's own fields: start each input from the
  // built-in catalogs, as every open does.
  catalog::build_catalogs();
  document::Document_xer doc;
  doc.load_bytes(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
