// The table of a view as the viewer copies it (Ctrl+C), every group
// expanded:
//   tessel-dump --view activity|wbs|project|resource [--layout NAME] FILE
// The layout defaults to the one the view shows first. The Activity and
// WBS views may be restricted to shown rows (--where, --trace) and --find
// prints the IDs of the matching rows instead (see view_restrict.h).
#include <cstdio>
#include <iostream>
#include <string>

#include "command.h"
#include "open_file.h"
#include "analysis/find_rows.h"
#include "rows/tree_build.h"
#include "view/table/shown_rows.h"
#include "view/table/table_text.h"
#include "view/table/table_views.h"
#include "view_restrict.h"

namespace tessel::dump {
namespace {

bool parse_view(const std::string& name, view::view_kind& view) {
  if (name == "activity") view = view::view_kind::activity;
  else if (name == "wbs") view = view::view_kind::wbs;
  else if (name == "project") view = view::view_kind::project;
  else if (name == "resource") view = view::view_kind::resource;
  else return false;
  return true;
}

// The ID a row is known by: Activity ID, WBS code, project or resource ID.
std::u16string row_id(const view::Row& r) {
  if (const document::TASK* t = r.activity()) return t->task_code.value;
  if (const document::PROJWBS* w = r.wbs()) return w->wbs_short_name.value;
  if (const document::PROJECT* p = r.project()) return p->proj_short_name.value;
  if (const document::RSRC* res = r.resource()) return res->rsrc_short_name.value;
  return {};
}

int dump_view(const std::vector<std::string>& args) {
  view::view_kind kind{};
  std::string layout_name;
  std::string file;
  bool have_view = false;
  view_restriction restriction;
  for (size_t i = 0; i < args.size(); ++i) {
    bool missing = false;
    if (have_view && take_restriction(args, i, restriction, missing)) {
      if (missing) {
        std::cerr << args[i] << " needs a value\n";
        return 2;
      }
    } else if (!have_view) {
      if (!parse_view(args[i], kind)) {
        std::cerr << "unknown view: " << args[i] << " (activity, wbs, project or resource)\n";
        return 2;
      }
      have_view = true;
    } else if (args[i] == "--layout" && i + 1 < args.size()) {
      layout_name = args[++i];
    } else if (file.empty()) {
      file = args[i];
    } else {
      return 2;
    }
  }
  if (!have_view || file.empty()) return 2;
  if (!check_restriction(restriction)) return 2;
  if (restriction.restricts() && kind != view::view_kind::activity && kind != view::view_kind::wbs) {
    std::cerr << "--where and --trace restrict the activity and wbs views only\n";
    return 2;
  }

  view::TesselDoc doc;
  if (open_timed(doc, file) < 0) return refuse(file);
  const view::view_configuration& config = doc.configuration();
  const view::Layout* layout =
      layout_name.empty() ? config.first_layout(kind) : config.layouts().find(kind, path_arg(layout_name));
  if (!layout) {
    std::cerr << (layout_name.empty() ? std::string("the view has no layout") : "no layout named " + layout_name)
              << "\n";
    return 1;
  }
  bool refused = false;
  std::shared_ptr<analysis::shown_activities> shown = shown_for(*doc.document(), restriction, refused);
  if (refused) return 2;
  // The rows come from a table view as the window hosts it, so that what
  // is printed is what the window shows under the same restriction.
  std::unique_ptr<view::View> table = view::make_table_view(kind);
  table->set_document(doc.document());
  table->set_layout(const_cast<view::Layout*>(layout));
  if (shown) view::apply_shown(*table, shown);
  table->refresh();
  view::Row* root = view::table_core_of(*table)->root();
  std::string out;
  if (restriction.find) {
    for (const view::Row* r : analysis::find_rows(*root, path_arg(*restriction.find))) out += utf8(row_id(*r)) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
  }
  out = utf8(view::table_text(*root, layout->columns()));
  if (out.empty() || out.back() != '\n') out.push_back('\n');
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

const command_registration view_command{
    {"--view",
     "--view activity|wbs|project|resource [--layout NAME] [--where EXPR]... [--trace ID --direction pred|succ "
     "[--depth N]] [--find TEXT] FILE",
     "The view's table as the viewer copies it: a header of column captions, then one tab-separated line per "
     "row with every group expanded (group rows: title, then summaries). NAME defaults to the layout the view "
     "shows first. --where (critical, float<=N, status=not-started|in-progress|completed, milestone, "
     "active=YYYY-MM-DD..YYYY-MM-DD, code=TYPE:VALUE, text=WORDS; several combine with AND) and --trace "
     "(the first activity with that ID, its predecessors or successors up to N relationships, all by "
     "default) keep only the shown activities and the groups holding them (activity and wbs views). "
     "--find prints the IDs of the rows whose ID or name holds TEXT (case-blind), in view order.",
     dump_view}};

// --find TEXT [options] FILE: the Activity view's --find.
int dump_find(const std::vector<std::string>& args) {
  if (args.empty()) return 2;
  std::vector<std::string> view_args{"activity", "--find"};
  view_args.insert(view_args.end(), args.begin(), args.end());
  return dump_view(view_args);
}

const command_registration find_command{
    {"--find", "--find TEXT [--layout NAME] [--where EXPR]... FILE",
     "The Activity IDs of the activities whose ID or name holds TEXT (case-blind), in the order the Activity "
     "view lists them (the same as --view activity --find TEXT).",
     dump_find}};

}  // namespace
}  // namespace tessel::dump
