#include "app/schedule_open.h"

#include <QElapsedTimer>

namespace tessel::app {

std::unique_ptr<opened_schedule> read_schedule(const QString& path, std::optional<document::text_encoding> encoding) {
  auto result = std::make_unique<opened_schedule>();
  result->path = path;
  QElapsedTimer timer;
  timer.start();
  auto doc = std::make_unique<view::TesselDoc>();
  auto cats = std::make_unique<catalog::catalog_set>();
  {
    catalog::thread_catalogs_scope scope(*cats);
    result->accepted = encoding ? doc->open(path.toStdU16String(), *encoding) : doc->open(path.toStdU16String());
  }
  result->milliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  result->refusal = doc->refusal_reason();
  if (result->accepted) {
    result->doc = std::move(doc);
    result->catalogs = std::move(cats);
  }
  return result;
}

schedule_counts counts_of(const document::Document& doc) {
  return {doc.task.size(), doc.taskpred.size(), doc.projwbs.size()};
}

}  // namespace tessel::app
