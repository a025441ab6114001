// The one road from a path to a loaded schedule. The file's first bytes say
// how it is read (text export or workbook), whatever its name; everything
// that opens a schedule (the window, tessel-dump, benchmarks) comes here.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "document/document.h"
#include "document/xer/text_encoding.h"

namespace tessel::document {

enum class schedule_format { none, xer, xls, xlsx };

// The format announced by the first bytes of a file: "ERMHDR" (after an
// optional UTF-8 byte-order mark) for a text export, the compound-file
// signature for a binary workbook, a ZIP entry's signature for an Excel
// 2007+ workbook; none otherwise.
schedule_format format_of_bytes(std::string_view head);

// What became of an open.
struct opened_file {
  std::unique_ptr<Document> document;  // none when the file was refused
  schedule_format format = schedule_format::none;
  bool complete = false;  // the file was read to its end
  // Why the file was refused, in plain words ("The file is empty."); empty
  // when it was accepted.
  std::u16string refusal;
};

// Decides the format from the file's first bytes and reads it: XER text in
// `encoding` (without one the bytes decide). `prepare` runs once the file
// is found to be a schedule and before any record is read: the caller
// rebuilds the field catalogs there, since loading registers the file's own
// fields into them.
opened_file open_schedule(const std::u16string& path, std::optional<text_encoding> encoding = std::nullopt,
                          const std::function<void()>& prepare = {});

// The format of the file at `path` without reading it, and the reason it
// would be refused when it is none.
schedule_format sniff_schedule(const std::u16string& path, std::u16string* refusal = nullptr);

}  // namespace tessel::document
