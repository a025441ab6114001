// Layout files: what each reader takes from the node text, what it skips,
// where files are found, the column moving rules, and the shipped layouts
// (every entry resolves; every column shows something for the demo schedule).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

#include "catalog/field_catalog.h"
#include "config/data_folder.h"
#include "config/layout_reader.h"
#include "config/settings.h"
#include "config/view_configuration.h"
#include "config_sandbox.h"
#include "test_support.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::view;
using catalog::catalog_kind;

namespace {

// Keeps every test of the program away from the user's real data folder:
// opening a schedule reads remembered column files from it.
class private_data_folder : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* set = std::getenv("TESSEL_DATA_DIR");
    if (set && *set) return;
    dir_ = fs::temp_directory_path() / ("tessel-tests-data-" + std::to_string(::getpid()));
    setenv("TESSEL_DATA_DIR", dir_.c_str(), 1);
    config::reset_data_folder();
  }
  void TearDown() override {
    if (dir_.empty()) return;
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

 private:
  fs::path dir_;
};
[[maybe_unused]] ::testing::Environment* const k_private_data =
    ::testing::AddGlobalTestEnvironment(new private_data_folder);

constexpr auto id_of = test_support::field_id;

std::string joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

// A field by its key, with its catalog's name outside the activity catalog;
// "#id" for a field no catalog knows.
std::string key(uint32_t id) {
  const catalog::field_entry* e = catalog::find_field(id);
  if (!e) return "#" + std::to_string(id);
  const std::string k = test_support::narrow(e->key);
  return e->catalog == catalog_kind::activity ? k : std::string(catalog::catalog_name(e->catalog)) + "." + k;
}

// A layout as text, part by part, fields by key: whole layouts compare in
// one expectation.
std::string layout_text(const Layout& l) {
  auto part = [](const BarPart& p) {
    std::ostringstream o;
    o << std::hex << p.shape << "/" << p.color << "/" << p.border_color;
    return p.set ? o.str() : "-";
  };
  std::ostringstream o;
  o << "columns";
  for (const Column& c : l.columns()) o << " " << key(c.field_id) << ":" << c.width;
  o << "\ngroups";
  for (const GroupBy& g : l.group_sort().group_bys)
    o << " " << key(g.field_id) << (g.include_all ? "+all" : "") << (g.wbs_hierarchy ? "+tree" : "") << "/"
      << g.date_interval << "/" << g.interval_size;
  o << "\nsorts";
  for (const SortBy& s : l.group_sort().sort_bys) o << " " << key(s.field_id) << (s.descending ? "-" : "+");
  o << "\nlevels" << std::hex;
  for (const Level& v : l.group_sort().levels) o << " " << v.band_color << "/" << v.text_color;
  o << std::dec;
  for (const GanttBar& b : l.gantt().bars) {
    o << "\nbar " << test_support::narrow(b.name) << " " << key(b.start_field) << "-" << key(b.end_field)
      << (b.hide ? " hide" : "") << (b.summary ? " summary" : "");
    if (b.has_filters) {
      o << (b.filters.is_or ? " any(" : " all(");
      for (const PredefinedFilter* f : b.filters.filters) o << test_support::narrow(f->name) << ",";
      o << ")";
    }
    o << " mid " << part(b.mid) << " start " << part(b.start) << " end " << part(b.end) << " labels";
    for (const BarLabel& lb : b.labels) o << " " << key(lb.field_id) << (lb.left ? "<" : ">");
  }
  o << "\nline " << std::hex << l.gantt().default_line.color << std::dec << "/" << l.gantt().default_line.width;
  if (l.date_settings()) o << "\ndates " << l.date_settings()->timescale << "/" << l.date_settings()->zoom;
  for (const detail_list side : {detail_list::assignments, detail_list::predecessors, detail_list::successors}) {
    if (!l.detail_columns(side)) continue;
    o << "\ndetail";
    for (const ListColumn& c : *l.detail_columns(side)) o << " " << key(c.field_id) << ":" << c.width;
  }
  return o.str();
}

class Layouts : public config_sandbox {
 protected:
  Layouts() : config_sandbox("tessel-layouts-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    std::filesystem::create_directories(root_ / "layouts");
  }

  fs::path write(const std::string& rel, const std::string& text) {
    test_support::write_file(root_ / "layouts" / rel, text);
    return root_ / "layouts" / rel;
  }
  std::unique_ptr<Layout> read(const std::string& text) {
    return ReadLayoutText(text, filters_, &diag_);
  }

  layout_diagnostics diag_;
};

TEST_F(Layouts, ViewTypeInsideTheFileDecidesTheView) {
  const fs::path odd = write("VP_ACT/Odd.tlf",
                             "(0||L(view_type|VP_WBS|view_name|Odd)((0||Columns()((0||wbs_name(width|120)()))))))");
  auto layout = ReadLayoutFile(odd, filters_, &diag_);
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(layout->view(), view_kind::wbs);
  EXPECT_NE(dynamic_cast<WBSLayout*>(layout.get()), nullptr);
  EXPECT_EQ(layout->name(), u"Odd");
  EXPECT_EQ(layout_text(*layout), "columns wbs.wbs_name:120\ngroups\nsorts\nlevels\nline ffff0000/1\ndates 4/50");
  EXPECT_TRUE(layout->column_at(0)->title.empty());

  // The longer header is dropped as well; a missing view name gives an empty one.
  auto res = read("(50000000||L(view_type|VP_RES)((50000000||Columns()((0||rsrc_name(width|9)())))))");
  ASSERT_NE(res, nullptr);
  EXPECT_EQ(res->view(), view_kind::resource);
  EXPECT_EQ(res->name(), u"");
  EXPECT_EQ(layout_text(*res), "columns resource.rsrc_name:9\ngroups\nsorts\nlevels\nline ffff0000/1");  // no dates

  EXPECT_EQ(read("(0||L(view_type|VP_act|view_name|X)())"), nullptr);
  EXPECT_EQ(read("(0||L(view_name|X)())"), nullptr);
  EXPECT_EQ(read(""), nullptr);
  EXPECT_EQ(read("no brackets at all"), nullptr);
  EXPECT_EQ(ReadLayoutFile(root_ / "missing.tlf", filters_), nullptr);
}


TEST_F(Layouts, ActivityReaderTakesEveryPartAndSkipsWhatItCannotUse) {
  // tests/data/layouts/full_activity.tlf: an activity layout with every
  // part, each holding what the reader must take and what it must skip.
  auto layout = read(test_support::read_file(fs::path(TESSEL_TEST_DATA) / "layouts" / "full_activity.tlf"));
  ASSERT_NE(layout, nullptr);
  ASSERT_EQ(layout->view(), view_kind::activity);
  EXPECT_EQ(layout->name(), u"Test Layout");
  // Columns: an unknown field leaves no gap, DEL is no part of a name, a
  // width that is not a number reads as 0. Group-bys: the field name wins
  // over the WBS join, a caption names a field, the join alone groups by the
  // WBS hierarchy, only "Y" includes all. Levels: colours written signed.
  // Bars: unknown names and bars without an end field are not made; a
  // border alone does not set a part; a list of unknown filters is an empty
  // list. The assignment table's link name stands for rsrc_name.
  EXPECT_EQ(layout_text(*layout),
            "columns task_code:87.5 task_name:250 start_date:0\n"
            "groups status_code+all/0/0 task_type/0/0 wbs_id+tree/0/0 start_date/3/0 end_date/5/0\n"
            "sorts start_date+ task_code-\n"
            "levels ffd5dfea/ffffffff ff000000/ff000000\n"
            "bar Actual Work start_date-end_date hide summary any(In Progress,) mid 1/ff/ff000000 "
            "start 0/ff0000/ff00 end - labels task_name< task_code>\n"
            "bar Milestone start_date-end_date all() mid - start - end - labels\n"
            "bar Summary start_date-end_date mid - start - end - labels\n"
            "line ffff0000/1\n"
            "dates 6/50\n"
            "detail resource.rsrc_name:200 resource.rsrc_short_name:90\n"
            "detail predecessor.predtask\\7Ctask_code:100\n"
            "detail successor.task\\7Ctask_code:110");
  EXPECT_EQ(layout->gantt().bars.at(0).filters.filters.at(0), filters_.activity[4].get());

  // Everything skipped is reported.
  const std::string report = joined(diag_.skipped);
  for (const char* expected : {"\"no_such_field\"", "group by: names", "sort key without",
                               "\"nonexistent\"", "\"Nope\"", "\"bogus\"", "\"Fancy Bar\"",
                               "\"Remaining Work\": without", "detail column \"task\\7Ctask_code\""})
    EXPECT_NE(report.find(expected), std::string::npos) << expected << "\n" << report;
  EXPECT_EQ(diag_.skipped.size(), 10u) << report;
}

TEST_F(Layouts, EachViewReadsItsOwnPartsHoweverWritten) {
  // Without TaskView an activity layout has its name and nothing else.
  auto bare = read("(0||L(view_type|VP_ACT|view_name|Bare)((0||Columns()((0||task_code(width|1)())))))");
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->name(), u"Bare");
  EXPECT_EQ(layout_text(*bare), "columns\ngroups\nsorts\nlevels\nline ffff0000/1\ndates 4/50\ndetail\ndetail\ndetail");

  // WBS: no captions, no date units; any bar name; the WBS join is "WBS Code".
  auto wbs = read(
      "(0||L(view_type|VP_WBS|view_name|W)("
      "(0||GroupSortBy()((0||GroupBys()("
      "(0||G(column_title|Activity Type)())(0||G(source_field|start_date|date_unit|W)())"
      "(0||G(source_field|nope|join_path|PROJWBS)())))))"
      "(0||GanttSettings()((0||GanttBars()((0||Anything(start_source_field|start_date|end_source_field|end_date)())))))))");
  ASSERT_NE(wbs, nullptr);
  // An unknown field name lets the join stand in.
  EXPECT_EQ(layout_text(*wbs),
            "columns\ngroups wbs.start_date/0/0 wbs.wbs_concat_name+tree/0/0\nsorts\nlevels\n"
            "bar Anything wbs.start_date-wbs.end_date mid - start - end - labels\nline ffff0000/1\ndates 4/50");
  EXPECT_NE(joined(diag_.skipped).find("\"nope\""), std::string::npos);

  // Project: fields of the project catalog; no WBS join.
  auto proj = read(
      "(0||L(view_type|VP_PROJ|view_name|P)("
      "(0||GroupSortBy()((0||GroupBys()((0||G(join_path|PROJWBS)())(0||G(source_field|obs_id)())))))"
      "(0||DateRange(date_scale|2)())))");
  ASSERT_NE(proj, nullptr);
  EXPECT_EQ(layout_text(*proj), "columns\ngroups project.obs_id/0/0\nsorts\nlevels\nline ffff0000/1\ndates 2/50");

  // Resources: columns only.
  auto resources = read(
      "(0||L(view_type|VP_RES|view_name|R)((0||Columns()((0||rsrc_name(width|9)())))"
      "(0||GroupSortBy()((0||SortBys()((0||S(source_field|rsrc_name|sort_type|ASC)())))))))");
  ASSERT_NE(resources, nullptr);
  EXPECT_EQ(layout_text(*resources), "columns resource.rsrc_name:9\ngroups\nsorts\nlevels\nline ffff0000/1");

  // Line breaks and DEL characters.
  // Line breaks (and indentation) between sibling nodes separate siblings;
  // text outside the root node is ignored.
  auto spread = read(
      "\xEF\xBB\xBF\r\n(0||L(view_type|VP_RES|view_name|R)(\r\n(0||Columns()(\r\n"
      "  (0||rsrc_name(width|100)())\r\n\t(0||rsrc_short_name(width|80)())\r\n))\r\n))\r\n\r\n");
  ASSERT_NE(spread, nullptr);
  EXPECT_EQ(spread->column_count(), 2u);

  // Inside a node a line break is part of the name it stands in.
  auto broken = read("(0||L(view_type|VP_RES|view_name|R\n)((0||Columns()((0||\nrsrc_name(width|1)())))))");
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(broken->name(), u"R\n");
  EXPECT_EQ(broken->column_count(), 0u);

  // DEL characters are removed wherever they stand.
  auto del = read("\x7F(0||L(view_\x7Ftype|VP_\x7FRES|view_name|R\x7F\x7F)((0||Col\x7Fumns()((0||rsrc_name(wid\x7Fth|1\x7F""5)())))))");
  ASSERT_NE(del, nullptr);
  EXPECT_EQ(del->name(), u"R");
  ASSERT_EQ(del->column_count(), 1u);
  EXPECT_FLOAT_EQ(del->column_at(0)->width, 15.0f);
}

TEST_F(Layouts, MovingAndRemovingColumns) {
  ActivityLayout l;
  auto order = [&] {
    std::string s;
    for (const Column& c : l.columns()) s += static_cast<char>('A' + c.field_id);
    return s;
  };
  auto reset = [&] {
    l.columns().clear();
    for (uint32_t i = 0; i < 4; ++i) l.add_column(i, 10.0f);
  };
  reset();
  l.move_column(1, 1);
  l.move_column(1, 2);  // before its own successor: no move
  l.move_column(4, 0);  // no such column
  l.move_column(0, 5);  // beyond the end
  EXPECT_EQ(order(), "ABCD");
  l.move_column(0, 2);
  EXPECT_EQ(order(), "BACD");
  reset();
  l.move_column(3, 0);
  EXPECT_EQ(order(), "DABC");
  reset();
  l.move_column(1, 4);  // to the end
  EXPECT_EQ(order(), "ACDB");
  l.remove_column(0);
  l.remove_column(9);
  EXPECT_EQ(order(), "CDB");
  EXPECT_EQ(l.find_column(3), 1);
  EXPECT_EQ(l.find_column(0), -1);
  EXPECT_EQ(l.column_at(3), nullptr);

  // The detail tables move by the same rule (removing them is proven with
  // the column chooser); other layouts have none.
  for (uint32_t i = 0; i < 3; ++i) l.add_detail_column(detail_list::predecessors, i, 50.0f);
  l.move_detail_column(detail_list::predecessors, 2, 0);
  ASSERT_EQ(l.detail_count(detail_list::predecessors), 3u);
  EXPECT_EQ(l.detail_at(detail_list::predecessors, 0)->field_id, 2u);
  WBSLayout w;
  EXPECT_EQ(w.detail_count(detail_list::successors), 0u);
  EXPECT_EQ(w.detail_at(detail_list::successors, 0), nullptr);
}

TEST_F(Layouts, LoadLayoutsReadsTheFixedListInOrder) {
  write("VP_ACT/Classic WBS Layout.tlf", "(0||L(view_type|VP_ACT|view_name|Second)((0||TaskView()())))");
  write("VP_ACT/Classic Schedule Layout.tlf", "(0||L(view_type|VP_ACT|view_name|First)((0||TaskView()())))");
  write("VP_ACT/Activity Type Layout.tlf", "(0||L(view_type|VP_PROJ|view_name|Moved)())");
  write("VP_WBS/List.tlf", "(0||L(view_type|VP_NONE|view_name|Bad)())");
  write("VP_RES/Extra.tlf", "(0||L(view_type|VP_RES|view_name|Not listed)())");
  layout_lists layouts;
  LoadLayouts(layouts, filters_, &diag_);
  ASSERT_EQ(layouts.of(view_kind::activity).size(), 2u);
  EXPECT_EQ(layouts.of(view_kind::activity)[0]->name(), u"First");
  EXPECT_EQ(layouts.of(view_kind::activity)[1]->name(), u"Second");
  ASSERT_EQ(layouts.of(view_kind::project).size(), 1u);
  EXPECT_EQ(layouts.of(view_kind::project)[0]->name(), u"Moved");
  EXPECT_TRUE(layouts.of(view_kind::wbs).empty());
  EXPECT_TRUE(layouts.of(view_kind::resource).empty());
  EXPECT_EQ(diag_.missing_files.size(), layout_file_list().size() - 4);
  EXPECT_EQ(layouts.find(view_kind::activity, u"Second"), layouts.of(view_kind::activity)[1].get());
  EXPECT_EQ(layouts.find(view_kind::wbs, u"Second"), nullptr);
}

// The layouts the program ships with.
TEST_F(Layouts, ShippedOnesResolveEveryEntryAndShowSomethingForTheDemoSchedule) {
  use_shipped_layouts();
  layout_lists layouts;
  LoadLayouts(layouts, filters_, &diag_);
  EXPECT_TRUE(diag_.skipped.empty()) << joined(diag_.skipped);
  EXPECT_TRUE(diag_.missing_files.empty()) << joined(diag_.missing_files);
  EXPECT_EQ(layouts.of(view_kind::activity).size(), 9u);
  EXPECT_EQ(layouts.of(view_kind::wbs).size(), 5u);
  EXPECT_EQ(layouts.of(view_kind::project).size(), 3u);
  EXPECT_EQ(layouts.of(view_kind::resource).size(), 1u);

  for (view_kind v : {view_kind::activity, view_kind::wbs, view_kind::project, view_kind::resource}) {
    // Every view has its first-shown layout, and names are unique in a view
    // (the column files are named after them).
    EXPECT_NE(layouts.find(v, view_configuration::first_layout_name(v)), nullptr);
    std::set<std::u16string> names;
    for (const auto& l : layouts.of(v)) {
      EXPECT_TRUE(names.insert(l->name()).second);
      EXPECT_GE(l->column_count(), 5u);
      if (v == view_kind::resource) continue;
      EXPECT_FALSE(l->group_sort().sort_bys.empty());
      EXPECT_FALSE(l->gantt().bars.empty());
      if (!l->group_sort().group_bys.empty()) {
        EXPECT_GE(l->group_sort().levels.size(), l->group_sort().group_bys.size());
      }
      for (const GanttBar& b : l->gantt().bars)
        EXPECT_TRUE(b.summary || b.has_filters) << "a bar without filters shows on no row";
    }
  }

  // The first-shown activity layout as schedulers know it.
  const Layout* classic = layouts.find(view_kind::activity, u"Classic Schedule Layout");
  ASSERT_NE(classic, nullptr);
  ASSERT_EQ(classic->group_sort().group_bys.size(), 1u);
  EXPECT_TRUE(classic->group_sort().group_bys[0].wbs_hierarchy);
  EXPECT_GT(classic->detail_count(detail_list::predecessors), 0u);

  // Against the demo schedule: no column is dropped on opening, and every
  // column, group, sort, bar and label field shows something for at least
  // one record.
  std::map<std::u16string, std::size_t> shipped_counts;
  for (const auto& list : layouts.lists)
    for (const auto& l : list) shipped_counts[l->name()] = l->column_count();
  ASSERT_EQ(shipped_counts.size(), 18u);
  TesselDoc doc;
  ASSERT_TRUE(doc.open(u"" TESSEL_SOURCE_DIR "/samples/demo.xer"));
  const document::Document& d = *doc.document();
  const document::field_lookup& f = d.fields();

  auto any_shows = [&](const auto& records, uint32_t id) {
    return std::any_of(records.begin(), records.end(), [&](const auto& r) { return !f.value(r, id).text().empty(); });
  };
  auto shows = [&](view_kind v, uint32_t id) {
    return v == view_kind::activity ? any_shows(d.task, id)
           : v == view_kind::wbs    ? any_shows(d.projwbs, id)
           : v == view_kind::project ? any_shows(d.project, id)
                                     : any_shows(d.rsrc, id);
  };

  for (view_kind v : {view_kind::activity, view_kind::wbs, view_kind::project, view_kind::resource}) {
    for (const auto& l : doc.configuration().layouts().of(v)) {
      const std::string lname(l->name().begin(), l->name().end());
      EXPECT_EQ(l->column_count(), shipped_counts[l->name()]) << lname << ": a column was dropped";
      // (A column the demo does not supply would have been dropped.)
      std::vector<uint32_t> fields;
      for (const Column& c : l->columns()) fields.push_back(c.field_id);
      for (const GroupBy& g : l->group_sort().group_bys) fields.push_back(g.field_id);
      for (const SortBy& s : l->group_sort().sort_bys) fields.push_back(s.field_id);
      for (const GanttBar& b : l->gantt().bars) {
        fields.push_back(b.start_field);
        fields.push_back(b.end_field);
        for (const BarLabel& lb : b.labels) fields.push_back(lb.field_id);
      }
      for (uint32_t id : fields) EXPECT_TRUE(shows(v, id)) << lname << ": " << key(id);

      if (v != view_kind::activity) continue;
      for (const ListColumn& c : *l->detail_columns(detail_list::assignments))
        EXPECT_TRUE(shows(view_kind::resource, c.field_id)) << lname << ": " << key(c.field_id);
      for (const detail_list side : {detail_list::predecessors, detail_list::successors})
        for (const ListColumn& c : *l->detail_columns(side)) {
          const bool pred = side == detail_list::predecessors;
          EXPECT_TRUE(std::any_of(d.taskpred.begin(), d.taskpred.end(), [&](const document::TASKPRED& r) {
            return !(pred ? f.predecessor_value(r, c.field_id) : f.successor_value(r, c.field_id)).text().empty();
          })) << lname << ": " << key(c.field_id);
        }
    }
  }
  EXPECT_EQ(doc.configuration().first_layout(view_kind::activity)->name(), u"Classic WBS Layout");
  EXPECT_EQ(doc.configuration().first_layout(view_kind::wbs)->name(), u"Project Status");
}

}  // namespace
