// A paint surface that only remembers what was asked of it: the tests'
// surface and the one behind tessel-dump --draw. Text widths follow a fixed
// metric so that results never depend on installed fonts: every UTF-16 unit
// is half the style's pixel height wide (a 15-pixel "Start" is 37.5 wide).
#pragma once

#include <string>
#include <vector>

#include "view/paint_surface.h"

namespace tessel::view {

struct recorded_call {
  enum class kind : uint8_t { fill, line, polygon, text, image, clip, unclip };
  kind what = kind::fill;
  rect_f rect;                  // fill, text, image, clip
  point_f a, b;                 // line
  std::vector<point_f> points;  // polygon
  uint32_t color = 0;           // fill, line, text colour, polygon fill
  uint32_t outline = 0;         // polygon outline
  float width = 0.0f;           // line width
  bool dashed = false;          // line
  text_style style;             // text
  std::u16string text;          // text
  marker_image image = marker_image::red;
};

class recording_surface final : public paint_surface {
 public:
  void fill_rect(const rect_f& r, uint32_t color) override;
  void line(point_f a, point_f b, uint32_t color, float width, bool dashed = false) override;
  void polygon(const point_f* points, std::size_t count, uint32_t fill, uint32_t outline) override;
  void text(const rect_f& r, std::u16string_view s, const text_style& style) override;
  float text_width(std::u16string_view s, const text_style& style) override;
  void push_clip(const rect_f& r) override;
  void pop_clip() override;
  void image(marker_image m, const rect_f& r) override;

  const std::vector<recorded_call>& calls() const { return calls_; }
  void clear() { calls_.clear(); }

 private:
  std::vector<recorded_call> calls_;
};

// One call as tessel-dump --draw prints it (no line end), numbers with at
// most two decimals, colours #RRGGBB:
//   fill X Y W H #RRGGBB
//   line X1 Y1 X2 Y2 #RRGGBB WIDTH[ dash]
//   polygon #FILL #OUTLINE X1,Y1 X2,Y2 ...
//   text X Y W H #RRGGBB FAMILY SIZE TEXT   (TAB and LF in TEXT as \t, \n)
//   image NAME X Y W H
//   clip X Y W H
//   unclip
std::string draw_line(const recorded_call& call);
// A number as those lines print it.
std::string draw_number(float v);
// Every call, one line each, each ended by a line feed.
std::string draw_text(const std::vector<recorded_call>& calls);

}  // namespace tessel::view
