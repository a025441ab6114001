// Small schedules written by the row-model tests: one project with a WBS
// tree, three calendars, two resources and whatever activities a test
// lists, opened the way the viewer opens a file.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalog/field_catalog.h"
#include "config/layout.h"
#include "rows/group_item.h"
#include "rows/row.h"
#include "rows/tree_build.h"
#include "test_support.h"
#include "view/tessel_doc.h"

namespace rows_test {

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::view;

// The activity columns a test can fill; the others stay blank.
inline const std::vector<std::string> kTaskColumns = {
    "task_id",         "proj_id",        "wbs_id",        "clndr_id",          "rsrc_id",
    "task_code",       "task_name",      "status_code",   "task_type",         "target_start_date",
    "target_end_date", "early_end_date", "late_end_date", "act_start_date",    "act_end_date",
    "restart_date",    "reend_date",     "act_work_qty",  "total_float_hr_cnt"};

struct task_spec {
  std::string id;
  std::string code;
  std::map<std::string, std::string> cells;  // column -> cell text
};

// The export text: tests/data/xer/rows_base.xer, then the activities.
// Calendars 601 "Standard 5 Day Workweek" (weekdays, 8 h),
// 602 "Seven Day" (every day, 10 h a day), 603 "Night Shift" (weekdays, 8 h);
// `standard_name` renames 601. Project 1 ("P1"); WBS: 10 the project node P1
// (responsible manager 302), 11 A (303) and 12 B under it, 13 A1 under A,
// 14 C under P1 (no activities); OBS 301 Enterprise > 302 Team > 303 Site.
// Resources 501 R1 "Crane" and 502 R2 "Crew". Activities default to
// project 1, WBS 13, calendar 601, not started, task dependent.
inline std::string schedule(const std::vector<task_spec>& tasks,
                            const std::string& standard_name = "Standard 5 Day Workweek") {
  std::string out = test_support::xer_data("rows_base.xer");
  const std::string standard = "Standard 5 Day Workweek";
  out.replace(out.find(standard), standard.size(), standard_name);
  auto line = [&out](std::vector<std::string> fields) {
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "\t" : "") + fields[i];
    out += "\r\n";
  };
  line({"%T", "TASK"});
  std::vector<std::string> f{"%F"};
  f.insert(f.end(), kTaskColumns.begin(), kTaskColumns.end());
  line(f);
  for (const task_spec& t : tasks) {
    std::map<std::string, std::string> c = {{"proj_id", "1"},
                                            {"wbs_id", "13"},
                                            {"clndr_id", "601"},
                                            {"status_code", "TK_NotStarted"},
                                            {"task_type", "TT_Task"},
                                            {"task_name", "Activity " + t.code}};
    for (const auto& [k, v] : t.cells) c[k] = v;
    c["task_id"] = t.id;
    c["task_code"] = t.code;
    std::vector<std::string> r{"%R"};
    for (const std::string& col : kTaskColumns) r.push_back(c.count(col) ? c[col] : "");
    line(r);
  }
  line({"%E"});
  return out;
}

// Writes a schedule to a scratch file and opens it. A schedule that does not
// open fails the test that wrote it (the exception ends that test).
class opened {
 public:
  explicit opened(const std::string& text) {
    if (!doc_.open(scratch_.write("schedule.xer", text))) throw std::runtime_error("the test schedule did not open");
  }
  const document::Document& doc() const { return *doc_.document(); }
  TesselDoc& tessel() { return doc_; }

 private:
  test_support::scratch scratch_;
  TesselDoc doc_;
};

inline uint32_t field(catalog::catalog_kind kind, std::u16string_view key) {
  const catalog::field_entry* e = catalog::catalogs().find_key(kind, key);
  EXPECT_TRUE(e) << "no field for a key";
  return e ? e->field_id : 0;
}
inline uint32_t act(std::u16string_view key) { return field(catalog::catalog_kind::activity, key); }

inline GroupBy group_by(uint32_t field_id, int32_t interval = 0, bool include_all = false) {
  GroupBy g;
  g.field_id = field_id;
  g.date_interval = interval;
  g.include_all = include_all;
  return g;
}
inline GroupSortSettings grouped(std::vector<GroupBy> groups, std::vector<SortBy> sorts = {}) {
  GroupSortSettings s;
  s.group_bys = std::move(groups);
  s.sort_bys = std::move(sorts);
  return s;
}
// Activities grouped by the WBS hierarchy.
inline GroupBy wbs_tree() {
  GroupBy g = group_by(act(u"wbs_id"));
  g.wbs_hierarchy = true;
  return g;
}

// The activity codes of a row list, or "[label]" for a group row.
inline std::vector<std::u16string> names(const row_list& rows) {
  std::vector<std::u16string> out;
  for (const auto& r : rows) {
    if (const document::TASK* t = r->activity())
      out.push_back(t->task_code.value);
    else if (const document::PROJWBS* w = r->wbs())
      out.push_back(w->wbs_short_name.value);
    else if (r->group_item())
      out.push_back(u"[" + r->group_item()->label() + u"]");
    else
      out.push_back(u"?");
  }
  return out;
}

}  // namespace rows_test
