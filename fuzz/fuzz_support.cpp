#include "fuzz_support.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace tessel::fuzz {

memory_file::memory_file() {
  fd_ = ::memfd_create("tessel-fuzz", MFD_CLOEXEC);
  if (fd_ < 0) {
    std::perror("memfd_create");
    std::abort();
  }
  path_ = "/proc/self/fd/" + std::to_string(fd_);
}

const std::string& memory_file::write(const uint8_t* data, size_t size) {
  if (::ftruncate(fd_, 0) != 0) std::abort();
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd_, data + done, size - done, off_t(done));
    if (n <= 0) std::abort();
    done += size_t(n);
  }
  return path_;
}

}  // namespace tessel::fuzz
