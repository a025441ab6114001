// The table of a view as the viewer copies it (Ctrl+C), every group
// expanded:
//   tessel-dump --view activity|wbs|project|resource [--layout NAME] FILE
// The layout defaults to the one the view shows first.
#include <cstdio>
#include <iostream>
#include <string>

#include "command.h"
#include "open_file.h"
#include "rows/tree_build.h"
#include "view/table/table_text.h"

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

int dump_view(const std::vector<std::string>& args) {
  view::view_kind kind{};
  std::string layout_name;
  std::string file;
  bool have_view = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (!have_view) {
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
  std::unique_ptr<view::RootRow> root = view::build_view_tree(*doc.document(), *layout);
  std::string out = utf8(view::table_text(*root, layout->columns()));
  if (out.empty() || out.back() != '\n') out.push_back('\n');
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

const command_registration view_command{
    {"--view", "--view activity|wbs|project|resource [--layout NAME] FILE",
     "The view's table as the viewer copies it: a header of column captions, then one tab-separated line per "
     "row with every group expanded (group rows: title, then summaries). NAME defaults to the layout the view "
     "shows first.",
     dump_view}};

}  // namespace
}  // namespace tessel::dump
