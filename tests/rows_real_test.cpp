// The shipped layouts on the demo schedule and on real exports: each
// layout's groups are the ones the records call for, every record shows
// exactly once, and the copy text of each view lists every record.
#include <algorithm>
#include <set>
#include <sstream>

#include "rows_test_support.h"
#include "test_support.h"
#include "values/civil.h"
#include "values/s_date.h"
#include "view/table/table_text.h"

using namespace rows_test;
using tessel::catalog::catalog_kind;

namespace {

std::string demo_path() { return std::string(TESSEL_SOURCE_DIR) + "/samples/demo.xer"; }

std::u16string number(int64_t n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

void collect_leaves(const Row& r, std::vector<const Row*>& leaves, std::vector<const Row*>& parents) {
  for (const auto& c : r.children()) {
    if (c->is_group_row()) {
      collect_leaves(*c, leaves, parents);
    } else {
      leaves.push_back(c.get());
      parents.push_back(&r);
      collect_leaves(*c, leaves, parents);
    }
  }
}

// The number of top-level groups the activities call for, worked out from
// the records themselves.
size_t expected_top_groups(const tessel::document::Document& d, const GroupBy& g) {
  std::set<std::u16string> keys;
  const tessel::catalog::field_entry* e = tessel::catalog::find_field(g.field_id);
  for (const tessel::document::TASK& t : d.task) {
    if (g.wbs_hierarchy) {
      const tessel::document::PROJWBS* w = t.projwbs;
      for (size_t guard = 0; w && w->parent && guard < d.projwbs.size(); ++guard) w = w->parent;
      keys.insert(w ? w->wbs_path.value : u"(none)");
      continue;
    }
    if (g.date_interval == 3 || g.date_interval == 4) {
      const tessel::s_date& date = e && e->key == u"end_date" ? t.end_date : t.start_date;
      if (date.empty || date.time <= 0) {
        keys.insert(u"(none)");
      } else if (g.date_interval == 3) {
        // Weeks counted from the Sunday 1970-01-04.
        keys.insert(number(tessel::civil::floor_div(date.time - 259200, 604800)));
      } else {
        const auto b = tessel::civil::break_down(date.time);
        keys.insert(number(b.year * 12 + b.month));
      }
      continue;
    }
    if (e && e->key == u"status_code") keys.insert(t.status_code.text());
    else if (e && e->key == u"task_type") keys.insert(t.task_type.text());
    else if (e && e->key == u"rsrc_id") keys.insert(t.primary_rsrc ? t.primary_rsrc->rsrc_short_name.value : u"");
    else keys.insert(d.fields().value(t, g.field_id).text());
  }
  return keys.size();
}

void check_activity_layout(const tessel::document::Document& d, const Layout& layout) {
  SCOPED_TRACE(std::string(layout.name().begin(), layout.name().end()));
  auto root = build_view_tree(d, layout);
  std::vector<const Row*> leaves, parents;
  collect_leaves(*root, leaves, parents);
  // Every activity exactly once.
  std::set<const tessel::document::TASK*> seen;
  for (const Row* r : leaves) {
    ASSERT_TRUE(r->is_activity_row());
    EXPECT_TRUE(seen.insert(r->activity()).second);
  }
  EXPECT_EQ(seen.size(), d.task.size());
  const auto& levels = layout.group_sort().group_bys;
  if (levels.empty()) {
    EXPECT_EQ(root->children().size(), d.task.size());
    return;
  }
  // Every activity stands in a group of the innermost level that takes it.
  for (size_t i = 0; i < leaves.size(); ++i) {
    ASSERT_TRUE(parents[i]->is_group_row());
    EXPECT_TRUE(parents[i]->group_item()->matches(*leaves[i]));
  }
  size_t top_groups = 0;
  for (const auto& c : root->children()) top_groups += c->is_group_row();
  EXPECT_EQ(top_groups, expected_top_groups(d, levels.front()));
}

// Each view with the number of records it lists: every record once.
struct view_rows {
  view_kind view;
  size_t records;
};
std::vector<view_rows> records_per_view(const tessel::document::Document& d) {
  return {{view_kind::activity, d.task.size()},
          {view_kind::wbs, d.projwbs.size()},
          {view_kind::project, d.project.size()},
          {view_kind::resource, d.rsrc.size()}};
}

// The visible rows of a view's tree, and how many of them are records.
size_t records_shown(Row& root, std::vector<Row*>& rows) {
  visible_rows(root, rows);
  return static_cast<size_t>(std::count_if(rows.begin(), rows.end(), [](Row* r) { return !r->is_group_row(); }));
}

}  // namespace

TEST(RowsDemo, ShippedLayoutsGroupTheDemoSchedule) {
  TesselDoc doc;
  ASSERT_TRUE(doc.open(fs::path(demo_path()).u16string()));
  const auto& layouts = doc.configuration().layouts();
  if (layouts.of(view_kind::activity).empty()) GTEST_SKIP() << "no layouts shipped";
  const tessel::document::Document& d = *doc.document();
  for (const auto& l : layouts.of(view_kind::activity)) check_activity_layout(d, *l);

  // What the demo's layouts are known to show: the WBS tree under its one
  // project, the three activity states.
  if (const Layout* wbs = layouts.find(view_kind::activity, u"Classic WBS Layout")) {
    auto root = build_view_tree(d, *wbs);
    ASSERT_EQ(root->children().size(), 1u);
    EXPECT_EQ(root->children()[0]->group_item()->label(), u"NGBC-01 - Northgate Business Centre");
  }
  if (const Layout* status = layouts.find(view_kind::activity, u"Activity Status Layout")) {
    auto root = build_view_tree(d, *status);
    std::set<std::u16string> labels;
    for (const auto& c : root->children()) labels.insert(c->group_item()->label());
    EXPECT_EQ(labels, (std::set<std::u16string>{u"Completed", u"In Progress", u"Not Started"}));
  }

  // Every layout of every view lists each of its records once.
  for (const view_rows& v : records_per_view(d)) {
    for (const auto& l : layouts.of(v.view)) {
      SCOPED_TRACE(std::string(l->name().begin(), l->name().end()));
      std::vector<Row*> rows;
      EXPECT_EQ(records_shown(*build_view_tree(d, *l), rows), v.records);
    }
  }
}

TEST(RowsReal, CopyTextOfEveryViewListsTheFileRecords) {
  SKIP_WITHOUT_REAL_EXPORTS();
  const fs::path dir = test_support::real_dir();
  for (const char* name : {"xer2csv-harbour-pointe-17.12.xer", "xer2csv-johnstown-17.12.xer"}) {
    const fs::path file = dir / name;
    if (!fs::exists(file)) continue;
    SCOPED_TRACE(name);
    TesselDoc doc;
    ASSERT_TRUE(doc.open(file.u16string()));
    const tessel::document::Document& d = *doc.document();
    // The record counts are those of the file's tables (checked where
    // schedules are opened).
    for (const view_rows& v : records_per_view(d)) {
      const Layout* layout = doc.configuration().first_layout(v.view);
      if (!layout) continue;
      auto root = build_view_tree(d, *layout);
      const std::u16string text = table_text(*root, layout->columns());
      std::vector<Row*> rows;
      EXPECT_EQ(records_shown(*root, rows), v.records) << int(v.view);
      // One line per visible row below the header.
      size_t lines = 0;
      for (char16_t c : text) lines += c == u'\n';
      EXPECT_EQ(lines, rows.size());
      if (v.view == view_kind::activity && layout->find_column(act(u"task_code")) == 0) {
        // Each activity's line starts with its Activity ID.
        std::set<std::u16string> firsts;
        std::u16string::size_type at = 0;
        while ((at = text.find(u'\n', at)) != std::u16string::npos) {
          ++at;
          firsts.insert(text.substr(at, text.find(u'\t', at) - at));
        }
        for (const tessel::document::TASK& t : d.task) EXPECT_TRUE(firsts.count(t.task_code.value));
      }
    }
  }
}
