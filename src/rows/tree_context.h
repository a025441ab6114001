// What the group items of one row tree share: the document, its calendars
// by name, and the catalog fields the summaries are built from, each looked
// up once when the tree is built instead of once per group and field.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "catalog/field_catalog.h"
#include "document/document.h"

namespace tessel::view {

// The calendar a group falls back on when its records do not share one.
inline constexpr std::u16string_view standard_calendar_name = u"Standard 5 Day Workweek";

struct tree_context {
  const document::Document* doc = nullptr;
  const document::field_lookup* fields = nullptr;

  // The first calendar of the document with this name, or null.
  const document::CALENDAR* calendar_named(std::u16string_view name) const;
  const document::CALENDAR* standard_calendar = nullptr;

  // Activity fields the summaries need (0 when the catalog lacks one).
  struct activity_fields {
    uint32_t group_name = 0;        // [caption]
    uint32_t calendar = 0;          // clndr_id
    bool calendar_available = false;
    uint32_t planned_start = 0, planned_finish = 0;
    uint32_t remaining_start = 0, remaining_finish = 0;
    uint32_t start = 0, finish = 0;
    uint32_t actual_start = 0, progress_date = 0;
    uint32_t early_finish = 0, late_finish = 0;
    uint32_t original_duration = 0, remaining_duration = 0, at_completion_duration = 0;
    uint32_t actual_duration = 0, total_float = 0;
    uint32_t primary_resource = 0;  // rsrc_id
    // Finish dates whose group value skips the activities without one.
    std::unordered_set<uint32_t> finish_skips_empty;
  } activity;

  // The same for the WBS and project catalogs.
  struct record_fields {
    uint32_t group_name = 0;
    uint32_t start = 0, finish = 0;
    uint32_t remaining_start = 0, remaining_finish = 0;
    uint32_t actual_start = 0, actual_finish = 0;
    uint32_t at_completion_duration = 0, remaining_duration = 0, actual_duration = 0;
  } wbs, project;

  const record_fields* fields_of(catalog::catalog_kind kind) const {
    if (kind == catalog::catalog_kind::wbs) return &wbs;
    if (kind == catalog::catalog_kind::project) return &project;
    return nullptr;
  }

  std::unordered_map<std::u16string, const document::CALENDAR*> calendars_by_name;
};

// Looks the fields up in the process-wide catalogs (built for `doc`) and
// indexes the document's calendars by name.
std::shared_ptr<const tree_context> make_tree_context(const document::Document& doc);

}  // namespace tessel::view
