// What the Details pane tests share: a small schedule with relationships,
// steps and codes written on top of the row tests' schedule, an opened
// schedule with a private data folder, the table a pane follows, and
// readers of what a pane drew.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "config/data_folder.h"
#include "rows/tree_build.h"
#include "rows_test_support.h"
#include "view/display_scale.h"
#include "view/recording_surface.h"
#include "view/table_views.h"
#include "view/view.h"

namespace detail_test {

using namespace tessel;
using namespace tessel::view;

// Activities 1001 A1 .. 1005 A5 (A5 in WBS 12, the others in 13). A4 has the
// three predecessors A1 (FS), A2 (SS, 16 h lag) and A3 (FF) and the one
// successor A5. Activity code types, in this order: 82 "Phase", 81 "Area",
// 83 "Zone"; A1 has Phase DES "Design" and Area NTH "North", A2 only Area
// STH "South", A3 a Zone assignment whose value has no short name. A1 has
// two steps ("Survey" done, weight 1, 100 %; "Report" weight 3, 40 %), A2
// one step ("Check", weight 2). Project 1 has project code "Sector" = "PUB"
// ("Public"); resource R1 resource code "Trade" = "MEC" ("Mechanical").
inline std::string schedule_text() {
  std::vector<rows_test::task_spec> tasks;
  for (int i = 1; i <= 5; ++i) {
    rows_test::task_spec t{std::to_string(1000 + i), "A" + std::to_string(i), {}};
    if (i == 5) t.cells["wbs_id"] = "12";
    if (i == 1) t.cells["rsrc_id"] = "501";
    tasks.push_back(t);
  }
  tasks[0].cells["total_float_hr_cnt"] = "16";
  std::string text = rows_test::schedule(tasks);
  text.resize(text.rfind("%E"));
  auto line = [&text](const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) text += (i ? "\t" : "") + fields[i];
    text += "\r\n";
  };
  line({"%T", "TASKPRED"});
  line({"%F", "task_pred_id", "task_id", "pred_task_id", "proj_id", "pred_proj_id", "pred_type", "lag_hr_cnt"});
  line({"%R", "1", "1004", "1001", "1", "1", "PR_FS", "0"});
  line({"%R", "2", "1004", "1002", "1", "1", "PR_SS", "16"});
  line({"%R", "3", "1004", "1003", "1", "1", "PR_FF", "0"});
  line({"%R", "4", "1005", "1004", "1", "1", "PR_FS", "0"});
  line({"%T", "TASKPROC"});
  line({"%F", "proc_id", "task_id", "proj_id", "seq_num", "proc_name", "complete_flag", "proc_wt", "complete_pct"});
  line({"%R", "1", "1001", "1", "10", "Survey", "Y", "1", "100"});
  line({"%R", "2", "1001", "1", "20", "Report", "N", "3", "40"});
  line({"%R", "3", "1002", "1", "10", "Check", "N", "2", "0"});
  line({"%T", "ACTVTYPE"});
  line({"%F", "actv_code_type_id", "actv_short_len", "seq_num", "actv_code_type", "proj_id", "actv_code_type_scope"});
  line({"%R", "82", "4", "0", "Phase", "", "AS_Global"});
  line({"%R", "81", "4", "10", "Area", "", "AS_Global"});
  line({"%R", "83", "4", "20", "Zone", "", "AS_Global"});
  line({"%T", "ACTVCODE"});
  line({"%F", "actv_code_id", "parent_actv_code_id", "actv_code_type_id", "actv_code_name", "short_name", "seq_num"});
  line({"%R", "8101", "", "81", "North", "NTH", "0"});
  line({"%R", "8102", "", "81", "South", "STH", "10"});
  line({"%R", "8201", "", "82", "Design", "DES", "0"});
  line({"%R", "8301", "", "83", "Unnamed", "", "0"});
  line({"%T", "TASKACTV"});
  line({"%F", "task_id", "actv_code_type_id", "actv_code_id", "proj_id"});
  line({"%R", "1001", "81", "8101", "1"});
  line({"%R", "1001", "82", "8201", "1"});
  line({"%R", "1002", "81", "8102", "1"});
  line({"%R", "1003", "83", "8301", "1"});
  line({"%T", "PCATTYPE"});
  line({"%F", "proj_catg_type_id", "seq_num", "proj_catg_short_len", "proj_catg_type"});
  line({"%R", "91", "0", "4", "Sector"});
  line({"%T", "PCATVAL"});
  line({"%F", "proj_catg_id", "proj_catg_type_id", "seq_num", "proj_catg_short_name", "parent_proj_catg_id",
        "proj_catg_name"});
  line({"%R", "9101", "91", "0", "PUB", "", "Public"});
  line({"%T", "PROJPCAT"});
  line({"%F", "proj_id", "proj_catg_type_id", "proj_catg_id"});
  line({"%R", "1", "91", "9101"});
  line({"%T", "RCATTYPE"});
  line({"%F", "rsrc_catg_type_id", "seq_num", "rsrc_catg_short_len", "rsrc_catg_type"});
  line({"%R", "95", "0", "4", "Trade"});
  line({"%T", "RCATVAL"});
  line({"%F", "rsrc_catg_id", "rsrc_catg_type_id", "rsrc_catg_short_name", "rsrc_catg_name", "parent_rsrc_catg_id",
        "seq_num"});
  line({"%R", "9501", "95", "MEC", "Mechanical", "", "0"});
  line({"%T", "RSRCRCAT"});
  line({"%F", "rsrc_id", "rsrc_catg_type_id", "rsrc_catg_id"});
  line({"%R", "501", "95", "9501"});
  line({"%E"});
  return text;
}

// Points the per-user data folder at a scratch folder for the test's life,
// so that no remembered column list of the real user changes a layout, and
// puts the display scale back afterwards.
class private_data_folder {
 public:
  private_data_folder() {
    const char* v = std::getenv("TESSEL_DATA_DIR");
    if (v) saved_ = v;
    dir_ = std::filesystem::temp_directory_path() / ("tessel-details-" + std::to_string(::getpid()));
    setenv("TESSEL_DATA_DIR", dir_.c_str(), 1);
    config::reset_data_folder();
  }
  ~private_data_folder() {
    if (saved_) setenv("TESSEL_DATA_DIR", saved_->c_str(), 1);
    else unsetenv("TESSEL_DATA_DIR");
    config::reset_data_folder();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
    set_display_scale(1.0f);
  }

 private:
  std::filesystem::path dir_;
  std::optional<std::string> saved_;
};

// A category's table view on a layout, refreshed, with the selection a
// test asks for.
class followed_table {
 public:
  followed_table(const document::Document& doc, Layout& layout) : view_(make_table_view(layout.view())) {
    view_->set_document(&doc);
    view_->set_layout(&layout);
    view_->refresh();
  }
  View* get() const { return view_.get(); }

  // Selects the first visible row for which `pick` answers true, or none.
  template <class Pick>
  Row* select(Pick pick) {
    const std::vector<Row*>& rows = view_->visibleRows();
    int index = -1;
    for (size_t i = 0; i < rows.size() && index < 0; ++i)
      if (pick(*rows[i])) index = static_cast<int>(i);
    view_->selectVisibleRow(index);
    return view_->selectedRow();
  }
  Row* select_activity(std::u16string_view code) {
    return select([code](const Row& r) { return r.activity() && r.activity()->task_code.value == code; });
  }

 private:
  std::unique_ptr<View> view_;
};

// Paints a view once on a fresh recording surface (client 1200 x 400).
inline recording_surface paint(View& v, float w = 1200.0f, float h = 400.0f) {
  recording_surface s;
  v.context().surface = &s;
  v.draw({0.0f, 0.0f, w, h});
  v.context().surface = nullptr;
  return s;
}

inline std::vector<std::u16string> texts(const recording_surface& s) {
  std::vector<std::u16string> out;
  for (const recorded_call& c : s.calls())
    if (c.what == recorded_call::kind::text) out.push_back(c.text);
  return out;
}

// The value shown beside `caption` (its n-th occurrence): the next text on
// the same line to its right, or "" when the box beside it is empty.
inline std::u16string value_of(const recording_surface& s, std::u16string_view caption, int nth = 0) {
  const auto& calls = s.calls();
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].what != recorded_call::kind::text || calls[i].text != caption || nth-- > 0) continue;
    for (size_t j = i + 1; j < calls.size(); ++j) {
      if (calls[j].what != recorded_call::kind::text) continue;
      if (calls[j].rect.y == calls[i].rect.y && calls[j].rect.x > calls[i].rect.x) return calls[j].text;
      return u"";
    }
    return u"";
  }
  ADD_FAILURE() << "caption not drawn";
  return u"<no caption>";
}

// A sub-table's cell texts, row by row, read from what it drew below its
// header (rows are told apart by their top).
inline std::vector<std::vector<std::u16string>> cells(const recording_surface& s, float header_height) {
  std::vector<std::vector<std::u16string>> out;
  float last_y = -1.0f;
  for (const recorded_call& c : s.calls()) {
    if (c.what != recorded_call::kind::text || c.rect.y < header_height - 0.01f) continue;
    if (out.empty() || c.rect.y != last_y) out.emplace_back();
    out.back().push_back(c.text);
    last_y = c.rect.y;
  }
  return out;
}

}  // namespace detail_test
