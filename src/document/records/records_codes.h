// Activity, project and resource codes, and user-defined fields.
#pragma once

#include "document/records/records_common.h"

namespace tessel::document {

#define TESSEL_ACTVCODE_MEMBERS(X)                      \
  X(actv_code_id, id, s_unsigned_long)                  \
  X(actv_code_type_id, id, s_unsigned_long)             \
  X(seq_num, whole, s_int)                              \
  X(short_name, text, s_string)                         \
  X(parent_actv_code_id, id, s_unsigned_long)           \
  X(actv_code_name, text, s_string)

// An activity code value.
struct ACTVCODE {
  TESSEL_ACTVCODE_MEMBERS(TESSEL_DECLARE_MEMBER)
  // Colour of the code value (alpha-red-green-blue). A file that carries the
  // color column gives every value opaque black, whatever the cell holds;
  // 0 means no colour was given.
  uint32_t color = 0;

  // Set by linking.
  ACTVTYPE* type = nullptr;
  ACTVCODE* parent = nullptr;

  static cell_loader special_column(std::u16string_view name);
  static std::span<const member_desc> members();
};

#define TESSEL_ACTVTYPE_MEMBERS(X)                                  \
  X(actv_code_type_id, id, s_unsigned_long)                         \
  X(proj_id, id, s_unsigned_long)                                   \
  X(actv_short_len, whole, s_int)                                   \
  X(seq_num, whole, s_int)                                          \
  X(actv_code_type, text, s_string)                                 \
  X(actv_code_type_scope, enumeration, s_activity_code_type_scope)  \
  X(super_flag, flag, s_bool)

// An activity code type.
struct ACTVTYPE {
  TESSEL_ACTVTYPE_MEMBERS(TESSEL_DECLARE_MEMBER)
  std::u16string column_key;  // the key of its column in the activity catalog, set by linking

  static std::span<const member_desc> members();
};

#define TESSEL_TASKACTV_MEMBERS(X)              \
  X(task_id, id, s_unsigned_long)               \
  X(actv_code_type_id, id, s_unsigned_long)     \
  X(actv_code_id, id, s_unsigned_long)          \
  X(proj_id, id, s_unsigned_long)

// An activity code assigned to an activity.
struct TASKACTV {
  TESSEL_TASKACTV_MEMBERS(TESSEL_DECLARE_MEMBER)

  TASK* task = nullptr;
  ACTVCODE* code = nullptr;

  static std::span<const member_desc> members();
};

#define TESSEL_PCATVAL_MEMBERS(X)               \
  X(proj_catg_id, id, s_unsigned_long)          \
  X(proj_catg_type_id, id, s_unsigned_long)     \
  X(parent_proj_catg_id, id, s_unsigned_long)   \
  X(seq_num, whole, s_int)                      \
  X(proj_catg_short_name, text, s_string)       \
  X(proj_catg_name, text, s_string)             \
  X(proj_catg_wt, number, s_double)

// A project code value.
struct PCATVAL {
  TESSEL_PCATVAL_MEMBERS(TESSEL_DECLARE_MEMBER)

  PCATTYPE* type = nullptr;
  PCATVAL* parent = nullptr;

  static std::span<const member_desc> members();
};

#define TESSEL_PCATTYPE_MEMBERS(X)              \
  X(proj_catg_type_id, id, s_unsigned_long)     \
  X(seq_num, whole, s_int)                      \
  X(proj_catg_short_len, whole, s_int)          \
  X(proj_catg_type, text, s_string)             \
  X(super_flag, flag, s_bool)                   \
  X(proj_catg_type_wt, number, s_double)        \
  X(max_proj_catg_wt, number, s_double)

// A project code type.
struct PCATTYPE {
  TESSEL_PCATTYPE_MEMBERS(TESSEL_DECLARE_MEMBER)
  std::u16string column_key;  // the key of its column in the project catalog, set by linking

  static std::span<const member_desc> members();
};

#define TESSEL_PROJPCAT_MEMBERS(X)              \
  X(proj_id, id, s_unsigned_long)               \
  X(proj_catg_type_id, id, s_unsigned_long)     \
  X(proj_catg_id, id, s_unsigned_long)

// A project code assigned to a project.
struct PROJPCAT {
  TESSEL_PROJPCAT_MEMBERS(TESSEL_DECLARE_MEMBER)

  PROJECT* project = nullptr;
  PCATVAL* code = nullptr;

  static std::span<const member_desc> members();
};

#define TESSEL_RCATVAL_MEMBERS(X)               \
  X(rsrc_catg_id, id, s_unsigned_long)          \
  X(rsrc_catg_type_id, id, s_unsigned_long)     \
  X(seq_num, whole, s_int)                      \
  X(rsrc_catg_short_name, text, s_string)       \
  X(rsrc_catg_name, text, s_string)             \
  X(parent_rsrc_catg_id, id, s_unsigned_long)

// A resource code value.
struct RCATVAL {
  TESSEL_RCATVAL_MEMBERS(TESSEL_DECLARE_MEMBER)

  RCATTYPE* type = nullptr;
  RCATVAL* parent = nullptr;

  static std::span<const member_desc> members();
};

#define TESSEL_RCATTYPE_MEMBERS(X)              \
  X(rsrc_catg_type_id, id, s_unsigned_long)     \
  X(seq_num, whole, s_int)                      \
  X(rsrc_catg_short_len, whole, s_int)          \
  X(rsrc_catg_type, text, s_string)             \
  X(super_flag, flag, s_bool)

// A resource code type.
struct RCATTYPE {
  TESSEL_RCATTYPE_MEMBERS(TESSEL_DECLARE_MEMBER)
  std::u16string column_key;  // the key of its column in the resource catalog, set by linking

  static std::span<const member_desc> members();
};

#define TESSEL_RSRCRCAT_MEMBERS(X)              \
  X(rsrc_id, id, s_unsigned_long)               \
  X(rsrc_catg_type_id, id, s_unsigned_long)     \
  X(rsrc_catg_id, id, s_unsigned_long)

// A resource code assigned to a resource.
struct RSRCRCAT {
  TESSEL_RSRCRCAT_MEMBERS(TESSEL_DECLARE_MEMBER)

  RSRC* rsrc = nullptr;
  RCATVAL* code = nullptr;

  static std::span<const member_desc> members();
};

#define TESSEL_UDFTYPE_MEMBERS(X)                               \
  X(udf_type_id, id, s_unsigned_long)                           \
  X(table_name, text, s_string)                                 \
  X(udf_type_name, text, s_string)                              \
  X(udf_type_label, text, s_string)                             \
  X(logical_data_type, enumeration, s_logical_data_type)        \
  X(super_flag, flag, s_bool)                                   \
  X(indicator_expression, text, s_string)                       \
  X(summary_indicator_expression, text, s_string)

// A user-defined field type.
struct UDFTYPE {
  TESSEL_UDFTYPE_MEMBERS(TESSEL_DECLARE_MEMBER)
  static std::span<const member_desc> members();
};

#define TESSEL_UDFVALUE_MEMBERS(X)              \
  X(udf_type_id, id, s_unsigned_long)           \
  X(fk_id, id, s_unsigned_long)                 \
  X(proj_id, id, s_unsigned_long)               \
  X(udf_date, date, s_date)                     \
  X(udf_text, text, s_string)                   \
  X(udf_number, number, s_double)               \
  X(udf_code_id, id, s_unsigned_long)

// A user-defined field's value for one record (fk_id).
struct UDFVALUE {
  TESSEL_UDFVALUE_MEMBERS(TESSEL_DECLARE_MEMBER)

  UDFTYPE* type = nullptr;

  static std::span<const member_desc> members();
};

}  // namespace tessel::document
