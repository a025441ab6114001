#include "view/details/detail_activity.h"

#include <array>
#include <span>
#include <vector>

#include "view/details/detail_form.h"
#include "view/details/detail_values.h"
#include "view/display_scale.h"

namespace tessel::view {
namespace {

using catalog::catalog_kind;
namespace fm = form_metrics;

// Catalog fields the pane binds to.
constexpr uint32_t activity_id_field = 130;
constexpr uint32_t activity_name_field = 132;
constexpr uint32_t duration_type_field = 140;
constexpr uint32_t percent_complete_type_field = 189;
constexpr uint32_t calendar_field = 138;
constexpr uint32_t wbs_name_field = 154;
constexpr uint32_t primary_resource_field = 147;

// Unscaled widths of the value boxes.
constexpr float code_box = 130.0f;
constexpr float name_box = 380.0f;
constexpr float general_box = 210.0f;
constexpr float status_box = 120.0f;

std::u16string member(const Row* row, std::u16string_view key) {
  return record_text(row, catalog_kind::activity, key);
}

}  // namespace

ActivityDetailView::ActivityDetailView(View* followed)
    : DetailView({u"General", u"Status", u"Predecessors", u"Successors", u"Codes", u"Steps"}, followed) {}

void ActivityDetailView::drawContents(paint_surface& surface, point_f origin) const {
  const Row* row = shownRow();
  if (row && !row->activity()) row = nullptr;
  const bool general = currentTab() == u"General";
  if (!general && currentTab() != u"Status") return;  // a child pane shows the rest

  const float s = display_scale();
  const point_f at{origin.x + fm::margin * s, origin.y + fm::margin * s};
  const std::array<title_part, 2> title{{{catalog_text(row, activity_id_field), code_box},
                                         {catalog_text(row, activity_name_field), name_box}}};
  const float title_h = draw_form_title(surface, at, u"Activity", title);
  const point_f body{at.x, at.y + title_h + fm::margin * s};
  if (general) {
    draw_general(surface, body, row);
  } else {
    draw_status(surface, body, row);
  }
}

void ActivityDetailView::draw_general(paint_surface& surface, point_f origin, const Row* row) const {
  const std::array<form_field, 3> left{{
      {u"Activity Type", member(row, u"task_type")},
      {u"Duration Type", catalog_text(row, duration_type_field)},
      {u"% Complete Type", catalog_text(row, percent_complete_type_field)},
  }};
  const std::array<form_field, 3> right{{
      {u"Activity Calendar", catalog_text(row, calendar_field)},
      {u"Responsible Manager", catalog_text(row, wbs_name_field)},
      {u"Primary Resource", catalog_text(row, primary_resource_field)},
  }};
  const form_column lc = fit_form_column(surface, left, general_box);
  const form_column rc = fit_form_column(surface, right, general_box);
  draw_form_column(surface, origin, lc, left);
  draw_form_column(surface, {origin.x + lc.width() + fm::column_gap * display_scale(), origin.y}, rc, right);
}

void ActivityDetailView::draw_status(paint_surface& surface, point_f origin, const Row* row) const {
  // Each group's fields: the caption beside its box and the activity member
  // it shows.
  struct status_field {
    std::u16string_view caption, key;
  };
  struct status_group {
    std::u16string_view caption;
    std::span<const status_field> fields;
    float box;
  };
  static constexpr status_field duration[] = {
      {u"Original", u"target_drtn_hr_cnt"},  {u"Actual", u"act_drtn_hr_cnt"},
      {u"Remaining", u"remain_drtn_hr_cnt"}, {u"At Complete", u"total_drtn_hr_cnt"},
      {u"Total Float", u"total_float_hr_cnt"}, {u"Free Float", u"free_float_hr_cnt"},
  };
  static constexpr status_field status[] = {
      {u"Started", u"act_start_date"},        {u"Finished", u"act_end_date"}, {u"Exp Finish", u"expect_end_date"},
      {u"Duration %", u"drtn_complete_pct"}, {u"Suspend", u"suspend_date"},  {u"Resume", u"resume_date"},
  };
  static constexpr status_field constraints[] = {
      {u"Primary", u"cstr_type"}, {u"Date", u"cstr_date"}, {u"Secondary", u"cstr_type2"}, {u"Date", u"cstr_date2"},
  };
  const status_group groups[] = {
      {u"Duration", duration, status_box},
      {u"Status", status, status_box},
      {u"Constraints", constraints, status_box + 40.0f},
  };
  const float gap = fm::column_gap * display_scale();
  // The groups stand side by side; the frames' captions overhang their top
  // edges, so the row of frames starts half a line lower.
  point_f at{origin.x, origin.y + fm::margin * display_scale() / 2};
  std::vector<form_field> fields;
  for (const status_group& g : groups) {
    fields.clear();
    for (const status_field& f : g.fields) fields.push_back({f.caption, member(row, f.key)});
    const rect_f frame = draw_form_group(surface, at, g.caption, fit_form_column(surface, fields, g.box), fields);
    at.x = frame.right() + gap;
  }
}

}  // namespace tessel::view
