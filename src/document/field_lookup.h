// A record's value for a catalog field: what a table cell, a detail field, a
// group key, a sort key or a filter reads.
//
// Built once per loaded (and linked) document, after the document has added
// its user-defined fields and code types to the catalogs. It resolves every
// catalog entry once to an accessor (which linked record to reach, which
// member to read) kept in a table indexed by field id, and indexes the
// user-defined field values and code assignments by owner and type, so that
// each answer is a constant-time step, never a search by name or over a list.
//
// Every answer is a reference to a value owned by a record (or, for converted
// user field values, by this object), or the shared empty value. The lookup
// must not outlive the document it was built for.
#pragma once

#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

#include "catalog/field_catalog.h"
#include "document/records/record_lists.h"
#include "values/s_scalars.h"
#include "values/s_val.h"

namespace tessel::document {

// Values a document keeps beside its record members: the figures a workbook
// export carries for fields that no record member holds (costs, earned
// value, percentages ...), and a relationship's own copies of its two
// activities' columns. A field for which the document holds such a column
// is answered from it first; a record without a value in that column falls
// back to the field's ordinary answer.
class extra_values {
 public:
  virtual ~extra_values() = default;
  // Whether the document holds a column for this field of this catalog.
  // Asked once per field when the lookup is built.
  virtual bool has_column(catalog::catalog_kind kind, uint32_t field_id) const = 0;
  // The value of that column for the record with this id (its first
  // member), or null when the record has none. Must answer in constant time.
  virtual const s_val* value(catalog::catalog_kind kind, uint32_t field_id, uint32_t record_id) const = 0;
};

// A document that keeps such values makes them known for the lists it owns
// (null withdraws them); the lookup built for those lists answers from them.
// Documents call this from their constructor and destructor.
void attach_extra_values(const record_lists& doc, const extra_values* values);

// Values that come after a document was opened and its lookup built (the
// differences a comparison works out), for the activity fields from
// catalog::late_field_base on; asked at every answer, so they may come and
// go while the document is open. Null withdraws them.
void attach_late_values(const record_lists& doc, const extra_values* values);

class field_lookup {
 public:
  explicit field_lookup(const record_lists& doc);
  field_lookup(const field_lookup&) = delete;
  field_lookup& operator=(const field_lookup&) = delete;

  // Through the activity, WBS, project and resource catalogs.
  const s_val& value(const TASK& r, uint32_t field_id) const;
  const s_val& value(const PROJWBS& r, uint32_t field_id) const;
  const s_val& value(const PROJECT& r, uint32_t field_id) const;
  const s_val& value(const RSRC& r, uint32_t field_id) const;
  // A relationship, through the predecessor catalog (its predecessor's
  // columns) or the successor catalog (its successor's columns).
  const s_val& predecessor_value(const TASKPRED& r, uint32_t field_id) const;
  const s_val& successor_value(const TASKPRED& r, uint32_t field_id) const;

  // How a field reaches its value: up to four links from the record to the
  // record that owns the member, then the member. A null `get` answers the
  // empty value; a missing link on the way does too.
  struct accessor {
    using step_fn = void* (*)(void*);
    static constexpr int max_steps = 4;
    step_fn steps[max_steps] = {};
    s_val& (*get)(void*) = nullptr;
    // For durations and quantities of work: gives the value its owner's
    // calendar factors (hours per day, week, month, year).
    void (*convert)(void* owner, s_val& v) = nullptr;
    // The document holds a column of its own for this field (extra_values).
    bool extra = false;
  };

 private:
  enum table_kind { k_activity, k_wbs, k_project, k_resource, k_predecessor, k_successor,
                    k_table_count };

  void resolve_tables();
  void index_user_fields(const record_lists& doc);
  void index_codes(const record_lists& doc);
  const s_val& answer(table_kind t, const void* record, uint32_t record_id, uint32_t field_id) const;
  const s_val& user_field(uint32_t owner_id, uint32_t field_id) const;
  const s_val& code(const std::unordered_map<uint64_t, const s_val*>& index, uint32_t owner_id,
                    uint32_t field_id, uint32_t base) const;

  // Per catalog, the accessor of every field id below the user field range.
  std::vector<accessor> tables_[k_table_count];
  // The document's own columns, when it keeps any.
  const extra_values* extra_ = nullptr;
  const record_lists* doc_ = nullptr;  // whose late values are asked for
  // (owner id, user field type id) -> the value to show; the first UDFVALUE
  // in list order wins.
  std::unordered_map<uint64_t, const s_val*> user_values_;
  // (owner id, code type id) -> the code value's short name, from the first
  // assignment in list order.
  std::unordered_map<uint64_t, const s_val*> activity_codes_;
  std::unordered_map<uint64_t, const s_val*> project_codes_;
  std::unordered_map<uint64_t, const s_val*> resource_codes_;
  // User field numbers shown as a cost or an integer, made once here.
  std::deque<s_cost> udf_costs_;
  std::deque<s_int> udf_ints_;
};

}  // namespace tessel::document
