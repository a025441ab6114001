// Number-to-text building blocks shared by the value types. All of them are
// independent of the process locale: a host that switches the C locale (a GUI
// toolkit does) must not turn "2.5" into "2,5".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessel::num_text {

// The general format with six significant digits, as "%g" writes it:
// trailing zeros dropped, exponent form for very large or small numbers.
// Negative zero is written "0".
std::string general6(double x);

// A whole number (the caller has already rounded or truncated it) written
// in decimal without separators; "-" for negatives. Works beyond the range
// of 64-bit integers.
std::string whole(double w);

// `digits` with `sep` before every group of three, counted from the right.
// Anything that is not a plain run of digits is returned unchanged.
std::u16string grouped(std::string_view digits, std::u16string_view sep);

inline void append_ascii(std::u16string& out, std::string_view s) {
  out.reserve(out.size() + s.size());
  for (char c : s) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

inline std::u16string widen(std::string_view s) {
  std::u16string out;
  append_ascii(out, s);
  return out;
}

// Appends `v` (0 or more) in decimal, padded with zeros to `width` digits.
void append_uint(std::u16string& out, uint64_t v, int width = 1);

}  // namespace tessel::num_text
