#include "open_file.h"

#include <chrono>
#include <iostream>

#include "document/io/path_text.h"

namespace tessel::dump {

namespace {
std::optional<document::text_encoding> given_encoding;
std::string refused_path;
std::u16string refused_reason;
}

std::u16string path_arg(const std::string& arg) { return document::wide_text(arg); }

bool take_encoding_option(std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name;
    size_t taken = 1;
    if (args[i] == "--encoding") {
      if (i + 1 == args.size()) {
        std::cerr << "tessel-dump: --encoding needs a name\n";
        return false;
      }
      name = args[i + 1];
      taken = 2;
    } else if (args[i].compare(0, 11, "--encoding=") == 0) {
      name = args[i].substr(11);
    } else {
      continue;
    }
    given_encoding = document::encoding_by_name(name);
    if (!given_encoding) {
      std::cerr << "tessel-dump: unknown encoding " << name << "; known:";
      for (const document::encoding_info& e : document::offered_encodings()) std::cerr << ' ' << e.name;
      std::cerr << "\n";
      return false;
    }
    args.erase(args.begin() + long(i), args.begin() + long(i + taken));
    --i;
  }
  return true;
}

std::optional<document::text_encoding> encoding_for(const std::string& path) {
  return given_encoding ? given_encoding : view::remembered_text_encoding(path_arg(path));
}

std::string utf8(const std::u16string& text) { return document::narrow_path(text); }

double open_timed(view::TesselDoc& doc, const std::string& path) {
  const auto t0 = std::chrono::steady_clock::now();
  const bool opened =
      given_encoding ? doc.open(path_arg(path), *given_encoding, false) : doc.open(path_arg(path));
  if (!opened) {
    refused_path = path;
    refused_reason = doc.refusal_reason();
    return -1;
  }
  const auto t1 = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

std::u16string last_refusal(const std::string& path) { return path == refused_path ? refused_reason : u""; }

}  // namespace tessel::dump
