// The "Start Δ" and "Finish Δ" columns of a comparison: the days each
// activity moved, answered through the open document's field lookup while
// the comparison is attached, and offered in the activity catalog.
#include <gtest/gtest.h>

#include "analysis/compare_columns.h"
#include "compare_test_support.h"

using namespace tessel;
using compare_test::export_builder;

namespace {

TEST(CompareColumns, DaysMovedThroughTheFieldLookupWhileAttached) {
  export_builder o(100000), n(500000);
  o.project("p", "P");
  n.project("p", "P");
  o.task("p", "A1", "", {{"early_start_date", "2025-01-06 08:00"}, {"early_end_date", "2025-01-10 17:00"}});
  // An actual start counts before the early one.
  n.task("p", "A1", "",
         {{"act_start_date", "2025-01-08 20:00"}, {"early_start_date", "2025-01-01 08:00"},
          {"early_end_date", "2025-01-09 17:00"}});
  n.task("p", "A2");  // added: no partner
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);
  const analysis::compare_columns cols(m);
  ASSERT_EQ(nd->task.size(), 2u);
  const document::TASK& moved = nd->task[0];
  const document::TASK& added = nd->task[1];

  EXPECT_TRUE(cols.has_column(catalog::catalog_kind::activity, analysis::start_delta_field));
  EXPECT_FALSE(cols.has_column(catalog::catalog_kind::wbs, analysis::start_delta_field));
  EXPECT_EQ(cols.value(catalog::catalog_kind::activity, analysis::start_delta_field, added.task_id.value), nullptr);

  const s_val& before = nd->fields().value(moved, analysis::start_delta_field);
  EXPECT_TRUE(before.empty);
  document::attach_late_values(*nd, &cols);
  EXPECT_DOUBLE_EQ(nd->fields().value(moved, analysis::start_delta_field).as_double(), 2.5);
  EXPECT_DOUBLE_EQ(nd->fields().value(moved, analysis::finish_delta_field).as_double(), -1.0);
  EXPECT_EQ(&nd->fields().value(added, analysis::finish_delta_field), &before);  // the shared empty value
  document::attach_late_values(*nd, nullptr);
  EXPECT_EQ(&nd->fields().value(moved, analysis::start_delta_field), &before);
}

TEST(CompareColumns, OfferedInTheActivityCatalogAndWithdrawn) {
  catalog::build_catalogs();
  EXPECT_EQ(catalog::catalogs().find_id(analysis::start_delta_field), nullptr);
  analysis::offer_compare_columns(true);
  const catalog::field_entry* e = catalog::catalogs().find_id(analysis::finish_delta_field);
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->caption == u"Finish \u0394");
  EXPECT_EQ(e->catalog, catalog::catalog_kind::activity);
  EXPECT_TRUE(e->available);
  analysis::offer_compare_columns(false);
  EXPECT_FALSE(e->available);
  analysis::offer_compare_columns(true);
  EXPECT_TRUE(e->available);
  // Offered again, not registered twice.
  size_t n = 0;
  for (const catalog::field_entry& x : catalog::catalogs()[catalog::catalog_kind::activity].entries())
    n += x.field_id == analysis::finish_delta_field;
  EXPECT_EQ(n, 1u);
  catalog::build_catalogs();
}

}  // namespace
