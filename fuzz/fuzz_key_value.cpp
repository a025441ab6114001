// The key-and-value files: the settings file and a layout's column files.
// The first input byte picks which reader gets the rest.
#include <cstddef>
#include <cstdint>

#include "catalog/field_catalog.h"
#include "config/column_files.h"
#include "config/layout.h"
#include "config/settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessel;
  static fuzz::memory_file file;
  static const bool once = (catalog::build_catalogs(), true);
  (void)once;
  if (size == 0) return 0;
  const std::string& path = file.write(data + 1, size - 1);
  view::ActivityLayout layout;
  switch (data[0] % 3) {
    case 0:
      config::reset_settings();
      config::LoadSettings(path);
      break;
    case 1:
      view::ReadColumnFile(layout, path);
      break;
    default:
      view::ReadDetailColumnFile(layout, view::detail_list::predecessors, catalog::catalog_kind::predecessor, path);
      break;
  }
  return 0;
}
