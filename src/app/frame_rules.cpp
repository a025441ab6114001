#include "app/frame_rules.h"

#include <algorithm>
#include <cmath>

namespace tessel::app {

int32_t timescale_code_of_entry(int entry) {
  if (entry < 0 || entry > 6) return -1;
  return entry == 6 ? 8 : entry + 1;
}

int timescale_entry_of_code(int32_t code) {
  if (code >= 1 && code <= 6) return code - 1;
  if (code == 8) return 6;
  return -1;
}

float zoom_of_slider(int position, float scale) {
  return static_cast<float>(position) / (scale > 0.0f ? scale : 1.0f);
}

int slider_of_zoom(float zoom, float scale) {
  // Single precision as stored: 5 / 1.5f * 1.5f comes back as 5.0f exactly,
  // but a product a hair under a whole number must not lose a step.
  const float product = zoom * scale;
  const float nearest = static_cast<float>(static_cast<int>(product + 0.5f));
  const float shown = std::abs(product - nearest) < 1e-4f ? nearest : product;
  return static_cast<int>(shown);
}

std::pair<int, int> details_toggled(int details_height, int client_height, int frame_height) {
  if (details_height > 0) return {client_height, 0};
  const int shown = std::min(details_pane_height, frame_height * details_pane_percent / 100);
  return {client_height - shown, shown};
}

std::pair<int, int> gantt_toggled(int gantt_width, int client_width) {
  if (gantt_width >= 1) return {client_width, 0};
  return {table_pane_width, std::max(0, client_width - table_pane_width)};
}

}  // namespace tessel::app
