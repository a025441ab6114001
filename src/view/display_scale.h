// The display scale: screen pixels per inch / 96. Every pixel constant of
// the views is given at 96 dpi and multiplied by it; widths stored in
// layouts stay unscaled and are multiplied on use. Process-wide, set once by
// the shell when it builds its views (tests set it as they need).
#pragma once

namespace tessel::view {

float display_scale();
void set_display_scale(float scale);

}  // namespace tessel::view
