// Cell texts of a workbook turned into values, the columns that hold the
// figures no record member keeps, and the user fields a workbook registers.
#include <charconv>
#include <deque>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>

#include "document/workbook/workbook_import.h"
#include "values/enums.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

namespace tessel::document {
namespace wb {
namespace {

bool is_space(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

template <class E>
bool enum_code_of(val_type tag, std::u16string_view text, int32_t& code) {
  if (tag != E::tag) return false;
  code = E::code_of(text);
  return true;
}

// The code an enumeration of type `tag` reads from a text; `code` stays as
// it is for a type that reads no texts.
void set_enum(val_type tag, std::u16string_view t, int32_t& code) {
  (void)(enum_code_of<s_activity_status>(tag, t, code) || enum_code_of<s_constraint_type>(tag, t, code) ||
         enum_code_of<s_activity_type>(tag, t, code) || enum_code_of<s_project_status>(tag, t, code) ||
         enum_code_of<s_calendar_type>(tag, t, code) || enum_code_of<s_activity_code_type_scope>(tag, t, code) ||
         enum_code_of<s_logical_data_type>(tag, t, code) || enum_code_of<s_percent_comlete_type>(tag, t, code) ||
         enum_code_of<s_duration_type>(tag, t, code) || enum_code_of<s_leveling_priority>(tag, t, code) ||
         enum_code_of<s_rate_type>(tag, t, code) || enum_code_of<s_resource_type>(tag, t, code) ||
         enum_code_of<s_relationship_type>(tag, t, code));
}

}  // namespace

double leading_number(std::u16string_view t) {
  size_t i = 0;
  while (i < t.size() && is_space(t[i])) ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
  // The number's characters, narrowed: digits, one decimal point, then an
  // exponent when digits follow its letter.
  std::string n;
  size_t mantissa_digits = 0;
  for (; i < t.size() && is_digit(t[i]); ++i, ++mantissa_digits) n.push_back(static_cast<char>(t[i]));
  if (i < t.size() && t[i] == u'.') {
    n.push_back('.');
    for (++i; i < t.size() && is_digit(t[i]); ++i, ++mantissa_digits) n.push_back(static_cast<char>(t[i]));
  }
  if (mantissa_digits == 0) return 0.0;
  if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
    size_t j = i + 1;
    std::string e = "e";
    if (j < t.size() && (t[j] == u'-' || t[j] == u'+')) e.push_back(static_cast<char>(t[j++]));
    if (j < t.size() && is_digit(t[j])) {
      for (; j < t.size() && is_digit(t[j]); ++j) e.push_back(static_cast<char>(t[j]));
      n += e;
    }
  }
  double v = 0.0;
  const auto r = std::from_chars(n.data(), n.data() + n.size(), v);
  if (r.ec != std::errc()) return 0.0;  // beyond the range of a double
  return negative ? -v : v;
}

int32_t leading_integer(std::u16string_view t) {
  size_t i = 0;
  while (i < t.size() && is_space(t[i])) ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
  int64_t v = 0;
  for (; i < t.size() && is_digit(t[i]); ++i)
    if (v <= std::numeric_limits<int32_t>::max()) v = v * 10 + (t[i] - u'0');
  if (negative) v = -v;
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

bool set_value(s_val& v, std::u16string_view t) {
  switch (v.type()) {
    case val_type::string:
      static_cast<s_string&>(v).value.assign(t);
      break;
    case val_type::date: {
      auto& d = static_cast<s_date&>(v);
      const int64_t time = t.empty() ? 0 : s_date::parse(t, s_date::form_workbook);
      d.time = time > 0 ? time : 0;
      d.empty = time > 0 ? 0 : 1;
      return t.empty() || time > 0;
    }
    case val_type::dur: {
      // The number as the export shows it, in the exporting user's unit of
      // time; shown "as stored", it reads the same as in the export.
      auto& d = static_cast<s_dur&>(v);
      d.hours = t.empty() ? 0.0 : leading_number(t);
      d.dur_empty = t.empty() ? 1 : 0;
      d.factors = default_period_factors();
      break;
    }
    case val_type::unit: {
      auto& u = static_cast<s_unit&>(v);
      u.amount = t.empty() ? 0.0 : leading_number(t);
      u.unit_empty = t.empty() ? 1 : 0;
      u.symbols = workbook_money_symbols();
      break;
    }
    case val_type::dbl: {
      auto& d = static_cast<s_double&>(v);
      d.value = leading_number(t);
      d.value_empty = t.empty() ? 1 : 0;
      break;
    }
    case val_type::cost:
      static_cast<s_cost&>(v).value = leading_number(t);
      break;
    case val_type::percent:
      static_cast<s_percent&>(v).value = leading_number(t);
      break;
    case val_type::integer: {
      auto& n = static_cast<s_int&>(v);
      n.value = leading_integer(t);
      n.value_empty = t.empty() ? 1 : 0;
      break;
    }
    case val_type::boolean:
      static_cast<s_bool&>(v).value = flag_of(t) ? 1 : 0;
      break;
    case val_type::base:
    case val_type::ulong:  // record ids come from the import, never from a cell
    case val_type::hour:
      break;
    default:
      if (static_cast<int>(v.type()) >= static_cast<int>(val_type::first_enum))
        set_enum(v.type(), t, static_cast<s_enum&>(v).code);
      break;
  }
  return true;
}

namespace {

// Values of one type for records 1, 2, 3 ... held contiguously. A record
// between two that were set holds the column's empty value.
template <class T>
class typed_column final : public value_column {
 public:
  explicit typed_column(T empty) : empty_(std::move(empty)) {}
  const s_val* at(uint32_t id) const override {
    return id >= 1 && id <= cells_.size() ? &cells_[id - 1] : nullptr;
  }
  void set(uint32_t id, std::u16string_view text) override {
    if (id == 0) return;
    if (cells_.size() < id) cells_.resize(id, empty_);
    set_value(cells_[id - 1], text);
  }

 private:
  T empty_;
  std::vector<T> cells_;
};

// Texts repeat down a column: an activity's name on each of its
// relationships, a WBS element's name on each of its activities. Each
// distinct text is held once and a record keeps its number; number 0 is
// the empty text that a record without a cell reads.
class text_column final : public value_column {
 public:
  text_column() { texts_.emplace_back(); }
  const s_val* at(uint32_t id) const override {
    return id >= 1 && id <= slots_.size() ? &texts_[slots_[id - 1]] : nullptr;
  }
  void set(uint32_t id, std::u16string_view text) override {
    if (id == 0) return;
    if (slots_.size() < id) slots_.resize(id, 0);
    auto it = numbers_.find(text);
    if (it == numbers_.end()) {
      // The key views the kept text: a deque never moves its elements.
      const std::u16string_view kept = texts_.emplace_back(std::u16string(text)).value;
      it = numbers_.emplace(kept, static_cast<uint32_t>(texts_.size() - 1)).first;
    }
    slots_[id - 1] = it->second;
  }

 private:
  std::deque<s_string> texts_;
  std::vector<uint32_t> slots_;
  std::unordered_map<std::u16string_view, uint32_t> numbers_{{u"", 0}};
};

template <class T>
std::unique_ptr<value_column> column_of() {
  return std::make_unique<typed_column<T>>(T());
}

}  // namespace

std::unique_ptr<value_column> make_column(uint32_t value_type, int32_t unit_kind) {
  namespace vt = catalog::value_types;
  switch (value_type) {
    case vt::flag: return column_of<s_bool>();
    case vt::integer: return column_of<s_int>();
    case vt::number: return column_of<s_double>();
    case vt::cost: return column_of<s_cost>();
    case vt::units: {
      s_unit empty;
      empty.kind = unit_kind;
      empty.symbols = workbook_money_symbols();
      return std::make_unique<typed_column<s_unit>>(empty);
    }
    case vt::date: return column_of<s_date>();
    case vt::duration: return column_of<s_dur>();
    case vt::percent: return column_of<s_percent>();
    case vt::activity_status: return column_of<s_activity_status>();
    case vt::project_status: return column_of<s_project_status>();
    case vt::percent_complete_type: return column_of<s_percent_comlete_type>();
    case vt::activity_type: return column_of<s_activity_type>();
    case vt::duration_type: return column_of<s_duration_type>();
    case vt::constraint_type: return column_of<s_constraint_type>();
    case vt::leveling_priority: return column_of<s_leveling_priority>();
    case vt::rate_type: return column_of<s_rate_type>();
    case vt::resource_type: return column_of<s_resource_type>();
    case vt::relationship_type: return column_of<s_relationship_type>();
    default: return std::make_unique<text_column>();  // texts and static-type user fields
  }
}

// ---- Catalog helpers ----------------------------------------------------------

column_index::column_index(catalog::catalog_kind kind, bool by_key) {
  const auto& entries = catalog::catalogs()[kind].entries();
  for (const catalog::field_entry& e : entries)
    if (!e.workbook_column.empty()) by_column_.try_emplace(e.workbook_column, const_cast<catalog::field_entry*>(&e));
  if (by_key)
    for (const catalog::field_entry& e : entries)
      if (e.workbook_column.empty()) by_column_.try_emplace(e.key, const_cast<catalog::field_entry*>(&e));
}

catalog::field_entry* column_index::find(std::u16string_view header) const {
  auto it = by_column_.find(header);
  return it == by_column_.end() ? nullptr : it->second;
}

uint32_t numbered(std::u16string_view header, std::u16string_view prefix) {
  if (header.size() <= prefix.size() || header.substr(0, prefix.size()) != prefix) return 0;
  const int32_t n = leading_integer(header.substr(prefix.size()));
  // Type ids above the range of user fields would run into the code ranges.
  return n > 0 && n < static_cast<int32_t>(catalog::user_field_base) ? static_cast<uint32_t>(n) : 0;
}

UDFTYPE* register_user_field(Document_xls& doc, catalog::catalog_kind kind, uint32_t entity, uint32_t n,
                             std::u16string_view table, std::u16string_view caption) {
  for (UDFTYPE& u : doc.udftype)
    if (u.udf_type_id.value == n) return &u;
  UDFTYPE& u = doc.udftype.emplace_back();
  const std::u16string key = u"user_field_" + decimal_text(n);
  u.udf_type_id.value = n;
  u.table_name.value.assign(table);
  u.udf_type_name.value = key;
  // The column's caption row names the field; a column without one is
  // known by its key.
  u.udf_type_label.value = caption.empty() ? key : std::u16string(caption);
  u.logical_data_type.code = s_logical_data_type::code_of(u"FT_TEXT");

  catalog::field_spec fields;
  fields.caption = u.udf_type_label.value;
  fields.field_id = n + catalog::user_field_base;
  fields.persistent_id = fields.field_id;
  fields.value_type = catalog::value_types::text;
  fields.entity = entity;
  fields.available = true;
  fields.key = key;
  fields.workbook_column = key;
  catalog::catalogs().register_field(kind, std::move(fields));
  return &u;
}

void set_user_field(Document_xls& doc, UDFTYPE* type, uint32_t owner_id, std::u16string_view text) {
  if (!type || text.empty()) return;  // an empty cell is no value
  UDFVALUE& v = doc.udfvalue.emplace_back();
  v.udf_type_id.value = type->udf_type_id.value;
  v.fk_id.value = owner_id;
  v.proj_id.value = 1;
  v.udf_text.value.assign(text);
  v.type = type;
}

}  // namespace wb

// ---- The document's own columns -------------------------------------------------

value_column& workbook_values::column(catalog::catalog_kind kind, uint32_t field_id, uint32_t value_type,
                                      int32_t unit_kind) {
  auto& list = columns_[static_cast<size_t>(kind)];
  if (list.size() <= field_id) list.resize(field_id + 1);
  if (!list[field_id]) list[field_id] = wb::make_column(value_type, unit_kind);
  return *list[field_id];
}

const value_column* workbook_values::find(catalog::catalog_kind kind, uint32_t field_id) const {
  const auto& list = columns_[static_cast<size_t>(kind)];
  return field_id < list.size() ? list[field_id].get() : nullptr;
}

}  // namespace tessel::document
