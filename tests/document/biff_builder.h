// Workbook files assembled byte by byte for the workbook tests: BIFF8
// records, a workbook stream with its sheet list, and the compound file that
// holds it.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace biff_builder {

struct bytes : std::string {
  bytes& u8(unsigned v) { return push_back(char(v & 0xFF)), *this; }
  bytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
  bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  bytes& f64(double v) {
    uint64_t b;
    std::memcpy(&b, &v, 8);
    return u32(uint32_t(b)).u32(uint32_t(b >> 32));
  }
  bytes& text(std::string_view s) { return append(s), *this; }
};

inline std::string rec(uint16_t type, const std::string& data) { return bytes().u16(type).u16(unsigned(data.size())) + data; }
inline std::string bof(unsigned kind, unsigned version = 0x0600) { return rec(0x0809, bytes().u16(version).u16(kind).u32(0).u32(0).u32(0)); }
inline std::string dims(uint32_t rows, unsigned cols) { return rec(0x0200, bytes().u32(0).u32(rows).u16(0).u16(cols).u16(0)); }
inline std::string number(unsigned r, unsigned c, double v, unsigned xf = 0) { return rec(0x0203, bytes().u16(r).u16(c).u16(xf).f64(v)); }
inline std::string rk(unsigned r, unsigned c, uint32_t v) { return rec(0x027E, bytes().u16(r).u16(c).u16(0).u32(v)); }
inline std::string label(unsigned r, unsigned c, std::string_view latin1) {
  return rec(0x0204, bytes().u16(r).u16(c).u16(0).u16(unsigned(latin1.size())).u8(0).text(latin1));
}
inline std::string shared(unsigned r, unsigned c, uint32_t index) { return rec(0x00FD, bytes().u16(r).u16(c).u16(0).u32(index)); }
inline std::string format(unsigned index, std::string_view f) { return rec(0x041E, bytes().u16(index).u16(unsigned(f.size())).u8(0).text(f)); }
inline std::string xf(unsigned fmt) { return rec(0x00E0, bytes().u16(0).u16(fmt) + std::string(16, '\0')); }

// A workbook stream: the workbook's records, a sheet list, then each sheet's
// records between its begin and end records.
inline std::string stream(const std::string& globals, const std::vector<std::pair<std::string, std::string>>& sheets) {
  std::string s = bof(0x0005) + globals;
  std::vector<size_t> offsets;
  for (const auto& [name, body] : sheets) {
    offsets.push_back(s.size() + 4);
    s += rec(0x0085, bytes().u32(0).u8(0).u8(0).u8(unsigned(name.size())).u8(0).text(name));
  }
  s += rec(0x000A, "");
  for (size_t i = 0; i < sheets.size(); ++i) {
    const std::string at = bytes().u32(uint32_t(s.size()));
    s.replace(offsets[i], 4, at);
    s += bof(0x0010) + sheets[i].second + rec(0x000A, "");
  }
  return s;
}

// A compound file of 512-byte sectors: FAT in sector 0, directory in 1, the
// workbook stream (at least 4096 bytes, so outside the mini stream) after.
inline constexpr size_t fat_at = 512, dir_at = 1024;
inline std::string compound(std::string s) {
  s.resize(std::max<size_t>(s.size(), 4096));
  const uint32_t size = uint32_t(s.size());
  s.resize((s.size() + 511) / 512 * 512);
  const uint32_t n = uint32_t(s.size() / 512);
  bytes f;
  f.text("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1").text(std::string(16, '\0')).u16(0x3E).u16(3).u16(0xFFFE).u16(9).u16(6);
  f.text(std::string(10, '\0')).u32(1).u32(1).u32(0).u32(4096).u32(0xFFFFFFFE).u32(0).u32(0xFFFFFFFE).u32(0).u32(0);
  while (f.size() < 512) f.u32(0xFFFFFFFF);
  f.u32(0xFFFFFFFD).u32(0xFFFFFFFE);
  for (uint32_t i = 0; i < n; ++i) f.u32(i + 1 < n ? i + 3 : 0xFFFFFFFE);
  while (f.size() < 1024) f.u32(0xFFFFFFFF);
  auto entry = [&](std::u16string_view name, unsigned type, uint32_t child, uint32_t start, uint32_t bytes_) {
    const size_t at = f.size();
    for (char16_t c : name) f.u16(c);
    f.resize(at + 64, '\0');
    f.u16(unsigned(name.size() + 1) * 2).u8(type).u8(1).u32(0xFFFFFFFF).u32(0xFFFFFFFF).u32(child);
    f.resize(at + 116, '\0');
    f.u32(start).u32(bytes_).u32(0);
  };
  entry(u"Root Entry", 5, 1, 0xFFFFFFFE, 0);
  entry(u"Workbook", 2, 0xFFFFFFFF, 2, size);
  f.resize(1536, '\0');
  return f + s;
}

// A workbook stream without records of the workbook's own.
inline std::string stream(const std::vector<std::pair<std::string, std::string>>& sheets) { return stream("", sheets); }

// A sheet read back as one text: its name, then each row's cells joined by
// "|" on a line of its own, so that a whole sheet compares at once.
template <class Sheet>
std::u16string sheet_text(const Sheet& s) {
  std::u16string out(s.name().begin(), s.name().end());
  for (uint32_t r = 0; r < s.row_count(); ++r) {
    out += u'\n';
    for (uint32_t c = 0; c < s.column_count(); ++c) (out += c ? u"|" : u"") += s.cell(r, c);
  }
  return out;
}

}  // namespace biff_builder
