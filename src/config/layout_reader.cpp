#include "config/layout_reader.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "config/column_files.h"
#include "config/config_text.h"
#include "config/settings.h"

namespace tessel::view {

namespace {

namespace fs = std::filesystem;
using catalog::catalog_kind;
using document::data_node;

// The bars an activity layout may have; a bar of any other name is skipped
// (the Gantt chart knows how to draw these).
constexpr std::array<std::u16string_view, 8> k_activity_bars = {
    u"Remaining Level of Effort", u"Actual Level of Effort", u"Actual Work", u"Remaining Work",
    u"Critical Remaining Work",   u"Current Bar Labels",     u"Milestone",   u"Summary",
};

// Everything one reader needs while it fills one layout.
struct reader {
  const filter_lists* filters = nullptr;
  layout_diagnostics* diagnostics = nullptr;
  Layout* layout = nullptr;
  bool activity = false;  // the activity-only keys are read

  catalog_kind catalog() const { return layout->catalog(); }

  void skip(const std::string& what) const {
    if (!diagnostics) return;
    std::string line = config_text::narrow(layout->name());
    line += ": ";
    line += what;
    diagnostics->skipped.push_back(std::move(line));
  }
  static std::string quoted(std::u16string_view text) {
    return "\"" + config_text::narrow(text) + "\"";
  }

  // The field id of a field name of `kind`; 0 (and a note) when unknown.
  uint32_t field(catalog_kind kind, std::u16string_view key, const char* role) const {
    if (const catalog::field_entry* e = catalog::find_field(kind, key)) return e->field_id;
    skip(std::string(role) + " " + quoted(key) + ": unknown field");
    return 0;
  }

  // Notes the children of `node` that are none of `known`.
  void note_unknown(const data_node& node, std::initializer_list<std::u16string_view> known) const {
    if (!diagnostics) return;
    for (const data_node& c : node.children()) {
      bool ok = false;
      for (std::u16string_view k : known) ok = ok || c.name() == k;
      if (!ok) skip("node " + quoted(c.name()) + ": not part of a layout");
    }
  }

  // ---- Columns -----------------------------------------------------------------

  // Table columns: one child per column, its name the field name.
  void columns(const data_node& node) const {
    for (const data_node& c : node.children()) {
      const uint32_t id = field(catalog(), c.name(), "column");
      if (id == 0) continue;
      const std::u16string* w = c.value(u"width");
      layout->add_column(id, w ? static_cast<float>(config_text::leading_double(*w)) : 0.0f);
    }
  }

  // One detail table (activity layouts): fields of `kind`.
  void detail_columns(const data_node& node, detail_list which, catalog_kind kind) const {
    for (const data_node& c : node.children()) {
      std::u16string_view key = c.name();
      // The assignment table names the resource's name by its link form.
      if (which == detail_list::assignments && key == u"rsrc\\7Crsrc_name") key = u"rsrc_name";
      const uint32_t id = field(kind, key, "detail column");
      if (id == 0) continue;
      const std::u16string* w = c.value(u"width");
      layout->add_detail_column(which, id,
                                w ? static_cast<float>(config_text::leading_double(*w)) : 0.0f);
    }
  }

  // ---- Grouping and sorting -----------------------------------------------------

  // The field a grouping by the WBS hierarchy is keyed on, or 0 for a view
  // without one (projects and resources are not arranged by WBS).
  uint32_t wbs_field() const {
    const catalog::field_entry* e = nullptr;
    if (layout->view() == view_kind::activity) e = catalog::find_field(catalog_kind::activity, u"wbs_id");
    if (layout->view() == view_kind::wbs) e = catalog::find_field(catalog_kind::wbs, u"wbs_concat_name");
    return e ? e->field_id : 0;
  }

  void group_bys(const data_node& node) const {
    for (const data_node& c : node.children()) {
      GroupBy g;
      // The first of the field name, the column caption (activities) and the
      // WBS join that names a field decides; a field name that the catalog
      // does not know lets a caption or the join stand in.
      const std::u16string* source = c.value(u"source_field");
      const std::u16string* title = activity ? c.value(u"column_title") : nullptr;
      const std::u16string* join = c.value(u"join_path");
      if (source) {
        if (const auto* e = catalog::find_field(catalog(), *source)) g.field_id = e->field_id;
        else if (title || join)
          skip("group by field " + quoted(*source) + ": unknown field, the next way of naming one is tried");
      }
      if (g.field_id == 0 && title) {
        if (const auto* e = catalog::catalogs().find_activity_caption(*title)) g.field_id = e->field_id;
      }
      if (g.field_id == 0 && join && *join == u"PROJWBS") {
        g.field_id = wbs_field();
        g.wbs_hierarchy = g.field_id != 0;
      }
      if (g.field_id == 0) {
        std::string what = "group by";
        if (source) what += " field " + quoted(*source);
        if (title) what += " title " + quoted(*title);
        if (join) what += " join " + quoted(*join);
        skip(what + ": names no field of this view");
        continue;
      }
      const std::u16string* all = c.value(u"include_all");
      g.include_all = all && *all == u"Y";
      if (activity) {
        if (const std::u16string* unit = c.value(u"date_unit")) {
          if (*unit == u"D") g.date_interval = date_intervals::day;
          else if (*unit == u"W") g.date_interval = date_intervals::week;
          else if (*unit == u"M") g.date_interval = date_intervals::month;
          else if (*unit == u"Q") g.date_interval = date_intervals::quarter;
          else if (*unit == u"Y") g.date_interval = date_intervals::year;
          else skip("group by date unit " + quoted(*unit) + ": unknown, the date itself is used");
        }
      }
      layout->group_sort().group_bys.push_back(g);
    }
  }

  void sort_bys(const data_node& node) const {
    for (const data_node& c : node.children()) {
      const std::u16string* source = c.value(u"source_field");
      const std::u16string* type = c.value(u"sort_type");
      if (!source || !type) {
        skip("sort key without field or direction");
        continue;
      }
      const uint32_t id = field(catalog(), *source, "sort key");
      if (id == 0) continue;
      layout->group_sort().sort_bys.push_back(SortBy{id, *type != u"ASC"});
    }
  }

  void levels(const data_node& node) const {
    for (const data_node& c : node.children()) {
      Level l;
      if (const std::u16string* back = c.value(u"back_color")) l.band_color = config_text::leading_color(*back);
      if (const std::u16string* text = c.value(u"color")) l.text_color = config_text::leading_color(*text);
      layout->group_sort().levels.push_back(l);
    }
  }

  void group_sort(const data_node& node) const {
    if (const data_node* g = node.child(u"GroupBys")) group_bys(*g);
    if (const data_node* s = node.child(u"SortBys")) sort_bys(*s);
    if (const data_node* l = node.child(u"Levels")) levels(*l);
    note_unknown(node, {u"GroupBys", u"SortBys", u"Levels"});
  }

  // ---- Gantt bars ----------------------------------------------------------------

  static void part(const data_node* node, BarPart& p) {
    if (!node) return;
    const std::u16string* shape = node->value(u"shape");
    const std::u16string* color = node->value(u"color");
    if (!shape && !color) return;
    p.set = true;
    if (shape) p.shape = config_text::leading_int32(*shape);
    if (color) p.color = config_text::leading_color(*color);
    if (const std::u16string* border = node->value(u"border_color"))
      p.border_color = config_text::leading_color(*border);
  }

  void bar(const data_node& node) const {
    const std::u16string& name = node.name();
    if (activity) {
      bool known = false;
      for (std::u16string_view b : k_activity_bars) known = known || b == name;
      if (!known) {
        skip("bar " + quoted(name) + ": not a bar the activity chart draws");
        return;
      }
    }
    const std::u16string* start = node.value(u"start_source_field");
    const std::u16string* end = node.value(u"end_source_field");
    if (!start || !end) {
      skip("bar " + quoted(name) + ": without start or end field");
      return;
    }
    GanttBar b;
    b.name = name;
    b.start_field = field(catalog(), *start, "bar start");
    b.end_field = field(catalog(), *end, "bar end");
    if (b.start_field == 0 || b.end_field == 0) return;
    const std::u16string* hide = node.value(u"hide");
    b.hide = hide && *hide == u"1";
    const std::u16string* summary = node.value(u"summary");
    b.summary = summary && *summary == u"Y";

    if (const data_node* list = node.child(u"FilterList")) {
      b.has_filters = true;
      const std::u16string* mode = list->value(u"source_field");
      b.filters.is_or = mode && *mode == u"bool_or";
      for (const data_node& entry : list->children()) {
        const std::u16string* fname = entry.value(u"filter_name");
        const PredefinedFilter* f = fname ? FindActivityFilter(*filters, *fname) : nullptr;
        if (f)
          b.filters.filters.push_back(f);
        else
          skip("bar " + quoted(name) + " filter " + quoted(fname ? *fname : u"") + ": no such filter");
      }
    }
    part(node.child(u"MidRect"), b.mid);
    part(node.child(u"StartPoint"), b.start);
    part(node.child(u"EndPoint"), b.end);
    if (const data_node* labels = node.child(u"Labels")) {
      for (const data_node& l : labels->children()) {
        const uint32_t id = field(catalog(), l.name(), "bar label");
        if (id == 0) continue;
        const std::u16string* pos = l.value(u"position");
        b.labels.push_back(BarLabel{id, pos && *pos == u"L"});
      }
    }
    layout->gantt().bars.push_back(std::move(b));
  }

  void gantt(const data_node& node) const {
    if (const data_node* bars = node.child(u"GanttBars"))
      for (const data_node& b : bars->children()) bar(b);
  }

  void date_range(const data_node& node) const {
    DateSettings* d = layout->date_settings();
    if (!d) return;
    if (const std::u16string* scale = node.value(u"date_scale")) d->timescale = config_text::leading_int32(*scale);
  }

  // ---- The parts every reader shares ---------------------------------------------

  // Table columns: the remembered ones when remembering is on and the
  // layout's column file can be read, else the file's `Columns` node.
  void table_columns(const data_node& node) const {
    if (config::settings().layout_rememberChanges && ReadColumnFile(*layout, column_file(*layout)))
      return;
    if (const data_node* c = node.child(u"Columns")) columns(*c);
  }

  void body(const data_node& node) const {
    table_columns(node);
    if (const data_node* g = node.child(u"GroupSortBy")) group_sort(*g);
    if (const data_node* g = node.child(u"GanttSettings")) gantt(*g);
    if (const data_node* d = node.child(u"DateRange")) date_range(*d);
  }
};

std::u16string name_of(const data_node& root) {
  const std::u16string* name = root.value(u"view_name");
  return name ? *name : std::u16string();
}

}  // namespace

// ---- The four readers ----------------------------------------------------------

std::unique_ptr<ActivityLayout> ReadActivityLayout(const data_node& root, const filter_lists& filters,
                                                   layout_diagnostics* diagnostics) {
  auto layout = std::make_unique<ActivityLayout>();
  layout->set_name(name_of(root));
  const reader r{&filters, diagnostics, layout.get(), true};
  const data_node* view = root.child(u"TaskView");
  if (!view) {
    r.skip("no TaskView: the layout has only its name");
    return layout;
  }
  r.body(*view);
  if (const data_node* c = view->child(u"TaskRsrcColumns"))
    r.detail_columns(*c, detail_list::assignments, catalog_kind::resource);
  // The predecessor and successor tables remember their columns as the main
  // table does; the file's lists stand when nothing is remembered.
  const bool remember = config::settings().layout_rememberChanges;
  if (!(remember && ReadDetailColumnFile(*layout, detail_list::predecessors,
                                         catalog_kind::predecessor, pred_column_file(*layout)))) {
    if (const data_node* c = view->child(u"TaskPredColumns"))
      r.detail_columns(*c, detail_list::predecessors, catalog_kind::predecessor);
  }
  if (!(remember && ReadDetailColumnFile(*layout, detail_list::successors,
                                         catalog_kind::successor, succ_column_file(*layout)))) {
    if (const data_node* c = view->child(u"TaskSuccColumns"))
      r.detail_columns(*c, detail_list::successors, catalog_kind::successor);
  }
  r.note_unknown(*view, {u"Columns", u"GroupSortBy", u"GanttSettings", u"DateRange",
                         u"TaskRsrcColumns", u"TaskPredColumns", u"TaskSuccColumns"});
  return layout;
}

std::unique_ptr<WBSLayout> ReadWBSLayout(const data_node& root, const filter_lists& filters,
                                         layout_diagnostics* diagnostics) {
  auto layout = std::make_unique<WBSLayout>();
  layout->set_name(name_of(root));
  const reader r{&filters, diagnostics, layout.get(), false};
  r.body(root);
  r.note_unknown(root, {u"Columns", u"GroupSortBy", u"GanttSettings", u"DateRange"});
  return layout;
}

std::unique_ptr<ProjectLayout> ReadProjectLayout(const data_node& root, const filter_lists& filters,
                                                 layout_diagnostics* diagnostics) {
  auto layout = std::make_unique<ProjectLayout>();
  layout->set_name(name_of(root));
  const reader r{&filters, diagnostics, layout.get(), false};
  r.body(root);
  r.note_unknown(root, {u"Columns", u"GroupSortBy", u"GanttSettings", u"DateRange"});
  return layout;
}

std::unique_ptr<ResourceLayout> ReadResourceLayout(const data_node& root,
                                                   layout_diagnostics* diagnostics) {
  auto layout = std::make_unique<ResourceLayout>();
  layout->set_name(name_of(root));
  const reader r{nullptr, diagnostics, layout.get(), false};
  r.table_columns(root);
  r.note_unknown(root, {u"Columns"});
  return layout;
}

// ---- Files ---------------------------------------------------------------------

std::unique_ptr<Layout> ReadLayoutText(std::string_view bytes, const filter_lists& filters,
                                       layout_diagnostics* diagnostics) {
  // Each byte becomes one character (layout text is ASCII; other bytes are
  // taken as Latin-1). Text before the root's opening bracket and after its
  // closing one (a byte-order mark, the line break an editor ends a file
  // with) belongs to no node and is left out; inside the root every
  // character counts.
  const std::size_t first = bytes.find('(');
  const std::size_t last = bytes.rfind(')');
  if (first == std::string_view::npos || last == std::string_view::npos || last < first) {
    if (diagnostics) diagnostics->skipped.push_back("layout text without a node");
    return nullptr;
  }
  const std::u16string text = config_text::widen(bytes.substr(first, last + 1 - first));
  const std::unique_ptr<data_node> root = document::data_parser::parse(text);
  if (!root) return nullptr;
  const std::u16string* type = root->value(u"view_type");
  view_kind view;
  if (!type || !view_from_key(*type, view)) {
    if (diagnostics)
      diagnostics->skipped.push_back(config_text::narrow(name_of(*root)) +
                                     ": no known view type, no layout");
    return nullptr;
  }
  switch (view) {
    case view_kind::activity: return ReadActivityLayout(*root, filters, diagnostics);
    case view_kind::wbs: return ReadWBSLayout(*root, filters, diagnostics);
    case view_kind::project: return ReadProjectLayout(*root, filters, diagnostics);
    case view_kind::resource: return ReadResourceLayout(*root, diagnostics);
  }
  return nullptr;
}

std::unique_ptr<Layout> ReadLayoutFile(const fs::path& file, const filter_lists& filters,
                                       layout_diagnostics* diagnostics) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return nullptr;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ReadLayoutText(bytes, filters, diagnostics);
}

const std::vector<fs::path>& layout_file_list() {
  static const std::vector<fs::path> files = {
      "VP_ACT/Classic Schedule Layout.tlf",
      "VP_ACT/Classic WBS Layout.tlf",
      "VP_ACT/Resource Units Profile.tlf",
      "VP_ACT/Activity Status Layout.tlf",
      "VP_ACT/Activity Type Layout.tlf",
      "VP_ACT/Grouped by Start Weekly.tlf",
      "VP_ACT/Grouped by Start Monthly.tlf",
      "VP_ACT/Grouped by Finish Weekly.tlf",
      "VP_ACT/Grouped by finish Monthly.tlf",
      "VP_WBS/Default.tlf",
      "VP_WBS/List.tlf",
      "VP_WBS/Project Status.tlf",
      "VP_WBS/WBS Dates Grouped by Resp. Manager.tlf",
      "VP_WBS/Grouped by WBS Path.tlf",
      "VP_PROJ/Projects List View.tlf",
      "VP_PROJ/Projects Grouped by Status.tlf",
      "VP_PROJ/Projects Grouped by Responsible Manager.tlf",
      "VP_RES/All Resources.tlf",
  };
  return files;
}

std::vector<fs::path> layout_folders() {
  std::vector<fs::path> folders;
  if (const char* dir = std::getenv("TESSEL_LAYOUTS_DIR"); dir && *dir) {
    folders.emplace_back(dir);
    return folders;
  }
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && exe.has_parent_path()) folders.push_back(exe.parent_path() / "Layouts");
#ifdef TESSEL_SOURCE_LAYOUTS
  folders.emplace_back(TESSEL_SOURCE_LAYOUTS);
#endif
  return folders;
}

void LoadLayouts(layout_lists& layouts, const filter_lists& filters, layout_diagnostics* diagnostics) {
  const std::vector<fs::path> folders = layout_folders();
  for (const fs::path& rel : layout_file_list()) {
    bool found = false;
    for (const fs::path& folder : folders) {
      std::error_code ec;
      const fs::path file = folder / rel;
      if (!fs::is_regular_file(file, ec)) continue;
      found = true;
      if (std::unique_ptr<Layout> layout = ReadLayoutFile(file, filters, diagnostics))
        layouts.of(layout->view()).push_back(std::move(layout));
      break;
    }
    if (!found && diagnostics) diagnostics->missing_files.push_back(rel.string());
  }
}

}  // namespace tessel::view
