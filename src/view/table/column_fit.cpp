#include "view/table/column_fit.h"

#include <algorithm>
#include <string>

#include "values/s_scalars.h"

namespace tessel::view {
namespace {

// Texts measured exactly; the others are ranked by an estimate. Enough to
// cover the glyph-width spread between IDs of one length.
constexpr std::size_t measured_texts = 48;
// A little room for the text's rendering beyond its advance width.
constexpr float slack = 3.0f;

// A value's text length; a string's without copying it (IDs are strings,
// and this runs over every row of a large schedule).
std::size_t text_length(const s_val& v) {
  if (v.type() == val_type::string) return static_cast<const s_string&>(v).value.size();
  return v.text().size();
}

struct candidate {
  float estimate = 0.0f;
  float indent = 0.0f;
  const Row* row = nullptr;
};

}  // namespace

float cell_text_indent(const table_metrics& m, bool first_column, bool grouped, int depth) {
  if (!first_column) return m.px(5.0f);
  return static_cast<float>(grouped ? depth + 1 : depth) * m.px(table_indent_step);
}

float fitted_column_width(paint_surface& s, const table_metrics& m, const std::vector<Row*>& rows,
                          uint32_t field, bool first_column, bool grouped, std::u16string_view caption) {
  // The header text runs from 5 px in to 7 px before the edge (20 px when
  // the sort arrow shows; that is allowed to cover a long caption's end).
  float width = caption.empty() ? 0.0f : m.px(5.0f) + s.text_width(caption, m.header_style) + m.px(7.0f);
  const float char_estimate = static_cast<float>(m.cell_style.pixel_height) * 0.6f;
  std::vector<candidate> candidates;
  candidates.reserve(std::min(rows.size(), measured_texts * 4));
  for (const Row* r : rows) {
    if (r->is_group_row()) continue;
    const std::size_t length = text_length(r->field_value(field));
    if (length == 0) continue;
    const float indent = cell_text_indent(m, first_column, grouped, r->depth);
    candidates.push_back({indent + static_cast<float>(length) * char_estimate, indent, r});
    // Keep the list short: the best measured_texts of it are all that count.
    if (candidates.size() >= measured_texts * 4) {
      std::nth_element(candidates.begin(), candidates.begin() + measured_texts, candidates.end(),
                       [](const candidate& a, const candidate& b) { return a.estimate > b.estimate; });
      candidates.resize(measured_texts);
    }
  }
  std::sort(candidates.begin(), candidates.end(),
            [](const candidate& a, const candidate& b) { return a.estimate > b.estimate; });
  if (candidates.size() > measured_texts) candidates.resize(measured_texts);
  for (const candidate& c : candidates) {
    const std::u16string text = c.row->field_value(field).text();
    width = std::max(width, c.indent + s.text_width(text, m.cell_style) + m.px(5.0f) + m.px(slack));
  }
  return width;
}

}  // namespace tessel::view
