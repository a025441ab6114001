// Peak memory of opening schedules, against the limit of six times the
// file's size: each file is opened in a child process of its own and the
// growth of the child's peak resident memory over the open is printed.
// The child first opens a schedule of one activity and closes it again, so
// that what every open costs once per process (the program's code paged
// in, the catalogs, the second loading thread) is printed apart ("warm-up")
// and the figure for the file is what the file itself costs.
//
//   open_memory [FILE...]   (default: /tmp/x100k.xer and samples/demo.xer)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "document/io/open_limits.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<std::string> files(argv + 1, argv + argc);
  if (files.empty()) files = {"/tmp/x100k.xer", "samples/demo.xer"};
  // The warm-up schedule: one project, one WBS element, one activity.
  const std::string tiny = (fs::temp_directory_path() / ("tessel-warm-up-" + std::to_string(::getpid()) + ".xer")).string();
  {
    std::FILE* f = std::fopen(tiny.c_str(), "wb");
    if (!f) return 1;
    std::fputs("ERMHDR\t20.12\n%T\tPROJECT\n%F\tproj_id\tproj_short_name\n%R\t1\tP\n"
               "%T\tPROJWBS\n%F\twbs_id\tproj_id\tproj_node_flag\twbs_short_name\n%R\t1\t1\tY\tP\n"
               "%T\tTASK\n%F\ttask_id\tproj_id\twbs_id\ttask_code\n%R\t1\t1\t1\tA1\n%E\n",
               f);
    std::fclose(f);
  }
  std::printf("%-50s %12s %12s %7s %-7s %9s\n", "file", "bytes", "peak growth", "ratio", "opened", "warm-up");
  for (const std::string& file : files) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec) {
      std::printf("%-50s missing\n", file.c_str());
      continue;
    }
    int fds[2];
    if (::pipe(fds) != 0) return 1;
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(fds[0]);
      rusage start{}, before{}, after{};
      ::getrusage(RUSAGE_SELF, &start);
      {
        tessel::view::TesselDoc warm;
        warm.open(fs::path(tiny).u16string());
      }
      ::getrusage(RUSAGE_SELF, &before);
      tessel::view::TesselDoc doc;
      const long long opened = doc.open(fs::path(file).u16string());
      ::getrusage(RUSAGE_SELF, &after);
      const long long out[3] = {(after.ru_maxrss - before.ru_maxrss) * 1024LL, opened,
                                (before.ru_maxrss - start.ru_maxrss) * 1024LL};
      ::_exit(::write(fds[1], out, sizeof out) == ssize_t(sizeof out) ? 0 : 1);
    }
    ::close(fds[1]);
    long long got[3] = {-1, 0, -1};
    if (::read(fds[0], got, sizeof got) != ssize_t(sizeof got)) got[0] = -1;
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    std::printf("%-50s %12llu %12lld %7.2f %-7s %9lld\n", fs::path(file).filename().c_str(),
                (unsigned long long)size, got[0], double(got[0]) / double(size), got[1] ? "yes" : "refused", got[2]);
  }
  std::remove(tiny.c_str());
  std::printf("limit: %llu x the file's size\n", (unsigned long long)tessel::document::memory_factor);
  return 0;
}
