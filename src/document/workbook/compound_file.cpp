#include "document/workbook/compound_file.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <cstring>
#include <vector>

namespace tessel::document {

namespace {

constexpr uint32_t end_of_chain = 0xFFFFFFFEu;
constexpr uint32_t no_stream = 0xFFFFFFFFu;
constexpr size_t header_difat = 109;
constexpr size_t entry_size = 128;

uint16_t u16(std::string_view b, size_t at) {
  return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}
uint32_t u32(std::string_view b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}

class checker {
 public:
  checker(std::string_view b, std::string& stream) : b_(b), stream_(stream) {}

  bool run() {
    if (!header()) return false;
    if (!fat()) return false;
    std::vector<uint32_t> dir;
    if (!chain(dir_start_, fat_, used_, dir) || dir.empty()) return false;
    return directory(dir);
  }

 private:
  bool header() {
    static const unsigned char sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (b_.size() < 512 || std::memcmp(b_.data(), sig, 8) != 0) return false;
    if (u16(b_, 28) != 0xFFFE || u16(b_, 32) != 6 || u32(b_, 56) != 4096) return false;
    const uint16_t major = u16(b_, 26), shift = u16(b_, 30);
    if (!((major == 3 && shift == 9) || (major == 4 && shift == 12))) return false;
    ss_ = size_t(1) << shift;
    if (b_.size() < 2 * ss_) return false;
    // Only whole sectors after the header sector can be named.
    sectors_ = (b_.size() - ss_) / ss_;
    if (sectors_ >= end_of_chain - 4) return false;
    fat_sectors_ = u32(b_, 44);
    dir_start_ = u32(b_, 48);
    minifat_start_ = u32(b_, 60);
    minifat_sectors_ = u32(b_, 64);
    difat_start_ = u32(b_, 68);
    difat_sectors_ = u32(b_, 72);
    return fat_sectors_ > 0 && fat_sectors_ <= sectors_ && difat_sectors_ <= sectors_ && minifat_sectors_ <= sectors_;
  }

  std::string_view sector(uint32_t n) const { return b_.substr((size_t(n) + 1) * ss_, ss_); }

  // Claims sector n for one structure: in the file and not claimed before.
  bool claim(uint32_t n, std::vector<char>& used) const {
    if (n >= used.size() || used[n]) return false;
    used[n] = 1;
    return true;
  }

  // The FAT sectors, through the header's list and the DIFAT chain, and the
  // FAT they hold.
  bool fat() {
    used_.assign(sectors_, 0);
    std::vector<uint32_t> fat_list;
    for (size_t i = 0; i < header_difat && fat_list.size() < fat_sectors_; ++i) fat_list.push_back(u32(b_, 76 + 4 * i));
    const size_t per = ss_ / 4 - 1;
    uint32_t d = difat_start_;
    for (uint32_t k = 0; fat_list.size() < fat_sectors_; ++k) {
      if (k >= difat_sectors_ || !claim(d, used_)) return false;
      const std::string_view s = sector(d);
      for (size_t i = 0; i < per && fat_list.size() < fat_sectors_; ++i) fat_list.push_back(u32(s, 4 * i));
      d = u32(s, 4 * per);
    }
    fat_.reserve(fat_list.size() * (ss_ / 4));
    for (uint32_t f : fat_list) {
      if (!claim(f, used_)) return false;
      const std::string_view s = sector(f);
      for (size_t i = 0; i < ss_ / 4; ++i) fat_.push_back(u32(s, 4 * i));
    }
    return true;
  }

  // Follows a chain from `start` through `table` to its end mark: every link
  // names an unclaimed sector of `used`, so a chain can neither loop nor run
  // into another structure.
  static bool chain(uint32_t start, const std::vector<uint32_t>& table, std::vector<char>& used,
                    std::vector<uint32_t>& out) {
    out.clear();
    for (uint32_t s = start; s != end_of_chain;) {
      if (s >= table.size() || s >= used.size() || used[s]) return false;
      used[s] = 1;
      out.push_back(s);
      s = table[s];
    }
    return true;
  }

  bool directory(const std::vector<uint32_t>& dir) {
    const size_t per = ss_ / entry_size;
    const size_t count = dir.size() * per;
    auto entry = [&](size_t i) { return sector(dir[i / per]).substr((i % per) * entry_size, entry_size); };

    const std::string_view root = entry(0);
    if (root[66] != 5) return false;

    // The mini stream lives in the root's chain, the mini FAT in its own.
    std::vector<uint32_t> mini_stream, minifat_chain;
    const uint32_t mini_size = u32(root, 120);
    if (mini_size > 0 && !covers(root, fat_, used_, mini_stream, ss_)) return false;
    if (minifat_sectors_ > 0 && !chain(minifat_start_, fat_, used_, minifat_chain)) return false;
    std::vector<uint32_t> minifat;
    for (uint32_t m : minifat_chain) {
      const std::string_view s = sector(m);
      for (size_t i = 0; i < ss_ / 4; ++i) minifat.push_back(u32(s, 4 * i));
    }
    std::vector<char> mini_used(mini_stream.size() * (ss_ / 64), 0);

    bool workbook = false;
    const size_t mini_per = ss_ / 64;
    for (size_t i = 0; i < count; ++i) {
      const std::string_view e = entry(i);
      const uint8_t type = uint8_t(e[66]);
      if (type == 0) continue;
      if (type != 1 && type != 2 && type != 5) return false;
      if (type == 5 && i != 0) return false;
      const uint16_t name_bytes = u16(e, 64);
      if (name_bytes > 64 || name_bytes % 2 != 0) return false;
      for (size_t at : {size_t(68), size_t(72), size_t(76)}) {
        const uint32_t id = u32(e, at);
        if (id != no_stream && id >= count) return false;
      }
      if (type != 2) continue;
      std::vector<uint32_t> sectors;
      const uint32_t size = u32(e, 120);
      if (size == 0) continue;
      if (size < 4096) {
        if (!covers(e, minifat, mini_used, sectors, 64)) return false;
      } else if (!covers(e, fat_, used_, sectors, ss_)) {
        return false;
      }
      if (is_named(e, u"Workbook") || is_named(e, u"Book")) {
        if (workbook) return false;  // two workbooks in one file: neither is the file's
        workbook = true;
        stream_.clear();
        stream_.reserve(size);
        for (uint32_t s : sectors) {
          if (size < 4096) {
            const uint32_t m = s / uint32_t(mini_per);
            stream_.append(sector(mini_stream[m]).substr((s % mini_per) * 64, 64));
          } else {
            stream_.append(sector(s));
          }
        }
        stream_.resize(size);
      }
    }
    return workbook && tree_sound(count, entry);
  }

  // The entry's chain holds at least its size in units of `unit` bytes.
  static bool covers(std::string_view e, const std::vector<uint32_t>& table, std::vector<char>& used,
                     std::vector<uint32_t>& sectors, size_t unit) {
    return chain(u32(e, 116), table, used, sectors) && uint64_t(sectors.size()) * unit >= u32(e, 120);
  }

  static bool is_named(std::string_view e, std::u16string_view name) {
    if (u16(e, 64) != (name.size() + 1) * 2) return false;
    for (size_t i = 0; i < name.size(); ++i)
      if (u16(e, 2 * i) != name[i]) return false;
    return true;
  }

  // Every entry reached from the root, through children and siblings, is
  // reached once: the tree has no cycle and no shared node.
  template <class Entry>
  static bool tree_sound(size_t count, const Entry& entry) {
    std::vector<char> seen(count, 0);
    std::vector<uint32_t> todo{0};
    seen[0] = 1;
    while (!todo.empty()) {
      const std::string_view e = entry(todo.back());
      todo.pop_back();
      for (size_t at : {size_t(68), size_t(72), size_t(76)}) {
        const uint32_t id = u32(e, at);
        if (id == no_stream) continue;
        if (seen[id]) return false;
        seen[id] = 1;
        todo.push_back(id);
      }
    }
    return true;
  }

  std::string_view b_;
  std::string& stream_;
  size_t ss_ = 512;
  size_t sectors_ = 0;
  uint32_t fat_sectors_ = 0, dir_start_ = 0, minifat_start_ = 0, minifat_sectors_ = 0;
  uint32_t difat_start_ = 0, difat_sectors_ = 0;
  std::vector<uint32_t> fat_;
  std::vector<char> used_;
};

}  // namespace

bool workbook_stream(std::string_view file, std::string& stream) {
  if (checker(file, stream).run()) return true;
  stream.clear();
  return false;
}

}  // namespace tessel::document
