// The XER reader: what counts as an XER file, how lines become tables,
// fields, rows and cells, node text, the text encodings and the per-file
// choice of one, and that odd or broken input never crashes.
#include <gtest/gtest.h>

#include <filesystem>
#include <iconv.h>
#include <random>
#include <string>

#include "config/encoding_choices.h"
#include "config_sandbox.h"
#include "document/document.h"
#include "document/xer/data_parser.h"
#include "document/xer/text_encoding.h"
#include "document/xer/xer.h"
#include "test_support.h"
#include "view/tessel_doc.h"

namespace {

using tessel::document::xer_doc;
using tessel::document::xer_parser;
using tessel::document::xer_table;
namespace fs = std::filesystem;
using namespace std::string_literals;

using test_support::u16;

// A file of its own holding `bytes`, removed again with the object.
struct temp_file : test_support::scratch {
  std::u16string path;
  temp_file(const std::string& name, const std::string& bytes) : path(write(name, bytes)) {}
};

// A table as one text: name, fields, then each cell as bytes=field ("#" for
// no field), so that whole trees compare in one expectation.
std::string table_text(const xer_table& t) {
  std::string s = "T" + std::string(t.name().begin(), t.name().end()) + "\nF";
  for (const auto& f : t.fields()) s += std::string(f->name().begin(), f->name().end()) + "|";
  s += "\n";
  for (const auto& r : t.rows()) {
    s += "R";
    for (size_t i = 0; i < r.size(); ++i) {
      const auto* f = r.cell_field(i);
      s += std::string(r.cell_bytes(i)) + "=" + (f ? std::string(f->name().begin(), f->name().end()) : "#") + "|";
    }
    s += "\n";
  }
  return s;
}

std::string tree_text(const xer_doc* doc) {
  if (!doc) return "none";
  std::string s;
  for (const auto& t : doc->tables()) s += table_text(*t);
  return s;
}

// The reading rules written as plainly as possible: split lines at LF, drop
// a CR before the LF, split tokens at TAB, a trailing TAB gives no token.
std::string plain_reading(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t nl = bytes.find('\n', at);
    std::string line = bytes.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
    if (nl != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    at = nl == std::string::npos ? bytes.size() : nl + 1;
  }
  auto tokens = [](const std::string& line) {
    std::vector<std::string> t;
    if (line.empty()) return t;
    size_t a = 0;
    for (;;) {
      size_t tab = line.find('\t', a);
      t.push_back(line.substr(a, tab == std::string::npos ? std::string::npos : tab - a));
      if (tab == std::string::npos || tab + 1 == line.size()) break;
      a = tab + 1;
    }
    return t;
  };
  if (lines.empty() || tokens(lines[0]).empty() || tokens(lines[0])[0] != "ERMHDR") return "none";
  struct table {
    std::string name;
    std::vector<std::string> fields;
    std::vector<std::vector<std::pair<std::string, std::string>>> rows;
  };
  std::vector<table> tables;
  for (size_t i = 1; i < lines.size(); ++i) {
    const auto t = tokens(lines[i]);
    if (t.empty()) continue;
    const std::string k = t[0];
    if (k == "%E") break;
    if (k != "%T" && ((k != "%F" && k != "%R") || tables.empty())) continue;
    if (k == "%T") tables.emplace_back();
    table& cur = tables.back();
    if (k == "%R") cur.rows.emplace_back();
    size_t col = 0;
    for (const auto& v : t) {
      if (v == "%T" || v == "%F" || v == "%R") continue;
      if (k == "%T") cur.name = v;
      if (k == "%F") cur.fields.push_back(v);
      if (k == "%R") cur.rows.back().emplace_back(v, col < cur.fields.size() ? cur.fields[col] : "#");
      ++col;
    }
  }
  std::string s;
  for (const auto& t : tables) {
    s += "T" + t.name + "\nF";
    for (const auto& f : t.fields) s += f + "|";
    s += "\n";
    for (const auto& r : t.rows) {
      s += "R";
      for (const auto& [v, f] : r) s += v + "=" + f + "|";
      s += "\n";
    }
  }
  return s;
}

TEST(XerReader, OnlyFilesStartingWithTheExactHeaderTokenAreXer) {
  // (A leading UTF-8 byte-order mark is skipped: see encoding_test.cpp.)
  for (const std::string& bytes : {std::string(), std::string("\xEF\xBB" "ERMHDR\t8.0\n"), std::string("ermhdr\t8.0\n"),
                                    std::string("ERMHDRX\n"), std::string("ERMHDR\rX\n"),
                                    std::string("\tERMHDR\n"), std::string("ERMHD")}) {
    const temp_file f("notxer", bytes);
    EXPECT_FALSE(xer_parser::is_xer(f.path)) << bytes;
    EXPECT_EQ(xer_parser::parse(f.path), nullptr) << bytes;
    EXPECT_FALSE(xer_parser::parse_tables(f.path, nullptr)) << bytes;
  }
  for (const std::string& bytes : {std::string("ERMHDR"), std::string("ERMHDR\n"), std::string("ERMHDR\r\n"),
                                   std::string("ERMHDR\t8.0\t2024-01-01\r\n")}) {
    const temp_file f("xer", bytes);
    EXPECT_TRUE(xer_parser::is_xer(f.path)) << bytes;
    auto doc = xer_parser::parse(f.path);
    ASSERT_NE(doc, nullptr) << bytes;
    EXPECT_TRUE(doc->tables().empty());
  }
  // A directory and a missing file are no documents either.
  const std::string dir = fs::temp_directory_path().string();
  EXPECT_FALSE(xer_parser::is_xer(u16(dir)));
  EXPECT_EQ(xer_parser::parse(u16(dir)), nullptr);
  EXPECT_FALSE(xer_parser::is_xer(u"/nonexistent/tessel/file.xer"));
  EXPECT_EQ(xer_parser::parse(u"/nonexistent/tessel/file.xer"), nullptr);
  // Only the first line is looked at, however long it is.
  const std::string huge = "ERMHDR\t" + std::string(10 << 20, 'v');
  EXPECT_TRUE(xer_parser::is_xer(temp_file("hugehead", huge).path));
  EXPECT_FALSE(xer_parser::is_xer(temp_file("hugeother", "X" + huge).path));
}

TEST(XerReader, KeywordLinesValuesAndLineEnds) {
  auto doc = xer_parser::parse_bytes(
      "ERMHDR\t8.0\n"
      "%T\tTASK\n"
      "%F\ta\tb\tc\n"
      "%R\tX\t\tZ\n"          // empty value keeps its column
      "%R\tX\tY\t\n"          // a final TAB gives no third cell
      "%R\t1\t2\t3\t4\n"      // the fourth value has no field
      "%R\tP\t%F\tQ\n"        // a value spelt like a keyword is dropped
      "%R\t\xE9\tn\0l\n"s     // any byte is a character, NUL included
      "%R\n"                  // a row without values
      "%E\n"
      "%T\tLATE\n%F\tx\n%R\t1\n");
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(doc->tables().size(), 1u);  // nothing after the end line is read
  EXPECT_EQ(table_text(*doc->tables()[0]),
            "TTASK\nFa|b|c|\n"
            "RX=a|=b|Z=c|\n"
            "RX=a|Y=b|\n"
            "R1=a|2=b|3=c|4=#|\n"
            "RP=a|Q=b|\n"
            "R\xE9=a|n\0l=b|\n"s
            "R\n");
  const auto& row = doc->tables()[0]->rows()[4];
  EXPECT_EQ(row.cell(0).text(), u"\u00E9");
  EXPECT_EQ(row.cell(1).text(), u"n\0l"s);
  EXPECT_EQ(row.cell(1).field()->name(), u"b");
  EXPECT_EQ(row.cell_bytes(7), "");  // past the last cell: empty, no field
  EXPECT_EQ(row.cell_field(7), nullptr);
  // Line ends: the last line needs no line end; a lone CR is an ordinary
  // character. (Every other keyword rule is the plain reading's, which the
  // random inputs below hold the reader to.)
  const std::string lf = "ERMHDR\t8\n%T\tT\n%F\ta\tb\n%R\t1\t2\n\n%R\t3\t4\n";
  const std::string lf_tree = tree_text(xer_parser::parse_bytes(lf).get());
  EXPECT_EQ(tree_text(xer_parser::parse_bytes(lf + "%R\t5\t6").get()), lf_tree + "R5=a|6=b|\n");
  EXPECT_EQ(tree_text(xer_parser::parse_bytes(lf + "%R\t5\r7\t6\r").get()), lf_tree + "R5\r7=a|6\r=b|\n");
  EXPECT_EQ(tree_text(xer_parser::parse_bytes(lf + "%R\r\t5\n").get()), lf_tree);
}

// Random mixes of keywords, TABs, line ends and odd bytes read exactly as
// the plain rules say, in memory, from a file, and table by table.
TEST(XerReader, RandomInputReadsAsThePlainRulesSay) {
  const std::vector<std::string> pieces = {"%T", "%F", "%R", "%R", "\t", "\t", "\t", "\n", "\n", "\r", "\r\n",
                                           "A",  "BC", "%",  "%E", std::string(1, '\0'), "\xE9", "\xFF"};
  std::mt19937 rng(20240917);
  for (int n = 0; n < 3000; ++n) {
    std::string bytes = (rng() % 5) ? "ERMHDR" : "";
    const size_t len = rng() % 80;
    for (size_t i = 0; i < len; ++i) bytes += pieces[rng() % pieces.size()];
    const std::string expected = plain_reading(bytes);
    ASSERT_EQ(tree_text(xer_parser::parse_bytes(bytes).get()), expected) << testing::PrintToString(bytes);
    if (n % 20 == 0) {
      const temp_file f("random", bytes);
      EXPECT_EQ(tree_text(xer_parser::parse(f.path).get()), expected);
      std::string streamed;
      const bool ok = xer_parser::parse_tables(f.path, [&](const xer_table& t) { streamed += table_text(t); });
      EXPECT_EQ(ok ? streamed : "none", expected);
    }
  }
  // Long data lines dense with TABs, in every position of a 16-byte block.
  const std::vector<std::string> row_pieces = {"\t", "\t", "\t", "x", "yz", "%R", "%T", "\r"};
  for (int n = 0; n < 500; ++n) {
    std::string bytes = "ERMHDR\n%T\tT\n%F\ta\tb\tc\n";
    for (int line = 0; line < 4; ++line) {
      bytes += "%R";
      const size_t len = rng() % 120;
      for (size_t i = 0; i < len; ++i) bytes += row_pieces[rng() % row_pieces.size()];
      bytes += "\n";
    }
    ASSERT_EQ(tree_text(xer_parser::parse_bytes(bytes).get()), plain_reading(bytes)) << testing::PrintToString(bytes);
  }
}

TEST(XerReader, BrokenInputNeverCrashes) {
  // Binary garbage, with and without a header in front.
  std::mt19937 rng(7);
  std::string garbage(1 << 20, '\0');
  for (char& c : garbage) c = char(rng());
  EXPECT_EQ(xer_parser::parse_bytes(garbage), nullptr);
  auto doc = xer_parser::parse_bytes("ERMHDR\n%T\tT\n%F\ta\n%R\t" + garbage);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(tree_text(doc.get()), plain_reading("ERMHDR\n%T\tT\n%F\ta\n%R\t" + garbage));

  // A 10 MB value, and a 10 MB line of empty values.
  const std::string big(10 << 20, 'x');
  doc = xer_parser::parse(temp_file("bigline", "ERMHDR\n%T\tT\n%F\ta\tb\n%R\t" + big + "\tend\n").path);
  ASSERT_NE(doc, nullptr);
  const auto& row = doc->tables()[0]->rows()[0];
  ASSERT_EQ(row.size(), 2u);
  EXPECT_EQ(row.cell_bytes(0).size(), big.size());
  EXPECT_EQ(row.cell_bytes(1), "end");
  doc = xer_parser::parse_bytes("ERMHDR\n%T\tT\n%R" + std::string(10 << 20, '\t') + "z");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->tables()[0]->rows()[0].size(), size_t(10 << 20));
  EXPECT_EQ(doc->tables()[0]->rows()[0].cell_bytes((10 << 20) - 1), "z");

  // A file cut in the middle of a row keeps what was read.
  doc = xer_parser::parse_bytes("ERMHDR\n%T\tT\n%F\ta\tb\n%R\t1\t2\n%R\t3");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(table_text(*doc->tables()[0]), "TT\nFa|b|\nR1=a|2=b|\nR3=a|\n");
}

// Trees built by hand: cells may view any bytes, not only a file's.
TEST(XerReader, HandBuiltTreeCopiesWhatItCannotReach) {
  xer_doc doc;
  xer_table* t = doc.add_table();
  t->set_name(u"T");
  t->add_field(u"a");
  std::string line = "one two";
  auto* row = t->add_row();
  EXPECT_EQ(row->add_cell(std::string_view(line).substr(4)).bytes(), "two");
  // Bytes before the row's first cell are out of reach of an offset: copied.
  EXPECT_EQ(row->add_cell(std::string_view(line).substr(0, 3)).bytes(), "one");
  EXPECT_EQ(row->add_cell("").bytes(), "");
  line = "ONE TWO";  // the same buffer, rewritten
  ASSERT_EQ(t->rows()[0].size(), 3u);
  EXPECT_EQ(t->rows()[0].cell(0).field(), t->fields()[0].get());
  EXPECT_EQ(t->rows()[0].cell(1).field(), nullptr);
  EXPECT_EQ(t->rows()[0].cell_bytes(0), "TWO");  // a view of the line
  EXPECT_EQ(t->rows()[0].cell_bytes(1), "one");  // the copy
  EXPECT_EQ(t->rows()[0].cell_bytes(2), "");
}

}  // namespace

// Node text: names, properties and children as calendar data and layout
// files write them, and malformed text that must never bring the reader down.
namespace {

using tessel::document::data_node;
using tessel::document::data_parser;
using tessel::document::data_view;

// Whether the view reads the node as the tree does: the same name, the same
// first value for every key, the same children in order; reports the first
// difference.
void expect_same(const data_node& tree, const data_view& view, int& nodes) {
  ++nodes;
  ASSERT_EQ(view.name(), std::u16string_view(tree.name()));
  for (const auto& p : tree.props()) {
    const std::u16string* first = tree.value(p.key);
    ASSERT_TRUE(view.value(p.key)) << "key missing";
    EXPECT_EQ(*view.value(p.key), std::u16string_view(*first));
  }
  if (tree.props().empty()) {
    EXPECT_FALSE(view.value(u"")) << "a value where the tree has none";
  }
  size_t pos = 0, k = 0;
  data_view child(std::u16string_view{});
  while (view.next_child(pos, child)) {
    ASSERT_LT(k, tree.children().size()) << "a child the tree does not have";
    const data_node& expected = tree.children()[k++];
    if (tree.child(expected.name()) == &expected) {
      EXPECT_EQ(view.child(expected.name())->name(), expected.name());
    }
    expect_same(expected, child, nodes);
  }
  EXPECT_EQ(k, tree.children().size());
}

// A tree as one text: name, [key=value,...] and {children}.
std::string node_text(const data_node& n) {
  std::string s = test_support::narrow(n.name());
  if (!n.props().empty()) {
    s += "[";
    for (const auto& p : n.props()) s += test_support::narrow(p.key) + "=" + test_support::narrow(p.value) + ",";
    s.back() = ']';
  }
  if (!n.children().empty()) {
    s += "{";
    for (const data_node& c : n.children()) s += node_text(c) + " ";
    s.back() = '}';
  }
  return s;
}

TEST(DataParser, ReadsNamesPropertiesAndChildrenHoweverWritten) {
  const std::u16string calendar =
      u"(0||CalendarData()((0||DaysOfWeek()((0||1()())"
      u"(0||2()((0||0(s|08:00|f|12:00)())(0||1(s|13:00|f|17:00)())))))"
      u"(0||Exceptions()((0||0(d|40179)())))))";
  const std::u16string indented =
      u"(0||CalendarData()(\x7f\x7f  (0||DaysOfWeek()(\x7f\x7f    (0||1()())\x7f\x7f    "
      u"(0||2()(\x7f\x7f      (0||0(s|08:00|f|12:00)())))))\x7f\x7f  (0||VIEW(ShowTotal|Y)())"
      u"\x7f\x7f  (0||Exceptions()())))";
  const std::pair<std::u16string, const char*> cases[] = {
      {calendar, "CalendarData{DaysOfWeek{1 2{0[s=08:00,f=12:00] 1[s=13:00,f=17:00]}} Exceptions{0[d=40179]}}"},
      // The unnamed root as newer exports write it; a longer header.
      {u"(0||()((0||DaysOfWeek()())(0||Exceptions()())))", "{DaysOfWeek Exceptions}"},
      {u"(50000000||Node(k|v)((50000000||Inner()())))", "Node[k=v]{Inner}"},
      // Without a header the whole text after "(" starts the name; without "(" all is name.
      {u"(1||Node(k|v)())", "1||Node[k=v]"},
      {u"(0||Only)", "Only"},
      // Spaces are kept; tokens pair up as key and value, an unpaired last one is dropped.
      {u"(0|| Name (k |v | k|w|k |x|odd)((0||c()())(0||c(n|2)())))", " Name [k =v , k=w,k =x]{c c[n=2]}"},
      // DEL characters and indentation between nodes, or inside a value, are dropped.
      {indented, "CalendarData{DaysOfWeek{1 2{0[s=08:00,f=12:00]}} VIEW[ShowTotal=Y] Exceptions}"},
      {u"(0||n(k|0\x7f" u"8:00)())", "n[k=08:00]"},
      // A child that never closes is dropped, its complete siblings stay;
      // stray closing parentheses between children are passed over.
      {u"(0||CalendarData()((0||A()())(0||B()((0||C(", "CalendarData{A}"},
      {u"(0||R()()) (0||A()()) ))", "R{A}"},
  };
  for (const auto& [text, expected] : cases) {
    auto root = data_parser::parse(text);
    ASSERT_TRUE(root) << expected;
    EXPECT_EQ(node_text(*root), expected);
  }

  // Lookups are exact and case-sensitive, and find the first of a name or key.
  auto root = data_parser::parse(calendar);
  const data_node& second = root->child(u"DaysOfWeek")->children()[1].children()[1];
  EXPECT_EQ(second.raw_text(), u"(0||1(s|13:00|f|17:00)())");
  EXPECT_EQ(*second.value(u"f"), u"17:00");
  EXPECT_EQ(root->child(u"daysofweek"), nullptr);
  EXPECT_EQ(second.prop(u"S"), nullptr);
  EXPECT_EQ(second.value(u"x"), nullptr);
  auto spaced = data_parser::parse(std::get<0>(cases[5]));
  EXPECT_EQ(*spaced->value(u"k "), u"v ");
  EXPECT_TRUE(spaced->child(u"c")->props().empty());
  auto clean = data_parser::parse(indented);
  EXPECT_EQ(clean->raw_text().find(u'\x7f'), std::u16string_view::npos);
  EXPECT_EQ(clean->child(u"DaysOfWeek")->children()[1].children()[0].raw_text(), u"(0||0(s|08:00|f|12:00)())");
}

TEST(DataParser, EmptyMalformedAndRandomTextNeverFails) {
  EXPECT_EQ(data_parser::parse(u""), nullptr);
  EXPECT_EQ(data_parser::parse(u"\x7f\x7f\x7f"), nullptr);
  for (std::u16string s : {u"(", u")", u"()", u")(", u"(((", u")))", u"(0||", u"(|||)", u"x"}) {
    auto n = data_parser::parse(s);
    ASSERT_TRUE(n);
    EXPECT_TRUE(n->children().empty());
  }

  // A megabyte of open or close parentheses: linear, no children.
  EXPECT_TRUE(data_parser::parse(std::u16string(1 << 20, u'('))->children().empty());
  EXPECT_TRUE(data_parser::parse(std::u16string(1 << 20, u')'))->children().empty());

  // Nesting past the cap stops at the same depth read either way.
  std::u16string deep = u"(0||leaf(k|v)())";
  for (int k = 0; k < 100; ++k) deep = u"(0||n()(" + deep + u"))";
  int deep_nodes = 0;
  expect_same(*data_parser::parse(deep), data_view(deep), deep_nodes);
  EXPECT_EQ(deep_nodes, data_parser::max_depth);

  // Random text never brings the reader down.
  std::mt19937 rng(20240611);
  const char16_t alphabet[] = {u'(', u')', u'|', u'0', u'5', u'a', u' ', 0x7F, u':'};
  size_t nodes = 0;
  for (int round = 0; round < 3000; ++round) {
    std::u16string s(rng() % 300, u' ');
    for (char16_t& c : s) c = alphabet[rng() % std::size(alphabet)];
    auto root = data_parser::parse(s);
    const std::u16string clean = data_parser::clean(s);
    ASSERT_EQ(clean.empty(), !root);
    if (!root) continue;
    // Read in place, the text gives the same nodes.
    int viewed = 0;
    expect_same(*root, data_view(clean), viewed);
    // Every child's text is a balanced piece of its parent's text.
    std::vector<const data_node*> stack{root.get()};
    while (!stack.empty()) {
      const data_node* n = stack.back();
      stack.pop_back();
      ++nodes;
      for (const data_node& c : n->children()) {
        ASSERT_GE(c.raw_text().size(), 2u);
        EXPECT_EQ(c.raw_text().front(), u'(');
        EXPECT_EQ(c.raw_text().back(), u')');
        stack.push_back(&c);
      }
    }
  }
  EXPECT_GT(nodes, 3000u);
}

}  // namespace

// tessel-dump's table listing and table dump, run as the built program.
namespace {

using test_support::quoted;
using test_support::run_dump;

// (Refusals: RefusalReasons.MessageHasTheReasonUnderThePath.)
TEST(XerDump, ListsTablesAndDumpsEveryOccurrenceAsUtf8) {
  test_support::scratch s;
  const std::string file = quoted(s.file("small.xer",
                                         "ERMHDR\t8.0\r\n"
                                         "%T\tTASK\r\n%F\ttask_id\ttask_name\tx\r\n"
                                         "%R\t1\tCaf\xE9\r\n%R\t2\t\t\r\n"
                                         "%T\tCALENDAR\r\n%F\tclndr_id\r\n"
                                         "%T\tTASK\r\n%F\ttask_id\r\n%R\t3\textra\r\n"
                                         "%E\r\n%T\tLATE\r\n"));
  int status = -1;
  EXPECT_EQ(run_dump(file, &status), "TASK\t3\t2\nCALENDAR\t1\t0\nTASK\t1\t1\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(run_dump("--table TASK " + file, &status),
            "task_id\ttask_name\tx\n1\tCaf\xC3\xA9\n2\t\n"
            "task_id\n3\textra\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(run_dump("--table CALENDAR " + file), "clndr_id\n");
  EXPECT_EQ(run_dump("--table NONE " + file, &status), "");
  EXPECT_EQ(status, 0);
}

}  // namespace

// The text encodings of XER exports: recognising a file's encoding, decoding
// its text cells in each offered encoding, the per-file choice the user
// makes, and tessel-dump's --encoding and encoding= report.
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
  ASSERT_TRUE(doc.document()->task.size() == 2 && doc.document()->projwbs.size() == 1 && doc.document()->rsrc.size() == 1);
  EXPECT_EQ(doc.document()->projwbs[0].wbs_name.value, u"项");
  EXPECT_EQ(doc.document()->rsrc[0].rsrc_name.value, u"项");
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
