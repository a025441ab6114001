// One paint of a pane as the viewer would draw it, printed call by call
// (see draw_panes.h for the options and the order of events).
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "command.h"
#include "draw_panes.h"
#include "open_file.h"
#include "view/display_scale.h"
#include "view/recording_surface.h"
#include "view/table/table_views.h"

namespace tessel::dump {
namespace {

std::vector<draw_pane_kind>& kinds() {
  static std::vector<draw_pane_kind> all;
  return all;
}

bool parse_pair(const std::string& text, char sep, int& a, int& b) {
  const std::size_t at = text.find(sep);
  if (at == std::string::npos) return false;
  char* end = nullptr;
  const long x = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + at) return false;
  const char* second = text.c_str() + at + 1;
  const long y = std::strtol(second, &end, 10);
  if (end == second || *end) return false;
  a = static_cast<int>(x);
  b = static_cast<int>(y);
  return true;
}

struct click {
  int x = 0;
  int y = 0;
};

int usage_error(const std::string& why) {
  std::cerr << "tessel-dump --draw: " << why << " (see --help)\n";
  return 2;
}

std::string kind_names() {
  std::string out;
  for (const draw_pane_kind& k : kinds()) {
    if (!out.empty()) out += '|';
    out += k.name;
  }
  return out;
}

int dump_draw(const std::vector<std::string>& args) {
  if (args.empty()) return usage_error("no pane kind");
  const draw_pane_kind* kind = nullptr;
  for (const draw_pane_kind& k : kinds()) {
    if (k.name == args[0]) kind = &k;
  }
  if (!kind) return usage_error("unknown pane kind " + args[0] + " (" + kind_names() + ")");
  std::unique_ptr<draw_pane> pane = kind->make();

  std::string layout_name, file;
  int width = 1600, height = 900, scroll_x = 0, scroll_y = 0, select = -1;
  bool have_scroll = false, have_select = false;
  float scale = 1.0f;
  std::vector<click> clicks;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--layout" && has_value) {
      layout_name = args[++i];
    } else if (a == "--size" && has_value) {
      if (!parse_pair(args[++i], 'x', width, height) || width <= 0 || height <= 0)
        return usage_error("--size wants WxH");
    } else if (a == "--scale" && has_value) {
      scale = std::strtof(args[++i].c_str(), nullptr);
      if (!(scale > 0.0f)) return usage_error("--scale wants a positive number");
    } else if (a == "--scroll" && has_value) {
      if (!parse_pair(args[++i], ',', scroll_x, scroll_y)) return usage_error("--scroll wants X,Y");
      have_scroll = true;
    } else if (a == "--select" && has_value) {
      select = std::atoi(args[++i].c_str());
      have_select = true;
    } else if (a == "--click" && has_value) {
      click c;
      if (!parse_pair(args[++i], ',', c.x, c.y)) return usage_error("--click wants X,Y");
      clicks.push_back(c);
    } else if (std::size_t used = pane->option(args, i)) {
      i += used - 1;
    } else if (file.empty() && (a.size() < 2 || a.compare(0, 2, "--") != 0)) {
      file = a;
    } else {
      return usage_error("unexpected " + a);
    }
  }
  if (file.empty()) return usage_error("no file");

  view::set_display_scale(scale);
  draw_session s;
  s.category = kind->category;
  s.client_width = width;
  s.client_height = height;
  if (open_timed(s.doc, file) < 0) return refuse(file);
  const view::view_configuration& config = s.doc.configuration();
  s.layout = layout_name.empty() ? config.first_layout(s.category)
                                 : config.layouts().find(s.category, path_arg(layout_name));
  if (!s.layout) {
    std::cerr << (layout_name.empty() ? std::string("the view has no layout") : "no layout named " + layout_name)
              << "\n";
    return 1;
  }
  s.table = view::make_table_view(s.category);
  s.table->set_document(s.doc.document());
  s.table->set_layout(s.layout);
  s.table_pane.set_view(s.table.get());
  s.table_pane.set_client_size(width, height);
  s.table->refresh();
  s.table_pane.update_ranges();

  view::View* shown = pane->build(s);
  view::HostPane* painted = &s.table_pane;
  if (shown && shown != s.table.get()) {
    painted = &s.pane;
    s.pane.set_view(shown);
    s.pane.set_client_size(width, height);
    shown->refresh();
    s.pane.update_ranges();
  }
  pane->painted = painted;
  {
    // The window has painted its panes before the user scrolls or clicks:
    // hit areas such as the header's, and a first column fitted to its IDs,
    // come from that paint.
    view::recording_surface first;
    s.table_pane.paint(first);
    if (painted != &s.table_pane) painted->paint(first);
  }
  if (have_scroll) {
    painted->scroll(view::scroll_bar::horizontal, view::scroll_action::thumb, scroll_x);
    painted->scroll(view::scroll_bar::vertical, view::scroll_action::thumb, scroll_y);
  }
  if (have_select) s.table->selectVisibleRow(select);
  view::HostPane& target = pane->click_pane(s);
  for (const click& c : clicks) {
    target.left_button_down(view::mouse_left_held, static_cast<float>(c.x), static_cast<float>(c.y));
    target.left_button_up(0, static_cast<float>(c.x), static_cast<float>(c.y));
  }
  pane->before_paint(s);

  view::recording_surface surface;
  painted->paint(surface);
  std::string out = view::draw_text(surface.calls());
  const view::View* v = painted->view();
  out += "# content ";
  out += view::draw_number(v ? v->contentWidth() : 0.0f);
  out += ' ';
  out += view::draw_number(v ? v->contentHeight() : 0.0f);
  out += " range " + std::to_string(painted->scroll_range(view::scroll_bar::horizontal)) + ' ' +
         std::to_string(painted->scroll_range(view::scroll_bar::vertical));
  out += " scroll " + std::to_string(painted->scroll_pos(view::scroll_bar::horizontal)) + ' ' +
         std::to_string(painted->scroll_pos(view::scroll_bar::vertical)) + '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

// The four tables paint themselves in the table pane.
class table_pane final : public draw_pane {
 public:
  view::View* build(draw_session& s) override { return s.table.get(); }
};

std::unique_ptr<draw_pane> make_table_pane() { return std::make_unique<table_pane>(); }

const command_registration draw_command{
    {"--draw",
     "--draw KIND [--layout NAME] [--size WxH] [--scale S] [--scroll X,Y] [--select N] [--click X,Y]... "
     "[KIND OPTIONS] FILE",
     "One paint of a pane (default 1600x900 at scale 1), one drawing call per line, then "
     "\"# content W H range X Y scroll X Y\". KIND is activity, wbs, project, resource or a kind another "
     "pane adds; --select picks a visible row of the category's table, each --click is a left button down "
     "and up.",
     dump_draw}};

const draw_pane_registration activity_kind{{"activity", view::view_kind::activity, "", make_table_pane}};
const draw_pane_registration wbs_kind{{"wbs", view::view_kind::wbs, "", make_table_pane}};
const draw_pane_registration project_kind{{"project", view::view_kind::project, "", make_table_pane}};
const draw_pane_registration resource_kind{{"resource", view::view_kind::resource, "", make_table_pane}};

}  // namespace

view::HostPane& draw_pane::click_pane(draw_session& s) { return painted ? *painted : s.table_pane; }

draw_pane_registration::draw_pane_registration(draw_pane_kind kind) { kinds().push_back(std::move(kind)); }

const std::vector<draw_pane_kind>& draw_pane_kinds() { return kinds(); }

}  // namespace tessel::dump
