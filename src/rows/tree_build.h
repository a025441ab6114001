// Building the row tree of each table view from the document and the
// layout's grouping and sorting, and the list of rows a table shows.
//
// Activity view: one row per activity in file order, placed under one group
// row per group-by level (value groups, date or duration intervals, or the
// WBS hierarchy), then every child list sorted by the sort list.
// WBS view: grouped by "WBS Code" the WBS elements nest under their parents;
// grouped by "Responsible Manager" they stand under the responsible-manager
// hierarchy; both keep the hierarchy's order. Otherwise value groups level
// by level, then sorted.
// Project view: grouped by "Responsible Manager" the projects stand under
// the responsible-manager hierarchy, otherwise value groups; then sorted.
// Resource view: a flat list, sorted.
//
// Groups appear in the order their first record is met (sorting may then
// reorder them); records find their group through a hash of the group key,
// never by asking every sibling.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "config/layout.h"
#include "document/document.h"
#include "rows/row.h"
#include "rows/tree_context.h"

namespace tessel::view {

std::unique_ptr<RootRow> build_activity_tree(const document::Document& doc, const GroupSortSettings& settings);
std::unique_ptr<RootRow> build_wbs_tree(const document::Document& doc, const GroupSortSettings& settings);
std::unique_ptr<RootRow> build_project_tree(const document::Document& doc, const GroupSortSettings& settings);
std::unique_ptr<RootRow> build_resource_tree(const document::Document& doc, const GroupSortSettings& settings);

// The tree of a view for a layout (the layout's own view decides).
std::unique_ptr<RootRow> build_view_tree(const document::Document& doc, const Layout& layout);
std::unique_ptr<RootRow> build_view_tree(view_kind view, const document::Document& doc,
                                         const GroupSortSettings& settings);

// Sorts the children of every row of the tree by the sort list (most
// significant key first); an empty list leaves the order as it is. Two rows
// equal on every key keep their order, except that activities, WBS
// elements, projects and resources fall back on their record ids.
void sort_tree(Row& root, const std::vector<SortBy>& keys);
// Whether `a` goes before `b` under the sort list (the single comparison
// that sort_tree applies).
bool row_before(const Row& a, const Row& b, const std::vector<SortBy>& keys);

// The rows a table shows, top to bottom: every row below the root whose
// ancestors are all expanded (a collapsed group shows as one line). Answers
// the deepest level among them (0 for none).
unsigned visible_rows(const Row& root, std::vector<Row*>& out);

// A copy of an Activity view tree holding only the activity rows `keep`
// accepts, in the same order, and the groups above them (fresh group items:
// their summaries are over the rows kept). Cheaper than building the tree
// again: nothing is grouped or sorted anew.
std::unique_ptr<RootRow> copy_activity_tree(const Row& whole, const document::Document& doc,
                                            const std::function<bool(const Row&)>& keep);

// Removes, below `root`, every row that is neither a record row `keep`
// accepts nor above one that stays (group rows never count as records).
// Answers whether any child of `root` stays. Recursion depth is the tree's
// depth (a handful of group levels or the WBS hierarchy).
bool keep_rows(Row& root, const std::function<bool(const Row&)>& keep);

// Expands every row of the tree.
void expand_all(Row& root);

}  // namespace tessel::view
