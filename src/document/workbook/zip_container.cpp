#include "document/workbook/zip_container.h"

#include <zip.h>

#include <vector>

#include "document/io/path_text.h"

namespace tessel::document {

namespace {

std::u16string text(std::string_view utf8) { return wide_text(std::string(utf8)); }

// A count as a reader writes it: 10,000.
std::u16string count_text(uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return text(out);
}

std::u16string entry_words(std::string_view name) { return u"The entry \u201C" + text(name) + u"\u201D of the workbook"; }

}  // namespace

std::u16string entry_size_refusal(std::string_view name, uint64_t size, uint64_t compressed) {
  if (size > max_entry_bytes) return entry_words(name) + u" expands to more than 1 GiB.";
  // An entry that expands hundreds of times is made to exhaust memory: real
  // sheets expand ten times at most.
  if (size > max_entry_ratio * compressed)
    return entry_words(name) + u" expands more than 200 times (" + count_text(compressed) + u" bytes to " +
           count_text(size) + u").";
  return {};
}

struct zip_container::state {
  zip_t* archive = nullptr;
  ~state() {
    if (archive) zip_discard(archive);
  }
};

zip_container::zip_container() : state_(std::make_unique<state>()) {}
zip_container::~zip_container() = default;

bool zip_container::fail(std::u16string why) {
  refusal_ = std::move(why);
  return false;
}

namespace {

std::u16string open_refusal(int code) {
  switch (code) {
    case ZIP_ER_NOZIP:
      return u"The file starts like a workbook (a ZIP archive) but has no ZIP directory.";
    case ZIP_ER_INCONS:
      return u"The workbook's ZIP directory contradicts itself.";
    case ZIP_ER_MEMORY:
      return u"There is not enough memory to read the workbook's ZIP directory.";
    case ZIP_ER_READ:
    case ZIP_ER_OPEN:
      return u"The file could not be read.";
    default:
      return u"The workbook's ZIP directory is damaged.";
  }
}

}  // namespace

bool zip_container::open_file(const std::string& path) {
  int code = 0;
  state_->archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (!state_->archive) return fail(open_refusal(code));
  return check_directory();
}

bool zip_container::open_bytes(std::string_view bytes) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (source) state_->archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  const int code = zip_error_code_zip(&error);
  zip_error_fini(&error);
  if (!state_->archive) {
    if (source) zip_source_free(source);
    return fail(open_refusal(code));
  }
  return check_directory();
}

bool zip_container::check_directory() {
  const zip_int64_t n = zip_get_num_entries(state_->archive, 0);
  if (n < 0) return fail(open_refusal(ZIP_ER_INCONS));
  if (uint64_t(n) > max_zip_entries)
    return fail(u"The workbook holds " + count_text(uint64_t(n)) + u" entries; a workbook holds at most 10,000.");
  total_size_ = 0;
  for (zip_int64_t i = 0; i < n; ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(state_->archive, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) ||
        !(st.valid & ZIP_STAT_COMP_SIZE))
      return fail(open_refusal(ZIP_ER_INCONS));
    const std::string_view name = (st.valid & ZIP_STAT_NAME) && st.name ? st.name : "";
    std::u16string why = entry_size_refusal(name, st.size, st.comp_size);
    if (!why.empty()) return fail(std::move(why));
    total_size_ += st.size;
  }
  return true;
}

bool zip_container::has(std::string_view name) const {
  return state_->archive && zip_name_locate(state_->archive, std::string(name).c_str(), 0) >= 0;
}

uint64_t zip_container::size_of(std::string_view name) const {
  if (!state_->archive) return 0;
  const zip_int64_t i = zip_name_locate(state_->archive, std::string(name).c_str(), 0);
  zip_stat_t st;
  zip_stat_init(&st);
  if (i < 0 || zip_stat_index(state_->archive, zip_uint64_t(i), 0, &st) != 0) return 0;
  return st.size;
}

bool zip_container::read(std::string_view name, const chunk_sink& chunk) {
  if (!state_->archive) return fail(u"The workbook is not open.");
  const zip_int64_t i = zip_name_locate(state_->archive, std::string(name).c_str(), 0);
  if (i < 0) return fail(u"The workbook has no entry \u201C" + text(name) + u"\u201D.");
  const uint64_t claimed = size_of(name);
  zip_file_t* file = zip_fopen_index(state_->archive, zip_uint64_t(i), 0);
  if (!file) {
    const int code = zip_error_code_zip(zip_get_error(state_->archive));
    if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_ENCRNOTSUPP || code == ZIP_ER_WRONGPASSWD)
      return fail(u"The workbook is encrypted.");
    if (code == ZIP_ER_COMPNOTSUPP) return fail(entry_words(name) + u" is compressed in a way that cannot be read.");
    return fail(entry_words(name) + u" cannot be read.");
  }
  std::vector<char> buffer(64 * 1024);
  uint64_t got = 0;
  bool ok = true, stopped = false;
  for (;;) {
    const zip_int64_t n = zip_fread(file, buffer.data(), buffer.size());
    if (n < 0) {
      ok = fail(entry_words(name) + u" is damaged.");
      break;
    }
    if (n == 0) break;
    got += uint64_t(n);
    // The directory's size was checked; the data may not claim more.
    if (got > claimed) {
      ok = fail(entry_words(name) + u" expands beyond the size its directory gives.");
      break;
    }
    if (!chunk(std::string_view(buffer.data(), size_t(n)), false)) {
      stopped = true;
      break;
    }
  }
  zip_fclose(file);
  if (ok && !stopped) chunk({}, true);
  return ok;
}

}  // namespace tessel::document
