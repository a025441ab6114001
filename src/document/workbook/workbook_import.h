// Turning a workbook's sheets into a document's records: the import that
// Document_xls::load runs, its sheet handlers and the conversion of a cell
// text into a value.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalog/field_catalog.h"
#include "document/document_fields.h"
#include "document/document_xls.h"
#include "document/workbook/workbook.h"

namespace tessel::document {

// Reads the workbook at `path` into `doc`: the one project, then the sheets
// USERDATA, TASK, TASKPRED, RSRC and TASKRSRC in that order. Answers false,
// and refuses the document with the reason, when the workbook cannot be read
// or has no "USERDATA" or "TASK" sheet.
bool import_workbook(Document_xls& doc, const std::u16string& path);
// The same for a workbook already read; refused alike when the records its
// sheets' rows make would take far more memory than the file's size
// justifies (a few bytes may claim many empty rows).
// `done` hears of each sheet the import will not read again, so that its
// owner may free it while the rest is imported.
using sheet_done = std::function<void(const workbook_sheet&)>;
bool import_book(Document_xls& doc, const workbook& book, const sheet_done& done = {});
// The same over sheets already read (in workbook order).
bool import_sheets(Document_xls& doc, const std::vector<workbook_sheet>& sheets, const sheet_done& done = {});

// ---- Cell conversion ----------------------------------------------------------

namespace wb {

// The leading decimal number of a text, read as a wide-string-to-double
// conversion reads it: white space skipped, a sign, digits with a decimal
// point, an exponent. Anything else in front ("$12") gives 0; so do texts
// that only such a conversion would take ("inf", "nan", hexadecimal).
double leading_number(std::u16string_view text);
// The leading decimal integer (0 when there is none), held within 32 bits.
int32_t leading_integer(std::u16string_view text);
// A flag is set unless the text is exactly "N".
inline bool flag_of(std::u16string_view text) { return text != u"N"; }

// Sets `v` from a cell text by its own value type: a text unchanged; a flag,
// integer, number, cost or percent as above; a date in the workbook form; a
// duration or quantity as the number shown (empty cell, empty value); an
// enumeration from its code or caption. Record ids are left alone. False
// when the text held something but no readable date.
bool set_value(s_val& v, std::u16string_view text);

// A column of values of the catalog value type `value_type`.
std::unique_ptr<value_column> make_column(uint32_t value_type, int32_t unit_kind);

}  // namespace wb

// ---- Sheet handlers -------------------------------------------------------------

// Texts as keys of hash maps, looked up by view.
struct text_hash {
  using is_transparent = void;
  size_t operator()(std::u16string_view s) const noexcept { return std::hash<std::u16string_view>{}(s); }
};
template <class T>
using text_map = std::unordered_map<std::u16string, T, text_hash, std::equal_to<>>;

// What the handlers share while one workbook is read.
struct import_context {
  explicit import_context(Document_xls& d) : doc(d) {}

  Document_xls& doc;
  PROJECT* project = nullptr;
  // Activities by activity code; the first activity with a code wins.
  text_map<TASK*> task_by_code;
  // Resources by the names a workbook shows them with.
  text_map<RSRC*> rsrc_by_name;
  // WBS elements by their full code.
  text_map<PROJWBS*> wbs_by_path;
  // Whether some WBS element has a name.
  bool wbs_named = false;
};

void import_user_data(import_context& cx, const workbook_sheet& sheet);
void import_tasks(import_context& cx, const workbook_sheet& sheet);
void import_relationships(import_context& cx, const workbook_sheet& sheet);
void import_resources(import_context& cx, const workbook_sheet& sheet);
void import_assignments(import_context& cx, const workbook_sheet& sheet);

// Helpers the handlers share.
namespace wb {

// The first entry of a catalog whose workbook column is `header`; entries
// without a workbook column are also found by key when `by_key` is set.
class column_index {
 public:
  explicit column_index(catalog::catalog_kind kind, bool by_key = false);
  catalog::field_entry* find(std::u16string_view header) const;

 private:
  std::unordered_map<std::u16string_view, catalog::field_entry*> by_column_;
};

// The number that follows `prefix` in a header such as "user_field_12"
// (0 when the header does not start with it or no number follows).
uint32_t numbered(std::u16string_view header, std::u16string_view prefix);

// Registers a workbook user field of type `n` for a table ("TASK", "RSRC"):
// a user field type record and a text field of the catalog, captioned by the
// column's caption row. Answers the type record (an earlier one with the
// same id is reused).
UDFTYPE* register_user_field(Document_xls& doc, catalog::catalog_kind kind, uint32_t entity, uint32_t n,
                             std::u16string_view table, std::u16string_view caption);
// Gives a record the value of a workbook user field.
void set_user_field(Document_xls& doc, UDFTYPE* type, uint32_t owner_id, std::u16string_view text);

}  // namespace wb

}  // namespace tessel::document
