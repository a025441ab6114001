// Recognising and decoding the text of XER exports.
//
// Decoding works from tables: 128 characters for the upper half of a
// single-byte code page, and for the double-byte code pages which bytes
// lead a pair and what each pair means. The system's converter (iconv)
// fills them once per process and encoding; after that decoding is a plain
// lookup that needs no locks and no per-call set-up, and that handles every
// invalid byte the same way in every encoding. Windows-1252, which every
// file without UTF-8 falls back to, is built in so that the usual case never
// depends on the system's converter modules.
#include "document/xer/text_encoding.h"

#include <errno.h>
#include <iconv.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <array>
#include <cstring>
#include <memory>
#include <mutex>

namespace tessel::document {

namespace {

constexpr encoding_info kEncodings[] = {
    {text_encoding::windows_1250, "windows-1250", u"Central European (Windows-1250)"},
    {text_encoding::windows_1251, "windows-1251", u"Cyrillic (Windows-1251)"},
    {text_encoding::windows_1252, "windows-1252", u"Western European (Windows-1252)"},
    {text_encoding::windows_1253, "windows-1253", u"Greek (Windows-1253)"},
    {text_encoding::windows_1254, "windows-1254", u"Turkish (Windows-1254)"},
    {text_encoding::windows_1255, "windows-1255", u"Hebrew (Windows-1255)"},
    {text_encoding::windows_1256, "windows-1256", u"Arabic (Windows-1256)"},
    {text_encoding::windows_1257, "windows-1257", u"Baltic (Windows-1257)"},
    {text_encoding::windows_1258, "windows-1258", u"Vietnamese (Windows-1258)"},
    {text_encoding::gbk, "gbk", u"Chinese Simplified (GBK)"},
    {text_encoding::big5, "big5", u"Chinese Traditional (Big5)"},
    {text_encoding::shift_jis, "shift_jis", u"Japanese (Shift-JIS)"},
    {text_encoding::utf8, "utf-8", u"Unicode (UTF-8)"},
    {text_encoding::latin1, "iso-8859-1", u"Latin-1 (ISO 8859-1)"},
};
constexpr size_t kEncodingCount = sizeof kEncodings / sizeof kEncodings[0];

// Other spellings, written as the comparison sees them (lower case, no
// '-', '_' or blanks).
struct alias {
  std::string_view key;
  text_encoding encoding;
};
constexpr alias kAliases[] = {
    {"utf8", text_encoding::utf8},          {"latin1", text_encoding::latin1},
    {"iso88591", text_encoding::latin1},    {"l1", text_encoding::latin1},
    {"cp936", text_encoding::gbk},          {"gb2312", text_encoding::gbk},
    {"cp950", text_encoding::big5},         {"cp932", text_encoding::shift_jis},
    {"sjis", text_encoding::shift_jis},     {"windows31j", text_encoding::shift_jis},
    {"shiftjis", text_encoding::shift_jis},
};

std::string squeeze(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == '-' || c == '_' || c == ' ') continue;
    out += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  }
  return out;
}

// Upper half of Windows-1252. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their Latin-1 meaning, as Windows
// itself reads them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const std::array<char16_t, 128>& windows_1252_table() {
  static const std::array<char16_t, 128> table = [] {
    std::array<char16_t, 128> t{};
    for (size_t i = 0; i < 128; ++i) t[i] = i < 32 ? kWindows1252High[i] : char16_t(0x80 + i);
    return t;
  }();
  return table;
}

// ---------------------------------------------------------------- iconv

// The system converter's names for an encoding, best first: the Windows
// forms of the double-byte code pages carry the vendor characters that
// exports from Windows machines hold.
std::array<const char*, 2> converter_names(text_encoding e) {
  switch (e) {
    case text_encoding::windows_1250: return {"CP1250", nullptr};
    case text_encoding::windows_1251: return {"CP1251", nullptr};
    case text_encoding::windows_1252: return {"CP1252", nullptr};
    case text_encoding::windows_1253: return {"CP1253", nullptr};
    case text_encoding::windows_1254: return {"CP1254", nullptr};
    case text_encoding::windows_1255: return {"CP1255", nullptr};
    case text_encoding::windows_1256: return {"CP1256", nullptr};
    case text_encoding::windows_1257: return {"CP1257", nullptr};
    case text_encoding::windows_1258: return {"CP1258", nullptr};
    case text_encoding::gbk: return {"CP936", "GBK"};
    case text_encoding::big5: return {"CP950", "BIG5"};
    case text_encoding::shift_jis: return {"CP932", "SHIFT_JIS"};
    default: return {nullptr, nullptr};
  }
}

class converter {
 public:
  explicit converter(text_encoding e) {
    for (const char* name : converter_names(e)) {
      if (!name) break;
      cd_ = ::iconv_open("UTF-16LE", name);
      if (ok()) break;
    }
  }
  ~converter() {
    if (ok()) ::iconv_close(cd_);
  }
  converter(const converter&) = delete;
  converter& operator=(const converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // The single UTF-16 unit that `n` bytes convert to, or 0 when they
  // convert to anything else; `incomplete` tells a sequence that needs
  // more bytes from one that is invalid.
  char16_t one(const unsigned char* bytes, size_t n, bool* incomplete = nullptr) {
    ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char in[4];
    std::memcpy(in, bytes, n);
    char* ip = in;
    size_t il = n;
    char out[16];
    char* op = out;
    size_t ol = sizeof out;
    if (incomplete) *incomplete = false;
    if (::iconv(cd_, &ip, &il, &op, &ol) == size_t(-1)) {
      if (incomplete) *incomplete = errno == EINVAL;
      return 0;
    }
    // Hebrew and Vietnamese hold a letter back until they know whether a
    // combining mark follows; this lets it out.
    if (::iconv(cd_, nullptr, nullptr, &op, &ol) == size_t(-1)) return 0;
    if (op - out != 2) return 0;
    return char16_t(static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8));
  }

 private:
  iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
};

// Built once per encoding; never rebuilt, so the pointers handed out stay
// valid for the life of the process.
template <class T>
struct table_cache {
  std::once_flag once[kEncodingCount];
  std::unique_ptr<T> tables[kEncodingCount];

  template <class Build>
  const T* get(text_encoding e, Build build) {
    const auto i = static_cast<size_t>(e);
    std::call_once(once[i], [&] { tables[i] = build(e); });
    return tables[i].get();
  }
};

std::unique_ptr<std::array<char16_t, 128>> build_single_byte(text_encoding e) {
  converter conv(e);
  if (!conv.ok()) return nullptr;
  auto t = std::make_unique<std::array<char16_t, 128>>();
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    const char16_t c = conv.one(&byte, 1);
    // A byte the code page leaves undefined keeps its Latin-1 meaning.
    (*t)[b - 0x80] = c ? c : char16_t(b);
  }
  return t;
}

}  // namespace

struct text_decoder::double_byte_map {
  char16_t single[128];      // byte 0x80 + i on its own; 0 when it leads a pair or means nothing
  bool lead[128];            // byte 0x80 + i starts a pair
  char16_t pair[128][192];   // [lead - 0x80][trail - 0x40]; 0 when the pair means nothing
};

namespace {

std::unique_ptr<text_decoder::double_byte_map> build_double_byte(text_encoding e) {
  converter conv(e);
  if (!conv.ok()) return nullptr;
  auto m = std::make_unique<text_decoder::double_byte_map>();
  std::memset(m.get(), 0, sizeof *m);
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    const unsigned char seq0 = static_cast<unsigned char>(b);
    bool incomplete = false;
    m->single[b - 0x80] = conv.one(&seq0, 1, &incomplete);
    if (!incomplete) continue;
    m->lead[b - 0x80] = true;
    for (unsigned t = 0x40; t <= 0xFF; ++t) {
      const unsigned char seq[2] = {seq0, static_cast<unsigned char>(t)};
      m->pair[b - 0x80][t - 0x40] = conv.one(seq, 2);
    }
  }
  // Windows reads 0x80 of its GBK as the euro sign; some converters leave
  // it out.
  if (e == text_encoding::gbk && !m->lead[0] && !m->single[0]) m->single[0] = 0x20AC;
  return m;
}

const char16_t* single_byte_table(text_encoding e) {
  if (e == text_encoding::windows_1252) return windows_1252_table().data();
  static table_cache<std::array<char16_t, 128>> cache;
  const auto* t = cache.get(e, build_single_byte);
  return t ? t->data() : nullptr;
}

const text_decoder::double_byte_map* double_byte_table(text_encoding e) {
  static table_cache<text_decoder::double_byte_map> cache;
  return cache.get(e, build_double_byte);
}

// ---------------------------------------------------------------- UTF-8

// One step of reading UTF-8 at a byte above 0x7F: either a well-formed
// sequence of `length` bytes, or `length` bytes (at least one) that form the
// longest start of a sequence that cannot be completed and so stand for one
// replacement character.
struct utf8_step {
  uint32_t length;
  bool valid;
};

inline utf8_step utf8_at(const unsigned char* p, const unsigned char* end) {
  const unsigned b = p[0];
  uint32_t need;
  unsigned lo = 0x80, hi = 0xBF;  // the range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    need = 1;
  } else if (b >= 0xE0 && b <= 0xEF) {
    need = 2;
    if (b == 0xE0) lo = 0xA0;  // no overlong forms
    if (b == 0xED) hi = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    need = 3;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return {1, false};
  }
  for (uint32_t k = 1; k <= need; ++k) {
    if (p + k >= end || p[k] < lo || p[k] > hi) return {k, false};
    lo = 0x80;
    hi = 0xBF;
  }
  return {need + 1, true};
}

// The first byte at or after `p` that is above 0x7F, or `end`.
inline const unsigned char* skip_ascii(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
  while (end - p >= 64) {
    const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)));
    const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32)),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48)));
    if (_mm_movemask_epi8(_mm_or_si128(a, b))) break;
    p += 64;
  }
  while (end - p >= 16) {
    const int m = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    if (m) return p + __builtin_ctz(unsigned(m));
    p += 16;
  }
#else
  while (end - p >= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (w & 0x8080808080808080ull) break;
    p += 8;
  }
#endif
  while (p < end && *p < 0x80) ++p;
  return p;
}

// Copies the ASCII start of `s` into `d`, one character per byte; answers
// how many bytes that was.
inline size_t widen_ascii(const unsigned char* s, size_t n, char16_t* d) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    if (_mm_movemask_epi8(v)) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 8), _mm_unpackhi_epi8(v, zero));
  }
#endif
  for (; i < n && s[i] < 0x80; ++i) d[i] = s[i];
  return i;
}

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

// ---------------------------------------------------------------- public

std::span<const encoding_info> offered_encodings() { return kEncodings; }

const encoding_info& info_of(text_encoding e) {
  const auto i = static_cast<size_t>(e);
  return kEncodings[i < kEncodingCount ? i : static_cast<size_t>(text_encoding::latin1)];
}

std::optional<text_encoding> encoding_by_name(std::string_view name) {
  const std::string key = squeeze(name);
  if (key.empty()) return std::nullopt;
  for (const encoding_info& e : kEncodings) {
    const std::string own = squeeze(e.name);
    // "windows-1251", "cp1251" and "1251" all name the code page.
    if (key == own) return e.encoding;
    if (own.compare(0, 7, "windows") == 0 && (key == own.substr(7) || key == "cp" + own.substr(7))) return e.encoding;
  }
  for (const alias& a : kAliases)
    if (key == a.key) return a.encoding;
  return std::nullopt;
}

size_t utf8_bom_length(std::string_view bytes) {
  return bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
}

text_encoding detect_encoding(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  bool seen = false;
  for (;;) {
    p = skip_ascii(p, end);
    if (p == end) break;
    const utf8_step s = utf8_at(p, end);
    if (!s.valid) return text_encoding::windows_1252;
    seen = true;
    p += s.length;
  }
  return seen ? text_encoding::utf8 : text_encoding::windows_1252;
}

text_decoder::text_decoder(text_encoding e) : encoding_(e) {
  switch (e) {
    case text_encoding::latin1:
      method_ = method::latin1;
      return;
    case text_encoding::utf8:
      method_ = method::utf8;
      return;
    case text_encoding::gbk:
    case text_encoding::big5:
    case text_encoding::shift_jis:
      pairs_ = double_byte_table(e);
      method_ = method::double_byte;
      break;
    default:
      high_ = single_byte_table(e);
      method_ = method::single_byte;
      break;
  }
  if (!high_ && !pairs_) {
    encoding_ = text_encoding::windows_1252;
    method_ = method::single_byte;
    high_ = single_byte_table(encoding_);
  }
}

void text_decoder::decode(std::string_view bytes, std::u16string& out) const {
  // No encoding here makes more UTF-16 units than it reads bytes, so the
  // text fits the byte count and is cut to its length at the end.
  const size_t n = bytes.size();
  out.resize(n);
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  char16_t* d = out.data();
  if (method_ == method::latin1) {
    for (size_t i = 0; i < n; ++i) d[i] = s[i];
    return;
  }
  size_t i = widen_ascii(s, n, d);
  if (i == n) return;
  size_t o = i;
  // Editors leave a UTF-8 byte-order mark at the start of memo texts, even
  // in files of another code page; it is never part of the text.
  if (i == 0 && utf8_bom_length(bytes)) i = 3;
  switch (method_) {
    case method::single_byte:
      for (; i < n; ++i) d[o++] = s[i] < 0x80 ? char16_t(s[i]) : high_[s[i] - 0x80];
      break;
    case method::utf8:
      while (i < n) {
        if (s[i] < 0x80) {
          d[o++] = s[i++];
          continue;
        }
        const utf8_step st = utf8_at(s + i, s + n);
        if (!st.valid) {
          d[o++] = kReplacement;
          i += st.length;
          continue;
        }
        const unsigned char* q = s + i;
        char32_t c;
        if (st.length == 2) {
          c = char32_t(q[0] & 0x1F) << 6 | (q[1] & 0x3F);
        } else if (st.length == 3) {
          c = char32_t(q[0] & 0x0F) << 12 | char32_t(q[1] & 0x3F) << 6 | (q[2] & 0x3F);
        } else {
          c = char32_t(q[0] & 0x07) << 18 | char32_t(q[1] & 0x3F) << 12 | char32_t(q[2] & 0x3F) << 6 | (q[3] & 0x3F);
        }
        if (c >= 0x10000) {
          c -= 0x10000;
          d[o++] = char16_t(0xD800 + (c >> 10));
          d[o++] = char16_t(0xDC00 + (c & 0x3FF));
        } else {
          d[o++] = char16_t(c);
        }
        i += st.length;
      }
      break;
    case method::double_byte:
      while (i < n) {
        const unsigned b = s[i];
        if (b < 0x80) {
          d[o++] = char16_t(b);
          ++i;
        } else if (const char16_t one = pairs_->single[b - 0x80]) {
          d[o++] = one;
          ++i;
        } else if (pairs_->lead[b - 0x80] && i + 1 < n && s[i + 1] >= 0x40 &&
                   pairs_->pair[b - 0x80][s[i + 1] - 0x40]) {
          d[o++] = pairs_->pair[b - 0x80][s[i + 1] - 0x40];
          i += 2;
        } else {
          // The next byte is read afresh: a broken pair never takes an
          // ASCII character with it.
          d[o++] = kReplacement;
          ++i;
        }
      }
      break;
    case method::latin1:
      break;
  }
  out.resize(o);
}

}  // namespace tessel::document
