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

// Monday to Friday, 08:00-12:00 and 13:00-17:00.
inline const std::string kWeekdays = test_support::weekdays_calendar();
// Every day of the week, 07:00-17:00 (10 hours).
inline const std::string kEveryDay = [] {
  std::string days;
  for (int d = 1; d <= 7; ++d) days += "(0||" + std::to_string(d) + "()((0||0(s|07:00|f|17:00)())))";
  return "(0||CalendarData()((0||DaysOfWeek()(" + days + "))(0||Exceptions()()))";
}();

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

// The export text: calendars 601 "Standard 5 Day Workweek" (weekdays, 8 h),
// 602 "Seven Day" (every day, 10 h a day), 603 "Night Shift" (weekdays, 8 h);
// `standard_name` renames 601. Project 1 ("P1"); WBS: 10 the project node P1
// (responsible manager 302), 11 A (303) and 12 B under it, 13 A1 under A,
// 14 C under P1 (no activities); OBS 301 Enterprise > 302 Team > 303 Site.
// Resources 501 R1 "Crane" and 502 R2 "Crew". Activities default to
// project 1, WBS 13, calendar 601, not started, task dependent.
inline std::string schedule(const std::vector<task_spec>& tasks,
                            const std::string& standard_name = "Standard 5 Day Workweek") {
  std::string out = "ERMHDR\t19.12\t2024-01-10\tProject\tadmin\r\n";
  auto line = [&out](std::vector<std::string> fields) {
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "\t" : "") + fields[i];
    out += "\r\n";
  };
  line({"%T", "OBS"});
  line({"%F", "obs_id", "parent_obs_id", "obs_name"});
  line({"%R", "301", "", "Enterprise"});
  line({"%R", "302", "301", "Team"});
  line({"%R", "303", "302", "Site"});
  line({"%T", "PROJECT"});
  line({"%F", "proj_id", "proj_short_name", "clndr_id"});
  line({"%R", "1", "P1", "601"});
  line({"%T", "CALENDAR"});
  line({"%F", "clndr_id", "clndr_name", "day_hr_cnt", "week_hr_cnt", "month_hr_cnt", "year_hr_cnt", "clndr_data"});
  line({"%R", "601", standard_name, "8", "40", "172", "2000", kWeekdays});
  line({"%R", "602", "Seven Day", "10", "70", "300", "3650", kEveryDay});
  line({"%R", "603", "Night Shift", "8", "40", "172", "2000", kWeekdays});
  line({"%T", "PROJWBS"});
  line({"%F", "wbs_id", "proj_id", "obs_id", "seq_num", "proj_node_flag", "wbs_short_name", "wbs_name",
        "parent_wbs_id", "status_code"});
  line({"%R", "10", "1", "302", "0", "Y", "P1", "Project One", "", "WS_Open"});
  line({"%R", "11", "1", "303", "10", "N", "A", "Area A", "10", "WS_Open"});
  line({"%R", "12", "1", "302", "20", "N", "B", "Area B", "10", "WS_Planned"});
  line({"%R", "13", "1", "303", "10", "N", "A1", "Area A1", "11", "WS_Open"});
  line({"%R", "14", "1", "", "30", "N", "C", "Area C", "10", "WS_Open"});
  line({"%T", "RSRC"});
  line({"%F", "rsrc_id", "rsrc_short_name", "rsrc_name", "clndr_id"});
  line({"%R", "501", "R1", "Crane", "601"});
  line({"%R", "502", "R2", "Crew", "601"});
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
