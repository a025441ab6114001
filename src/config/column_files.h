// Column files: the user's column changes to a layout (columns added,
// removed, reordered, resized), remembered per layout in the per-user view
// folders (config/data_folder.h):
//
//   VP_ACT/<layout name>_columns.cfg        the table columns of any layout
//   VP_ACT/<layout name>_pred_columns.cfg   an activity layout's predecessor table
//   VP_ACT/<layout name>_succ_columns.cfg   an activity layout's successor table
//
// (and VP_WBS/, VP_PROJ/, VP_RES/ for the other views' table columns). One
// column per line, "field key:width", the width as the shortest float text
// ("100", "87.5"). The file follows the layout's name, so renaming a layout
// starts it without remembered columns.
//
// Remembering is governed by the "layout remembers changes" setting as a
// whole: when it is off the files are neither read nor written, so that a
// user who turned it off sees the layouts as shipped and finds the last
// remembered columns again when turning it back on.
#pragma once

#include <filesystem>

#include "catalog/field_catalog.h"
#include "config/layout.h"

namespace tessel::view {

// The column file of a layout's table columns, and of its predecessor and
// successor tables.
std::filesystem::path column_file(const Layout& layout);
std::filesystem::path pred_column_file(const Layout& layout);
std::filesystem::path succ_column_file(const Layout& layout);

// Reads a column file into the layout's table columns: each named field is
// appended when the layout's catalog knows it, the open document supplies
// it (the catalog's available flag) and the layout has no column for it yet.
// Existing columns stay. Every named key is kept as the layout's remembered
// columns. Answers false when the file cannot be opened.
bool ReadColumnFile(Layout& layout, const std::filesystem::path& file);
// The same for one of an activity layout's detail tables, whose fields come
// from `catalog`; false also for a layout without that table.
bool ReadDetailColumnFile(Layout& layout, detail_list which, catalog::catalog_kind catalog,
                          const std::filesystem::path& file);

// Writes the column files of every layout: its "_columns.cfg", and for
// activity layouts also "_pred_columns.cfg" and "_succ_columns.cfg". Existing
// files are replaced; an empty list gives an empty file. Called when the
// program ends and before another file is opened. A remembered column the
// open document cannot show is written again, in its place among the shown
// ones: a file that lacks a field never costs a column. Does nothing when
// remembering is off.
void SaveColumnFiles(const layout_lists& layouts);

// Reads every layout's "_columns.cfg" again (after a schedule was opened),
// adding the remembered columns that are missing and available. Does nothing
// when remembering is off.
void ReloadColumnFiles(layout_lists& layouts);

// Removes, from every layout of a view, the columns whose fields the
// catalogs know but the open document does not supply. A layout that had no
// column file remembers its columns as they were before.
void PruneUnavailableColumns(layout_lists& layouts, view_kind view);

}  // namespace tessel::view
