// How much a schedule file may ask of the machine. A file is read whole into
// memory and its records take a few times its size, so an open is refused
// before anything is read when the file is larger than any real export or
// would not fit in the memory the system has free, and a file whose rows
// would make far more record memory than its bytes justify is refused
// before its records are built. A refused file shows the usual refusal.
#pragma once

#include <cstdint>
#include <string>

namespace tessel::document {

// Ten times the largest real exports (a 100,000-activity export is 100 MB).
constexpr uint64_t max_schedule_bytes = uint64_t(1) << 30;
// An open may take this many times the file's size in memory.
constexpr uint64_t memory_factor = 6;
// Any file may take this much record memory, whatever its size: what a
// small schedule's records take beside the fixed cost of an open.
constexpr uint64_t record_allowance = uint64_t(4) << 20;
// Records may take this many times the file's size. Real exports make
// three to four and a half times their size in records (the rest of an
// open, its texts and indexes, brings it to at most six), so a file that
// asks for more is refused however valid its rows: that is what keeps every
// open within six times its file, and a file of near-empty rows, which asks
// for hundreds of times, is refused before a record is built.
constexpr uint64_t record_factor = 5;

// The memory the system can give without swapping, or 0 when unknown.
uint64_t available_memory();

// Whether a file of `size` bytes may be opened with `available` bytes of
// memory free (0: unknown, only the size cap applies).
bool size_acceptable(uint64_t size, uint64_t available);

// The same for the file at `path` by its size now; a file that cannot be
// examined passes (reading it will fail on its own).
bool file_size_acceptable(const std::u16string& path);

// Whether records taking `record_bytes` may be built from a file of
// `file_bytes` with `available` bytes of memory free (0: unknown).
bool records_acceptable(uint64_t record_bytes, uint64_t file_bytes, uint64_t available);

}  // namespace tessel::document
