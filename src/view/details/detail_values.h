// The texts a Details pane shows for the selected record. A value bound to
// a catalog field shows only when the catalog has the field and the open
// document supplies it (the entry is available); a value the pane reads
// from the record itself goes through the same value lookup by the
// member's key, so durations still take the record's calendar factors.
// A null row (nothing or a group selected) gives empty texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/field_catalog.h"
#include "rows/row.h"

namespace tessel::view {

// The display text of catalog field `field_id` for `row`.
std::u16string catalog_text(const Row* row, uint32_t field_id);

// The display text of the member named `key` in catalog `kind`, whether or
// not the document marks the field as supplied.
std::u16string record_text(const Row* row, catalog::catalog_kind kind, std::u16string_view key);

}  // namespace tessel::view
