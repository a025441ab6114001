#include "document/document_fields.h"

#include <cstdint>

#include "catalog/field_catalog.h"

namespace tessel::document {
namespace {

using catalog::catalog_kind;

// The catalog value type a user field shows its values with, by the field
// type's logical data type (start date, end date, text, float with two
// decimals, money, integer, static type).
uint32_t user_field_value_type(int32_t logical_type) {
  switch (logical_type) {
    case 0:
    case 1: return catalog::value_types::date;
    case 3: return catalog::value_types::number;
    case 4: return catalog::value_types::cost;
    case 5: return catalog::value_types::integer;
    case 6: return catalog::value_types::static_user_field;
    default: return catalog::value_types::text;
  }
}

bool user_field_owner(const std::u16string& table, catalog_kind& kind, uint32_t& entity) {
  if (table == u"TASK") {
    kind = catalog_kind::activity;
    entity = catalog::entities::activity;
  } else if (table == u"PROJWBS") {
    kind = catalog_kind::wbs;
    entity = catalog::entities::wbs;
  } else if (table == u"PROJECT") {
    kind = catalog_kind::project;
    entity = catalog::entities::project;
  } else if (table == u"RSRC") {
    kind = catalog_kind::resource;
    entity = catalog::entities::resource;
  } else {
    return false;
  }
  return true;
}

// "actv_code_" + the type's name in lower case with spaces as underscores
// + "_id": a type named Responsible Area gives actv_code_responsible_area_id.
std::u16string code_key(std::u16string_view prefix, const std::u16string& type_name) {
  std::u16string key(prefix);
  for (char16_t c : type_name) {
    if (c == u' ') c = u'_';
    else if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    key += c;
  }
  key += u"_id";
  return key;
}

// A type's field id is its own id above the range's base. An id so large
// that the sum passes the top of the id space would wrap round into the
// built-in range: such a type gets no field.
bool field_id_of(uint32_t type_id, uint32_t base, uint32_t& id) {
  if (type_id > UINT32_MAX - base) return false;
  id = type_id + base;
  return true;
}

void register_code(catalog_kind kind, uint32_t entity, uint32_t type_id, uint32_t base, const std::u16string& key,
                   const std::u16string& caption) {
  uint32_t id;
  if (!field_id_of(type_id, base, id)) return;
  catalog::field_spec fields;
  fields.caption = caption;
  fields.field_id = id;
  fields.persistent_id = id;
  fields.value_type = catalog::value_types::text;
  fields.entity = entity;
  fields.available = true;
  fields.key = key;
  catalog::catalogs().register_field(kind, std::move(fields));
}

}  // namespace

std::u16string decimal_text(uint32_t n) {
  std::u16string s;
  do {
    s.insert(s.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n);
  return s;
}

void register_document_fields(record_lists& doc) {
  auto& cats = catalog::catalogs();
  for (UDFTYPE& u : doc.udftype) {
    catalog_kind kind;
    uint32_t entity;
    uint32_t id;
    if (!user_field_owner(u.table_name.value, kind, entity) ||
        !field_id_of(u.udf_type_id.value, catalog::user_field_base, id))
      continue;
    catalog::field_spec fields;
    fields.caption = u.udf_type_label.value;
    fields.field_id = id;
    fields.persistent_id = id;
    fields.value_type = user_field_value_type(u.logical_data_type.code);
    fields.entity = entity;
    fields.available = true;
    fields.key = u"user_field_" + decimal_text(u.udf_type_id.value);
    fields.workbook_column = fields.key;
    cats.register_field(kind, std::move(fields));
  }
  for (ACTVTYPE& t : doc.actvtype) {
    t.column_key = code_key(u"actv_code_", t.actv_code_type.value);
    register_code(catalog_kind::activity, catalog::entities::activity,
                  t.actv_code_type_id.value, catalog::activity_code_base, t.column_key, t.actv_code_type.value);
  }
  for (PCATTYPE& t : doc.pcattype) {
    t.column_key = code_key(u"proj_code_", t.proj_catg_type.value);
    register_code(catalog_kind::project, catalog::entities::project,
                  t.proj_catg_type_id.value, catalog::project_code_base, t.column_key, t.proj_catg_type.value);
  }
  for (RCATTYPE& t : doc.rcattype) {
    t.column_key = code_key(u"res_code_", t.rsrc_catg_type.value);
    register_code(catalog_kind::resource, catalog::entities::resource,
                  t.rsrc_catg_type_id.value, catalog::resource_code_base, t.column_key, t.rsrc_catg_type.value);
  }
}

}  // namespace tessel::document
