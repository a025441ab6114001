#include "values/value_sets.h"

#include <array>
#include <atomic>
#include <cstring>
#include <initializer_list>
#include <mutex>
#include <unordered_map>

namespace tessel {

namespace {

// Factor sets compare by their bits, so that even a set holding a NaN finds
// itself again.
bool same(const period_factors& a, const period_factors& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool same(const money_symbols& a, const money_symbols& b) { return a == b; }

// Index keys: the same bits for factors; each text behind its length for
// symbols, so that no two sets share a key whatever their texts hold.
std::u16string key_of(const period_factors& f) {
  std::u16string k(sizeof f / sizeof(char16_t), u'\0');
  std::memcpy(k.data(), &f, sizeof f);
  return k;
}
std::u16string key_of(const money_symbols& s) {
  std::u16string k;
  for (const std::u16string* t : {&s.decimal, &s.group, &s.currency}) {
    const uint64_t n = t->size();
    k.append({char16_t(n), char16_t(n >> 16), char16_t(n >> 32), char16_t(n >> 48)});
    k.append(*t);
  }
  return k;
}

// Entries sit in chunks that are made on first use and never move or
// change, so reading one needs no lock: a number is handed out only after
// its entry is in place, and the value holding the number reaches another
// thread only through whatever hands that thread the value.
template <class T, size_t Capacity>
class set_table {
 public:
  set_table(std::initializer_list<T> first) {
    for (const T& t : first) add(t);
  }

  const T& at(size_t id) const {
    return chunks_[id / chunk].load(std::memory_order_acquire)[id % chunk];
  }

  // The number of a set equal to `value`, added when new; 0 (the defaults)
  // when the table is full.
  size_t find_or_add(const T& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (auto it = index_.find(key_of(value)); it != index_.end()) return it->second;
    return count_ < Capacity ? add(value) : 0;
  }

 private:
  static constexpr size_t chunk = Capacity < 256 ? Capacity : 256;

  size_t add(const T& value) {
    const size_t id = count_;
    T* c = chunks_[id / chunk].load(std::memory_order_relaxed);
    if (!c) {
      c = new T[chunk];  // lives as long as the process, like every entry
      chunks_[id / chunk].store(c, std::memory_order_release);
    }
    c[id % chunk] = value;
    index_.emplace(key_of(value), id);
    ++count_;
    return id;
  }

  std::array<std::atomic<T*>, (Capacity + chunk - 1) / chunk> chunks_{};
  std::mutex mutex_;
  std::unordered_map<std::u16string, size_t> index_;
  size_t count_ = 0;
};

using factors_table = set_table<period_factors, 65535>;
using symbols_table = set_table<money_symbols, 255>;

// Number 0 of each table is its defaults; symbols 1 are a workbook's.
factors_table& table_of(const period_factors*) {
  static factors_table* const t = new factors_table{period_factors{}};
  return *t;
}
symbols_table& table_of(const money_symbols*) {
  static symbols_table* const t = new symbols_table{money_symbols{}, money_symbols{u".", u",", u"$"}};
  return *t;
}
template <class Set>
auto& sets_of() {
  return table_of(static_cast<const Set*>(nullptr));
}

// What one thread looked up lately, by the address it was given: loading
// assigns the same calendar's set to every duration of an activity, so
// nearly every assignment is answered here, without the lock. The address
// alone proves nothing (a freed calendar's memory is reused), so a hit
// also compares the set.
template <class T, class Table>
size_t cached_id(const T* p, Table& table) {
  struct slot {
    const T* from = nullptr;
    size_t id = 0;
  };
  thread_local std::array<slot, 16> cache{};
  slot& s = cache[(reinterpret_cast<uintptr_t>(p) >> 5) % cache.size()];
  if (s.from == p && same(table.at(s.id), *p)) return s.id;
  s = {p, table.find_or_add(*p)};
  return s.id;
}

}  // namespace

const period_factors* default_period_factors() { return &sets_of<period_factors>().at(0); }
const money_symbols* no_money_symbols() { return &sets_of<money_symbols>().at(0); }
const money_symbols* workbook_money_symbols() { return &sets_of<money_symbols>().at(1); }

template <class Set, class Id>
set_ref<Set, Id>::set_ref(const Set* s) : id_(s ? static_cast<Id>(cached_id(s, sets_of<Set>())) : 0) {}
template <class Set, class Id>
const Set* set_ref<Set, Id>::get() const {
  return &sets_of<Set>().at(id_);
}

template class set_ref<period_factors, uint16_t>;
template class set_ref<money_symbols, uint8_t>;

}  // namespace tessel
