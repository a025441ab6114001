// A layout file from its bytes: node text read into a layout of whichever
// view it names, against the predefined filters.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalog/field_catalog.h"
#include "config/filters.h"
#include "config/layout_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessel;
  static const view::filter_lists* filters = [] {
    catalog::build_catalogs();
    auto* f = new view::filter_lists();
    view::BuildPredefinedFilters(*f);
    return f;
  }();
  view::layout_diagnostics diagnostics;
  view::ReadLayoutText(std::string_view(reinterpret_cast<const char*>(data), size), *filters, &diagnostics);
  return 0;
}
