// The host pane: white paint, scroll ranges, scrolling shared with the
// linked pane, the wheel, mouse routing with its repaints, the Details
// pane's children, copy.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/host_pane.h"
#include "view/recording_surface.h"

using namespace tessel::view;

namespace {

// A view of a given size that counts what the pane asks of it.
class probe_view final : public View {
 public:
  float width = 0.0f;
  float height = 0.0f;
  int child_index = -1;
  bool detail = false;
  int refreshes = 0;
  int draws = 0;
  int downs = 0;
  int ups = 0;
  bool move_answer = false;
  cursor_shape wanted = cursor_shape::arrow;
  drawing_context seen;  // the context at the last draw or event
  rect_f drawn;

  float contentWidth() const override { return width; }
  float contentHeight() const override { return height; }
  void refresh() override { ++refreshes; }
  void draw(const rect_f& r) override {
    ++draws;
    drawn = r;
    seen = context();
    if (context().surface) context().surface->fill_rect({1, 2, 3, 4}, rgb(1, 2, 3));
  }
  std::u16string selectionText() const override { return u"copied"; }
  bool isDetail() const override { return detail; }
  bool isActivityDetail() const override { return detail; }
  int childPaneIndex() const override { return child_index; }
  bool onMouseMove(unsigned, float, float) override {
    seen = context();
    context().cursor = wanted;
    return move_answer;
  }
  bool onLButtonDown(unsigned, float, float) override {
    ++downs;
    seen = context();
    return true;
  }
  bool onLButtonUp(unsigned, float, float) override {
    ++ups;
    seen = context();
    return true;
  }
};

// A pane's horizontal and vertical scroll ranges.
std::pair<int, int> ranges(const HostPane& p) {
  return {p.scroll_range(scroll_bar::horizontal), p.scroll_range(scroll_bar::vertical)};
}

struct counted_pane {
  HostPane pane;
  int repaints = 0;
  counted_pane() {
    pane.on_repaint = [this] { ++repaints; };
  }
};

}  // namespace

TEST(HostPane, WithoutViewPaintsWhiteAndIgnoresEverything) {
  counted_pane p;
  p.pane.set_client_size(300, 200);
  recording_surface s;
  p.pane.paint(s);
  EXPECT_EQ(draw_text(s.calls()), "fill 0 0 300 200 #FFFFFF\n");
  EXPECT_EQ(ranges(p.pane), std::pair(0, 0));
  p.pane.left_button_down(mouse_left_held, 10, 10);
  p.pane.left_button_up(0, 10, 10);
  EXPECT_EQ(p.repaints, 0);
  EXPECT_TRUE(p.pane.copy_text().empty());
}

// One view in one pane: what a paint and mouse events hand the view, and the
// scroll ranges.
TEST(HostPane, PaintAndMouseEventsHandTheViewItsContextAndRangesFollowTheContent) {
  probe_view v;
  v.width = 1000;
  v.height = 800;
  counted_pane p;
  HostPane& pane = p.pane;
  pane.set_view(&v);
  pane.set_client_size(300, 200);
  pane.set_scroll_pos(scroll_bar::horizontal, 40);
  pane.set_scroll_pos(scroll_bar::vertical, 70);
  recording_surface s;
  pane.paint(s);
  EXPECT_EQ(draw_text(s.calls()), "fill 0 0 300 200 #FFFFFF\nfill 1 2 3 4 #010203\n");  // white, then the view
  EXPECT_EQ(std::tuple(v.seen.scroll_x, v.seen.scroll_y, v.seen.surface, v.drawn.w, v.drawn.h),
            std::tuple(40, 70, &s, 300.0f, 200.0f));
  EXPECT_EQ(v.context().surface, nullptr);  // not kept beyond the paint
  EXPECT_EQ(ranges(pane), std::pair(710, 610));

  struct edge {
    float content;
    int range;
  };
  // Ten or more pixels smaller: nothing to scroll; as large: 10; fractions
  // are cut.
  for (edge e : {edge{0, 0}, edge{290, 0}, edge{289.5f, 0}, edge{295, 5}, edge{300, 10}, edge{310.7f, 20},
                 edge{1000.99f, 710}}) {
    v.width = e.content;
    v.height = e.content - 100;
    pane.update_ranges();
    EXPECT_EQ(ranges(pane), std::pair(e.range, e.range)) << e.content;
  }
  // A range that shrinks takes the position with it.
  v.width = 1000;
  pane.update_ranges();
  pane.scroll(scroll_bar::horizontal, scroll_action::bottom);
  EXPECT_EQ(pane.scroll_pos(scroll_bar::horizontal), 710);
  v.width = 400;
  pane.update_ranges();
  EXPECT_EQ(pane.scroll_pos(scroll_bar::horizontal), 110);

  // Mouse events carry the scroll offsets and set the cursor.
  v.width = v.height = 2000;
  pane.update_ranges();
  pane.set_scroll_pos(scroll_bar::horizontal, 33);
  pane.set_scroll_pos(scroll_bar::vertical, 44);
  p.repaints = 0;
  std::vector<cursor_shape> cursors;
  p.pane.on_cursor = [&](cursor_shape c) { cursors.push_back(c); };

  v.wanted = cursor_shape::size_we;
  p.pane.mouse_move(0, 1, 1);
  EXPECT_EQ(std::pair(v.seen.scroll_x, v.seen.scroll_y), std::pair(33, 44));
  EXPECT_EQ(p.pane.cursor(), cursor_shape::size_we);
  EXPECT_EQ(p.repaints, 0);  // the view asked for none
  v.move_answer = true;
  v.wanted = cursor_shape::arrow;
  p.pane.mouse_move(0, 1, 1);
  EXPECT_EQ(p.repaints, 1);
  EXPECT_EQ(p.pane.cursor(), cursor_shape::arrow);
  EXPECT_EQ(cursors, (std::vector<cursor_shape>{cursor_shape::size_we, cursor_shape::arrow}));
  EXPECT_EQ(p.pane.copy_text(), u"copied");
}

// Two panes scrolling together: a table 400 x 300 over 700 x 1000 and a
// chart 600 x 300 over 5000 x 1000.
struct linked_panes {
  probe_view table, chart;
  counted_pane a, b;
  linked_panes() {
    table.width = 700;
    table.height = chart.height = 1000;
    chart.width = 5000;
    a.pane.set_view(&table);
    b.pane.set_view(&chart);
    a.pane.set_linked(&b.pane);
    b.pane.set_linked(&a.pane);
    a.pane.set_client_size(400, 300);
    b.pane.set_client_size(600, 300);
  }
  // Both panes' positions on one bar.
  std::pair<int, int> pos(scroll_bar bar) { return {a.pane.scroll_pos(bar), b.pane.scroll_pos(bar)}; }
};

TEST(HostPane, ScrollStepsClampAndCarryVerticallyToTheLinkedPane) {
  linked_panes p;
  ASSERT_EQ(p.a.pane.scroll_range(scroll_bar::vertical), 710);
  p.a.pane.scroll(scroll_bar::vertical, scroll_action::line_down);
  EXPECT_EQ(p.pos(scroll_bar::vertical), std::pair(20, 20));
  EXPECT_EQ(std::pair(p.a.repaints, p.b.repaints), std::pair(1, 1));
  // {pane scrolled (0 table, 1 chart), bar, action, thumb value, both positions after}
  struct step {
    int pane;
    scroll_bar bar;
    scroll_action action;
    int value;
    std::pair<int, int> after;
  };
  const scroll_bar v = scroll_bar::vertical, h = scroll_bar::horizontal;
  for (const step& s :
       {step{0, v, scroll_action::page_down, 0, {120, 120}}, step{0, v, scroll_action::page_up, 0, {20, 20}},
        step{0, v, scroll_action::line_up, 0, {0, 0}}, step{0, v, scroll_action::line_up, 0, {0, 0}},
        step{0, v, scroll_action::thumb, 5000, {710, 710}},
        step{1, v, scroll_action::top, 0, {0, 0}},  // and the other way round
        // Horizontal positions stay each pane's own.
        step{1, h, scroll_action::thumb, 900, {0, 900}}, step{0, h, scroll_action::bottom, 0, {310, 900}},
        step{0, h, scroll_action::thumb, -50, {0, 900}}}) {
    (s.pane ? p.b : p.a).pane.scroll(s.bar, s.action, s.value);
    EXPECT_EQ(p.pos(s.bar), s.after) << static_cast<int>(s.action) << " " << s.value;
  }
}

// Linked panes keep one vertical range, so that a position shows the same
// rows in both even when only one of them has a horizontal scroll bar and
// so is shorter; a pane alone keeps its own.
TEST(HostPane, UnequalClientHeightsShareOneVerticalRange) {
  linked_panes p;
  p.a.pane.set_client_size(400, 500);
  p.b.pane.set_client_size(600, 486);
  EXPECT_EQ(std::pair(ranges(p.a.pane).second, ranges(p.b.pane).second), std::pair(524, 524));  // 1000 - 486 + 10
  for (HostPane* first : {&p.a.pane, &p.b.pane}) {
    first->scroll(scroll_bar::vertical, scroll_action::bottom);
    EXPECT_EQ(p.pos(scroll_bar::vertical), std::pair(524, 524));
    first->scroll(scroll_bar::vertical, scroll_action::top);
    first->wheel(-120 * 200);
    EXPECT_EQ(p.pos(scroll_bar::vertical), std::pair(524, 524));
    first->scroll(scroll_bar::vertical, scroll_action::thumb, 520);
    EXPECT_EQ(p.pos(scroll_bar::vertical), std::pair(520, 520));
  }
  p.b.pane.set_client_size(600, 500);
  EXPECT_EQ(std::pair(ranges(p.a.pane).second, ranges(p.b.pane).second), std::pair(510, 510));
  HostPane lone;
  lone.set_view(&p.table);
  lone.set_client_size(400, 486);
  EXPECT_EQ(lone.scroll_range(scroll_bar::vertical), 524);
}

TEST(HostPane, WheelMovesBySixthsClampedToTheRange) {
  linked_panes p;
  p.table.height = p.chart.height = 400;  // range 110 in a 300 high pane
  p.a.pane.update_ranges();
  p.b.pane.update_ranges();
  p.a.pane.wheel(-120);  // a notch towards the user scrolls down 20
  EXPECT_EQ(p.pos(scroll_bar::vertical), std::pair(20, 20));
  EXPECT_EQ(std::pair(p.a.repaints, p.b.repaints), std::pair(1, 1));
  // A move that would leave the range stops at its end; from 0 the end is
  // reached exactly (-660), and a step from there does not pass it by one.
  for (const auto& [delta, after] : {std::pair{-240, 60}, {60, 50}, {-480, 110}, {360, 50}, {300, 0}, {-24, 4},
                                     {120, 0}, {-660, 110}, {-6, 110}}) {
    p.a.pane.wheel(delta);
    EXPECT_EQ(p.pos(scroll_bar::vertical), std::pair(after, after)) << delta;
  }
}

TEST(HostPane, MouseRoutingRefreshesAndRepaintsTheRightPanes) {
  probe_view table, chart, detail, codes;
  detail.detail = true;
  counted_pane t, g, d, extra, child;
  t.pane.set_view(&table);
  g.pane.set_view(&chart);
  d.pane.set_view(&detail);
  t.pane.set_linked(&g.pane);
  t.pane.add_repaint_pane(&d.pane);
  t.pane.add_repaint_pane(&extra.pane);
  t.pane.set_details_pane(&d.pane);
  d.pane.set_children({nullptr, nullptr, &child.pane, nullptr}, {nullptr, nullptr, &codes, nullptr});
  int children_calls = 0, shown_reported = -2;
  d.pane.on_children_changed = [&](int shown) {
    ++children_calls;
    shown_reported = shown;
  };
  t.pane.set_client_size(400, 300);
  t.pane.set_scroll_pos(scroll_bar::vertical, 0);

  // What each pane and view has been asked for so far.
  const auto counts = [&] {
    return std::vector<int>{table.downs, table.ups, table.refreshes, t.repaints, g.repaints, extra.repaints,
                            children_calls};
  };
  t.pane.left_button_down(mouse_left_held, 5, 6);
  EXPECT_EQ(counts(), (std::vector<int>{1, 0, 1, 1, 1, 1, 0}));
  EXPECT_EQ(d.repaints, 1);

  // Button up: the Details pane lays out its children by the current tab.
  detail.child_index = 2;
  t.pane.left_button_up(0, 5, 6);
  // The extra pane is repainted only on button down.
  EXPECT_EQ(counts(), (std::vector<int>{1, 1, 2, 2, 2, 1, 1}));
  // Reported and shown: the child of index 2, given its view and refreshed.
  EXPECT_EQ(std::tuple(shown_reported, d.pane.shown_child(), child.pane.view(), codes.refreshes),
            std::tuple(2, 2, &codes, 1));

  // A tab without a child, or a child that has no view: every child hidden.
  detail.child_index = -1;
  EXPECT_EQ(d.pane.layout_children(), -1);
  detail.child_index = 0;
  EXPECT_EQ(d.pane.layout_children(), -1);
  EXPECT_EQ(shown_reported, -1);

  // A click in the Details pane itself lays out its own children.
  detail.child_index = 2;
  d.pane.left_button_up(0, 1, 1);
  EXPECT_EQ(d.pane.shown_child(), 2);
  EXPECT_EQ(codes.refreshes, 2);
}
