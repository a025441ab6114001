// The ZIP container of an Excel 2007+ workbook (.xlsx): its entries found by
// name and read as a stream of chunks, never whole. A workbook is outside
// input, so its directory is checked before any entry is read: how many
// entries it has and what each claims to expand to, alone and against its
// compressed size. While an entry is read, it may not expand beyond what
// its directory entry claims.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tessel::document {

// What a workbook's container may hold.
constexpr uint64_t max_zip_entries = 10000;
constexpr uint64_t max_entry_bytes = uint64_t(1) << 30;
constexpr uint64_t max_entry_ratio = 200;

// Why an entry of `size` bytes stored in `compressed` bytes may not be read
// (empty when it may).
std::u16string entry_size_refusal(std::string_view name, uint64_t size, uint64_t compressed);

class zip_container {
 public:
  zip_container();
  ~zip_container();
  zip_container(const zip_container&) = delete;
  zip_container& operator=(const zip_container&) = delete;

  // Opens the container in the file at `path` (UTF-8), or in `bytes`, which
  // must outlive it, and checks its directory. False, with the reason in
  // refusal(), when it is no ZIP archive or its directory is out of bounds.
  bool open_file(const std::string& path);
  bool open_bytes(std::string_view bytes);

  // Whether an entry of this name (exact, as the directory spells it) exists.
  bool has(std::string_view name) const;
  // The uncompressed size the directory gives the entry, or 0.
  uint64_t size_of(std::string_view name) const;
  // The sum of what every entry claims to expand to.
  uint64_t total_size() const { return total_size_; }

  // Hands the entry's bytes to `chunk` piece by piece until the entry ends
  // or `chunk` answers false. False, with the reason in refusal(), when the
  // entry is missing, cannot be read or expands beyond its claimed size; a
  // stop asked by `chunk` is no failure.
  using chunk_sink = std::function<bool(std::string_view chunk, bool last)>;
  bool read(std::string_view name, const chunk_sink& chunk);

  const std::u16string& refusal() const { return refusal_; }

 private:
  bool check_directory();
  bool fail(std::u16string why);

  struct state;
  std::unique_ptr<state> state_;
  uint64_t total_size_ = 0;
  std::u16string refusal_;
};

}  // namespace tessel::document
