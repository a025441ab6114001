// The container of an Excel 97-2003 workbook: a compound file, a small file
// system of sectors chained through allocation tables, with a directory
// tree of named streams. The one stream wanted from it is the workbook
// stream; everything the container claims is checked before a byte of that
// stream is copied, so a damaged file is refused instead of read outside
// its bytes or followed around a loop.
#pragma once

#include <string>
#include <string_view>

namespace tessel::document {

// Copies the workbook stream ("Workbook", or "Book" in older files) of the
// compound file `file` (the whole file) into `stream`. Answers false (and
// leaves `stream` empty) unless the file is sound: a valid header; FAT,
// DIFAT, mini FAT and directory chains that stay inside the file, end, and
// never share a sector; a directory tree without cycles; streams whose
// chains cover their sizes; and exactly one workbook stream. Never reads
// outside `file`; time linear in its size.
bool workbook_stream(std::string_view file, std::string& stream);

}  // namespace tessel::document
