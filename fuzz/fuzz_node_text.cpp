// Node text, the nested format of calendar data and layout files: the parser
// itself and the calendar built from it, with a few working-time questions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/calendars/calendar.h"
#include "document/xer/data_parser.h"

namespace {

// Walks the whole tree, as the readers do, without recursion.
size_t walk(const tessel::document::data_node& root) {
  std::vector<const tessel::document::data_node*> stack{&root};
  size_t seen = 0;
  while (!stack.empty()) {
    const auto* n = stack.back();
    stack.pop_back();
    seen += n->name().size() + n->props().size() + n->raw_text().size();
    for (const auto& c : n->children()) stack.push_back(&c);
  }
  return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessel::document;
  // Calendar data arrives as XER bytes, one byte a character.
  std::u16string text(size, u'\0');
  for (size_t i = 0; i < size; ++i) text[i] = data[i];
  if (auto root = data_parser::parse(text)) walk(*root);

  work_calendar cal;
  cal.build(text);
  // 2020-01-01 to 2020-03-01, a span that crosses any exception dated near it.
  const int64_t from = 1577836800, to = from + 60 * 86400;
  (void)cal.working_minutes(from, to);
  return 0;
}
