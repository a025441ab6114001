#include "view/tessel_doc.h"

#include <cstdio>

#include "catalog/field_catalog.h"
#include "config/encoding_choices.h"
#include "document/document_xls.h"
#include "document/path_text.h"
#include "document/xer.h"

namespace tessel::view {
namespace {

std::u16string lower_extension(const std::u16string& path) {
  // The last four characters of a longer path, lower-cased; a path of four
  // characters or fewer is compared as it stands.
  if (path.size() <= 4) return path;
  std::u16string ext = path.substr(path.size() - 4);
  for (char16_t& c : ext)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return ext;
}

bool has_compound_signature(const std::u16string& path) {
  FILE* f = std::fopen(document::narrow_path(path).c_str(), "rb");
  if (!f) return false;
  unsigned char sig[2] = {0, 0};
  const size_t n = std::fread(sig, 1, 2, f);
  std::fclose(f);
  return n == 2 && sig[0] == 0xD0 && sig[1] == 0xCF;
}

}  // namespace

schedule_format format_of(const std::u16string& path) {
  const std::u16string ext = lower_extension(path);
  if (ext == u".xer") return document::xer_parser::is_xer(path) ? schedule_format::xer : schedule_format::refused;
  if (ext == u".xls") return has_compound_signature(path) ? schedule_format::xls : schedule_format::refused;
  return schedule_format::refused;
}

std::u16string refusal_message(const std::u16string& path) { return u"Can't open document: " + path; }

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
  const schedule_format format = format_of(path);
  std::unique_ptr<document::Document> next;
  switch (format) {
    case schedule_format::xer:
      next = std::make_unique<document::Document_xer>(encoding);
      break;
    case schedule_format::xls:
      next = std::make_unique<document::Document_xls>();
      break;
    case schedule_format::refused:
      break;
  }
  if (!next) return false;

  // The view configuration is rebuilt before the schedule is read: loading
  // adds the document's own fields to freshly built catalogs. Then columns
  // the schedule cannot supply are dropped and remembered ones read again.
  config_.rebuild();

  doc_.reset();
  doc_ = std::move(next);
  last_load_complete_ = doc_->load(path);
  encoding_used_.reset();
  if (format == schedule_format::xer && last_load_complete_)
    encoding_used_ = static_cast<const document::Document_xer&>(*doc_).encoding_used();
  config_.after_load();
  return true;
}

}  // namespace tessel::view
