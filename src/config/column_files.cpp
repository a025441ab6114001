#include "config/column_files.h"

#include <string>

#include "config/config_text.h"
#include "config/data_folder.h"
#include "config/settings.h"
#include "document/io/path_text.h"

namespace tessel::view {

namespace {

namespace fs = std::filesystem;

fs::path file_for(const Layout& layout, const char16_t* suffix) {
  const fs::path folder = config::view_folder(view_key(layout.view()));
  return folder / document::narrow_path(layout.name() + suffix);
}

bool remembering() { return config::settings().layout_rememberChanges; }

// The entry a column file's key names: known to the catalog and supplied by
// the open document; nullptr otherwise.
const catalog::field_entry* usable_field(catalog::catalog_kind catalog, std::u16string_view key) {
  const catalog::field_entry* e = catalog::find_field(catalog, key);
  return e && e->available ? e : nullptr;
}

template <class List>
bool has_field(const List& list, uint32_t field_id) {
  for (const auto& c : list)
    if (c.field_id == field_id) return true;
  return false;
}

// One "key:width" line.
void add_line(std::string& text, std::u16string_view key, float width) {
  text += config_text::narrow(key);
  text += ':';
  text += config_text::float_text(width);
  text += '\n';
}

// "key:width" lines for a list of columns whose fields are in `catalog`.
template <class List>
std::string file_text(const List& list) {
  std::string text;
  for (const auto& c : list) {
    const catalog::field_entry* e = catalog::find_field(c.field_id);
    if (!e) continue;  // a column of a field the catalogs lost cannot be named
    add_line(text, e->key, c.width);
  }
  return text;
}

// Which remembered list of a layout a detail table's file fills.
std::size_t remembered_slot(detail_list which) { return which == detail_list::predecessors ? 1 : 2; }

// The remembered columns to write for one list of a layout: the shown ones
// in their order and widths, and each remembered column the open document
// cannot supply after the shown column it followed before. A remembered
// column that could be shown but is not was removed by the user and is
// dropped.
template <class List>
std::string remembered_text(const List& shown, const std::vector<RememberedColumn>* remembered,
                            catalog::catalog_kind catalog) {
  if (!remembered) return file_text(shown);
  std::vector<RememberedColumn> out;
  for (const auto& c : shown)
    if (const catalog::field_entry* e = catalog::find_field(c.field_id)) out.push_back({e->key, c.width});
  std::size_t next = 0;  // where a hidden column goes: after the last placed one
  for (const RememberedColumn& r : *remembered) {
    if (!usable_field(catalog, r.key)) {
      out.insert(out.begin() + static_cast<std::ptrdiff_t>(next++), r);
      continue;
    }
    for (std::size_t i = 0; i < out.size(); ++i)
      if (out[i].key == r.key) next = i + 1;
  }
  std::string text;
  for (const RememberedColumn& r : out) add_line(text, r.key, r.width);
  return text;
}

// Reads a column file's keys for a list, calling `use` for each usable one;
// the list's remembered columns become every key the file names.
template <class Use>
bool read_remembered(Layout& layout, std::size_t slot, catalog::catalog_kind catalog, const fs::path& file,
                     Use use) {
  std::vector<RememberedColumn> remembered;
  const bool read = config_text::read_pieces(file, [&](std::u16string_view key, std::u16string_view value) {
    const float width = static_cast<float>(config_text::leading_double(value));
    bool seen = key.empty();
    for (const RememberedColumn& r : remembered) seen = seen || r.key == key;
    if (!seen) remembered.push_back({std::u16string(key), width});
    if (const catalog::field_entry* e = usable_field(catalog, key)) use(*e, width);
  });
  if (read) layout.set_remembered_columns(std::move(remembered), slot);
  return read;
}

}  // namespace

fs::path column_file(const Layout& layout) { return file_for(layout, u"_columns.cfg"); }
fs::path pred_column_file(const Layout& layout) { return file_for(layout, u"_pred_columns.cfg"); }
fs::path succ_column_file(const Layout& layout) { return file_for(layout, u"_succ_columns.cfg"); }

bool ReadColumnFile(Layout& layout, const fs::path& file) {
  return read_remembered(layout, 0, layout.catalog(), file, [&](const catalog::field_entry& e, float width) {
    if (layout.find_column(e.field_id) < 0) layout.add_column(e.field_id, width);
  });
}

bool ReadDetailColumnFile(Layout& layout, detail_list which, catalog::catalog_kind catalog,
                          const fs::path& file) {
  std::vector<ListColumn>* list = layout.detail_columns(which);
  if (!list) return false;
  return read_remembered(layout, remembered_slot(which), catalog, file,
                         [&](const catalog::field_entry& e, float width) {
                           if (!has_field(*list, e.field_id)) list->push_back(ListColumn{e.field_id, width});
                         });
}

void SaveColumnFiles(const layout_lists& layouts) {
  if (!remembering()) return;
  for (const auto& list : layouts.lists) {
    for (const auto& layout : list) {
      config_text::write_file(column_file(*layout),
                              remembered_text(layout->columns(), layout->remembered_columns(0), layout->catalog()));
      if (layout->view() != view_kind::activity) continue;
      if (const auto* pred = layout->detail_columns(detail_list::predecessors))
        config_text::write_file(pred_column_file(*layout),
                                remembered_text(*pred, layout->remembered_columns(1), catalog::catalog_kind::predecessor));
      if (const auto* succ = layout->detail_columns(detail_list::successors))
        config_text::write_file(succ_column_file(*layout),
                                remembered_text(*succ, layout->remembered_columns(2), catalog::catalog_kind::successor));
    }
  }
}

void ReloadColumnFiles(layout_lists& layouts) {
  if (!remembering()) return;
  for (auto& list : layouts.lists)
    for (auto& layout : list) ReadColumnFile(*layout, column_file(*layout));
}

void PruneUnavailableColumns(layout_lists& layouts, view_kind view) {
  for (auto& layout : layouts.of(view)) {
    std::vector<Column>& columns = layout->columns();
    // Without a column file the layout's own columns are what is remembered.
    if (!layout->remembered_columns()) {
      std::vector<RememberedColumn> own;
      for (const Column& c : columns)
        if (const catalog::field_entry* e = catalog::find_field(c.field_id)) own.push_back({e->key, c.width});
      layout->set_remembered_columns(std::move(own));
    }
    for (std::size_t i = columns.size(); i-- > 0;) {
      const catalog::field_entry* e = catalog::find_field(columns[i].field_id);
      if (e && !e->available) layout->remove_column(i);
    }
  }
}

}  // namespace tessel::view
