// File names arrive as UTF-16 and the system wants UTF-8.
#pragma once

#include <string>

namespace tessel::document {

// The UTF-8 form of a path. An unpaired surrogate cannot name an existing
// file; it becomes U+FFFD so that opening simply fails.
std::string narrow_path(const std::u16string& path);

// The UTF-16 form of a UTF-8 path or text; invalid bytes become U+FFFD.
std::u16string wide_text(const std::string& utf8);

}  // namespace tessel::document
