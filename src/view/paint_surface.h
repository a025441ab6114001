// What a view draws on. Views never know the window system: the shell hands
// them a surface that paints with the real toolkit, and tests hand them one
// that records every call. Coordinates are client pixels as floats (the view
// has already applied its scroll offsets); colours are 32-bit alpha-red-
// green-blue values as layouts store them (the alpha byte is ignored: every
// colour is painted opaque).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessel::view {

struct point_f {
  float x = 0.0f;
  float y = 0.0f;
};

struct rect_f {
  float x = 0.0f;
  float y = 0.0f;
  float w = 0.0f;
  float h = 0.0f;

  float right() const { return x + w; }
  float bottom() const { return y + h; }
  // Edges inclusive: a point on the border is inside.
  bool contains(float px, float py) const { return px >= x && px <= x + w && py >= y && py <= y + h; }
};

// An opaque colour from its three components.
constexpr uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) {
  return 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

struct text_style {
  std::u16string family = u"Calibri";
  int pixel_height = 15;
  bool bold = false;
  uint32_t color = rgb(0, 0, 0);
};

// The 14 x 14 colour markers of user-field cells: red, yellow, green, blue,
// each plain (white background) and selected (selection-blue background).
enum class marker_image : uint8_t {
  red, yellow, green, blue,
  red_selected, yellow_selected, green_selected, blue_selected,
};
// "red", "yellow_selected", ...: the name tessel-dump --draw prints.
std::string_view marker_name(marker_image m);

// The pointer a view asks for while the mouse moves over it.
enum class cursor_shape : uint8_t { arrow, size_we, move };

class paint_surface {
 public:
  virtual ~paint_surface() = default;

  virtual void fill_rect(const rect_f& r, uint32_t color) = 0;
  // A straight line `width` pixels wide; `dashed` draws it dashed.
  virtual void line(point_f a, point_f b, uint32_t color, float width, bool dashed = false) = 0;
  // A closed polygon filled with `fill` and outlined (1 pixel) with `outline`.
  virtual void polygon(const point_f* points, std::size_t count, uint32_t fill, uint32_t outline) = 0;
  // One line of text, left-aligned and vertically centred in `r`, clipped to
  // `r` (no ellipsis). Callers centre text themselves with `text_width`.
  virtual void text(const rect_f& r, std::u16string_view s, const text_style& style) = 0;
  // The advance width of `s` in `style`, in pixels.
  virtual float text_width(std::u16string_view s, const text_style& style) = 0;
  // Clips every later call to `r` (intersected with the clip in force) until
  // the matching pop.
  virtual void push_clip(const rect_f& r) = 0;
  virtual void pop_clip() = 0;
  virtual void image(marker_image m, const rect_f& r) = 0;
};

}  // namespace tessel::view
