#include "open_file.h"

#include <chrono>

#include "document/path_text.h"

namespace tessel::dump {

std::u16string path_arg(const std::string& arg) { return document::wide_text(arg); }

std::string utf8(const std::u16string& text) { return document::narrow_path(text); }

double open_timed(view::TesselDoc& doc, const std::string& path) {
  const auto t0 = std::chrono::steady_clock::now();
  if (!doc.open(path_arg(path))) return -1;
  const auto t1 = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

}  // namespace tessel::dump
