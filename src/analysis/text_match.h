// Case-blind substring matching for find and the text filter. Letters are
// folded one character at a time (Latin, Greek and Cyrillic capitals to
// small), so matching allocates nothing: a find key press on a large
// schedule is a scan of its texts.
#pragma once

#include <string>
#include <string_view>

namespace tessel::analysis {

char16_t fold_case(char16_t c);
// `needle` folded once, for many `contains_folded` calls.
std::u16string folded(std::u16string_view text);
// Whether `haystack` holds `folded_needle` (already folded) case-blind; an
// empty needle is in every text.
bool contains_folded(std::u16string_view haystack, std::u16string_view folded_needle);

}  // namespace tessel::analysis
