// Node text: names, properties and children as calendar data and layout
// files write them, and malformed text that must never bring the reader down.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "document/xer/data_parser.h"

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
