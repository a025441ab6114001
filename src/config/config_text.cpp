#include "config/config_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>
#include <system_error>

namespace tessel::view::config_text {

namespace {

bool is_blank(char16_t c) { return c == u' ' || c == u'\t'; }
bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

int64_t leading_integer(std::u16string_view v) {
  std::size_t i = 0;
  while (i < v.size() && is_blank(v[i])) ++i;
  bool negative = false;
  if (i < v.size() && (v[i] == u'+' || v[i] == u'-')) negative = v[i++] == u'-';
  constexpr int64_t cap = std::numeric_limits<int64_t>::max() / 10 - 10;
  int64_t n = 0;
  for (; i < v.size() && is_digit(v[i]); ++i) {
    if (n < cap) n = n * 10 + (v[i] - u'0');
  }
  return negative ? -n : n;
}

uint32_t leading_color(std::u16string_view text) {
  return static_cast<uint32_t>(static_cast<uint64_t>(leading_integer(text)) & 0xFFFFFFFFu);
}

int32_t leading_int32(std::u16string_view text) {
  const int64_t n = leading_integer(text);
  if (n > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (n < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(n);
}

double leading_double(std::u16string_view v) {
  std::size_t i = 0;
  while (i < v.size() && is_blank(v[i])) ++i;
  // The longest prefix of number characters, narrowed; from_chars then takes
  // what of it forms a number (and ignores a leading '+' only when we drop it).
  std::string digits;
  if (i < v.size() && (v[i] == u'+' || v[i] == u'-')) {
    if (v[i] == u'-') digits.push_back('-');
    ++i;
  }
  for (; i < v.size() && digits.size() < 64; ++i) {
    const char16_t c = v[i];
    if (is_digit(c) || c == u'.' || c == u'e' || c == u'E' || c == u'+' || c == u'-')
      digits.push_back(static_cast<char>(c));
    else
      break;
  }
  double d = 0.0;
  const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), d);
  if (r.ec != std::errc()) return 0.0;
  return d;
}

std::u16string widen(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char b : bytes) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(b)));
  return out;
}

std::string narrow(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

bool read_pieces(const std::filesystem::path& file,
                 const std::function<void(std::u16string_view, std::u16string_view)>& each) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::u16string wide = widen(line);
    std::u16string_view rest = wide;
    while (true) {
      const std::size_t tab = rest.find(u'\t');
      const std::u16string_view piece = rest.substr(0, tab);
      const std::size_t colon = piece.find(u':');
      if (colon != std::u16string_view::npos && colon > 0)
        each(piece.substr(0, colon), piece.substr(colon + 1));
      if (tab == std::u16string_view::npos) break;
      rest = rest.substr(tab + 1);
    }
  }
  return true;
}

bool write_file(const std::filesystem::path& file, std::string_view text) {
  // The temporary file lies beside the target, so that the rename stays on
  // one file system and swaps the files in one step; its name carries the
  // process id and O_EXCL keeps two running programs from sharing it.
  std::filesystem::path tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = file;
    tmp += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST && errno != EINTR) return false;  // folder not writable
  }
  if (fd < 0) return false;
  bool ok = true;
  for (std::string_view rest = text; ok && !rest.empty();) {
    const ssize_t n = ::write(fd, rest.data(), rest.size());
    if (n < 0) {
      ok = errno == EINTR;
      continue;
    }
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  // The data reaches the disk before the name points at it: after a crash
  // the old file or the complete new one is found, never a short one.
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok || ::rename(tmp.c_str(), file.c_str()) != 0) {
    ::unlink(tmp.c_str());
    return false;
  }
  return true;
}

std::string float_text(float value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  if (r.ec != std::errc()) return "0";
  return std::string(buf, r.ptr);
}

}  // namespace tessel::view::config_text
