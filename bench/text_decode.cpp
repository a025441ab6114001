// Reading XER text in the file's encoding: how fast a file's encoding is
// recognised, and what decoding every cell costs beside taking each byte as
// one character. In-process and interleaved, so that a busy machine slows
// both forms alike.
//
//   text_decode FILE [RUNS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "timing.h"
#include "document/xer/text_encoding.h"
#include "document/xer/xer.h"

using namespace tessel::document;
using namespace tessel::bench;

template <class F>
static double best_ms(int runs, F&& f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = clock_type::now();
    f();
    const double ms = ms_since(t0);
    if (ms < best) best = ms;
  }
  return best;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: text_decode FILE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string bytes = ss.str();
  const double mb = double(bytes.size()) / 1e6;

  text_encoding found{};
  const double detect = best_ms(runs, [&] { found = detect_encoding(bytes); });
  // The slowest case: nothing stops the scan before the end.
  std::string ascii = bytes;
  for (char& c : ascii)
    if (static_cast<unsigned char>(c) >= 0x80) c = 'x';
  const double detect_all = best_ms(runs, [&] { (void)detect_encoding(ascii); });
  std::printf("detect: %s in %.2f ms; whole-file scan of %.0f MB: %.2f ms = %.0f MB/s\n",
              std::string(name_of(found)).c_str(), detect, mb, detect_all, mb / detect_all * 1000);

  auto doc = xer_parser::parse_bytes(bytes);
  if (!doc) {
    std::fprintf(stderr, "not an XER file\n");
    return 1;
  }
  std::vector<std::string_view> cells;
  size_t cell_bytes = 0, high_cells = 0;
  for (const auto& t : doc->tables()) {
    for (const xer_row& r : t->rows()) {
      for (size_t i = 0; i < r.size(); ++i) {
        const std::string_view b = r.cell_bytes(i);
        cells.push_back(b);
        cell_bytes += b.size();
        for (char c : b) {
          if (static_cast<unsigned char>(c) >= 0x80) {
            ++high_cells;
            break;
          }
        }
      }
    }
  }

  // Each cell into a string of its own, as the loaders fill fresh members.
  size_t sink = 0;
  const text_decoder by_byte(text_encoding::latin1), file(found);
  double one_to_one = 1e30, decoded = 1e30;
  for (int i = 0; i < runs; ++i) {
    one_to_one = std::min(one_to_one, best_ms(1, [&] {
      for (std::string_view c : cells) {
        std::u16string s(c.size(), u'\0');
        for (size_t k = 0; k < c.size(); ++k) s[k] = static_cast<unsigned char>(c[k]);
        sink += s.size() + (s.empty() ? 0 : s.back());
      }
    }));
    decoded = std::min(decoded, best_ms(1, [&] {
      for (std::string_view c : cells) {
        std::u16string s;
        file.decode(c, s);
        sink += s.size() + (s.empty() ? 0 : s.back());
      }
    }));
  }
  std::printf("cells: %zu (%zu with bytes above 0x7F), %.0f MB; byte per character %.1f ms, %s %.1f ms (%+.1f ms)\n",
              cells.size(), high_cells, double(cell_bytes) / 1e6, one_to_one, std::string(name_of(found)).c_str(),
              decoded, decoded - one_to_one);
  return sink == 0;
}
