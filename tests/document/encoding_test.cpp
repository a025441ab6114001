// The text encodings of XER exports: recognising a file's encoding, decoding
// its text cells in each offered encoding, the per-file choice the user
// makes, and tessel-dump's --encoding and encoding= report.
#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <string>

#include "config/encoding_choices.h"
#include "config_sandbox.h"
#include "document/document.h"
#include "document/xer/text_encoding.h"
#include "document/xer/xer.h"
#include "test_support.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::document;
using namespace std::string_literals;
using test_support::run_dump;

namespace {

std::u16string decode(text_encoding e, std::string_view bytes) { return text_decoder(e).decode(bytes); }

// A small export whose activity names, WBS name, resource name and calendar
// name are the given bytes.
std::string schedule(const std::string& task1, const std::string& task2, const std::string& other) {
  return "ERMHDR\t19.12\t2024-01-10\r\n"
         "%T\tCALENDAR\r\n%F\tclndr_id\tclndr_name\r\n%R\t1\t" + other + "\r\n"
         "%T\tPROJWBS\r\n%F\twbs_id\tproj_id\twbs_short_name\twbs_name\r\n%R\t10\t1\tW\t" + other + "\r\n"
         "%T\tRSRC\r\n%F\trsrc_id\trsrc_short_name\trsrc_name\r\n%R\t5\tR\t" + other + "\r\n"
         "%T\tTASK\r\n%F\ttask_id\twbs_id\tclndr_id\ttask_code\ttask_name\r\n"
         "%R\t100\t10\t1\tA1\t" + task1 + "\r\n%R\t101\t10\t1\tA2\t" + task2 + "\r\n%E\r\n";
}

const std::string kCurly = "\x93Quote\x94 \x96 \xA3" "5";  // “Quote” – £5 in Windows-1252
const std::string kCyrillic1251 = "\xC7\xE0\xE4\xE0\xF7\xE0 1";  // Задача 1

// The name of the i-th activity, or "<none>" when there is no such activity.
std::u16string name(const view::TesselDoc& d, size_t i) {
  const bool has = d.document() && i < d.document()->task.size();
  EXPECT_TRUE(has) << "no activity " << i;
  return has ? d.document()->task[i].task_name.value : u"<none>";
}

class Encodings : public config_sandbox {
 protected:
  Encodings() : config_sandbox("tessel-enc-") {}
  std::u16string write(const std::string& name, const std::string& bytes) {
    test_support::write_file(root_ / "files" / name, bytes);
    return (root_ / "files" / name).u16string();
  }
};

}  // namespace

TEST(TextEncoding, DetectionAndTheReadersDecoding) {
  EXPECT_EQ(detect_encoding("plain ASCII\tonly\r\n"), text_encoding::windows_1252);
  EXPECT_EQ(detect_encoding(kCurly), text_encoding::windows_1252);
  EXPECT_EQ(detect_encoding("\xD0\x97\xD0\xB0 \xE9\xA1\xB9\xE7\x9B\xAE \xF0\x9F\x98\x80"), text_encoding::utf8);
  EXPECT_EQ(detect_encoding("\xEF\xBB\xBF" "ERMHDR\n"), text_encoding::utf8);  // the mark is a sequence
  // One lucky pair ("Ã©" is also valid UTF-8 for "é") does not outweigh a
  // byte that UTF-8 cannot hold, before or after it.
  EXPECT_EQ(detect_encoding("Caf\xC3\xA9 and Caf\xE9"), text_encoding::windows_1252);
  EXPECT_EQ(detect_encoding("Caf\xE9 and Caf\xC3\xA9"), text_encoding::windows_1252);
  // Forms that look like UTF-8 but are not: overlong, surrogate, beyond
  // U+10FFFF, a stray trail byte, a sequence cut off by the end.
  for (const char* bad : {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xE2\x82"})
    EXPECT_EQ(detect_encoding("ok "s + bad), text_encoding::windows_1252) << bad;
  // The one bad byte is found wherever it stands in a long ASCII run, and a
  // good sequence there is found as well (the run is skipped in blocks).
  for (size_t at = 0; at < 200; ++at) {
    std::string run(300, 'x');
    run[at] = '\xE9';
    EXPECT_EQ(detect_encoding(run), text_encoding::windows_1252) << at;
    run.replace(at, 1, "\xC3\xA9");
    EXPECT_EQ(detect_encoding(run), text_encoding::utf8) << at;
  }

  // The reader decodes cells but not names.
  auto doc = xer_parser::parse_bytes("ERMHDR\n%T\tTASK\n%F\tname\n%R\t" + kCurly + "\n");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->decoder().encoding(), text_encoding::windows_1252);
  EXPECT_EQ(doc->tables()[0]->rows()[0].cell(0).text(), u"\u201CQuote\u201D \u2013 \u00A35");
  doc = xer_parser::parse_bytes("ERMHDR\n%T\tTASK\n%F\tname\n%R\t" + kCyrillic1251 + "\n", text_encoding::windows_1251);
  EXPECT_EQ(doc->tables()[0]->rows()[0].cell(0).text(), u"Задача 1");
  EXPECT_EQ(doc->tables()[0]->fields()[0]->name(), u"name");
  // A leading byte-order mark is skipped and declares UTF-8.
  doc = xer_parser::parse_bytes("\xEF\xBB\xBF" "ERMHDR\n%T\tTASK\n%F\tname\n%R\t\xD0\x97\n");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->tables()[0]->name(), u"TASK");
  EXPECT_EQ(doc->tables()[0]->rows()[0].cell(0).text(), u"З");
  EXPECT_EQ(xer_parser::parse_bytes("\xEF\xBB" "ERMHDR\n"), nullptr);
}

TEST(TextEncoding, EachOfferedEncodingDecodesItsOwnText) {
  // Windows-1252 agrees with the system's conversion and keeps the five gaps.
  iconv_t cd = ::iconv_open("UTF-16LE", "CP1252");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  const text_decoder dec(text_encoding::windows_1252);
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    char in[1] = {char(b)}, out[4];
    char *ip = in, *op = out;
    size_t il = 1, ol = sizeof out;
    const char16_t got = dec.decode(std::string(1, char(b)))[0];
    if (::iconv(cd, &ip, &il, &op, &ol) == size_t(-1)) {
      EXPECT_EQ(got, char16_t(b)) << "undefined byte " << b << " keeps its Latin-1 meaning";
    } else {
      EXPECT_EQ(got, char16_t(uint8_t(out[0]) | uint8_t(out[1]) << 8)) << b;
    }
  }
  ::iconv_close(cd);
  EXPECT_EQ(dec.decode(kCurly), u"\u201CQuote\u201D \u2013 \u00A35");

  // Each offered encoding decodes its own text.
  EXPECT_EQ(decode(text_encoding::windows_1251, kCyrillic1251), u"Задача 1");
  EXPECT_EQ(decode(text_encoding::windows_1250, "\xA3\xF3\x64\x9F"), u"Łódź");
  EXPECT_EQ(decode(text_encoding::windows_1253, "\xC5\xEB\xEB\xDC\xE4\xE1"), u"Ελλάδα");
  EXPECT_EQ(decode(text_encoding::windows_1256, "\xCC\xC7\xE3\xDA\xC9"), u"جامعة");
  EXPECT_EQ(decode(text_encoding::gbk, "\xCF\xEE\xC4\xBF"), u"项目");
  EXPECT_EQ(decode(text_encoding::big5, "\xA4\xA4\xA4\xE5"), u"中文");
  // 本 has an ASCII trail byte; half-width katakana are single bytes.
  EXPECT_EQ(decode(text_encoding::shift_jis, "\x93\xFA\x96\x7B\x8C\xEA \xB1"), u"日本語 ｱ");
  EXPECT_EQ(decode(text_encoding::utf8, "\xD0\x97\xD0\xB0 \xE9\xA1\xB9 \xF0\x9F\x98\x80"), u"За 项 \U0001F600");
  EXPECT_EQ(decode(text_encoding::latin1, "\x93\xE9"), u"\u0093\u00E9");
  // A byte-order mark left at the start of a text is no part of it.
  EXPECT_EQ(decode(text_encoding::windows_1252, "\xEF\xBB\xBFNote \xEF\xBB\xBF"), u"Note ï»¿");
  EXPECT_EQ(decode(text_encoding::windows_1251, "\xEF\xBB\xBFNote \xEF\xBB\xBF"), u"Note п»ї");
  EXPECT_EQ(decode(text_encoding::utf8, "\xEF\xBB\xBFNote \xEF\xBB\xBF"), u"Note \uFEFF");
  EXPECT_EQ(decode(text_encoding::latin1, "\xEF\xBB\xBF"), u"ï»¿");
  // Past the 16-byte blocks of the ASCII fast path.
  EXPECT_EQ(decode(text_encoding::windows_1251, std::string(37, 'a') + kCyrillic1251 + "bc"),
            std::u16string(37, u'a') + u"Задача 1bc");
  // Every encoding is offered under a distinct name that reads back.
  for (const encoding_info& e : offered_encodings()) {
    EXPECT_EQ(encoding_by_name(e.name), e.encoding);
    EXPECT_EQ(text_decoder(e.encoding).encoding(), e.encoding) << e.name << ": the system cannot convert it";
    EXPECT_FALSE(e.display_name.empty());
  }
  EXPECT_EQ(encoding_by_name("CP1251"), text_encoding::windows_1251);
  EXPECT_EQ(encoding_by_name("1256"), text_encoding::windows_1256);
  EXPECT_EQ(encoding_by_name("UTF8"), text_encoding::utf8);
  EXPECT_EQ(encoding_by_name("Shift-JIS"), text_encoding::shift_jis);
  EXPECT_EQ(encoding_by_name("latin-1"), text_encoding::latin1);
  EXPECT_EQ(encoding_by_name("ebcdic"), std::nullopt);
  EXPECT_EQ(encoding_by_name("1249"), std::nullopt);

  // Broken sequences become one mark and the rest is kept.
  EXPECT_EQ(decode(text_encoding::utf8, "A\xE2\x82" "B"), u"A\uFFFDB");
  EXPECT_EQ(decode(text_encoding::utf8, "\xC3(\xFF\xED\xA0\x80!"), u"\uFFFD(\uFFFD\uFFFD\uFFFD\uFFFD!");
  EXPECT_EQ(decode(text_encoding::utf8, "end \xF0\x9F\x98"), u"end \uFFFD");
  // A lead byte never takes a byte below '@' (digits, blanks, TABs) with it.
  EXPECT_EQ(decode(text_encoding::gbk, "\xCF" "1\xCF"), u"\uFFFD1\uFFFD");
  EXPECT_EQ(decode(text_encoding::big5, "\xA4\x20x"), u"\uFFFD x");
  // Random bytes in every encoding: nothing breaks, the text is never longer
  // than its bytes, and digits, blanks and TABs all survive in order.
  std::mt19937 rng(7);
  for (const encoding_info& e : offered_encodings()) {
    const text_decoder dec(e.encoding);
    for (int n = 0; n < 300; ++n) {
      std::string bytes(rng() % 40, '\0');
      for (char& c : bytes) c = char(rng() % 3 ? 0x80 + rng() % 128 : "0 9\t"[rng() % 4]);
      const std::u16string text = dec.decode(bytes);
      EXPECT_LE(text.size(), bytes.size());
      std::string low_in, low_out;
      for (char c : bytes)
        if (uint8_t(c) < 0x40) low_in += c;
      for (char16_t c : text)
        if (c < 0x40) low_out += char(c);
      ASSERT_EQ(low_out, low_in) << e.name;
    }
  }
}

TEST_F(Encodings, OpenedSchedulesShowTheirTextAsWrittenOrInTheChosenEncoding) {
  view::TesselDoc doc;
  ASSERT_TRUE(doc.open(write("w.xer", schedule(kCurly, "Caf\xE9", "Gr\xFC\xDF" "e"))));
  EXPECT_EQ(doc.encoding_used(), text_encoding::windows_1252);
  EXPECT_EQ(name(doc, 0), u"\u201CQuote\u201D \u2013 \u00A35");
  EXPECT_EQ(name(doc, 1), u"Café");
  ASSERT_EQ(doc.document()->calendar.size(), 1u);
  EXPECT_EQ(doc.document()->calendar[0].clndr_name.value, u"Grüße");

  const std::string utf8_names = "\xD0\x97\xD0\xB0\xD0\xB4\xD0\xB0\xD1\x87\xD0\xB0 1";  // Задача 1
  ASSERT_TRUE(doc.open(write("u.xer", schedule(utf8_names, "\xE9\xA1\xB9\xE7\x9B\xAE", "\xE9\xA1\xB9"))));
  EXPECT_EQ(doc.encoding_used(), text_encoding::utf8);
  EXPECT_EQ(name(doc, 0), u"Задача 1");
  EXPECT_EQ(name(doc, 1), u"项目");
  EXPECT_EQ(doc.document()->projwbs[0].wbs_name.value, u"项");
  EXPECT_EQ(doc.document()->rsrc[0].rsrc_name.value, u"项");
  ASSERT_TRUE(doc.document()->task.size() == 2 && doc.document()->projwbs.size() == 1);
  EXPECT_EQ(doc.document()->task[0].projwbs, &doc.document()->projwbs[0]) << "ids still link";

  // A file with a byte-order mark opens (it used to be refused).
  ASSERT_TRUE(doc.open(write("bom.xer", "\xEF\xBB\xBF" + schedule("a", "b", "c"))));
  EXPECT_EQ(doc.encoding_used(), text_encoding::utf8);
  EXPECT_EQ(doc.document()->task.size(), 2u);

  // A chosen encoding is remembered per file.
  const std::u16string path = write("ru.xer", schedule(kCyrillic1251, "x", "y"));
  const std::u16string other = write("other.xer", schedule(kCyrillic1251, "x", "y"));
  ASSERT_TRUE(doc.open(path));
  EXPECT_EQ(doc.encoding_used(), text_encoding::windows_1252);
  EXPECT_EQ(name(doc, 0), u"Çàäà÷à 1");

  ASSERT_TRUE(doc.open(path, text_encoding::windows_1251));
  EXPECT_EQ(name(doc, 0), u"Задача 1");
  EXPECT_TRUE(fs::exists(root_ / "data" / "Encodings.cfg"));

  // The next open of that file (under any spelling of its path, by a new
  // viewer) uses the choice; other files do not.
  view::TesselDoc next;
  ASSERT_TRUE(next.open((root_ / "files" / ".." / "files" / "ru.xer").u16string()));
  EXPECT_EQ(next.encoding_used(), text_encoding::windows_1251);
  EXPECT_EQ(name(next, 0), u"Задача 1");
  ASSERT_TRUE(next.open(other));
  EXPECT_EQ(next.encoding_used(), text_encoding::windows_1252);

  // A choice not to be remembered, and a refused file, leave it alone.
  ASSERT_TRUE(next.open(path, text_encoding::gbk, false));
  EXPECT_FALSE(next.open(write("bad.xer", "nothing"), text_encoding::big5));
  EXPECT_EQ(view::remembered_text_encoding(path), text_encoding::windows_1251);
  EXPECT_EQ(view::remembered_text_encoding(write("bad.xer", "nothing")), std::nullopt);

  // Letting the bytes decide again forgets the choice.
  ASSERT_TRUE(next.open_detected(path));
  EXPECT_EQ(next.encoding_used(), text_encoding::windows_1252);
  EXPECT_EQ(view::remembered_text_encoding(path), std::nullopt);
}

TEST_F(Encodings, TheChoicesFileAndTesselDump) {
  const fs::path odd = root_ / "files" / "tab\there%41\nnew line.xer";
  config::remember_encoding(odd, "windows-1256");
  config::remember_encoding(root_ / "plain.xer", "gbk");
  EXPECT_EQ(config::remembered_encoding(odd), "windows-1256");
  EXPECT_EQ(config::remembered_encoding(root_ / "files" / "tab\there%41"), std::nullopt);
  EXPECT_EQ(config::remembered_encoding(root_ / "plain.xer"), "gbk");

  // Hand-written lines: the later line for a path wins, malformed lines and
  // unknown names are skipped.
  std::string text = "big5\t/a.xer\nno tab here\n\t/b.xer\nutf-8\t/a.xer\nklingon\t/c.xer\n";
  for (size_t i = 0; i < config::kRememberedFiles + 20; ++i) text += "gbk\t/many/" + std::to_string(i) + ".xer\n";
  std::ofstream(config::encodings_file(), std::ios::binary) << text;
  EXPECT_EQ(config::remembered_encoding("/a.xer"), "utf-8");
  EXPECT_EQ(config::remembered_encoding("/b.xer"), std::nullopt);
  EXPECT_EQ(view::remembered_text_encoding(u"/c.xer"), std::nullopt);
  // One more choice rewrites the file with only the latest ones.
  config::remember_encoding("/new.xer", "big5");
  EXPECT_EQ(config::remembered_encoding("/new.xer"), "big5");
  EXPECT_EQ(config::remembered_encoding("/many/0.xer"), std::nullopt);
  EXPECT_EQ(config::remembered_encoding("/many/" + std::to_string(config::kRememberedFiles + 19) + ".xer"), "gbk");
  EXPECT_EQ(config::remembered_encoding("/a.xer"), std::nullopt);

  // tessel-dump reports and takes the encoding, and never remembers it.
  const std::string path = fs::path(write("ru.xer", schedule(kCyrillic1251, "x", "y"))).string();
  int status = -1;
  std::string out = run_dump("--summary '" + path + "'", &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find(" read_ms="), std::string::npos);
  EXPECT_EQ(out.substr(out.rfind(' ')), " encoding=windows-1252\n");
  EXPECT_EQ(out.find("projects=0 activities=2 relationships=0 wbs=1 resources=1 calendars=1 assignments=0 "), 0u);

  out = run_dump("--encoding windows-1251 --summary '" + path + "'");
  EXPECT_EQ(out.substr(out.rfind(' ')), " encoding=windows-1251\n");
  out = run_dump("--activities '" + path + "' --encoding=cp1251");
  EXPECT_NE(out.find("A1\tЗадача 1\t"), std::string::npos) << out;
  out = run_dump("--table TASK --encoding 1251 '" + path + "'");
  EXPECT_NE(out.find("\tA1\tЗадача 1\n"), std::string::npos) << out;
  // tessel-dump never remembers what it was told.
  EXPECT_EQ(view::remembered_text_encoding(fs::path(path).u16string()), std::nullopt);

  run_dump("--encoding klingon --summary '" + path + "'", &status);
  EXPECT_EQ(status, 2);
  run_dump("--summary '" + path + "' --encoding", &status);
  EXPECT_EQ(status, 2);
}

TEST_F(Encodings, RealExportsInTheirCodePages) {
  SKIP_WITHOUT_REAL_EXPORTS();
  const fs::path real = test_support::real_dir();
  view::TesselDoc doc;
  ASSERT_TRUE(doc.open((real / "aspose-encoding1251.xer").u16string(), text_encoding::windows_1251, false));
  EXPECT_EQ(name(doc, 0).substr(0, 6), u"Задача");
  ASSERT_TRUE(doc.open((real / "pyp6xer-sp10-cost-loaded.xer").u16string()));
  EXPECT_EQ(doc.encoding_used(), text_encoding::windows_1252);
  bool curly = false;
  for (const TASK& t : doc.document()->task) curly |= t.task_name.value.find(u'\u2019') != std::u16string::npos;
  EXPECT_TRUE(curly) << "the export's right single quotes show as such";
  ASSERT_TRUE(doc.open((real / "xernative-sample.xer").u16string()));
  EXPECT_EQ(doc.encoding_used(), text_encoding::utf8);
}
