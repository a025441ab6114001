// Node text: the nested, parenthesised text of calendar data and layout
// files. A node is written
//
//   ( header name ( key|value|key|value ) ( child child ... ) )
//
// where the header "0||" or "50000000||" is optional, the name may be empty
// and names, keys and values keep every space they are written with.
//
// A parsed tree is short-lived (it exists while one layout is read), so
// nodes do not copy their text: every node of a tree shares the one cleaned
// text and knows only where its own part of it lies. A reader that visits
// each node once (calendar data, which can run to tens of thousands of
// nodes) reads the cleaned text through data_view instead, which gives the
// same names, values and children without building anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::document {

// One property of a node: a key and its value, both as written.
struct data_props {
  std::u16string key;
  std::u16string value;
};

class data_node {
 public:
  const std::u16string& name() const { return name_; }
  // The node's own text, outer parentheses included, with the DEL characters
  // that stand for line breaks already taken out.
  std::u16string_view raw_text() const;

  const std::vector<data_node>& children() const { return children_; }
  const std::vector<data_props>& props() const { return props_; }

  // Exact, case-sensitive lookups; the first match wins; none gives nullptr.
  const data_node* child(std::u16string_view name) const;
  const data_props* prop(std::u16string_view key) const;
  // The value of the first property with this key, or nullptr.
  const std::u16string* value(std::u16string_view key) const;

 private:
  friend class data_parser;
  std::u16string name_;
  std::shared_ptr<const std::u16string> text_;  // the whole cleaned text
  size_t offset_ = 0;
  size_t length_ = 0;
  std::vector<data_props> props_;
  std::vector<data_node> children_;
};

// One node read in place from a cleaned text, which must outlive the view.
class data_view {
 public:
  // `text` is the node's text, outer parentheses included; depth as in
  // data_parser (a node at max_depth - 1 shows no children).
  explicit data_view(std::u16string_view text, int depth = 0);

  std::u16string_view name() const { return name_; }
  // The value of the first property with this key, if any.
  std::optional<std::u16string_view> value(std::u16string_view key) const;
  // The first child with this name, if any.
  std::optional<data_view> child(std::u16string_view name) const;
  // Steps through the children in order: start with pos 0 and call until
  // it gives false.
  bool next_child(size_t& pos, data_view& out) const;

 private:
  std::u16string_view name_;
  std::u16string_view props_;
  std::u16string_view body_;
  bool has_props_ = false;
  bool has_body_ = false;
  int depth_ = 0;
};

class data_parser {
 public:
  // Nesting deeper than this is not followed: a node at this depth keeps its
  // name and properties but gets no children. Real texts nest five or six
  // levels; the cap only guards against hostile or broken input.
  static constexpr int max_depth = 64;

  // The root node of `text`, or none when the text is empty (also when it is
  // empty once the DEL characters are removed). Malformed text never fails:
  // it gives whatever nodes can be read from it.
  static std::unique_ptr<data_node> parse(std::u16string_view text);

  // The text with the DEL characters that stand for line breaks taken out:
  // what parse reads, and what a data_view of the root node is made from
  // (an empty result means there is no root).
  static std::u16string clean(std::u16string_view text);

 private:
  static void parse_node(data_node& node, int depth);
};

}  // namespace tessel::document
