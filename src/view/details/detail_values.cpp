#include "view/details/detail_values.h"

namespace tessel::view {

std::u16string catalog_text(const Row* row, uint32_t field_id) {
  if (!row) return {};
  const catalog::field_entry* entry = catalog::find_field(field_id);
  if (!entry || !entry->available) return {};
  return row->field_value(field_id).text();
}

std::u16string record_text(const Row* row, catalog::catalog_kind kind, std::u16string_view key) {
  if (!row) return {};
  const catalog::field_entry* entry = catalog::find_field(kind, key);
  if (!entry) return {};
  return row->field_value(entry->field_id).text();
}

}  // namespace tessel::view
