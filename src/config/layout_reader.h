// Reading layout files. A layout file holds one tree of node text (the
// bracketed format of config/… and document/data_parser.h) describing one
// layout; the `view_type` inside it, not the folder it lies in, decides the
// view it belongs to.
//
// The program reads a fixed list of 18 files, by paths relative to a
// layouts folder, on every accepted open. Where the files are found:
//   - the folder named by the environment variable TESSEL_LAYOUTS_DIR, when
//     it is set (tests, portable installs); only there;
//   - otherwise "Layouts/" beside the program, and, for a file not found
//     there, the source tree's "Layouts/" (running from the build tree).
//
// Reading never fails: whatever the readers cannot use (an unknown field, bar
// name or filter name, a sort key without its direction, a file without a
// known view type) is skipped. A caller that wants to know what was skipped
// passes a `layout_diagnostics`.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "config/filters.h"
#include "config/layout.h"
#include "document/xer/data_parser.h"

namespace tessel::view {

// What the readers skipped, one readable line each (for example
// "Classic Schedule Layout: column \"task_cod\": unknown field").
struct layout_diagnostics {
  std::vector<std::string> skipped;
  // Files of the fixed list that were found nowhere.
  std::vector<std::string> missing_files;
};

// The fixed list of layout files, relative to a layouts folder, in reading
// order ("VP_ACT/Classic Schedule Layout.tlf" …).
const std::vector<std::filesystem::path>& layout_file_list();

// The folders searched for layout files, in order (see above).
std::vector<std::filesystem::path> layout_folders();

// Reads the 18 files (each from the first folder that has it) and appends
// every layout to the list of its view, in file order.
void LoadLayouts(layout_lists& layouts, const filter_lists& filters,
                 layout_diagnostics* diagnostics = nullptr);

// Reads, parses and dispatches one file by its `view_type`. nullptr for a
// file that cannot be read, holds no node text or has no known view type.
std::unique_ptr<Layout> ReadLayoutFile(const std::filesystem::path& file,
                                       const filter_lists& filters,
                                       layout_diagnostics* diagnostics = nullptr);
// The same from text already in memory (bytes as the file holds them).
std::unique_ptr<Layout> ReadLayoutText(std::string_view bytes, const filter_lists& filters,
                                       layout_diagnostics* diagnostics = nullptr);

// The readers of the four views, given a file's root node.
std::unique_ptr<ActivityLayout> ReadActivityLayout(const document::data_node& root,
                                                   const filter_lists& filters,
                                                   layout_diagnostics* diagnostics = nullptr);
std::unique_ptr<WBSLayout> ReadWBSLayout(const document::data_node& root,
                                         const filter_lists& filters,
                                         layout_diagnostics* diagnostics = nullptr);
std::unique_ptr<ProjectLayout> ReadProjectLayout(const document::data_node& root,
                                                 const filter_lists& filters,
                                                 layout_diagnostics* diagnostics = nullptr);
std::unique_ptr<ResourceLayout> ReadResourceLayout(const document::data_node& root,
                                                   layout_diagnostics* diagnostics = nullptr);

}  // namespace tessel::view
