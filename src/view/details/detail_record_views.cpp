#include "view/details/detail_record_views.h"

#include <array>
#include <span>

#include "view/details/detail_form.h"
#include "view/details/detail_values.h"
#include "view/display_scale.h"

namespace tessel::view {
namespace {

namespace fm = form_metrics;

constexpr float general_box = 320.0f;  // unscaled width of a value box

// The "General" tab of a record: one column of captioned catalog fields.
void draw_general(paint_surface& surface, point_f origin, std::span<const form_field> fields) {
  const float s = display_scale();
  draw_form_column(surface, {origin.x + fm::margin * s, origin.y + fm::margin * s},
                   fit_form_column(surface, fields, general_box), fields);
}

}  // namespace

WBSDetailView::WBSDetailView(View* followed) : DetailView({u"General"}, followed) {}

void WBSDetailView::drawContents(paint_surface& surface, point_f origin) const {
  if (currentTab() != u"General") return;
  const Row* row = shownRow();
  if (row && !row->wbs()) row = nullptr;
  const std::array<form_field, 4> fields{{
      {u"WBS Code", catalog_text(row, 374)},
      {u"WBS Name", catalog_text(row, 510)},
      {u"Status", catalog_text(row, 472)},
      {u"Responsible Manager", catalog_text(row, 473)},
  }};
  draw_general(surface, origin, fields);
}

ProjectDetailView::ProjectDetailView(View* followed) : DetailView({u"General", u"Codes"}, followed) {}

void ProjectDetailView::drawContents(paint_surface& surface, point_f origin) const {
  if (currentTab() != u"General") return;
  const Row* row = shownRow();
  if (row && !row->project()) row = nullptr;
  const std::array<form_field, 4> fields{{
      {u"Project ID", catalog_text(row, 328)},
      {u"Project Name", catalog_text(row, 330)},
      {u"Status", catalog_text(row, 331)},
      {u"Responsible Manager", catalog_text(row, 335)},
  }};
  draw_general(surface, origin, fields);
}

ResourceDetailView::ResourceDetailView(View* followed) : DetailView({u"General", u"Codes"}, followed) {}

void ResourceDetailView::drawContents(paint_surface& surface, point_f origin) const {
  if (currentTab() != u"General") return;
  const Row* row = shownRow();
  if (row && !row->resource()) row = nullptr;
  const std::array<form_field, 2> fields{{
      {u"Resource ID", catalog_text(row, 533)},
      {u"Resource Name", catalog_text(row, 534)},
  }};
  draw_general(surface, origin, fields);
}

}  // namespace tessel::view
