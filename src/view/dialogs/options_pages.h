// The three options pages without their windows: what each page shows when
// it opens and what its OK button stores. Every OK stores into the
// process-wide settings (and display preferences), then writes
// "Settings.cfg" at once. Lists are handled by their texts, the way the
// pages read them back; an empty text stands for "nothing selected".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessel::view {

// The choices of the lists, in list order.
inline constexpr std::array<std::u16string_view, 5> unit_choices = {u"Hour", u"Day", u"Week", u"Month",
                                                                     u"Year"};
inline constexpr std::array<std::u16string_view, 3> decimals_choices = {u"0", u"1", u"2"};
inline constexpr std::array<std::u16string_view, 3> scale_choices = {u"Day", u"Week", u"Month"};

// List text <-> setting code; texts compare without regard to case.
// Unit of time: "Hour" 0 .. "Year" 4, any other text 1; code 1-4 gives its
// text, anything else "Hour".
int32_t unit_code(std::u16string_view text);
std::u16string_view unit_text(int32_t code);
// Decimals: "0" 1, "1" 2, "2" 3, any other text 1; codes back the same way,
// anything else "0".
int32_t decimals_code(std::u16string_view text);
std::u16string_view decimals_text(int32_t code);
// Vertical gridline scale: "Quarter" 1, "Month" 2, "Week" 4, "Day" 5,
// "Shift" 7, "Hour" 8, any other text 2; codes back the same way, anything
// else "Month".
int32_t scale_code(std::u16string_view text);
std::u16string_view scale_text(int32_t code);

// The list entry (index into `choices`) whose text matches, or -1.
template <std::size_t N>
int choice_index(const std::array<std::u16string_view, N>& choices, std::u16string_view text);

// The row interval typed into the gridlines page: its leading decimal
// number (blanks before it skipped), held within 1 to 100; empty or
// non-numeric text gives 1.
int32_t rows_from_text(std::u16string_view text);

struct units_page {
  std::u16string unit_unit, unit_decimals;  // list texts ("" for none)
  bool unit_label = false;
  std::u16string duration_unit, duration_decimals;
  bool duration_label = false;
};
units_page open_units_page();
void ok_units_page(const units_page& page);

struct gridlines_page {
  std::u16string scale;  // the selected entry of "Day", "Week", "Month"; "" for none
  std::u16string rows;   // the edit box's text
  bool horizontal = false;
  bool vertical = false;
};
gridlines_page open_gridlines_page();
void ok_gridlines_page(const gridlines_page& page);

struct layouts_page {
  bool remember = false;
};
layouts_page open_layouts_page();
void ok_layouts_page(const layouts_page& page);

// Case-blind equality of list texts (ASCII letters).
bool same_text(std::u16string_view a, std::u16string_view b);

template <std::size_t N>
int choice_index(const std::array<std::u16string_view, N>& choices, std::u16string_view text) {
  for (std::size_t i = 0; i < N; ++i)
    if (same_text(choices[i], text)) return static_cast<int>(i);
  return -1;
}

}  // namespace tessel::view
