// The XML parts of a workbook read as a stream of elements straight from
// their ZIP entry, never held whole. Element and attribute names arrive
// without their namespace prefix ("x:row" is "row"): writers differ in the
// prefixes they choose, never in the local names. A part that declares a
// document type is refused before its first element: a workbook never has
// one, and it is the door to entity expansion.
#pragma once

#include <string>
#include <string_view>

namespace tessel::document {

class zip_container;

class xml_handler {
 public:
  virtual ~xml_handler() = default;
  // `attributes` are name/value pairs ending in a null name.
  virtual void start(std::string_view name, const char** attributes) = 0;
  virtual void end(std::string_view name) = 0;
  virtual void text(std::string_view) {}

  // Set by a handler to stop the part's reading and refuse the workbook.
  std::u16string refusal;
};

// Reads the entry `part` of `zip` through `handler`. False, with the reason
// in `why`, when the entry cannot be read, is not well-formed, declares a
// document type or the handler refused.
bool read_xml_part(zip_container& zip, std::string_view part, xml_handler& handler, std::u16string& why);

// The name without its namespace prefix.
inline std::string_view local_name(std::string_view name) {
  const size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}
// The value of the attribute whose local name is `name`, or null.
const char* attribute(const char** attributes, std::string_view name);

// Appends UTF-8 text (as the parser hands it: valid) as UTF-16. A workbook
// writes a character XML cannot hold as "_xHHHH_" (its code in hex), and an
// underscore that would read as one as "_x005F_"; those are turned back.
void append_cell_text(std::u16string& out, std::string_view utf8);

}  // namespace tessel::document
