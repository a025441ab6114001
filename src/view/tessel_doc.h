// The schedule the program has open, and the one road by which a file
// becomes that schedule. The windowing shell asks this object to open a path
// (from the Open command, the recent-file list, the command line or a drop)
// and shows its refusal message when it answers false.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "config/view_configuration.h"
#include "document/document.h"
#include "document/schedule_file.h"
#include "document/xer/text_encoding.h"

namespace tessel::view {

// "Can't open document: PATH", and under it the reason when there is one.
std::u16string refusal_message(const std::u16string& path, const std::u16string& reason = {});

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
  //
  // The text of an XER file is read in the encoding the user last chose
  // for this file (kept per user), or else in the one its bytes suggest.
  bool open(const std::u16string& path);
  // The same, reading XER text in `encoding`; on acceptance the choice is
  // remembered for this file when `remember` says so (the "Text Encoding"
  // menu). Workbooks keep their own encoding whatever is asked.
  bool open(const std::u16string& path, document::text_encoding encoding, bool remember = true);
  // The same, forgetting any remembered choice and letting the bytes
  // decide again.
  bool open_detected(const std::u16string& path);

  // The encoding the open schedule's text was read in; none for a workbook
  // and before the first open.
  std::optional<document::text_encoding> encoding_used() const { return encoding_used_; }

  document::Document* document() const { return doc_.get(); }
  // Filters and layouts of the open schedule (empty before the first open).
  view_configuration& configuration() { return config_; }
  const view_configuration& configuration() const { return config_; }
  // Whether the last accepted file was read to its end.
  bool last_load_complete() const { return last_load_complete_; }
  // Why the last refused file was refused, in plain words.
  const std::u16string& refusal_reason() const { return refusal_reason_; }

 private:
  bool open_with(const std::u16string& path, std::optional<document::text_encoding> encoding);

  view_configuration config_;
  std::unique_ptr<document::Document> doc_;
  bool last_load_complete_ = false;
  std::u16string refusal_reason_;
  std::optional<document::text_encoding> encoding_used_;
};

// The encodings the "Text Encoding" menu offers, in menu order, each with
// its display name ("Cyrillic (Windows-1251)").
inline std::span<const document::encoding_info> offered_text_encodings() { return document::offered_encodings(); }

// The encoding remembered for the file at `path`, or none (also when the
// remembered name is no longer known).
std::optional<document::text_encoding> remembered_text_encoding(const std::u16string& path);

}  // namespace tessel::view
