#include "document/io/path_text.h"

#include <utf8.h>

namespace tessel::document {

std::string narrow_path(const std::u16string& path) {
  std::u16string clean;
  clean.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    const char16_t c = path[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size() && path[i + 1] >= 0xDC00 && path[i + 1] <= 0xDFFF) {
      clean += c;
      clean += path[++i];
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      clean += char16_t(0xFFFD);
    } else {
      clean += c;
    }
  }
  std::string out;
  utf8::utf16to8(clean.begin(), clean.end(), std::back_inserter(out));
  return out;
}

std::u16string wide_text(const std::string& utf8) {
  std::string valid;
  utf8::replace_invalid(utf8.begin(), utf8.end(), std::back_inserter(valid), 0xFFFD);
  std::u16string out;
  utf8::utf8to16(valid.begin(), valid.end(), std::back_inserter(out));
  return out;
}

}  // namespace tessel::document
