#include "values/num_text.h"

#include <charconv>
#include <cmath>

namespace tessel::num_text {

std::string general6(double x) {
  if (x == 0) x = 0.0;  // no "-0"
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 6);
  return std::string(buf, r.ptr);
}

std::string whole(double w) {
  char buf[400];  // the largest double has 309 digits
  if (w == 0) return "0";
  if (std::fabs(w) < 9.0e18) {
    auto r = std::to_chars(buf, buf + sizeof buf, static_cast<int64_t>(w));
    return std::string(buf, r.ptr);
  }
  auto r = std::to_chars(buf, buf + sizeof buf, w, std::chars_format::fixed, 0);
  return std::string(buf, r.ptr);
}

std::u16string grouped(std::string_view digits, std::u16string_view sep) {
  bool plain = !digits.empty();
  for (char c : digits) plain = plain && c >= '0' && c <= '9';
  std::u16string out;
  if (!plain || sep.empty()) {
    append_ascii(out, digits);
    return out;
  }
  out.reserve(digits.size() + digits.size() / 3 * sep.size());
  const size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    if (i != 0 && (n - i) % 3 == 0) out.append(sep);
    out.push_back(static_cast<char16_t>(digits[i]));
  }
  return out;
}

void append_uint(std::u16string& out, uint64_t v, int width) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  for (int pad = width - static_cast<int>(r.ptr - buf); pad > 0; --pad) out.push_back(u'0');
  append_ascii(out, std::string_view(buf, r.ptr - buf));
}

}  // namespace tessel::num_text
