// What every schedule record shares: the description of its members by
// name (used by the table loaders and by the field lookup) and the
// conversion of one cell's bytes into one member.
//
// A record is a plain struct of value objects held inline. Each record type
// lists its members once, in an X-list `TESSEL_<TABLE>_MEMBERS(X)` of
// entries `X(name, kind, Type)`; the struct declares them from the list and
// its `members()` describes them from the same list, so the two never drift.
#pragma once

#include <charconv>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/xer/text_encoding.h"
#include "values/enums.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"
#include "values/s_val.h"

namespace tessel::document {

// The 28 record types, one per table of the export.
struct ACTVCODE;
struct ACTVTYPE;
struct TASKACTV;
struct TASKPROC;
struct OBS;
struct PROJWBS;
struct TASK;
struct PROJECT;
struct TASKPRED;
struct RSRC;
struct RSRCRATE;
struct RCATVAL;
struct RCATTYPE;
struct RSRCRCAT;
struct RSRCROLE;
struct TASKRSRC;
struct SHIFT;
struct SHIFTPER;
struct CALENDAR;
struct ROLES;
struct ROLERATE;
struct ROLELIMIT;
struct CURRTYPE;
struct PCATVAL;
struct PCATTYPE;
struct PROJPCAT;
struct UDFTYPE;
struct UDFVALUE;

// How a member is read from a cell (derived members are never read: the
// post-load passes fill them).
enum class member_kind : uint8_t {
  id,           // s_unsigned_long: decimal digits
  whole,        // s_int: decimal integer
  number,       // s_double: decimal number
  hours,        // s_dur: a number of hours; an empty cell gives an empty duration
  qty,          // s_unit of work; an empty cell gives an empty quantity
  qty_per_hr,   // s_unit rate (units per hour); an empty cell gives an empty rate
  cost,         // s_cost
  flag,         // s_bool: "Y" only
  text,         // s_string: in the file's encoding
  date,         // s_date: "yyyy-mm-dd hh:mm"
  enumeration,  // one of the enumeration types
  derived,      // computed after loading and linking
};

// Reads one cell's bytes into the member it belongs to; text is read with
// the decoder of the file's encoding.
using cell_loader = void (*)(void* record, std::string_view cell, const text_decoder& text);

struct member_desc {
  std::u16string_view name;  // the column name, which is also the field key
  member_kind kind;
  s_val& (*get)(void* record);
  cell_loader load;  // does nothing for derived members

  const s_val& value(const void* record) const { return get(const_cast<void*>(record)); }
};

// The member of that name, or none.
inline const member_desc* find_member(std::span<const member_desc> members, std::u16string_view name) {
  for (const member_desc& m : members)
    if (m.name == name) return &m;
  return nullptr;
}

// ---- Cell conversion -------------------------------------------------------
//
// Numbers are read the way the export writes them: leading white space is
// skipped and reading stops at the first character that does not belong to
// the number; an empty or non-numeric cell reads as 0. Ids are plain digits;
// whole numbers and decimal numbers may carry a leading sign.

namespace cell {

inline bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

inline size_t skip_space(std::string_view b) {
  size_t i = 0;
  while (i < b.size() && is_space(b[i])) ++i;
  return i;
}

inline uint32_t parse_id(std::string_view b) {
  uint32_t v = 0;
  for (size_t i = skip_space(b); i < b.size() && is_digit(b[i]); ++i) v = v * 10u + static_cast<uint32_t>(b[i] - '0');
  return v;
}

inline int32_t parse_whole(std::string_view b) {
  size_t i = skip_space(b);
  bool neg = false;
  if (i < b.size() && (b[i] == '-' || b[i] == '+')) neg = b[i++] == '-';
  uint32_t v = 0;
  for (; i < b.size() && is_digit(b[i]); ++i) v = v * 10u + static_cast<uint32_t>(b[i] - '0');
  return static_cast<int32_t>(neg ? 0u - v : v);
}

inline double parse_number(std::string_view b) {
  size_t i = skip_space(b);
  bool neg = false;
  if (i < b.size() && (b[i] == '-' || b[i] == '+')) neg = b[i++] == '-';
  // Only digits or a decimal point may start the number ("inf" and "nan"
  // are not numbers here).
  if (i == b.size() || !(is_digit(b[i]) || b[i] == '.')) return 0.0;
  // Quick form for the plain decimals exports write ("8", "37.5"): up to 15
  // significant digits divided by an exact power of ten is the correctly
  // rounded value. Anything longer, or with an exponent, takes the general
  // reading.
  static constexpr double tens[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = b.data() + i;
  const char* const end = b.data() + b.size();
  uint64_t mantissa = 0;
  int digits = 0, decimals = 0;
  bool quick = true;
  for (; p < end && is_digit(*p); ++p, ++digits) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
  if (p < end && *p == '.') {
    for (++p; p < end && is_digit(*p); ++p, ++digits, ++decimals)
      mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
  }
  if (digits > 15 || (p < end && (*p == 'e' || *p == 'E'))) quick = false;
  double v = 0.0;
  if (quick) {
    v = static_cast<double>(mantissa) / tens[decimals];
  } else {
    auto r = std::from_chars(b.data() + i, end, v, std::chars_format::general);
    if (r.ec != std::errc()) return 0.0;
  }
  return neg ? -v : v;
}

inline bool parse_flag(std::string_view b) { return b.size() == 1 && b[0] == 'Y'; }

// A date cell: a cell that holds no valid date leaves the date empty, so it
// shows nothing and sorts after every real date, like a date the file does
// not carry at all.
inline void load_date(s_date& d, std::string_view b) {
  char16_t buf[64];
  size_t n = b.size() < 64 ? b.size() : 64;
  for (size_t i = 0; i < n; ++i) buf[i] = static_cast<unsigned char>(b[i]);
  int64_t t = n ? s_date::parse(std::u16string_view(buf, n), s_date::form_xer) : 0;
  if (t > 0) {
    d.time = t;
    d.empty = 0;
  } else {
    d.time = 0;
    d.empty = 1;
  }
}

}  // namespace cell

// Reads one cell into a member of kind `K` and type `T`.
template <member_kind K, class T>
inline void load_cell(T& m, std::string_view b, const text_decoder& text) {
  if constexpr (K == member_kind::id) {
    m.value = cell::parse_id(b);
  } else if constexpr (K == member_kind::whole) {
    m.value = cell::parse_whole(b);
    m.value_empty = 0;
  } else if constexpr (K == member_kind::number) {
    m.value = cell::parse_number(b);
    m.value_empty = 0;
  } else if constexpr (K == member_kind::hours) {
    // A blank duration cell gives a blank duration, as the exporting
    // database shows it; any other text sets the number.
    m.hours = b.empty() ? 0.0 : cell::parse_number(b);
    m.dur_empty = b.empty() ? 1 : 0;
  } else if constexpr (K == member_kind::qty || K == member_kind::qty_per_hr) {
    m.kind = K == member_kind::qty ? s_unit::work : s_unit::rate;
    m.amount = b.empty() ? 0.0 : cell::parse_number(b);
    m.unit_empty = b.empty() ? 1 : 0;
  } else if constexpr (K == member_kind::cost) {
    m.value = cell::parse_number(b);
  } else if constexpr (K == member_kind::flag) {
    m.value = cell::parse_flag(b) ? 1 : 0;
  } else if constexpr (K == member_kind::text) {
    text.decode(b, m.value);
  } else if constexpr (K == member_kind::date) {
    cell::load_date(m, b);
  } else if constexpr (K == member_kind::enumeration) {
    m.code = T::code_of(b);
  } else {
    (void)m;
    (void)b;
  }
  if constexpr (K != member_kind::text) (void)text;
}

}  // namespace tessel::document

// Declares one member of a record from its X-list entry.
#define TESSEL_DECLARE_MEMBER(name, kind, Type) Type name;

// Describes one member of `record_type` (a name in scope at the use).
#define TESSEL_DESCRIBE_MEMBER(name, kind, Type)                                                \
  ::tessel::document::member_desc{                                                              \
      u"" #name, ::tessel::document::member_kind::kind,                                         \
      [](void* r) -> ::tessel::s_val& { return static_cast<record_type*>(r)->name; },           \
      [](void* r, std::string_view b, const ::tessel::document::text_decoder& t) {              \
        ::tessel::document::load_cell<::tessel::document::member_kind::kind>(                   \
            static_cast<record_type*>(r)->name, b, t);                                          \
      }},

// The body of a record's `members()`: the descriptions of its X-list.
#define TESSEL_MEMBERS_BODY(RECORD, LIST)                                 \
  using record_type = RECORD;                                             \
  static const ::tessel::document::member_desc table[] = {LIST(TESSEL_DESCRIBE_MEMBER)}; \
  return std::span<const ::tessel::document::member_desc>(table);
