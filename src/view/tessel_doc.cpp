#include "view/tessel_doc.h"

#include "catalog/field_catalog.h"
#include "config/encoding_choices.h"
#include "document/io/path_text.h"

namespace tessel::view {

std::u16string refusal_message(const std::u16string& path, const std::u16string& reason) {
  std::u16string out = u"Can't open document: " + path;
  if (!reason.empty()) out += u"\n" + reason;
  return out;
}

std::optional<document::text_encoding> remembered_text_encoding(const std::u16string& path) {
  const std::optional<std::string> name = config::remembered_encoding(document::narrow_path(path));
  return name ? document::encoding_by_name(*name) : std::nullopt;
}

bool TesselDoc::open(const std::u16string& path) { return open_with(path, remembered_text_encoding(path)); }

bool TesselDoc::open(const std::u16string& path, document::text_encoding encoding, bool remember) {
  if (!open_with(path, encoding)) return false;
  if (remember && encoding_used_) config::remember_encoding(document::narrow_path(path), document::name_of(encoding));
  return true;
}

bool TesselDoc::open_detected(const std::u16string& path) {
  if (!open_with(path, std::nullopt)) return false;
  if (encoding_used_) config::forget_encoding(document::narrow_path(path));
  return true;
}

bool TesselDoc::open_with(const std::u16string& path, std::optional<document::text_encoding> encoding) {
  // The view configuration is rebuilt once the file is known to be a
  // schedule and before it is read: loading adds the document's own fields
  // to freshly built catalogs. Then columns the schedule cannot supply are
  // dropped and remembered ones read again.
  bool prepared = false;
  document::opened_file opened = document::open_schedule(path, encoding, [&] {
    config_.rebuild();
    doc_.reset();
    prepared = true;
  });
  refusal_reason_ = opened.refusal;
  if (!opened.document) {
    if (prepared) {
      last_load_complete_ = false;
      encoding_used_.reset();
    }
    return false;
  }
  doc_ = std::move(opened.document);
  last_load_complete_ = opened.complete;
  encoding_used_.reset();
  if (opened.format == document::schedule_format::xer && last_load_complete_)
    encoding_used_ = static_cast<const document::Document_xer&>(*doc_).encoding_used();
  config_.after_load();
  return true;
}

}  // namespace tessel::view
