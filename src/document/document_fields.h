// What a document adds to the field catalogs (user-defined fields, code
// types) and the ties between code values, code assignments and user field
// values that those fields are answered from.
#pragma once

#include <cstdint>
#include <string>

#include "document/records/id_index.h"
#include "document/records/record_lists.h"

namespace tessel::document {

// The id every record carries as its first member.
template <typename Record>
uint32_t first_id(Record& r) {
  return static_cast<const s_unsigned_long&>(Record::members()[0].get(&r)).value;
}

// An index of a list by its records' own ids: the first record of each id.
template <typename Record, typename List>
id_index<Record> index_of(List& list) {
  id_index<Record> idx;
  idx.build(list, [](Record& r) { return first_id(r); });
  return idx;
}

// A number as its decimal text ("user_field_" + decimal_text(12)).
std::u16string decimal_text(uint32_t n);

// Registers a catalog field for every user-defined field type of an
// activity, WBS element, project or resource, and for every activity,
// project and resource code type (which also keeps its column key).
void register_document_fields(record_lists& doc);

// Ties code values to their code type and parent code, code assignments to
// their owner and code value, and user field values to their type.
void link_codes(record_lists& doc);

}  // namespace tessel::document
