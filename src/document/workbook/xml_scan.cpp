#include "document/workbook/xml_scan.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "document/io/path_text.h"
#include "document/workbook/xml_stream.h"
#include "document/workbook/zip_container.h"

namespace tessel::document {

namespace {

bool starts_with(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

void append_utf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

class scanner {
 public:
  scanner(std::string_view part, xml_handler& handler) : part_(part), handler_(handler) {}

  // Takes the next bytes of the part; false once it is refused.
  bool feed(std::string_view chunk, bool last) {
    if (!pending_.empty()) {
      // The token the last chunk cut most likely ends at the next '>':
      // only that much is copied to finish it.
      const size_t gt = chunk.find('>');
      const size_t take = gt == std::string_view::npos ? chunk.size() : gt + 1;
      pending_.append(chunk.substr(0, take));
      chunk.remove_prefix(take);
      pending_.erase(0, run(pending_, last && chunk.empty()));
      if (!pending_.empty()) {
        // Cut elsewhere (a quoted '>', a comment): the rest goes with it.
        pending_.append(chunk);
        pending_.erase(0, run(pending_, last));
        return why_.empty();
      }
    }
    const size_t used = run(chunk, last);
    pending_.assign(chunk.substr(used));
    return why_.empty();
  }

  std::u16string why() const { return why_; }

 private:
  // Scans whole tokens from `s`; answers how many bytes were used. What is
  // left is a token cut by the chunk's end.
  size_t run(std::string_view s, bool last) {
    size_t pos = 0;
    while (pos < s.size() && why_.empty()) {
      const size_t next = token(s, pos, last);
      if (next == pos) break;  // more bytes needed
      pos = next;
    }
    if (!why_.empty()) return s.size();
    if (last && pos == s.size() && depth_ > 0) return refuse(u"ends before its elements do."), s.size();
    if (pos < s.size()) {
      if (last) return refuse(u"ends inside a tag."), s.size();
      if (s.size() - pos > max_xml_token) return refuse(u"holds a tag or a text longer than any worksheet writes."), s.size();
    }
    return pos;
  }

  // The end of the token at `pos`, or `pos` when it is cut short.
  size_t token(std::string_view s, size_t pos, bool last) {
    if (!begun_) {
      if (s.size() - pos < 4 && !last) return pos;
      begun_ = true;
      if (starts_with(s.substr(pos), "\xEF\xBB\xBF")) return pos + 3;
      if (starts_with(s.substr(pos), "\xFF\xFE") || starts_with(s.substr(pos), "\xFE\xFF"))
        return refuse(u"is not written in UTF-8."), s.size();
    }
    if (s[pos] != '<') {
      const void* lt = std::memchr(s.data() + pos, '<', s.size() - pos);
      if (!lt && !last) return pos;
      const size_t end = lt ? size_t(static_cast<const char*>(lt) - s.data()) : s.size();
      text(s.substr(pos, end - pos));
      return end;
    }
    const std::string_view t = s.substr(pos);
    if (t.size() < 2) return last ? refuse(u"ends inside a tag."), s.size() : pos;
    if (t[1] == '?') return skip_to(s, pos, "?>", last, true);
    if (t[1] == '!') {
      if (t.size() < 9 && !last) return pos;
      if (starts_with(t, "<!--")) return skip_to(s, pos, "-->", last, false);
      if (starts_with(t, "<![CDATA[")) {
        const size_t end = s.find("]]>", pos + 9);
        if (end == std::string_view::npos) return last ? refuse(u"ends inside a tag."), s.size() : pos;
        handler_.text(s.substr(pos + 9, end - pos - 9));
        return end + 3;
      }
      if (starts_with(t, "<!DOCTYPE")) return refuse(u"declares a document type (DOCTYPE), which a workbook never does."), s.size();
      return refuse(u"is not well-formed XML (a markup declaration stands in it)."), s.size();
    }
    if (t[1] == '/') {
      const void* found = std::memchr(s.data() + pos, '>', s.size() - pos);
      if (!found) return last ? refuse(u"ends inside a tag."), s.size() : pos;
      const size_t gt = size_t(static_cast<const char*>(found) - s.data());
      std::string_view name = s.substr(pos + 2, gt - pos - 2);
      while (!name.empty() && is_space(name.back())) name.remove_suffix(1);
      if (name.empty() || depth_ == 0 || open_[depth_ - 1] != name)
        return refuse(u"is not well-formed XML (an end tag that does not match its start)."), s.size();
      --depth_;
      handler_.end(local_name(name));
      check_handler();
      return gt + 1;
    }
    const size_t end = element(s, pos);
    if (end == std::string_view::npos) return last ? refuse(u"ends inside a tag."), s.size() : pos;
    return end;
  }

  // Skips a comment or a processing instruction; the XML declaration's
  // encoding is checked on the way.
  size_t skip_to(std::string_view s, size_t pos, std::string_view end_mark, bool last, bool declaration) {
    const size_t end = s.find(end_mark, pos + 2);
    if (end == std::string_view::npos) return last ? refuse(u"ends inside a tag."), s.size() : pos;
    if (declaration && starts_with(s.substr(pos), "<?xml")) {
      const std::string_view decl = s.substr(pos, end - pos);
      const size_t at = decl.find("encoding");
      if (at != std::string_view::npos) {
        const size_t q = decl.find_first_of("\"'", at);
        const size_t q2 = q == std::string_view::npos ? q : decl.find(decl[q], q + 1);
        if (q2 == std::string_view::npos) return refuse(u"is not well-formed XML (its declaration)."), s.size();
        std::string name(decl.substr(q + 1, q2 - q - 1));
        for (char& c : name) c = char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if (name != "UTF-8" && name != "UTF8") return refuse(u"is not written in UTF-8."), s.size();
      }
    }
    return end + end_mark.size();
  }

  // A start tag from its '<' at `pos`, in one pass: its name, its
  // attributes, an ending "/>". Answers where it ends, or npos when the
  // bytes end first (or it is refused: why_ says so).
  size_t element(std::string_view s, size_t pos) {
    const size_t n = s.size();
    size_t i = pos + 1;
    while (i < n && !is_space(s[i]) && s[i] != '>' && s[i] != '/') ++i;
    if (i == n) return std::string_view::npos;
    const std::string_view name = s.substr(pos + 1, i - pos - 1);
    if (name.empty()) return refuse(u"is not well-formed XML (a tag without a name)."), n;
    attributes_.clear();
    offsets_.clear();
    for (;;) {
      while (i < n && is_space(s[i])) ++i;
      if (i == n) return std::string_view::npos;
      if (s[i] == '>' || s[i] == '/') break;
      const size_t name_begin = i;
      while (i < n && s[i] != '=' && s[i] != '>' && s[i] != '/' && !is_space(s[i])) ++i;
      const std::string_view attribute_name = s.substr(name_begin, i - name_begin);
      while (i < n && is_space(s[i])) ++i;
      if (i == n) return std::string_view::npos;
      if (s[i] != '=') return refuse(u"is not well-formed XML (an attribute without its value)."), n;
      ++i;
      while (i < n && is_space(s[i])) ++i;
      if (i == n) return std::string_view::npos;
      if (s[i] != '"' && s[i] != '\'') return refuse(u"is not well-formed XML (an attribute value without quotes)."), n;
      const char quote = s[i++];
      const void* found = std::memchr(s.data() + i, quote, n - i);
      if (!found) return std::string_view::npos;
      const size_t close = size_t(static_cast<const char*>(found) - s.data());
      offsets_.push_back(attributes_.size());
      attributes_.append(attribute_name);
      attributes_ += '\0';
      offsets_.push_back(attributes_.size());
      if (!decode_references(s.substr(i, close - i), attributes_))
        return refuse(u"uses an entity that XML does not define."), n;
      attributes_ += '\0';
      i = close + 1;
    }
    bool empty = false;
    if (s[i] == '/') {
      if (i + 1 == n) return std::string_view::npos;
      if (s[i + 1] != '>') return refuse(u"is not well-formed XML (a '/' inside a tag)."), n;
      empty = true;
      ++i;
    }
    pointers_.clear();
    for (size_t o : offsets_) pointers_.push_back(attributes_.data() + o);
    pointers_.push_back(nullptr);
    if (depth_ == max_xml_depth) return refuse(u"nests its elements deeper than any worksheet does."), n;
    if (depth_ == open_.size()) open_.emplace_back();
    open_[depth_++].assign(name);
    const std::string_view local = local_name(name);
    handler_.start(local, pointers_.data());
    check_handler();
    if (empty && why_.empty()) {
      --depth_;
      handler_.end(local);
      check_handler();
    }
    return i + 1;
  }

  void text(std::string_view raw) {
    if (depth_ == 0) {
      // Outside the root only white space may stand.
      for (char c : raw)
        if (!is_space(c)) return refuse(u"is not well-formed XML (text outside its elements).");
      return;
    }
    if (raw.find('&') == std::string_view::npos) {
      handler_.text(raw);
    } else {
      decoded_.clear();
      if (!decode_references(raw, decoded_)) return refuse(u"uses an entity that XML does not define.");
      handler_.text(decoded_);
    }
    check_handler();
  }

  void check_handler() {
    if (why_.empty() && !handler_.refusal.empty()) why_ = handler_.refusal;
  }

  void refuse(std::u16string_view what) {
    if (why_.empty())
      why_ = u"The part \u201C" + wide_text(std::string(part_)) + u"\u201D of the workbook " + std::u16string(what);
  }

  std::string_view part_;
  xml_handler& handler_;
  std::u16string why_;
  std::string pending_;
  bool begun_ = false;
  // The names of the elements open, for matching their end tags.
  std::vector<std::string> open_;
  size_t depth_ = 0;
  std::string attributes_, decoded_;
  std::vector<size_t> offsets_;
  std::vector<const char*> pointers_;
};

}  // namespace

bool decode_references(std::string_view raw, std::string& out) {
  size_t i = 0;
  while (i < raw.size()) {
    const size_t amp = raw.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(raw.substr(i));
      return true;
    }
    out.append(raw.substr(i, amp - i));
    const size_t semi = raw.find(';', amp);
    if (semi == std::string_view::npos || semi - amp > 12) return false;
    const std::string_view name = raw.substr(amp + 1, semi - amp - 1);
    if (name == "lt") out += '<';
    else if (name == "gt") out += '>';
    else if (name == "amp") out += '&';
    else if (name == "quot") out += '"';
    else if (name == "apos") out += '\'';
    else if (name.size() >= 2 && name[0] == '#') {
      const bool hex = name[1] == 'x';
      uint32_t cp = 0;
      const std::string_view digits = name.substr(hex ? 2 : 1);
      if (digits.empty()) return false;
      for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        cp = cp * (hex ? 16 : 10) + uint32_t(d);
        if (cp > 0x10FFFF) return false;
      }
      if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
      append_utf8(out, cp);
    } else {
      return false;
    }
    i = semi + 1;
  }
  return true;
}

bool scan_xml_text(std::string_view xml, std::string_view part, xml_handler& handler, std::u16string& why,
                   size_t chunk) {
  scanner s(part, handler);
  chunk = std::max<size_t>(chunk, 1);
  for (size_t at = 0;; at += chunk) {
    const bool last = xml.size() - at <= chunk;
    if (!s.feed(xml.substr(at, last ? std::string_view::npos : chunk), last)) break;
    if (last) return true;
  }
  why = s.why();
  return false;
}

bool scan_xml_part(zip_container& zip, std::string_view part, xml_handler& handler, std::u16string& why) {
  scanner s(part, handler);
  const bool read = zip.read(part, [&](std::string_view chunk, bool last) { return s.feed(chunk, last); });
  if (!read) {
    why = zip.refusal();
    return false;
  }
  if (!s.why().empty()) {
    why = s.why();
    return false;
  }
  return true;
}

}  // namespace tessel::document
