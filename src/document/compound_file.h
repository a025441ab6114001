// A structural check of a compound file (the container of an Excel 97-2003
// workbook) before the workbook library is allowed to read it. The library
// trusts the container: a sector number past the end of the file, a chain
// that loops, a directory tree that points back at itself or a stream that
// claims more bytes than its chain holds makes it read outside its buffers or
// never finish. Every such file is refused here instead.
#pragma once

#include <cstdint>
#include <string_view>

namespace tessel::document {

// Whether `bytes` (the whole file) is a sound compound file holding a
// workbook stream: a valid header; FAT, DIFAT, mini FAT and directory
// chains that stay inside the file, end, and never share a sector; a
// directory tree without cycles; and streams whose chains cover their
// sizes. The sheets of the workbook stream may together claim at most
// `max_cells` cells in their dimension records (the library allocates every
// claimed cell up front). Never reads outside `bytes`; time linear in its
// size.
bool compound_file_sound(std::string_view bytes, uint64_t max_cells);

}  // namespace tessel::document
