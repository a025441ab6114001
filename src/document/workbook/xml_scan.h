// The worksheet parts and the shared strings read by a scanner of their own
// rather than the general XML parser: they are most of a workbook's bytes
// and the
// general parser's own cost, hashing every element and attribute name,
// would alone take longer than opening the same schedule as a binary
// workbook. The scanner reads the XML a worksheet is written in and no
// more: elements, attributes, text, the five predefined entities and
// character references, CDATA sections, comments and processing
// instructions. A document type is refused as the parser refuses it, and
// so is any other entity, an encoding other than UTF-8, and a tag or a run
// of text longer than a worksheet ever writes (`max_xml_token`), or
// elements nested deeper than it ever nests them (`max_xml_depth`).
#pragma once

#include <string>
#include <string_view>

namespace tessel::document {

class xml_handler;
class zip_container;

constexpr size_t max_xml_token = size_t(4) << 20;
// Worksheets nest their elements a few levels deep; each level open costs
// the scanner its name.
constexpr size_t max_xml_depth = 256;

// Reads the entry `part` of `zip` through `handler`, which sees local names
// and decoded text and attribute values as with read_xml_part. False, with
// the reason in `why`, when the entry cannot be read or scanned or the
// handler refused.
bool scan_xml_part(zip_container& zip, std::string_view part, xml_handler& handler, std::u16string& why);

// The same over the bytes of a whole part, handed over `chunk` bytes at a
// time as the container would (for tests).
bool scan_xml_text(std::string_view xml, std::string_view part, xml_handler& handler, std::u16string& why,
                   size_t chunk = size_t(-1));

// Turns entity and character references in `raw` into their characters
// (UTF-8), appended to `out`. False at a reference that is not one of
// those.
bool decode_references(std::string_view raw, std::string& out);

}  // namespace tessel::document
