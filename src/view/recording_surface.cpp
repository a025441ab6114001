#include "view/recording_surface.h"

#include <cmath>
#include <cstdio>

#include "document/io/path_text.h"

namespace tessel::view {

std::string_view marker_name(marker_image m) {
  switch (m) {
    case marker_image::red: return "red";
    case marker_image::yellow: return "yellow";
    case marker_image::green: return "green";
    case marker_image::blue: return "blue";
    case marker_image::red_selected: return "red_selected";
    case marker_image::yellow_selected: return "yellow_selected";
    case marker_image::green_selected: return "green_selected";
    case marker_image::blue_selected: return "blue_selected";
  }
  return "red";
}

void recording_surface::fill_rect(const rect_f& r, uint32_t color) {
  recorded_call c;
  c.what = recorded_call::kind::fill;
  c.rect = r;
  c.color = color;
  calls_.push_back(std::move(c));
}

void recording_surface::line(point_f a, point_f b, uint32_t color, float width, bool dashed) {
  recorded_call c;
  c.what = recorded_call::kind::line;
  c.a = a;
  c.b = b;
  c.color = color;
  c.width = width;
  c.dashed = dashed;
  calls_.push_back(std::move(c));
}

void recording_surface::polygon(const point_f* points, std::size_t count, uint32_t fill, uint32_t outline) {
  recorded_call c;
  c.what = recorded_call::kind::polygon;
  c.points.assign(points, points + count);
  c.color = fill;
  c.outline = outline;
  calls_.push_back(std::move(c));
}

void recording_surface::text(const rect_f& r, std::u16string_view s, const text_style& style) {
  recorded_call c;
  c.what = recorded_call::kind::text;
  c.rect = r;
  c.color = style.color;
  c.style = style;
  c.text.assign(s);
  calls_.push_back(std::move(c));
}

float recording_surface::text_width(std::u16string_view s, const text_style& style) {
  return static_cast<float>(s.size()) * static_cast<float>(style.pixel_height) * 0.5f;
}

void recording_surface::push_clip(const rect_f& r) {
  recorded_call c;
  c.what = recorded_call::kind::clip;
  c.rect = r;
  calls_.push_back(std::move(c));
}

void recording_surface::pop_clip() {
  recorded_call c;
  c.what = recorded_call::kind::unclip;
  calls_.push_back(std::move(c));
}

void recording_surface::image(marker_image m, const rect_f& r) {
  recorded_call c;
  c.what = recorded_call::kind::image;
  c.image = m;
  c.rect = r;
  calls_.push_back(std::move(c));
}

namespace {

// At most two decimals, no trailing zeros, no "-0".
void put_number(std::string& out, float v) {
  double d = std::round(static_cast<double>(v) * 100.0) / 100.0;
  if (d == 0.0) d = 0.0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", d);
  std::string s(buf);
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  out += s;
}

void put_color(std::string& out, uint32_t color) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(color & 0xFFFFFFu));
  out += buf;
}

void put_rect(std::string& out, const rect_f& r) {
  put_number(out, r.x);
  out += ' ';
  put_number(out, r.y);
  out += ' ';
  put_number(out, r.w);
  out += ' ';
  put_number(out, r.h);
}

}  // namespace

std::string draw_number(float v) {
  std::string out;
  put_number(out, v);
  return out;
}

std::string draw_line(const recorded_call& c) {
  std::string out;
  switch (c.what) {
    case recorded_call::kind::fill:
      out = "fill ";
      put_rect(out, c.rect);
      out += ' ';
      put_color(out, c.color);
      break;
    case recorded_call::kind::line:
      out = "line ";
      put_number(out, c.a.x);
      out += ' ';
      put_number(out, c.a.y);
      out += ' ';
      put_number(out, c.b.x);
      out += ' ';
      put_number(out, c.b.y);
      out += ' ';
      put_color(out, c.color);
      out += ' ';
      put_number(out, c.width);
      if (c.dashed) out += " dash";
      break;
    case recorded_call::kind::polygon:
      out = "polygon ";
      put_color(out, c.color);
      out += ' ';
      put_color(out, c.outline);
      for (const point_f& p : c.points) {
        out += ' ';
        put_number(out, p.x);
        out += ',';
        put_number(out, p.y);
      }
      break;
    case recorded_call::kind::text: {
      out = "text ";
      put_rect(out, c.rect);
      out += ' ';
      put_color(out, c.color);
      out += ' ';
      out += document::narrow_path(c.style.family);
      out += ' ';
      out += std::to_string(c.style.pixel_height);
      out += ' ';
      for (char ch : document::narrow_path(c.text)) {
        if (ch == '\t') out += "\\t";
        else if (ch == '\n') out += "\\n";
        else out += ch;
      }
      break;
    }
    case recorded_call::kind::image:
      out = "image ";
      out += marker_name(c.image);
      out += ' ';
      put_rect(out, c.rect);
      break;
    case recorded_call::kind::clip:
      out = "clip ";
      put_rect(out, c.rect);
      break;
    case recorded_call::kind::unclip:
      out = "unclip";
      break;
  }
  return out;
}

std::string draw_text(const std::vector<recorded_call>& calls) {
  std::string out;
  for (const recorded_call& c : calls) {
    out += draw_line(c);
    out += '\n';
  }
  return out;
}

}  // namespace tessel::view
