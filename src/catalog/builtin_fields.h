// The table of built-in fields that `build_catalogs` registers on every
// accepted open. The rows live in builtin_fields.cpp, generated from
// scripts/builtin_fields.txt by scripts/gen_builtin_fields.py.
#pragma once

#include <cstdint>
#include <span>

#include "catalog/field_catalog.h"

namespace tessel::catalog::detail {

struct builtin_field {
  catalog_kind catalog;
  uint32_t field_id;  // also its persistent id
  uint32_t value_type;
  uint32_t value_class;
  bool available;  // initial availability
  const char16_t* key;
  const char16_t* caption;
  const char16_t* workbook_column;  // "" when no workbook column supplies it
};

// All 593 rows: activity, project, WBS, resource, predecessor, successor
// catalog, each in id order.
std::span<const builtin_field> builtin_fields();

}  // namespace tessel::catalog::detail
