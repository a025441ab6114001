// The schedule the program has open, and the one road by which a file
// becomes that schedule. The windowing shell asks this object to open a path
// (from the Open command, the recent-file list, the command line or a drop)
// and shows its refusal message when it answers false.
#pragma once

#include <memory>
#include <string>

#include "config/view_configuration.h"
#include "document/document.h"

namespace tessel::view {

enum class schedule_format { refused, xer, xls };

// The reader a path goes to, judged by its extension (compared after
// lower-casing) and the file's signature: ".xer" files must start with
// "ERMHDR", ".xls" files with the compound-file signature 0xD0 0xCF. A file
// larger than the open limits allow is refused whatever it holds.
schedule_format format_of(const std::u16string& path);

// "Can't open document: PATH".
std::u16string refusal_message(const std::u16string& path);

class TesselDoc {
 public:
  TesselDoc() = default;
  TesselDoc(const TesselDoc&) = delete;
  TesselDoc& operator=(const TesselDoc&) = delete;

  // Opens the file at `path`. Answers false, leaving the current schedule
  // untouched, when the file is refused. On acceptance the view
  // configuration (field catalogs, filters, layouts) is rebuilt, the old
  // schedule is destroyed and the new one loaded; whatever it holds is kept
  // even when its reading stopped early. A file the document refuses
  // outright (a damaged workbook, rows that would take far more memory than
  // the file's size justifies) answers false after the old schedule was let
  // go: there is then no schedule.
  bool open(const std::u16string& path);

  document::Document* document() const { return doc_.get(); }
  // Filters and layouts of the open schedule (empty before the first open).
  view_configuration& configuration() { return config_; }
  const view_configuration& configuration() const { return config_; }
  // Whether the last accepted file was read to its end.
  bool last_load_complete() const { return last_load_complete_; }

 private:
  view_configuration config_;
  std::unique_ptr<document::Document> doc_;
  bool last_load_complete_ = false;
};

}  // namespace tessel::view
