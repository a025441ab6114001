#include "document/schedule_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "document/document_xls.h"
#include "document/io/open_limits.h"
#include "document/io/path_text.h"

namespace tessel::document {
namespace {

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

schedule_format format_of_bytes(std::string_view head) {
  if (starts_with(head, "\xEF\xBB\xBF")) head.remove_prefix(3);
  if (starts_with(head, "ERMHDR")) {
    // The header word stands alone: "ERMHDRX" is not a schedule.
    if (head.size() == 6) return schedule_format::xer;
    const char c = head[6];
    if (c == '\t' || c == '\n' || c == '\r') return schedule_format::xer;
    return schedule_format::none;
  }
  if (starts_with(head, "\xD0\xCF\x11\xE0")) return schedule_format::xls;
  if (starts_with(head, "PK\x03\x04")) return schedule_format::xlsx;
  return schedule_format::none;
}

schedule_format sniff_schedule(const std::u16string& path, std::u16string* refusal) {
  auto refuse = [&](const char16_t* why) {
    if (refusal) *refusal = why;
    return schedule_format::none;
  };
  const std::string name = narrow_path(path);
  struct stat st;
  if (::stat(name.c_str(), &st) != 0) {
    if (errno == EACCES) return refuse(u"You have no permission to read this file.");
    return refuse(u"The file does not exist.");
  }
  if (S_ISDIR(st.st_mode)) return refuse(u"This is a folder, not a file.");
  if (!S_ISREG(st.st_mode)) return refuse(u"This is not a regular file.");
  if (st.st_size == 0) return refuse(u"The file is empty.");
  // A file too large to hold is refused before a byte of it is read.
  if (!file_size_acceptable(path)) return refuse(u"The file is larger than the memory this computer has free.");
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == EACCES) return refuse(u"You have no permission to read this file.");
    return refuse(u"The file could not be read.");
  }
  char head[16];
  ssize_t got;
  do {
    got = ::read(fd, head, sizeof head);
  } while (got < 0 && errno == EINTR);
  ::close(fd);
  if (got <= 0) return refuse(u"The file could not be read.");
  const schedule_format format = format_of_bytes(std::string_view(head, size_t(got)));
  if (format == schedule_format::none)
    return refuse(u"The file is not a schedule export (it does not start with ERMHDR).");
  return format;
}

opened_file open_schedule(const std::u16string& path, std::optional<text_encoding> encoding,
                          const std::function<void()>& prepare) {
  opened_file out;
  out.format = sniff_schedule(path, &out.refusal);
  switch (out.format) {
    case schedule_format::xer:
      out.document = std::make_unique<Document_xer>(encoding);
      break;
    case schedule_format::xls:
      out.document = std::make_unique<Document_xls>();
      break;
    case schedule_format::xlsx:
      out.document = std::make_unique<Document_xls>(workbook_kind::xlsx);
      break;
    case schedule_format::none:
      return out;
  }
  if (prepare) prepare();
  out.complete = out.document->load(path);
  if (out.document->refused()) {
    // Nothing was built from it: there is no schedule rather than an empty one.
    out.complete = false;
    out.refusal = out.document->refusal_reason().empty() ? u"The file could not be read as a schedule."
                                                         : out.document->refusal_reason();
    out.document.reset();
  }
  return out;
}

}  // namespace tessel::document
