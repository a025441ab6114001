// While two updates of a schedule are compared, each activity of the open
// file shows the bar it has in the other file: a thin grey band under its
// own bars, from the other file's forecast start to its forecast finish,
// so a slip shows as the offset between the two.
#pragma once

#include "document/records/records.h"
#include "view/gantt/gantt_timescale.h"
#include "view/paint_surface.h"

namespace tessel::view::gantt {

// The band of the other file's bar on a row whose top is `top`: below the
// bodies and marks of the row's own bars (which end 13 pixels down at 96
// dpi), kept within the row.
rect_f other_bar_band(float x1, float x2, float top, float row_height, float scale);

// Draws `other`'s bar on the row at `top`, where the chart's content starts
// at `ox`; nothing when it lacks a start or a finish, or lies outside
// `left` to `right`.
void draw_other_bar(paint_surface& s, const date_axis& axis, float ox, float top, float row_height, float scale,
                    const document::TASK& other, float left, float right);

}  // namespace tessel::view::gantt
