// The XER reader: what counts as an XER file, how lines become tables,
// fields, rows and cells, and that odd or broken input never crashes.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "document/xer/data_parser.h"
#include "document/xer/xer.h"
#include "test_support.h"

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
  std::u16string u16() const { return path; }
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
    EXPECT_FALSE(xer_parser::is_xer(f.u16())) << bytes;
    EXPECT_EQ(xer_parser::parse(f.u16()), nullptr) << bytes;
    EXPECT_FALSE(xer_parser::parse_tables(f.u16(), nullptr)) << bytes;
  }
  for (const std::string& bytes : {std::string("ERMHDR"), std::string("ERMHDR\n"), std::string("ERMHDR\r\n"),
                                   std::string("ERMHDR\t8.0\t2024-01-01\r\n")}) {
    const temp_file f("xer", bytes);
    EXPECT_TRUE(xer_parser::is_xer(f.u16())) << bytes;
    auto doc = xer_parser::parse(f.u16());
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
  EXPECT_TRUE(xer_parser::is_xer(temp_file("hugehead", huge).u16()));
  EXPECT_FALSE(xer_parser::is_xer(temp_file("hugeother", "X" + huge).u16()));
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

  // Tables, fields and rows follow the keyword lines.
  doc = xer_parser::parse_bytes(
      "ERMHDR\n"
      "%F\tlost\n%R\tlost\n"           // before any table: ignored
      "%T\tA\tB\tNAME\n"               // several names: the last one counts
      "%F\tf1\n%F\tf2\n"               // a second field line appends
      "%R\t1\t2\t3\n"
      "%F\tf3\n"                       // too late for the row above
      "%R\t4\t5\t6\n"
      "%X\tother keyword\n\n%r\tcase\n"
      "%T\tNAME\n%F\tg\n%R\tv\n"       // the same name again: a second table
      "%T\n"                           // a table without name, fields or rows
      "%T\t%R\n");                     // its only name is a keyword
  ASSERT_NE(doc, nullptr);
  std::string all = tree_text(doc.get());
  EXPECT_EQ(all,
            "TNAME\nFf1|f2|f3|\nR1=f1|2=f2|3=#|\nR4=f1|5=f2|6=f3|\n"
            "TNAME\nFg|\nRv=g|\n"
            "T\nF\n"
            "T\nF\n");

  // Line ends, and the last line.
  const std::string lf = "ERMHDR\t8\n%T\tT\n%F\ta\tb\n%R\t1\t2\n\n%R\t3\t4\n";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string lf_tree = tree_text(xer_parser::parse_bytes(lf).get());
  EXPECT_EQ(tree_text(xer_parser::parse_bytes(crlf).get()), lf_tree);
  // The last line needs no line end; a lone CR is an ordinary character.
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
      EXPECT_EQ(tree_text(xer_parser::parse(f.u16()).get()), expected);
      std::string streamed;
      const bool ok = xer_parser::parse_tables(f.u16(), [&](const xer_table& t) { streamed += table_text(t); });
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
  doc = xer_parser::parse(temp_file("bigline", "ERMHDR\n%T\tT\n%F\ta\tb\n%R\t" + big + "\tend\n").u16());
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

TEST(DataParser, ReadsNamesPropertiesAndChildrenHoweverWritten) {
  auto root = data_parser::parse(
      u"(0||CalendarData()((0||DaysOfWeek()((0||1()())"
      u"(0||2()((0||0(s|08:00|f|12:00)())(0||1(s|13:00|f|17:00)())))))"
      u"(0||Exceptions()((0||0(d|40179)())))))");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->name(), u"CalendarData");
  EXPECT_TRUE(root->props().empty());
  ASSERT_EQ(root->children().size(), 2u);
  const data_node* days = root->child(u"DaysOfWeek");
  ASSERT_TRUE(days);
  ASSERT_EQ(days->children().size(), 2u);
  const data_node& monday = days->children()[1];
  EXPECT_EQ(monday.name(), u"2");
  ASSERT_EQ(monday.children().size(), 2u);
  const data_node& second = monday.children()[1];
  ASSERT_EQ(second.props().size(), 2u);
  EXPECT_EQ(second.props()[0].key, u"s");
  EXPECT_EQ(second.props()[0].value, u"13:00");
  EXPECT_EQ(second.props()[1].key, u"f");
  EXPECT_EQ(*second.value(u"f"), u"17:00");
  EXPECT_EQ(second.raw_text(), u"(0||1(s|13:00|f|17:00)())");
  EXPECT_EQ(root->child(u"Exceptions")->children()[0].value(u"d")->size(), 5u);
  // Lookups are exact and case-sensitive.
  EXPECT_EQ(root->child(u"daysofweek"), nullptr);
  EXPECT_EQ(second.prop(u"S"), nullptr);
  EXPECT_EQ(second.value(u"x"), nullptr);

  // The unnamed as newer exports write it: empty name, empty property list.
  auto unnamed = data_parser::parse(u"(0||()((0||DaysOfWeek()())(0||Exceptions()())))");
  ASSERT_TRUE(unnamed);
  EXPECT_EQ(unnamed->name(), u"");
  ASSERT_EQ(unnamed->children().size(), 2u);
  EXPECT_TRUE(unnamed->child(u"Exceptions"));

  auto long_header = data_parser::parse(u"(50000000||Node(k|v)((50000000||Inner()())))");
  ASSERT_TRUE(long_header);
  EXPECT_EQ(long_header->name(), u"Node");
  ASSERT_EQ(long_header->children().size(), 1u);
  EXPECT_EQ(long_header->children()[0].name(), u"Inner");

  // Without a header the whole text after "(" starts the name.
  auto bare = data_parser::parse(u"(1||Node(k|v)())");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->name(), u"1||Node");
  EXPECT_EQ(*bare->value(u"k"), u"v");

  // No "(" at all: everything is the name.
  auto plain = data_parser::parse(u"(0||Only)");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->name(), u"Only");
  EXPECT_TRUE(plain->children().empty());

  // Spaces are kept, tokens pair up, the first match wins.
  auto spaced = data_parser::parse(u"(0|| Name (k |v | k|w|k |x|odd)((0||c()())(0||c(n|2)())))");
  ASSERT_TRUE(spaced);
  EXPECT_EQ(spaced->name(), u" Name ");
  // Tokens pair up as key and value; the unpaired last token is dropped.
  ASSERT_EQ(spaced->props().size(), 3u);
  EXPECT_EQ(spaced->props()[0].key, u"k ");
  EXPECT_EQ(spaced->props()[0].value, u"v ");
  EXPECT_EQ(spaced->props()[1].key, u" k");
  EXPECT_EQ(*spaced->value(u"k "), u"v ");  // first of two "k " keys
  EXPECT_EQ(spaced->props()[2].value, u"x");
  // Of two children with one name, the first is found.
  const data_node* c = spaced->child(u"c");
  ASSERT_TRUE(c);
  EXPECT_TRUE(c->props().empty());

  // DEL characters and indentation between nodes are harmless.
  std::u16string text =
      u"(0||CalendarData()(\x7f\x7f  (0||DaysOfWeek()(\x7f\x7f    (0||1()())\x7f\x7f    "
      u"(0||2()(\x7f\x7f      (0||0(s|08:00|f|12:00)())))))\x7f\x7f  (0||VIEW(ShowTotal|Y)())"
      u"\x7f\x7f  (0||Exceptions()())))";
  auto indented = data_parser::parse(text);
  ASSERT_TRUE(indented);
  EXPECT_EQ(indented->name(), u"CalendarData");
  ASSERT_EQ(indented->children().size(), 3u);
  EXPECT_EQ(indented->children()[1].name(), u"VIEW");
  EXPECT_EQ(*indented->children()[1].value(u"ShowTotal"), u"Y");
  const data_node* indented_days = indented->child(u"DaysOfWeek");
  ASSERT_TRUE(indented_days);
  ASSERT_EQ(indented_days->children().size(), 2u);
  EXPECT_EQ(indented_days->children()[1].children()[0].raw_text(), u"(0||0(s|08:00|f|12:00)())");
  EXPECT_EQ(indented->raw_text().find(u'\x7f'), std::u16string_view::npos);
  // DEL inside a value is dropped too.
  auto v = data_parser::parse(u"(0||n(k|0\x7f" u"8:00)())");
  EXPECT_EQ(*v->value(u"k"), u"08:00");
}

TEST(DataParser, EmptyMalformedAndRandomTextNeverFails) {
  EXPECT_EQ(data_parser::parse(u""), nullptr);
  EXPECT_EQ(data_parser::parse(u"\x7f\x7f\x7f"), nullptr);

  // A child that never closes is dropped; its complete siblings stay.
  auto truncated = data_parser::parse(u"(0||CalendarData()((0||A()())(0||B()((0||C(");
  ASSERT_TRUE(truncated);
  ASSERT_EQ(truncated->children().size(), 1u);
  EXPECT_EQ(truncated->children()[0].name(), u"A");

  // Stray closing parentheses between children are passed over.
  auto stray = data_parser::parse(u"(0||R()()) (0||A()()) ))");
  ASSERT_TRUE(stray);
  EXPECT_EQ(stray->children().size(), 1u);

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

TEST(XerDump, ListsTablesDumpsEveryOccurrenceAsUtf8AndRefusesWhatIsNotXer) {
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

  // What is not an XER file is refused.
  for (const std::filesystem::path& f : {s.file("bom.xer", "\xEF\xBB" "ERMHDR\t8.0\n%T\tTASK\n"),  // a broken mark
                                         s.file("empty.xer", ""), s.file("other.xer", "HEADER\t8.0\n"),
                                         s.dir / "missing.xer", s.dir}) {
    for (const std::string args : {"", "--table TASK "}) {
      status = -1;
      // The reason stands on the line below.
      EXPECT_EQ(run_dump(args + quoted(f), &status, true).rfind("Can't open document: " + f.string() + "\n", 0), 0u);
      EXPECT_EQ(status, 1) << f;
    }
  }
}

}  // namespace
