// Two exports of one schedule written from names, for the tests of matching
// and comparing: every id is counted from the builder's own first id, so an
// OLD and a NEW export of the same activities carry different ids, as two
// real exports do.
#pragma once

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/field_catalog.h"
#include "document/document.h"
#include "test_support.h"

namespace compare_test {

// The activity columns written; a task's map fills them by name, `wbs`
// naming a WBS key ("" the project's own node). Every activity is on the
// one calendar, "Standard".
inline const std::vector<std::string>& task_columns() {
  static const std::vector<std::string> c = {
      "task_name", "task_type", "status_code", "target_drtn_hr_cnt", "remain_drtn_hr_cnt", "total_float_hr_cnt",
      "act_start_date", "act_end_date", "early_start_date", "early_end_date", "cstr_type", "cstr_date",
      "cstr_type2", "cstr_date2", "phys_complete_pct"};
  return c;
}

struct export_builder {
  explicit export_builder(int first) : first_id(first) {}

  struct project_row {
    std::string key, short_name, data_date;
  };
  struct wbs_row {
    std::string key, project, parent, code;
  };
  struct task_row {
    std::string project, code, wbs;
    std::map<std::string, std::string> col;
  };
  struct pred_row {
    size_t succ, pred;
    std::string type, lag;
  };

  int first_id;
  std::vector<project_row> projects;
  std::vector<wbs_row> wbs;
  std::vector<task_row> tasks;
  std::vector<pred_row> preds;

  void project(const std::string& key, const std::string& short_name, const std::string& data_date = "") {
    projects.push_back({key, short_name, data_date});
  }
  // A WBS element; `parent` "" hangs it under the project's own node.
  void element(const std::string& key, const std::string& project, const std::string& parent,
               const std::string& code) {
    wbs.push_back({key, project, parent, code});
  }
  // An activity with further columns; answers its index for relationships.
  size_t task(const std::string& project, const std::string& code, const std::string& name = "",
              std::initializer_list<std::pair<const std::string, std::string>> columns = {}) {
    task_row t{project, code, "", {{"task_type", "TT_Task"}, {"status_code", "TK_NotStart"}}};
    t.col["task_name"] = name.empty() ? "Activity " + code : name;
    for (const auto& [column, value] : columns) t.col[column] = value;
    tasks.push_back(t);
    return tasks.size() - 1;
  }
  std::string& operator()(size_t task, const std::string& column) { return tasks[task].col[column]; }
  void pred(size_t succ, size_t pred, const std::string& type = "PR_FS", const std::string& lag = "0") {
    preds.push_back({succ, pred, type, lag});
  }

  std::string id(int kind, size_t index) const { return std::to_string(first_id + kind * 10000 + int(index)); }
  // The id of kind `kind` of the row with the key; an unknown key gives an
  // id that names no record.
  template <class Row>
  std::string id_of(const std::vector<Row>& rows, int kind, const std::string& key) const {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].key == key) return id(kind, i);
    return "99999" + std::to_string(kind);
  }
  std::string project_id(const std::string& key) const { return id_of(projects, 1, key); }
  std::string wbs_id(const std::string& project, const std::string& key) const {
    return key.empty() ? id_of(projects, 2, project) : id_of(wbs, 3, key);
  }

  std::string text() const {
    std::vector<std::vector<std::string>> l;
    l.push_back({"%T", "PROJECT"});
    l.push_back({"%F", "proj_id", "proj_short_name", "last_recalc_date"});
    for (size_t i = 0; i < projects.size(); ++i) l.push_back({"%R", id(1, i), projects[i].short_name, projects[i].data_date});
    l.push_back({"%T", "CALENDAR"});
    l.push_back({"%F", "clndr_id", "clndr_name", "clndr_type", "day_hr_cnt", "clndr_data"});
    l.push_back({"%R", id(4, 0), "Standard", "CA_Base", "8", test_support::weekdays_calendar()});
    l.push_back({"%T", "PROJWBS"});
    l.push_back({"%F", "wbs_id", "proj_id", "parent_wbs_id", "proj_node_flag", "wbs_short_name", "wbs_name"});
    for (size_t i = 0; i < projects.size(); ++i)
      l.push_back({"%R", id(2, i), id(1, i), "1", "Y", projects[i].short_name, projects[i].short_name});
    for (size_t i = 0; i < wbs.size(); ++i)
      l.push_back({"%R", id(3, i), project_id(wbs[i].project), wbs_id(wbs[i].project, wbs[i].parent), "N",
                   wbs[i].code, "Element " + wbs[i].code});
    l.push_back({"%T", "TASK"});
    std::vector<std::string> f = {"%F", "task_id", "proj_id", "wbs_id", "clndr_id", "task_code"};
    for (const std::string& c : task_columns()) f.push_back(c);
    l.push_back(f);
    for (size_t i = 0; i < tasks.size(); ++i) {
      const task_row& t = tasks[i];
      std::vector<std::string> r = {"%R", id(5, i), project_id(t.project), wbs_id(t.project, t.wbs), id(4, 0), t.code};
      for (const std::string& c : task_columns()) {
        auto it = t.col.find(c);
        r.push_back(it == t.col.end() ? "" : it->second);
      }
      l.push_back(r);
    }
    l.push_back({"%T", "TASKPRED"});
    l.push_back({"%F", "task_pred_id", "task_id", "pred_task_id", "proj_id", "pred_proj_id", "pred_type", "lag_hr_cnt"});
    for (size_t i = 0; i < preds.size(); ++i) {
      const pred_row& p = preds[i];
      l.push_back({"%R", id(6, i), id(5, p.succ), id(5, p.pred), project_id(tasks[p.succ].project),
                   project_id(tasks[p.pred].project), p.type, p.lag});
    }
    return test_support::xer(l);
  }

  std::unique_ptr<tessel::document::Document_xer> load() const {
    tessel::catalog::build_catalogs();
    auto d = std::make_unique<tessel::document::Document_xer>();
    EXPECT_TRUE(d->load_bytes(text()));
    return d;
  }
};

// An export from "NAME: A1 A2 | OTHER: B1": projects in order, each with its
// activities (a name again goes on with its project); `*` as a project name
// puts the activities in no project of the file.
inline export_builder written(const std::string& outline, int first_id) {
  export_builder b(first_id);
  std::istringstream in(outline);
  std::string project;
  for (std::string word; in >> word;) {
    if (word == "|") continue;
    if (word.ends_with(':')) {
      project = word.substr(0, word.size() - 1);
      if (project != "*" && b.project_id(project) == "999991") b.project(project, project);
    } else {
      b.task(project == "*" ? "nowhere" : project, word);
    }
  }
  return b;
}

}  // namespace compare_test
