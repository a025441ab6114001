#include "document/io/open_limits.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "document/io/path_text.h"

namespace tessel::document {

uint64_t available_memory() {
  FILE* f = std::fopen("/proc/meminfo", "r");
  if (!f) return 0;
  char line[256];
  unsigned long long kib = 0;
  bool found = false;
  while (!found && std::fgets(line, sizeof line, f)) {
    found = std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1;
  }
  std::fclose(f);
  return found ? uint64_t(kib) * 1024 : 0;
}

bool size_acceptable(uint64_t size, uint64_t available) {
  if (size > max_schedule_bytes) return false;
  return available == 0 || size <= available / memory_factor;
}

bool file_size_acceptable(const std::u16string& path) {
  struct stat st;
  if (::stat(narrow_path(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return true;
  return size_acceptable(uint64_t(st.st_size), available_memory());
}

bool records_acceptable(uint64_t record_bytes, uint64_t file_bytes, uint64_t available) {
  if (record_bytes > record_factor * file_bytes + record_allowance) return false;
  return available == 0 || record_bytes <= available;
}

}  // namespace tessel::document
