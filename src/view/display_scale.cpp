#include "view/display_scale.h"

namespace tessel::view {
namespace {
float g_scale = 1.0f;
}

float display_scale() { return g_scale; }
void set_display_scale(float scale) { g_scale = scale > 0.0f ? scale : 1.0f; }

}  // namespace tessel::view
