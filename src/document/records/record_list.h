// An ordered list of records whose addresses never change: records refer to
// each other by plain pointers, so a record, once appended, stays where it
// is until the list is cleared. Records live in chunks, never one heap block
// per record. A table is read whole, so a bulk fill of an empty list knows
// its count and gets one chunk of exactly that many records; a list grown
// record by record starts with a chunk of 8 and each further chunk holds
// twice as many as the one before, so finding record i stays a compare and
// a few bit operations, and a table of a few records costs a few records'
// memory (an activity record is over 2 KB). Chunks of several megabytes ask
// the system for large memory pages over their whole large pages only: a
// large page a chunk fills only in part would be resident all the same.
#pragma once

#include <array>
#include <bit>
#include <compare>
#include <cstddef>
#include <cstdlib>
#include <iterator>
#include <new>
#include <type_traits>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tessel::document {

namespace record_list_detail {

constexpr size_t large_page = size_t{2} << 20;
constexpr size_t large_chunk = size_t{2} << 20;

// Memory for one chunk: small chunks come from the ordinary heap; large ones
// are aligned to large pages, which the system is asked to use when the
// chunk will be filled (`filled`): a large page is resident as a whole from
// its first touch, and a growing list's last chunk is mostly empty.
inline void* allocate(size_t bytes, size_t align, bool filled) {
  if (bytes < large_chunk) return ::operator new(bytes, std::align_val_t(align));
  const size_t rounded = (bytes + large_page - 1) / large_page * large_page;
  void* p = std::aligned_alloc(large_page, rounded);
  if (!p) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (const size_t whole = bytes / large_page * large_page; filled && whole) ::madvise(p, whole, MADV_HUGEPAGE);
#endif
  return p;
}

inline void release(void* p, size_t bytes, size_t align) {
  if (bytes < large_chunk)
    ::operator delete(p, std::align_val_t(align));
  else
    std::free(p);
}

}  // namespace record_list_detail

template <class T, size_t ChunkSize = 8>
class record_list {
 public:
  static_assert(std::has_single_bit(ChunkSize), "the first chunk holds a power of two records");
  static constexpr size_t first_chunk = ChunkSize;

  record_list() { chunks_.fill(nullptr); }
  record_list(const record_list&) = delete;
  record_list& operator=(const record_list&) = delete;
  record_list(record_list&& o) noexcept : chunks_(o.chunks_), size_(o.size_), first_(o.first_) {
    o.chunks_.fill(nullptr);
    o.size_ = 0;
    o.first_ = 0;
  }
  record_list& operator=(record_list&& o) noexcept {
    if (this != &o) {
      clear();
      chunks_ = o.chunks_;
      size_ = o.size_;
      first_ = o.first_;
      o.chunks_.fill(nullptr);
      o.size_ = 0;
      o.first_ = 0;
    }
    return *this;
  }
  ~record_list() { clear(); }

  // Appends a new record built from `args` and answers it. Without `args`
  // the record is default-initialised: every record member has its own
  // initialiser, and zeroing a 2 KB record first would only cost time.
  template <class... Args>
  T& emplace_back(Args&&... args) {
    if (first_ == 0) first_ = ChunkSize;
    const place at = locate(size_);
    if (!chunks_[at.chunk]) chunks_[at.chunk] = allocate_chunk(at.chunk);
    T* p = chunks_[at.chunk] + at.slot;
    if constexpr (sizeof...(Args) == 0)
      ::new (static_cast<void*>(p)) T;
    else
      ::new (static_cast<void*>(p)) T(std::forward<Args>(args)...);
    ++size_;
    return *p;
  }
  T& push_back(const T& r) { return emplace_back(r); }
  T& push_back(T&& r) { return emplace_back(std::move(r)); }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // Filling many records at once, possibly from several threads: make room
  // for `n` more records, construct each of them in place through
  // `slot(size() + k)` (any thread, each slot once), then `commit(n)`.
  void reserve_back(size_t n) {
    if (n == 0) return;
    if (first_ == 0) first_ = n;
    for (size_t k = locate(size_).chunk, last = locate(size_ + n - 1).chunk; k <= last; ++k)
      if (!chunks_[k]) chunks_[k] = allocate_chunk(k);
  }
  void* slot(size_t i) {
    const place at = locate(i);
    return chunks_[at.chunk] + at.slot;
  }
  void commit(size_t n) { size_ += n; }

  T& operator[](size_t i) {
    const place at = locate(i);
    return chunks_[at.chunk][at.slot];
  }
  const T& operator[](size_t i) const {
    const place at = locate(i);
    return chunks_[at.chunk][at.slot];
  }
  T& front() { return (*this)[0]; }
  const T& front() const { return (*this)[0]; }
  T& back() { return (*this)[size_ - 1]; }
  const T& back() const { return (*this)[size_ - 1]; }

  // Destroys the records first to last and releases the chunks.
  void clear() {
    for (size_t i = 0; i < size_; ++i) (*this)[i].~T();
    for (size_t k = 0; k < chunks_.size(); ++k) {
      if (chunks_[k]) record_list_detail::release(chunks_[k], chunk_bytes(k), alignof(T));
      chunks_[k] = nullptr;
    }
    size_ = 0;
    first_ = 0;
  }

  template <class List, class V>
  class iter {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::remove_const_t<V>;
    using difference_type = std::ptrdiff_t;
    using pointer = V*;
    using reference = V&;

    iter() = default;
    iter(List* l, size_t i) : list_(l), i_(i) {}
    reference operator*() const { return (*list_)[i_]; }
    pointer operator->() const { return &(*list_)[i_]; }
    reference operator[](difference_type n) const { return (*list_)[i_ + n]; }
    iter& operator++() { ++i_; return *this; }
    iter operator++(int) { iter t = *this; ++i_; return t; }
    iter& operator--() { --i_; return *this; }
    iter operator--(int) { iter t = *this; --i_; return t; }
    iter& operator+=(difference_type n) { i_ += n; return *this; }
    iter& operator-=(difference_type n) { i_ -= n; return *this; }
    friend iter operator+(iter a, difference_type n) { return a += n; }
    friend iter operator+(difference_type n, iter a) { return a += n; }
    friend iter operator-(iter a, difference_type n) { return a -= n; }
    friend difference_type operator-(const iter& a, const iter& b) {
      return static_cast<difference_type>(a.i_) - static_cast<difference_type>(b.i_);
    }
    friend bool operator==(const iter& a, const iter& b) { return a.i_ == b.i_; }
    friend auto operator<=>(const iter& a, const iter& b) { return a.i_ <=> b.i_; }

   private:
    List* list_ = nullptr;
    size_t i_ = 0;
  };
  using iterator = iter<record_list, T>;
  using const_iterator = iter<const record_list, const T>;

  iterator begin() { return {this, 0}; }
  iterator end() { return {this, size_}; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size_}; }

 private:
  struct place {
    size_t chunk;
    size_t slot;
  };
  static constexpr int first_shift = std::countr_zero(ChunkSize);
  // Chunk 0 holds first_ records; chunk k >= 1 holds ChunkSize << (k - 1)
  // records and starts at record first_ + ChunkSize * (2^(k-1) - 1).
  place locate(size_t i) const {
    if (i < first_) return {0, i};
    const size_t j = i - first_ + ChunkSize;
    const size_t k = static_cast<size_t>(std::bit_width(j)) - 1 - first_shift;
    return {k + 1, j - (ChunkSize << k)};
  }
  size_t chunk_bytes(size_t k) const { return sizeof(T) * (k == 0 ? first_ : ChunkSize << (k - 1)); }
  T* allocate_chunk(size_t k) const {
    // Only the first chunk is sized to what is put in it (a table read whole).
    return static_cast<T*>(record_list_detail::allocate(chunk_bytes(k), alignof(T), k == 0));
  }

  std::array<T*, 41> chunks_;
  size_t size_ = 0;
  size_t first_ = 0;  // records in chunk 0; 0 until the first chunk is made
};

}  // namespace tessel::document
