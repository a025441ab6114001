// Small text helpers shared by the layout reader and the column files: the
// leading-number conversions every number in those files is read with, and
// the key-and-value pieces of the column files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tessel::view::config_text {

// The text's leading decimal integer: leading blanks skipped, an optional
// sign, then digits up to the first non-digit. No digits give 0; a number
// out of range is held at the nearest 64-bit value.
int64_t leading_integer(std::u16string_view text);

// The leading integer as a 32-bit colour: the low 32 bits, so that colours
// written as unsigned decimals (4278190080 for opaque black) and as signed
// ones (-16777216) both read as the same colour.
uint32_t leading_color(std::u16string_view text);

// The leading integer held within the 32-bit signed range.
int32_t leading_int32(std::u16string_view text);

// The text's leading decimal number (blanks, sign, digits, a point and
// digits, an exponent). Independent of the process locale. No number gives 0.
double leading_double(std::u16string_view text);

// Widens bytes one to one (each byte becomes the character of the same
// number, as Latin-1 does).
std::u16string widen(std::string_view bytes);
// Narrows text that is ASCII; other characters become '?'.
std::string narrow(std::u16string_view text);

// Reads a key-and-value file: lines, split further at tabs; each piece is
// split at its first colon into key and value. Pieces without a colon, or
// whose colon comes first, are skipped. Answers false when the file cannot
// be opened.
bool read_pieces(const std::filesystem::path& file,
                 const std::function<void(std::u16string_view key, std::u16string_view value)>& each);

// Replaces `file` with `text`, through a temporary file renamed over it, so
// that the file is always either the old one or the whole new one. Answers
// whether it worked.
bool write_file(const std::filesystem::path& file, std::string_view text);

// The shortest text that reads back as the same float ("100", "87.5").
std::string float_text(float value);

}  // namespace tessel::view::config_text
