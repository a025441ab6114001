// The Details pane: tabs and their hit areas, the captioned values of each
// record kind, empty values for groups and unsupplied fields, and the
// relationship, code and step sub-tables following the table's selection.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "config_sandbox.h"
#include "rows/tree_build.h"
#include "rows_test_support.h"
#include "view/details/code_table_views.h"
#include "view/details/detail_activity.h"
#include "view/details/detail_record_views.h"
#include "view/details/relationship_table_view.h"
#include "view/details/step_table_view.h"
#include "view/display_scale.h"
#include "view/host_pane.h"
#include "view/recording_surface.h"
#include "view/table/table_views.h"
#include "view/view.h"

namespace {

using namespace tessel;
using namespace tessel::view;
using catalog::catalog_kind;

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
recording_surface paint(View& v, float w = 1200.0f, float h = 400.0f) {
  recording_surface s;
  v.context().surface = &s;
  v.draw({0.0f, 0.0f, w, h});
  v.context().surface = nullptr;
  return s;
}

std::vector<std::u16string> texts(const recording_surface& s) {
  std::vector<std::u16string> out;
  for (const recorded_call& c : s.calls())
    if (c.what == recorded_call::kind::text) out.push_back(c.text);
  return out;
}

// The value shown beside `caption` (its n-th occurrence): the next text on
// the same line to its right, or "" when the box beside it is empty.
std::u16string value_of(const recording_surface& s, std::u16string_view caption, int nth = 0) {
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
std::vector<std::vector<std::u16string>> cells(const recording_surface& s, float header_height) {
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

using test_support::narrow;

// The values shown beside captions.
void expect_values(const recording_surface& s,
                   std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> want) {
  for (const auto& [caption, value] : want) EXPECT_EQ(value_of(s, caption), value) << narrow(caption);
}

// tests/data/xer/details.xer: the schedule of rows_test::schedule (WBS A,
// B, A1, C; resources R1 "Crane", R2 "Crew") with activities 1001 A1 ..
// 1005 A5, A5 in WBS 12, the others in 13; A1 on R1 with 16 h of float. A4
// has the three predecessors A1 (FS), A2 (SS, 16 h lag) and A3 (FF) and the
// one successor A5. Activity code types, in this order: 82 "Phase", 81
// "Area", 83 "Zone"; A1 has Phase DES "Design" and Area NTH "North", A2 only
// Area STH "South", A3 a Zone assignment whose value has no short name. A1
// has two steps ("Survey" done, weight 1, 100 %; "Report" weight 3, 40 %),
// A2 one step ("Check", weight 2). Project 1 has project code "Sector" =
// "PUB" ("Public"); resource R1 resource code "Trade" = "MEC" ("Mechanical").
// Each test opens it with a data folder of its own, so that no remembered
// column list of the real user changes a layout.
class DetailViews : public config_sandbox {
 protected:
  DetailViews() : config_sandbox("tessel-details-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    use_shipped_layouts();
    file_.emplace(test_support::read_file(TESSEL_TEST_DATA "/xer/details.xer"));
    activities_ = std::make_unique<followed_table>(doc(), layout(view_kind::activity));
  }
  void TearDown() override {
    activities_.reset();
    file_.reset();
    set_display_scale(1.0f);
    config_sandbox::TearDown();
  }
  const document::Document& doc() { return file_->doc(); }
  Layout& layout(view_kind kind) { return *file_->tessel().configuration().first_layout(kind); }
  // The cell texts a sub-table shows once activity `code` is selected.
  std::vector<std::vector<std::u16string>> shown(View& v, std::u16string_view code) {
    activities_->select_activity(code);
    v.refresh();
    return cells(paint(v), v.headerHeight());
  }

  std::optional<rows_test::opened> file_;
  std::unique_ptr<followed_table> activities_;
};

TEST_F(DetailViews, TabsTheirClicksTypeQueriesAndChildPanes) {
  ActivityDetailView act(activities_->get());
  EXPECT_EQ(act.tabs(), (std::vector<std::u16string>{u"General", u"Status", u"Predecessors", u"Successors",
                                                     u"Codes", u"Steps"}));
  EXPECT_EQ(act.currentTab(), u"General");
  EXPECT_TRUE(act.isDetail() && act.isActivityDetail());
  EXPECT_FALSE(act.isWbsDetail() || act.isProjectDetail() || act.isResourceDetail() || act.isActivityTable());
  EXPECT_EQ(act.childPaneIndex(), -1);

  // Tab clicks hit the edges inclusively, with the scroll offsets.
  EXPECT_FALSE(act.onLButtonUp(0, 10.0f, 10.0f));  // nothing painted yet: no tab to hit
  EXPECT_EQ(act.currentTab(), u"General");
  paint(act);
  const std::vector<rect_f> tabs = act.tabRects();
  ASSERT_EQ(tabs.size(), 6u);
  for (size_t i = 1; i < tabs.size(); ++i) EXPECT_GT(tabs[i].x, tabs[i - 1].right());  // a gap between tabs

  EXPECT_FALSE(act.onLButtonUp(0, tabs[1].x, tabs[1].y));  // top-left corner
  EXPECT_EQ(act.currentTab(), u"Status");
  act.onLButtonUp(0, tabs[2].right(), tabs[2].bottom());  // bottom-right corner
  EXPECT_EQ(act.currentTab(), u"Predecessors");
  act.onLButtonUp(0, tabs[4].right() + 0.5f, tabs[4].y + 5.0f);  // in the gap: nothing changes
  EXPECT_EQ(act.currentTab(), u"Predecessors");
  act.onLButtonUp(0, tabs[5].x + 5.0f, tabs[5].y - 0.5f);  // just above the strip
  EXPECT_EQ(act.currentTab(), u"Predecessors");

  act.context().scroll_x = 30;
  act.onLButtonUp(0, tabs[3].x - 30.0f, tabs[3].y + 1.0f);
  EXPECT_EQ(act.currentTab(), u"Successors");
  act.context().scroll_x = 0;

  const std::pair<const char16_t*, int> children[] = {
      {u"Predecessors", 0}, {u"Successors", 1}, {u"Codes", 2}, {u"Steps", 3}, {u"Status", -1}};
  for (const auto& [tab, index] : children) {
    ASSERT_TRUE(act.setCurrentTab(tab));
    EXPECT_EQ(act.childPaneIndex(), index);
  }
  EXPECT_FALSE(act.setCurrentTab(u"Notebook"));
  EXPECT_EQ(act.currentTab(), u"Status");
  EXPECT_EQ(std::pair(act.contentWidth(), act.contentHeight()), std::pair(0.0f, 0.0f));

  WBSDetailView wbs;
  EXPECT_EQ(wbs.tabs(), std::vector<std::u16string>{u"General"});
  EXPECT_FALSE(wbs.setCurrentTab(u"Codes"));
  EXPECT_TRUE(wbs.isWbsDetail() && wbs.isDetail() && !wbs.isActivityDetail());
  ProjectDetailView project;
  ResourceDetailView resource;
  EXPECT_EQ(project.tabs(), (std::vector<std::u16string>{u"General", u"Codes"}));
  EXPECT_EQ(resource.tabs(), (std::vector<std::u16string>{u"General", u"Codes"}));
  EXPECT_TRUE(project.isProjectDetail() && resource.isResourceDetail());
  EXPECT_TRUE(project.setCurrentTab(u"Codes"));
  EXPECT_EQ(project.childPaneIndex(), 2);
}

TEST_F(DetailViews, ActivityGeneralAndStatusShowTheSelectedRecordAndScale) {
  ActivityDetailView act(activities_->get());
  // Without a selection the strip, the title and the captions are drawn,
  // every box empty.
  recording_surface none = paint(act);
  expect_values(none, {{u"Activity", u""}, {u"Activity Type", u""}});
  EXPECT_EQ(act.tabRects().size(), 6u);

  // A group row selected: every box empty. On a tab with a child pane the
  // strip alone is drawn: the child shows the rest.
  ASSERT_TRUE(activities_->select([](const Row& r) { return r.is_group_row(); }));
  recording_surface s = paint(act);
  EXPECT_EQ(act.tabRects().size(), 6u);
  expect_values(s, {{u"Activity", u""}, {u"Activity Type", u""}, {u"Duration Type", u""}, {u"% Complete Type", u""},
                    {u"Activity Calendar", u""}, {u"Responsible Manager", u""}, {u"Primary Resource", u""}});
  act.setCurrentTab(u"Predecessors");
  EXPECT_EQ(texts(paint(act)), act.tabs());
  act.setCurrentTab(u"General");

  ASSERT_TRUE(activities_->select_activity(u"A1"));
  recording_surface general = paint(act);
  EXPECT_EQ(value_of(general, u"Activity"), u"A1");
  EXPECT_EQ(value_of(general, u"A1"), u"Activity A1");  // the name beside the ID
  expect_values(general, {{u"Activity Type", u"Task Dependent"}, {u"Activity Calendar", u"Standard 5 Day Workweek"},
                          {u"Responsible Manager", u"Area A1"}, {u"Primary Resource", u"R1.Crane"}});
  EXPECT_NE(value_of(general, u"Duration Type"), u"");
  EXPECT_NE(value_of(general, u"% Complete Type"), u"");

  // A field the document does not supply leaves its box empty on "General";
  // "Status" reads the record itself.
  catalog::catalog_set::mark_available(*catalog::find_field(140), false);
  catalog::catalog_set::mark_available(*catalog::find_field(catalog_kind::activity, u"total_float_hr_cnt"), false);
  EXPECT_EQ(value_of(paint(act), u"Duration Type"), u"");
  ASSERT_TRUE(act.setCurrentTab(u"Status"));
  recording_surface status = paint(act);
  for (const char16_t* group : {u"Duration", u"Status", u"Constraints"}) {
    EXPECT_NE(std::find(texts(status).begin(), texts(status).end(), group), texts(status).end());
  }
  // 16 h of float on an 8-hour calendar shows in days; no constraint.
  expect_values(status, {{u"Total Float", u"2"}, {u"Started", u""}, {u"Primary", u""}, {u"Secondary", u""}});
  EXPECT_EQ(value_of(status, u"Date", 0), u"");
  EXPECT_EQ(value_of(status, u"Date", 1), u"");

  // The form scales with the display.
  act.setCurrentTab(u"General");
  auto boxes = [](const recording_surface& s) {
    std::vector<float> heights;  // vertical outline segments of value boxes
    for (const recorded_call& c : s.calls())
      if (c.what == recorded_call::kind::line && c.a.x == c.b.x && c.color == rgb(122, 122, 122))
        heights.push_back(std::abs(c.b.y - c.a.y));
    return heights;
  };
  const recording_surface one = paint(act);
  set_display_scale(1.5f);
  const recording_surface big = paint(act);
  EXPECT_EQ(DetailView::stripHeight(), 45.0f);
  ASSERT_FALSE(boxes(one).empty());
  ASSERT_EQ(boxes(one).size(), boxes(big).size());
  EXPECT_NEAR(boxes(one).back() * 1.5f, boxes(big).back(), 1.0f);
  float tallest = 0.0f;
  for (const recorded_call& c : big.calls())
    if (c.what == recorded_call::kind::text) tallest = std::max<float>(tallest, c.style.pixel_height);
  EXPECT_EQ(tallest, 22.0f);  // 15 x 1.5, truncated
  // Values still sit right of every caption.
  EXPECT_EQ(value_of(big, u"Primary Resource"), u"R1.Crane");
}

TEST_F(DetailViews, RecordDetailsOfWbsProjectAndResource) {
  followed_table wbs_table(doc(), layout(view_kind::wbs));
  WBSDetailView wbs(wbs_table.get());
  ASSERT_TRUE(wbs_table.select([](const Row& r) { return r.wbs() && r.wbs()->wbs_short_name.value == u"A"; }));
  recording_surface a = paint(wbs);
  expect_values(a, {{u"WBS Name", u"Area A"}, {u"Responsible Manager", u"Site"}});
  EXPECT_NE(value_of(a, u"WBS Code"), u"");
  // C has no responsible manager: its box is there and empty.
  ASSERT_TRUE(wbs_table.select([](const Row& r) { return r.wbs() && r.wbs()->wbs_short_name.value == u"C"; }));
  expect_values(paint(wbs), {{u"WBS Name", u"Area C"}, {u"Responsible Manager", u""}});

  followed_table projects(doc(), layout(view_kind::project));
  ProjectDetailView project(projects.get());
  ASSERT_TRUE(projects.select([](const Row& r) { return r.project() != nullptr; }));
  expect_values(paint(project), {{u"Project ID", u"P1"}, {u"Responsible Manager", u"Team"}});

  followed_table resources(doc(), layout(view_kind::resource));
  ResourceDetailView resource(resources.get());
  ASSERT_TRUE(resources.select([](const Row& r) { return r.resource() && r.resource()->rsrc_id.value == 502; }));
  expect_values(paint(resource), {{u"Resource ID", u"R2"}, {u"Resource Name", u"Crew"}});
}

// ---- sub-tables ----

TEST_F(DetailViews, RelationshipTablesListTheSelectedActivitysLinksSelectAndResize) {
  RelationshipTableView preds(0, activities_->get());
  RelationshipTableView succs(1, activities_->get());
  EXPECT_TRUE(preds.isRelationshipTable() && !preds.isActivityCodeTable());
  EXPECT_EQ(succs.kind(), 1);
  preds.refresh();
  EXPECT_TRUE(preds.visibleRows().empty());
  EXPECT_FLOAT_EQ(preds.contentHeight(), 18.0f);  // the header alone

  activities_->select_activity(u"A4");
  preds.refresh();
  succs.refresh();
  ASSERT_EQ(preds.visibleRows().size(), 3u);
  ASSERT_EQ(succs.visibleRows().size(), 1u);
  EXPECT_FLOAT_EQ(preds.contentHeight(), 4 * 18.0f);
  std::vector<ListColumn>& columns = *layout(view_kind::activity).detail_columns(detail_list::predecessors);
  float width = 0.0f;
  for (const ListColumn& c : columns) width += c.width;
  EXPECT_FLOAT_EQ(preds.contentWidth(), width);

  // Each row shows the other activity's columns: the first column is the
  // predecessor's (or successor's) activity id.
  ASSERT_EQ(catalog::find_field(columns[0].field_id)->key, u"predtask\\7Ctask_code");
  const auto rows = cells(paint(preds), preds.headerHeight());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ((std::vector{rows[0][0], rows[1][0], rows[2][0]}), (std::vector<std::u16string>{u"A1", u"A2", u"A3"}));
  EXPECT_NE(std::find(rows[1].begin(), rows[1].end(), u"Start To Start"), rows[1].end());
  EXPECT_EQ(cells(paint(succs), succs.headerHeight()).at(0).at(0), u"A5");
  const std::vector<std::u16string> header = texts(paint(preds));
  EXPECT_EQ(header[header.size() - columns.size()], u"Activity ID");  // the header is drawn last

  // Another selection, another list, at the next refresh.
  activities_->select_activity(u"A1");
  preds.refresh();
  succs.refresh();
  EXPECT_TRUE(preds.visibleRows().empty());
  EXPECT_EQ(succs.visibleRows().size(), 1u);
  // Ctrl+C copies a sub-table as the main tables copy: header, then rows.
  EXPECT_EQ(preds.selectionText(),
            u"Activity ID\tActivity Name\tRelationship Type\tLag\tStart\tFinish\tActivity Status\n");

  // Rows select by click; the selected row is filled and its text drawn white.
  activities_->select_activity(u"A4");
  preds.refresh();
  paint(preds);
  EXPECT_TRUE(preds.onLButtonDown(mouse_left_held, 50.0f, 18.0f * 2 + 1.0f));  // second row's top edge
  ASSERT_TRUE(preds.selectedRow());
  EXPECT_EQ(preds.selectedRow(), preds.visibleRows()[1]);
  preds.onLButtonUp(0, 50.0f, 40.0f);
  preds.onLButtonDown(mouse_left_held, 50.0f, 5.0f);  // a header click keeps the selection
  EXPECT_EQ(preds.selectedRow(), preds.visibleRows()[1]);
  const recording_surface s = paint(preds);
  std::vector<std::string> filled;  // the second row's line alone, the table's width across
  bool white_text = false;
  for (const recorded_call& c : s.calls()) {
    if (c.what == recorded_call::kind::fill && c.color == rgb(51, 153, 255)) filled.push_back(draw_line(c));
    white_text |= c.what == recorded_call::kind::text && c.text == u"A2" && c.color == rgb(255, 255, 255);
  }
  EXPECT_EQ(filled, std::vector<std::string>{"fill 0 37 " + draw_number(width) + " 17 #3399FF"});
  EXPECT_TRUE(white_text);
  preds.onLButtonDown(mouse_left_held, 50.0f, 300.0f);  // below the rows: nothing selected
  EXPECT_EQ(preds.selectedRow(), nullptr);
  preds.onLButtonUp(0, 50.0f, 300.0f);

  // A sub-table with rows copies them below its header.
  ActivityStepTableView steps(activities_->get());
  activities_->select_activity(u"A1");
  steps.refresh();
  EXPECT_EQ(steps.selectionText(),
            u"Step Name\tCompleted\tStep % Complete\tStep Weight\tStep Weight Percent\n"
            u"Survey\tYes\t100%\t1.00\t25%\nReport\tNo\t40%\t3.00\t75%");

  // The columns resize into the layout.
  activities_->select_activity(u"A4");
  preds.refresh();
  set_display_scale(1.5f);
  paint(preds);  // the header paint places the resize handles
  ASSERT_GE(columns.size(), 2u);
  const float first = columns[0].width * 1.5f;
  const float edge = first + columns[1].width * 1.5f;  // right edge of the second column
  EXPECT_TRUE(preds.onMouseMove(0, edge + 2.0f, 10.0f));  // over the handle: sizing cursor
  EXPECT_EQ(preds.context().cursor, cursor_shape::size_we);
  EXPECT_FALSE(preds.onMouseMove(0, edge + 20.0f, 10.0f));
  EXPECT_FALSE(preds.onMouseMove(0, edge, 40.0f));  // below the header: no handle

  preds.onLButtonDown(mouse_left_held, edge - 1.0f, 10.0f);
  EXPECT_EQ(preds.resizingColumn(), 1);
  EXPECT_TRUE(preds.onMouseMove(mouse_left_held, first + 90.0f, 10.0f));
  EXPECT_FLOAT_EQ(columns[1].width, 60.0f);  // stored unscaled
  preds.onMouseMove(mouse_left_held, first + 3.0f, 10.0f);
  EXPECT_FLOAT_EQ(columns[1].width, 30.0f);  // never narrower than 30
  EXPECT_TRUE(preds.onLButtonUp(0, first + 3.0f, 10.0f));
  EXPECT_EQ(preds.resizingColumn(), -1);

  preds.onLButtonDown(mouse_left_held, first, 10.0f);  // the first column's edge
  EXPECT_EQ(preds.resizingColumn(), 0);
  preds.onMouseMove(mouse_left_held, 10.0f, 10.0f);
  EXPECT_FLOAT_EQ(columns[0].width, 50.0f);  // its rows' indentation (one level) plus 30
  preds.onLButtonUp(0, 10.0f, 10.0f);
  preds.onMouseMove(0, 500.0f, 10.0f);
  EXPECT_FLOAT_EQ(columns[0].width, 50.0f);  // no button held: nothing moves
}

TEST_F(DetailViews, CodeTablesListOnlyTypesWithAValueInTypeOrderAndStepsFollow) {
  ActivityCodeTableView codes(activities_->get());
  EXPECT_TRUE(codes.isActivityCodeTable() && !codes.isRelationshipTable());
  using table = std::vector<std::vector<std::u16string>>;
  EXPECT_EQ(shown(codes, u"A1"), (table{{u"Phase", u"DES", u"Design"}, {u"Area", u"NTH", u"North"}}));
  EXPECT_FLOAT_EQ(codes.contentWidth(), 600.0f);
  EXPECT_EQ(texts(paint(codes)).back(), u"Description");
  EXPECT_EQ(shown(codes, u"A2"), (table{{u"Area", u"STH", u"South"}}));
  // A3's only code value has no short name: no row at all.
  EXPECT_TRUE(shown(codes, u"A3").empty());
  EXPECT_FLOAT_EQ(codes.contentHeight(), 18.0f);

  followed_table projects(doc(), layout(view_kind::project));
  ProjectCodeTableView project_codes(projects.get());
  projects.select([](const Row& r) { return r.project() != nullptr; });
  project_codes.refresh();
  const recording_surface ps = paint(project_codes);
  EXPECT_EQ(cells(ps, 18.0f), (table{{u"Sector", u"PUB", u"Public"}}));
  EXPECT_EQ(texts(ps)[texts(ps).size() - 3], u"Project Code");

  followed_table resources(doc(), layout(view_kind::resource));
  ResourceCodeTableView resource_codes(resources.get());
  resources.select([](const Row& r) { return r.resource() && r.resource()->rsrc_id.value == 501; });
  resource_codes.refresh();
  EXPECT_EQ(cells(paint(resource_codes), 18.0f), (table{{u"Trade", u"MEC", u"Mechanical"}}));
  resources.select([](const Row& r) { return r.resource() && r.resource()->rsrc_id.value == 502; });
  resource_codes.refresh();
  EXPECT_TRUE(resource_codes.visibleRows().empty());

  // Steps follow the selection too.
  ActivityStepTableView steps(activities_->get());
  EXPECT_EQ(shown(steps, u"A1"), (table{{u"Survey", u"Yes", u"100%", u"1.00", u"25%"},
                                        {u"Report", u"No", u"40%", u"3.00", u"75%"}}));
  EXPECT_FLOAT_EQ(steps.contentWidth(), 1200.0f);
  EXPECT_EQ(shown(steps, u"A2"), (table{{u"Check", u"No", u"0%", u"2.00", u"100%"}}));  // its one step weighs all
  EXPECT_TRUE(shown(steps, u"A5").empty());
  // Only the header is drawn, with the fixed captions.
  EXPECT_EQ(texts(paint(steps)), (std::vector<std::u16string>{u"Step Name", u"Completed", u"Step % Complete",
                                                              u"Step Weight", u"Step Weight Percent"}));
}

TEST(DetailViewsWithoutSchedule, PaintNothingAndReportNoSize) {
  ActivityDetailView act;
  RelationshipTableView preds(0);
  ActivityCodeTableView codes;
  ActivityStepTableView steps;
  for (View* v : std::initializer_list<View*>{&act, &preds, &codes, &steps}) {
    v->refresh();
    EXPECT_TRUE(paint(*v).calls().empty());
    EXPECT_EQ(std::pair(v->contentWidth(), v->contentHeight()), std::pair(0.0f, 0.0f));
  }
}

}  // namespace
