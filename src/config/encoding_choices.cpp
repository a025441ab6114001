#include "config/encoding_choices.h"


#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

#include "config/config_text.h"
#include "config/data_folder.h"

namespace tessel::config {
namespace {

namespace fs = std::filesystem;

using choice = std::pair<std::string, std::string>;  // (path as written, encoding name)

// One spelling per file, whatever form of its path was given: a file opened
// as "./a.xer" and as "/home/u/a.xer" shares its choice.
std::string key_of(const fs::path& path) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(path, ec);
  if (ec || p.empty()) p = fs::absolute(path, ec).lexically_normal();
  if (ec || p.empty()) p = path.lexically_normal();
  return p.string();
}

std::string escape(std::string_view path) {
  std::string out;
  for (char c : path) {
    switch (c) {
      case '%': out += "%25"; break;
      case '\t': out += "%09"; break;
      case '\r': out += "%0D"; break;
      case '\n': out += "%0A"; break;
      default: out += c;
    }
  }
  return out;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A '%' not followed by two hex digits stands for itself.
std::string unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hex_digit(text[i + 1]) >= 0 && hex_digit(text[i + 2]) >= 0) {
      out += char(hex_digit(text[i + 1]) * 16 + hex_digit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The remembered choices in file order, each path at most once (its latest
// line).
std::vector<choice> read_choices() {
  std::vector<choice> all;
  std::ifstream in(encodings_file(), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0 || tab + 1 == line.size()) continue;
    std::string path = unescape(std::string_view(line).substr(tab + 1));
    std::erase_if(all, [&](const choice& c) { return c.first == path; });
    all.emplace_back(std::move(path), line.substr(0, tab));
  }
  return all;
}

// The file is always either the old list or the whole new one, even when
// two programs write at once.
void write_choices(const std::vector<choice>& all) {
  const size_t first = all.size() > kRememberedFiles ? all.size() - kRememberedFiles : 0;
  std::string text;
  for (size_t i = first; i < all.size(); ++i) text += all[i].second + '\t' + escape(all[i].first) + '\n';
  view::config_text::write_file(encodings_file(), text);
}

}  // namespace

fs::path encodings_file() { return data_folder() / "Encodings.cfg"; }

std::optional<std::string> remembered_encoding(const fs::path& path) {
  const std::string key = key_of(path);
  for (const choice& c : read_choices())
    if (c.first == key) return c.second;
  return std::nullopt;
}

void remember_encoding(const fs::path& path, std::string_view encoding) {
  // A name must stay one field of its line.
  if (encoding.empty() || encoding.find_first_of("\t\r\n") != std::string_view::npos) return;
  const std::string key = key_of(path);
  std::vector<choice> all = read_choices();
  std::erase_if(all, [&](const choice& c) { return c.first == key; });
  all.emplace_back(key, std::string(encoding));
  write_choices(all);
}

void forget_encoding(const fs::path& path) {
  const std::string key = key_of(path);
  std::vector<choice> all = read_choices();
  const size_t before = all.size();
  std::erase_if(all, [&](const choice& c) { return c.first == key; });
  if (all.size() != before) write_choices(all);
}

}  // namespace tessel::config
