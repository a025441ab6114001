#include "document/data_parser.h"

namespace tessel::document {

namespace {

constexpr char16_t del_char = 0x7F;

bool starts_with(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::u16string_view data_node::raw_text() const {
  if (!text_) return {};
  return std::u16string_view(*text_).substr(offset_, length_);
}

const data_node* data_node::child(std::u16string_view name) const {
  for (const data_node& c : children_) {
    if (c.name_ == name) return &c;
  }
  return nullptr;
}

const data_props* data_node::prop(std::u16string_view key) const {
  for (const data_props& p : props_) {
    if (p.key == key) return &p;
  }
  return nullptr;
}

const std::u16string* data_node::value(std::u16string_view key) const {
  const data_props* p = prop(key);
  return p ? &p->value : nullptr;
}

std::unique_ptr<data_node> data_parser::parse(std::u16string_view text) {
  // The export writes DEL in place of line breaks; it never belongs to a
  // name or value, so it is taken out of the whole text once.
  auto clean = std::make_shared<std::u16string>();
  clean->reserve(text.size());
  for (char16_t c : text) {
    if (c != del_char) clean->push_back(c);
  }
  if (clean->empty()) return nullptr;
  auto root = std::make_unique<data_node>();
  root->length_ = clean->size();
  root->text_ = std::move(clean);
  parse_node(*root, 0);
  return root;
}

void data_parser::parse_node(data_node& node, int depth) {
  std::u16string_view s = node.raw_text();

  // The node's outer parentheses.
  s = s.size() >= 2 ? s.substr(1, s.size() - 2) : std::u16string_view();

  if (starts_with(s, u"0||")) {
    s.remove_prefix(3);
  } else if (starts_with(s, u"50000000||")) {
    s.remove_prefix(10);
  }

  // The name runs up to the first "(" and may be empty: real exports write
  // the calendar root as "(0||()(...))".
  size_t open = s.find(u'(');
  if (open == std::u16string_view::npos) {
    node.name_.assign(s);
    return;
  }
  node.name_.assign(s.substr(0, open));
  std::u16string_view rest = s.substr(open);

  // Properties: "(" key|value|... ")"; a key without a value is dropped.
  size_t close = rest.find(u')');
  if (close != std::u16string_view::npos) {
    std::u16string_view list = rest.substr(1, close - 1);
    std::u16string_view pending_key;
    bool have_key = false;
    size_t pos = 0;
    while (true) {
      size_t bar = list.find(u'|', pos);
      std::u16string_view token =
          list.substr(pos, bar == std::u16string_view::npos ? std::u16string_view::npos : bar - pos);
      if (have_key) {
        node.props_.push_back(data_props{std::u16string(pending_key), std::u16string(token)});
        have_key = false;
      } else {
        pending_key = token;
        have_key = true;
      }
      if (bar == std::u16string_view::npos) break;
      pos = bar + 1;
    }
    rest = rest.substr(close + 1);
  }

  if (depth + 1 >= max_depth) return;

  // Children: the rest without its outer parentheses holds nodes one after
  // another. A child begins at the "(" that opens it and ends where its
  // parentheses balance. Text between children (the indentation newer
  // exports write after each line break) belongs to no node and is passed
  // over, as is a stray ")"; a child that never closes is incomplete and
  // dropped.
  if (rest.size() < 2) return;
  std::u16string_view body = rest.substr(1, rest.size() - 2);
  const size_t base = node.offset_ + static_cast<size_t>(body.data() - node.raw_text().data());
  int64_t count = 0;
  size_t start = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    char16_t c = body[i];
    if (c == u'(') {
      if (count == 0) start = i;
      ++count;
    } else if (c == u')' && count > 0) {
      if (--count == 0) {
        data_node& child = node.children_.emplace_back();
        child.text_ = node.text_;
        child.offset_ = base + start;
        child.length_ = i + 1 - start;
      }
    }
  }
  for (data_node& child : node.children_) parse_node(child, depth + 1);
}

}  // namespace tessel::document
