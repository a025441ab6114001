// Enumerated field values: columns that hold a short stored code
// ("TK_Complete", "CS_ALAP", "PR_FS") and show a caption ("Completed",
// "As Late As Possible", "Finish To Start").
//
// Every enumeration type is a value holding one signed 32-bit code. It is
// built from a cell text (the stored code and, for most types, the caption
// as a workbook writes it), shows its caption, and compares with values of
// its own type only: each type carries its own type tag, so a constraint
// type never compares with an activity status.
//
// Comparisons. `equal` and `not_equal` always compare codes. `less` and
// `greater` compare codes, except for the four types that sort by the
// alphabetical rank of their captions (constraint type, activity type,
// percent complete type, duration type), so that a sort by such a column is
// alphabetical on screen. `less_equal` and `greater_equal` follow the same
// order as `less` and `greater`. Every type answers a real `not_equal`, so a
// filter "is not Completed" works on every enumeration column.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "values/s_val.h"

namespace tessel {

// One code of an enumeration: its number, the stored code the text export
// writes, the caption shown, and one more text accepted when reading (the
// caption a workbook writes, or a short form); empty texts are never
// matched.
struct enum_entry {
  int32_t code;
  std::u16string_view stored;
  std::u16string_view caption;
  std::u16string_view accepted;
};

// The description of one enumeration type.
struct enum_table {
  int32_t default_code;
  std::span<const enum_entry> entries;
  // Position of each code (index = code) in the alphabetical order of the
  // captions; empty for the types that sort by code.
  std::span<const int32_t> ranks;
};

namespace enum_detail {
// The code for a cell text: the first entry whose stored code or accepted
// text equals the whole text (case-sensitive), else the default.
int32_t code_from_text(const enum_table& t, std::u16string_view text);
// The same for the file's bytes, each byte one character (Latin-1).
int32_t code_from_bytes(const enum_table& t, std::string_view bytes);
// The caption of a code; empty for a code without one.
std::u16string caption(const enum_table& t, int32_t code);
// The sort key of a code: its caption rank, or the code itself.
int64_t sort_key(const enum_table& t, int32_t code);
}  // namespace enum_detail

// The part every enumeration shares: the code. Loaders set it directly.
class s_enum : public s_val {
 public:
  int32_t code;

 protected:
  s_enum(val_type t, int32_t c) : s_val(t), code(c) {}
};

// The shared implementation; `D` names the concrete type and supplies
// `static const enum_table& table()` and `static constexpr val_type tag`.
template <class D>
class enum_value : public s_enum {
 public:
  enum_value() : s_enum(D::tag, D::table().default_code) {}
  explicit enum_value(int32_t c) : s_enum(D::tag, c) {}
  explicit enum_value(std::u16string_view text)
      : s_enum(D::tag, enum_detail::code_from_text(D::table(), text)) {}
  // Fast form for loading: the cell's Latin-1 bytes give the same code as
  // their widened text.
  explicit enum_value(std::string_view latin1)
      : s_enum(D::tag, enum_detail::code_from_bytes(D::table(), latin1)) {}
  explicit enum_value(const char16_t* text) : enum_value(std::u16string_view(text)) {}
  explicit enum_value(const char* latin1) : enum_value(std::string_view(latin1)) {}

  static int32_t code_of(std::u16string_view text) { return enum_detail::code_from_text(D::table(), text); }
  static int32_t code_of(std::string_view latin1) { return enum_detail::code_from_bytes(D::table(), latin1); }
  static std::span<const enum_entry> entries() { return D::table().entries; }

  std::u16string text() const override { return enum_detail::caption(D::table(), code); }
  val_ptr clone() const override { return val_ptr(new D(static_cast<const D&>(*this))); }

  bool less(const s_val& o) const override { return same_type(o) && key() < key_of(o); }
  bool less_equal(const s_val& o) const override { return same_type(o) && key() <= key_of(o); }
  bool greater(const s_val& o) const override { return same_type(o) && key() > key_of(o); }
  bool greater_equal(const s_val& o) const override { return same_type(o) && key() >= key_of(o); }
  bool equal(const s_val& o) const override { return same_type(o) && code == code_of_val(o); }
  bool not_equal(const s_val& o) const override { return same_type(o) && code != code_of_val(o); }

 private:
  static int32_t code_of_val(const s_val& o) { return static_cast<const s_enum&>(o).code; }
  int64_t key() const { return enum_detail::sort_key(D::table(), code); }
  static int64_t key_of(const s_val& o) { return enum_detail::sort_key(D::table(), code_of_val(o)); }
};

#define TESSEL_ENUM_TYPE(NAME, N)                                                  \
  class NAME final : public enum_value<NAME> {                                     \
   public:                                                                         \
    using enum_value<NAME>::enum_value;                                            \
    static constexpr val_type tag = static_cast<val_type>(                         \
        static_cast<int>(val_type::first_enum) + (N));                             \
    static const enum_table& table();                                              \
  };

// Activity status: "TK_Complete" Completed, "TK_Active" In Progress,
// "TA_NotStarted" Not Started (the default). Accepts captions.
TESSEL_ENUM_TYPE(s_activity_status, 0)
// Primary and secondary constraint; 0 is no constraint (shown empty, sorted
// after every constrained activity). Accepts captions.
TESSEL_ENUM_TYPE(s_constraint_type, 1)
// Task Dependent, Resource Dependent, Level of Effort, milestones, WBS
// Summary. Accepts captions; sorts by caption.
TESSEL_ENUM_TYPE(s_activity_type, 2)
// WBS and project status. An unrecognised text gives code 5, shown empty and
// sorted after What-if. Accepts captions.
TESSEL_ENUM_TYPE(s_project_status, 3)
// Kind of a node in the WBS and project trees: 0 WBS, 1 Project, 2 an EPS
// node (shown empty). Set when the trees are built; reads no texts.
TESSEL_ENUM_TYPE(s_node_type, 4)
// Calendar type: "CA_Base" Global, "CA_Rsrc" Resource, "CA_Project" Project.
TESSEL_ENUM_TYPE(s_calendar_type, 5)
// Activity code type scope: Global, EPS, Project.
TESSEL_ENUM_TYPE(s_activity_code_type_scope, 6)
// Data type of a user-defined field; anything unknown is Text.
TESSEL_ENUM_TYPE(s_logical_data_type, 7)
// Percent complete type: Physical, Duration, Units. Sorts by caption.
TESSEL_ENUM_TYPE(s_percent_comlete_type, 8)
// Duration type. Code 3 shows "Fixed Duration && Units" and is read from
// "Fixed Duration & Units". Sorts by caption.
TESSEL_ENUM_TYPE(s_duration_type, 9)
// Leveling priority "1 - Top" to "5 - Lowest"; default Normal.
TESSEL_ENUM_TYPE(s_leveling_priority, 10)
// Which of the five prices an assignment uses: "Price / Unit" to "Price / Unit5".
TESSEL_ENUM_TYPE(s_rate_type, 11)
// Labor, Nonlabor, Material.
TESSEL_ENUM_TYPE(s_resource_type, 12)
// Relationship type; default Finish To Start. Reads the stored codes and the
// short forms "FF", "FS", "SF", "SS", not the long captions.
TESSEL_ENUM_TYPE(s_relationship_type, 13)
// Carries a code and shows nothing; reads no texts.
TESSEL_ENUM_TYPE(s_review_status, 14)

#undef TESSEL_ENUM_TYPE

}  // namespace tessel
