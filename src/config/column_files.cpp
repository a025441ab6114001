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

// "key:width" lines for a list of columns whose fields are in `catalog`.
template <class List>
std::string file_text(const List& list) {
  std::string text;
  for (const auto& c : list) {
    const catalog::field_entry* e = catalog::find_field(c.field_id);
    if (!e) continue;  // a column of a field the catalogs lost cannot be named
    text += config_text::narrow(e->key);
    text += ':';
    text += config_text::float_text(c.width);
    text += '\n';
  }
  return text;
}

}  // namespace

fs::path column_file(const Layout& layout) { return file_for(layout, u"_columns.cfg"); }
fs::path pred_column_file(const Layout& layout) { return file_for(layout, u"_pred_columns.cfg"); }
fs::path succ_column_file(const Layout& layout) { return file_for(layout, u"_succ_columns.cfg"); }

bool ReadColumnFile(Layout& layout, const fs::path& file) {
  const catalog::catalog_kind catalog = layout.catalog();
  return config_text::read_pieces(file, [&](std::u16string_view key, std::u16string_view value) {
    const catalog::field_entry* e = usable_field(catalog, key);
    if (!e || layout.find_column(e->field_id) >= 0) return;
    layout.add_column(e->field_id, static_cast<float>(config_text::leading_double(value)));
  });
}

bool ReadDetailColumnFile(Layout& layout, detail_list which, catalog::catalog_kind catalog,
                          const fs::path& file) {
  std::vector<ListColumn>* list = layout.detail_columns(which);
  if (!list) return false;
  return config_text::read_pieces(file, [&](std::u16string_view key, std::u16string_view value) {
    const catalog::field_entry* e = usable_field(catalog, key);
    if (!e || has_field(*list, e->field_id)) return;
    list->push_back(ListColumn{e->field_id, static_cast<float>(config_text::leading_double(value))});
  });
}

void SaveColumnFiles(const layout_lists& layouts) {
  if (!remembering()) return;
  for (const auto& list : layouts.lists) {
    for (const auto& layout : list) {
      config_text::write_file(column_file(*layout), file_text(layout->columns()));
      if (layout->view() != view_kind::activity) continue;
      if (const auto* pred = layout->detail_columns(detail_list::predecessors))
        config_text::write_file(pred_column_file(*layout), file_text(*pred));
      if (const auto* succ = layout->detail_columns(detail_list::successors))
        config_text::write_file(succ_column_file(*layout), file_text(*succ));
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
    for (std::size_t i = columns.size(); i-- > 0;) {
      const catalog::field_entry* e = catalog::find_field(columns[i].field_id);
      if (e && !e->available) layout->remove_column(i);
    }
  }
}

}  // namespace tessel::view
