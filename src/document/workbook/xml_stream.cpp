#include "document/workbook/xml_stream.h"

#include <expat.h>

#include <memory>

#include "document/io/path_text.h"
#include "document/workbook/zip_container.h"

namespace tessel::document {

const char* attribute(const char** attributes, std::string_view name) {
  for (const char** a = attributes; a && a[0]; a += 2)
    if (local_name(a[0]) == name) return a[1];
  return nullptr;
}

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code unit of an "_xHHHH_" escape at the start of `s`, or -1.
int escaped_unit(std::string_view s) {
  if (s.size() < 7 || s[0] != '_' || s[1] != 'x' || s[6] != '_') return -1;
  int v = 0;
  for (int i = 2; i < 6; ++i) {
    const int d = hex_digit(s[size_t(i)]);
    if (d < 0) return -1;
    v = v * 16 + d;
  }
  return v;
}

struct parse_state {
  XML_Parser parser = nullptr;
  xml_handler* handler = nullptr;
  std::u16string doctype;  // the refusal once a document type is seen
  ~parse_state() {
    if (parser) XML_ParserFree(parser);
  }
  void stop_if_refused() {
    if (!handler->refusal.empty()) XML_StopParser(parser, XML_FALSE);
  }
};

void XMLCALL on_start(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto* s = static_cast<parse_state*>(data);
  s->handler->start(local_name(name), attributes);
  s->stop_if_refused();
}

void XMLCALL on_end(void* data, const XML_Char* name) {
  auto* s = static_cast<parse_state*>(data);
  s->handler->end(local_name(name));
  s->stop_if_refused();
}

void XMLCALL on_text(void* data, const XML_Char* text, int length) {
  auto* s = static_cast<parse_state*>(data);
  s->handler->text(std::string_view(text, size_t(length)));
  s->stop_if_refused();
}

void XMLCALL on_doctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  auto* s = static_cast<parse_state*>(data);
  s->doctype = u"declares a document type (DOCTYPE), which a workbook never does.";
  XML_StopParser(s->parser, XML_FALSE);
}

}  // namespace

void append_cell_text(std::u16string& out, std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == '_') {
      const int unit = escaped_unit(s.substr(i));
      if (unit >= 0) {
        out.push_back(char16_t(unit));
        i += 7;
        continue;
      }
    }
    if (c < 0x80) {
      out.push_back(char16_t(c));
      ++i;
      continue;
    }
    // The parser hands out well-formed UTF-8 only; a cut sequence still
    // reads as a replacement rather than past the end.
    const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (length == 1 || i + size_t(length) > s.size()) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    char32_t cp = c & (0x7F >> length);
    for (int k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + size_t(k)]) & 0x3F);
    i += size_t(length);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp));
    }
  }
}

bool read_xml_part(zip_container& zip, std::string_view part, xml_handler& handler, std::u16string& why) {
  parse_state s;
  s.handler = &handler;
  s.parser = XML_ParserCreate(nullptr);
  if (!s.parser) {
    why = u"There is not enough memory to read the workbook.";
    return false;
  }
  XML_SetUserData(s.parser, &s);
  XML_SetElementHandler(s.parser, on_start, on_end);
  XML_SetCharacterDataHandler(s.parser, on_text);
  XML_SetStartDoctypeDeclHandler(s.parser, on_doctype);
  const std::u16string part_words = u"The part \u201C" + wide_text(std::string(part)) + u"\u201D of the workbook ";
  std::u16string error;
  const bool read = zip.read(part, [&](std::string_view chunk, bool last) {
    if (XML_Parse(s.parser, chunk.data(), int(chunk.size()), last) != XML_STATUS_ERROR) return true;
    if (!s.doctype.empty()) error = part_words + s.doctype;
    else if (!handler.refusal.empty()) error = handler.refusal;
    else
      error = part_words + u"is not well-formed XML (line " +
              wide_text(std::to_string(XML_GetCurrentLineNumber(s.parser))) + u": " +
              wide_text(XML_ErrorString(XML_GetErrorCode(s.parser))) + u").";
    return false;
  });
  if (!read) {
    why = zip.refusal();
    return false;
  }
  if (!error.empty()) {
    why = std::move(error);
    return false;
  }
  return true;
}

}  // namespace tessel::document
