// The arithmetic behind the ribbon's pane, timescale and zoom commands, kept
// apart from the widgets so that it can be checked on its own.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

namespace tessel::app {

// The timescale combo's entries, in order.
inline constexpr std::array<const char*, 7> timescale_entries = {
    "Year/Quarter", "Year/Month", "Quarter/Month", "Month/Week", "Week/Day 1", "Week/Day 2", "Day/Hour"};

// The timescale code an entry stores: entries 0..5 store 1..6, "Day/Hour"
// stores 8 (code 7 is never produced); -1 for no entry.
int32_t timescale_code_of_entry(int entry);
// The entry a layout's code selects: codes 1..6 select entries 0..5, 8
// selects "Day/Hour"; any other code selects nothing (-1).
int timescale_entry_of_code(int32_t code);

// The zoom slider's range.
inline constexpr int zoom_slider_min = 5;
inline constexpr int zoom_slider_max = 300;
// Slider position to the zoom the layout stores (position / display scale,
// in single precision) and back (zoom * scale, truncated).
float zoom_of_slider(int position, float scale);
int slider_of_zoom(float zoom, float scale);

// Heights of the outer splitter's rows after "Details": a hidden Details
// pane gets 500 pixels, or 40 % of the window's height when that is less
// (a small window keeps rows in its table), under a row 0 of the rest; a
// shown one is hidden again (row 0 takes the whole height).
std::pair<int, int> details_toggled(int details_height, int client_height, int frame_height);
// Widths of the inner splitter's columns after "Gantt": a Gantt pane of 1
// pixel or more is hidden (the table takes the whole width); a hidden one
// comes back with the table 600 pixels wide.
std::pair<int, int> gantt_toggled(int gantt_width, int client_width);

// The table pane's width at start-up and when the Gantt pane comes back.
inline constexpr int table_pane_width = 600;
inline constexpr int details_pane_height = 500;
inline constexpr int details_pane_percent = 40;  // of the window's height at most

}  // namespace tessel::app
