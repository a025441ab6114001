// Find: the rows of a view's tree whose ID or name holds a text,
// case-blind, in the order the view shows them, rows inside collapsed
// groups included. Activity rows match on Activity ID or name, WBS rows on
// WBS code or name, project rows on project ID or name, resource rows on
// resource ID or name; group rows never match.
#pragma once

#include <string_view>
#include <vector>

#include "config/layout.h"
#include "rows/row.h"

namespace tessel::analysis {

std::vector<view::Row*> find_rows(const view::Row& root, std::u16string_view text);

// The same for many texts over one tree: the rows' texts are read and
// folded once, into one buffer, so that each key press of the find bar is
// a single scan of it. Valid while the tree is.
class find_index {
 public:
  explicit find_index(const view::Row& root);
  std::vector<view::Row*> matches(std::u16string_view text) const;

 private:
  std::vector<view::Row*> rows_;  // every row but the root, in view order
  // Each row's two texts folded, each followed by a 0 so that no match runs
  // from one into the next; the texts of row k end at ends_[k].
  std::u16string text_;
  std::vector<std::size_t> ends_;
};

// Where the find bar stands: the matches and the current one (-1: none).
struct find_state {
  std::vector<view::Row*> matches;
  int current = -1;
};

// Moves to the next match (or the previous), wrapping at either end;
// answers the new current index, -1 when there are no matches.
int step_match(find_state& s, bool forward);

}  // namespace tessel::analysis
