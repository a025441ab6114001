// The character encodings an XER export's text can be written in, how a
// file's encoding is recognised, and the decoding of its text cells.
//
// An export is written in the code page of the machine that made it:
// Western exports in Windows-1252, Cyrillic ones in 1251, Arabic in 1256,
// Chinese in GBK, recent ones in UTF-8. Nothing in the file says which, so
// the bytes decide (detect_encoding) and the user can choose another.
//
// Decoding never fails: a byte or sequence that means nothing in the
// encoding becomes U+FFFD and decoding goes on with the next byte, so the
// rest of a cell is always kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessel::document {

enum class text_encoding : uint8_t {
  windows_1250,
  windows_1251,
  windows_1252,
  windows_1253,
  windows_1254,
  windows_1255,
  windows_1256,
  windows_1257,
  windows_1258,
  gbk,
  big5,
  shift_jis,
  utf8,
  latin1,
};

struct encoding_info {
  text_encoding encoding;
  std::string_view name;             // stable name for files and command lines ("windows-1251")
  std::u16string_view display_name;  // for menus ("Cyrillic (Windows-1251)")
};

// Every encoding a file can be read in, in menu order.
std::span<const encoding_info> offered_encodings();
const encoding_info& info_of(text_encoding e);
inline std::string_view name_of(text_encoding e) { return info_of(e).name; }

// The encoding a name stands for: the stable names and the usual other
// spellings ("cp1251", "1251", "UTF8", "latin-1", "sjis", "cp936"),
// compared without regard to case, '-' or '_'. None for anything else.
std::optional<text_encoding> encoding_by_name(std::string_view name);

// 3 when the bytes start with the UTF-8 byte-order mark, else 0.
size_t utf8_bom_length(std::string_view bytes);

// The encoding a file's bytes are most likely written in: UTF-8 when every
// byte above 0x7F belongs to a well-formed UTF-8 sequence and there is at
// least one such sequence; Windows-1252 otherwise (plain ASCII included).
// One pass, stopping at the first byte that UTF-8 cannot hold.
text_encoding detect_encoding(std::string_view bytes);

// Turns the bytes of text cells into UTF-16 in one encoding. Cheap to copy;
// the tables it reads are built once per process and shared, so one decoder
// may be used by several threads at once.
class text_decoder {
 public:
  // Latin-1: every byte the character of the same code.
  text_decoder() = default;
  // An encoding whose tables the system cannot provide falls back to
  // Windows-1252; encoding() then says so.
  explicit text_decoder(text_encoding e);

  text_encoding encoding() const { return encoding_; }

  // Replaces `out` with the text of `bytes`.
  void decode(std::string_view bytes, std::u16string& out) const;
  std::u16string decode(std::string_view bytes) const {
    std::u16string out;
    decode(bytes, out);
    return out;
  }

  struct double_byte_map;  // lead and trail bytes of GBK, Big5, Shift-JIS

 private:
  enum class method : uint8_t { latin1, single_byte, utf8, double_byte };

  text_encoding encoding_ = text_encoding::latin1;
  method method_ = method::latin1;
  const char16_t* high_ = nullptr;           // single_byte: the characters of bytes 0x80 to 0xFF
  const double_byte_map* pairs_ = nullptr;  // double_byte
};

}  // namespace tessel::document
