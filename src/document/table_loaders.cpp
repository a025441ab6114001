#include "document/table_loaders.h"

#include <concepts>
#include <new>
#include <thread>
#include <vector>

namespace tessel::document {

namespace {

template <class R>
concept has_special_columns = requires(std::u16string_view n) {
  { R::special_column(n) } -> std::same_as<cell_loader>;
};

template <class R>
concept has_finish_row = requires(R& r) { r.finish_row(); };

// The reader of each column of the table, by column index; none for a
// column the record does not read. A column name that occurs twice has a
// reader at both places: cells are read in order, so the later cell of a row
// gives the value, and a row too short to reach the later column keeps the
// earlier one.
template <class R>
std::vector<cell_loader> make_plan(const xer_table& table) {
  const auto& fields = table.fields();
  std::vector<cell_loader> plan(fields.size(), nullptr);
  const std::span<const member_desc> members = R::members();
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::u16string& name = fields[i]->name();
    const member_desc* m = find_member(members, name);
    if (m && m->kind != member_kind::derived) {
      plan[i] = m->load;
    } else if constexpr (has_special_columns<R>) {
      plan[i] = R::special_column(name);
    }
  }
  return plan;
}

template <class R>
void load_row(R& record, const std::vector<cell_loader>& plan, const xer_row& row, const text_decoder& text) {
  const size_t n = row.size() < plan.size() ? row.size() : plan.size();
  for (size_t i = 0; i < n; ++i)
    if (plan[i]) plan[i](&record, row.cell_bytes(i), text);
  if constexpr (has_finish_row<R>) record.finish_row();
}

// Tables this long are filled by two threads, each building the records of
// one half of the rows in their final places: the result is the same list,
// in the same order, as one thread would build, in about half the time
// (most of which is the system handing out fresh memory).
constexpr size_t kParallelRows = 16384;

template <class R>
void load_rows(record_list<R>& list, const xer_table& table) {
  const std::vector<cell_loader> plan = make_plan<R>(table);
  const auto& rows = table.rows();
  const text_decoder& text = table.decoder();
  const size_t first = list.size();
  list.reserve_back(rows.size());
  auto fill = [&](size_t from, size_t to) {
    for (size_t k = from; k < to; ++k) load_row(*::new (list.slot(first + k)) R, plan, rows[k], text);
  };
  const size_t half = rows.size() >= kParallelRows ? rows.size() / 2 : rows.size();
  std::thread second;
  if (half < rows.size()) second = std::thread(fill, half, rows.size());
  fill(0, half);
  if (second.joinable()) second.join();
  list.commit(rows.size());
}

}  // namespace

bool load_table(record_lists& lists, const xer_table& table) {
  const std::u16string& name = table.name();
#define TESSEL_LOAD_IF(TYPE, member)   \
  if (name == u"" #TYPE) {             \
    load_rows(lists.member, table);    \
    return true;                       \
  }
  TESSEL_RECORD_TABLES(TESSEL_LOAD_IF)
#undef TESSEL_LOAD_IF
  return false;
}

size_t record_count(const record_lists& lists, std::u16string_view name) {
#define TESSEL_COUNT_IF(TYPE, member) \
  if (name == u"" #TYPE) return lists.member.size();
  TESSEL_RECORD_TABLES(TESSEL_COUNT_IF)
#undef TESSEL_COUNT_IF
  return 0;
}

size_t record_size(std::u16string_view name) {
#define TESSEL_SIZE_IF(TYPE, member) \
  if (name == u"" #TYPE) return sizeof(TYPE);
  TESSEL_RECORD_TABLES(TESSEL_SIZE_IF)
#undef TESSEL_SIZE_IF
  return 0;
}

}  // namespace tessel::document
