#include "view/details/detail_view.h"

#include <algorithm>
#include <cmath>

#include "view/details/detail_form.h"
#include "view/display_scale.h"

namespace tessel::view {
namespace {

// Unscaled measures of the tab strip.
constexpr float strip_height = 30.0f;  // the strip, down to its base line
constexpr float tab_top = 5.0f;        // a tab's top edge
constexpr float tab_left = 6.0f;       // the first tab's left edge
constexpr float tab_padding = 14.0f;   // name to the tab's sides
constexpr float tab_min_width = 64.0f;
constexpr float tab_gap = 2.0f;
constexpr float accent_height = 3.0f;  // the current tab's coloured top edge

constexpr uint32_t tab_fill = rgb(240, 240, 240);
constexpr uint32_t tab_outline = rgb(190, 190, 190);
constexpr uint32_t current_outline = rgb(122, 122, 122);
constexpr uint32_t accent = rgb(51, 153, 255);
constexpr uint32_t white = rgb(255, 255, 255);

}  // namespace

DetailView::DetailView(std::vector<std::u16string> tabs, View* followed)
    : tabs_(std::move(tabs)), current_(u"General"), followed_(followed) {}

float DetailView::stripHeight() { return std::round(strip_height * display_scale()); }

bool DetailView::setCurrentTab(std::u16string_view name) {
  if (std::find(tabs_.begin(), tabs_.end(), name) == tabs_.end()) return false;
  current_.assign(name);
  return true;
}

int DetailView::childPaneIndex() const {
  if (current_ == u"Predecessors") return 0;
  if (current_ == u"Successors") return 1;
  if (current_ == u"Codes") return 2;
  if (current_ == u"Steps") return 3;
  return -1;
}

const Row* DetailView::shownRow() const {
  if (!followed_) return nullptr;
  const Row* row = followed_->selectedRow();
  if (!row || row->is_group_row() || row->is_root_row()) return nullptr;
  return row;
}

void DetailView::draw(const rect_f& r) {
  paint_surface* surface = dc_.surface;
  // Without a schedule the pane stays white, as every pane does.
  if (!surface || !followed_ || !followed_->document() || !followed_->layout()) {
    tab_rects_.clear();
    return;
  }
  const point_f origin{r.x - static_cast<float>(dc_.scroll_x), r.y - static_cast<float>(dc_.scroll_y)};
  draw_strip(*surface, origin, r.w);
  drawContents(*surface, {origin.x, origin.y + stripHeight()});
}

void DetailView::drawContents(paint_surface&, point_f) const {}

void DetailView::draw_strip(paint_surface& surface, point_f origin, float pane_width) {
  const float s = display_scale();
  const text_style style = form_text_style();
  const float base = origin.y + stripHeight();
  tab_rects_.clear();
  tab_rects_.reserve(tabs_.size());
  float x = std::round(tab_left * s);
  const float top = std::round(tab_top * s);
  rect_f current_rect;
  for (const std::u16string& name : tabs_) {
    const float text_w = surface.text_width(name, style);
    const float w = std::round(std::max(tab_min_width * s, text_w + 2 * tab_padding * s));
    const rect_f tab{x, top, w, stripHeight() - top};  // content coordinates
    tab_rects_.push_back(tab);
    const rect_f on_screen{origin.x + tab.x, origin.y + tab.y, tab.w, tab.h};
    const bool current = name == current_;
    if (current) current_rect = on_screen;
    surface.fill_rect(on_screen, current ? white : tab_fill);
    const uint32_t edge = current ? current_outline : tab_outline;
    surface.line({on_screen.x, on_screen.bottom()}, {on_screen.x, on_screen.y}, edge, 1.0f);
    surface.line({on_screen.x, on_screen.y}, {on_screen.right(), on_screen.y}, edge, 1.0f);
    surface.line({on_screen.right(), on_screen.y}, {on_screen.right(), on_screen.bottom()}, edge, 1.0f);
    if (current) surface.fill_rect({on_screen.x, on_screen.y, on_screen.w, std::round(accent_height * s)}, accent);
    surface.text({on_screen.x + (w - text_w) / 2, on_screen.y, text_w + 1.0f, on_screen.h}, name, style);
    x += w + std::round(tab_gap * s);
  }
  // The base line runs under every tab but the current one, which stays
  // open towards the contents it shows.
  const float right = std::max(pane_width, origin.x + x);
  if (current_rect.w > 0.0f) {
    surface.line({origin.x, base}, {current_rect.x, base}, current_outline, 1.0f);
    surface.line({current_rect.right(), base}, {right, base}, current_outline, 1.0f);
  } else {
    surface.line({origin.x, base}, {right, base}, current_outline, 1.0f);
  }
}

bool DetailView::onLButtonUp(unsigned, float x, float y) {
  const float cx = x + static_cast<float>(dc_.scroll_x);
  const float cy = y + static_cast<float>(dc_.scroll_y);
  for (std::size_t i = 0; i < tab_rects_.size() && i < tabs_.size(); ++i) {
    if (tab_rects_[i].contains(cx, cy)) {
      current_ = tabs_[i];
      break;
    }
  }
  return false;
}

}  // namespace tessel::view
