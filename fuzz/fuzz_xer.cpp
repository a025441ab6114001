// The whole open of an XER export from its bytes: reading, loading every
// table, linking, the post-load passes and the field lookup.
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalog/field_catalog.h"
#include "document/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessel;
  // Every input starts from the built-in catalogs, as every open does. An
  // XER open changes them only by appending the file's own fields, so the
  // set is built again only after an input that added some, and within the
  // same run: an input then frees what it allocated, which keeps libFuzzer
  // from taking the kept fields for a leak (and re-running the input to
  // look for it).
  static const size_t builtin = (catalog::build_catalogs(), catalog::catalogs().size());
  {
    document::Document_xer doc;
    doc.load_bytes(std::string(reinterpret_cast<const char*>(data), size));
  }
  if (catalog::catalogs().size() != builtin) catalog::build_catalogs();
  return 0;
}
