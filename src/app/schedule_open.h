// Reading a schedule file into a fresh open-schedule object, on any thread.
// The reading builds its own field catalogs (see thread_catalogs_scope), so
// the window keeps showing, and may keep, the schedule it has until the
// user-interface thread adopts the result.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "catalog/field_catalog.h"
#include "view/tessel_doc.h"

namespace tessel::app {

struct opened_schedule {
  QString path;
  bool accepted = false;  // false: the file was refused, only `refusal` is set
  std::u16string refusal;  // why, in plain words
  // What doc's layouts point into; declared first so that it goes last.
  std::unique_ptr<catalog::catalog_set> catalogs;
  std::unique_ptr<view::TesselDoc> doc;
  double milliseconds = 0.0;
};

// Reads `path` completely. Safe to call off the user-interface thread.
// With an encoding, XER text is read in it and the choice is remembered for
// the file; without, the remembered choice or the file's bytes decide.
std::unique_ptr<opened_schedule> read_schedule(const QString& path,
                                               std::optional<document::text_encoding> encoding = std::nullopt);

// Counts of a schedule for the status bar.
struct schedule_counts {
  std::size_t activities = 0;
  std::size_t relationships = 0;
  std::size_t wbs = 0;
};
schedule_counts counts_of(const document::Document& doc);

}  // namespace tessel::app
