// What the fuzz targets share: a path that reads back a given byte buffer,
// for the readers that only take a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessel::fuzz {

// One in-memory file for the whole run, rewritten with each input; its
// path is valid until the process ends.
class memory_file {
 public:
  memory_file();
  // Replaces the contents and answers the path that reads them.
  const std::string& write(const uint8_t* data, size_t size);
  const std::string& path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

}  // namespace tessel::fuzz
