#include "document/xer/data_parser.h"

namespace tessel::document {

namespace {

constexpr char16_t del_char = 0x7F;

bool starts_with(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// The parts of one node's text: its name, its property list and the text of
// its children, each empty when absent.
struct node_parts {
  std::u16string_view name;
  std::u16string_view props;
  std::u16string_view body;
  bool has_props = false;
  bool has_body = false;
};

node_parts split_node(std::u16string_view s) {
  node_parts parts;
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
    parts.name = s;
    return parts;
  }
  parts.name = s.substr(0, open);
  std::u16string_view rest = s.substr(open);

  // Properties: "(" key|value|... ")".
  size_t close = rest.find(u')');
  if (close != std::u16string_view::npos) {
    parts.props = rest.substr(1, close - 1);
    parts.has_props = true;
    rest = rest.substr(close + 1);
  }

  // Children: the rest without its outer parentheses.
  if (rest.size() >= 2) {
    parts.body = rest.substr(1, rest.size() - 2);
    parts.has_body = true;
  }
  return parts;
}

// Calls f(key, value) for each property of a list in order until f gives
// false; a key without a value is dropped.
template <class F>
void for_each_prop(std::u16string_view list, F f) {
  std::u16string_view pending_key;
  bool have_key = false;
  size_t pos = 0;
  while (true) {
    size_t bar = list.find(u'|', pos);
    std::u16string_view token =
        list.substr(pos, bar == std::u16string_view::npos ? std::u16string_view::npos : bar - pos);
    if (have_key) {
      if (!f(pending_key, token)) return;
      have_key = false;
    } else {
      pending_key = token;
      have_key = true;
    }
    if (bar == std::u16string_view::npos) break;
    pos = bar + 1;
  }
}

// The next child in a body from pos: it begins at the "(" that opens it and
// ends where its parentheses balance. Text between children (the
// indentation newer exports write after each line break) belongs to no node
// and is passed over, as is a stray ")"; a child that never closes is
// incomplete and dropped.
bool next_child_text(std::u16string_view body, size_t& pos, size_t& start, size_t& length) {
  int64_t count = 0;
  for (size_t i = pos; i < body.size(); ++i) {
    char16_t c = body[i];
    if (c == u'(') {
      if (count == 0) start = i;
      ++count;
    } else if (c == u')' && count > 0) {
      if (--count == 0) {
        length = i + 1 - start;
        pos = i + 1;
        return true;
      }
    }
  }
  pos = body.size();
  return false;
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

std::u16string data_parser::clean(std::u16string_view text) {
  // The export writes DEL in place of line breaks; it never belongs to a
  // name or value, so it is taken out of the whole text once.
  std::u16string clean;
  clean.reserve(text.size());
  for (char16_t c : text) {
    if (c != del_char) clean.push_back(c);
  }
  return clean;
}

std::unique_ptr<data_node> data_parser::parse(std::u16string_view text) {
  auto clean = std::make_shared<std::u16string>(data_parser::clean(text));
  if (clean->empty()) return nullptr;
  auto root = std::make_unique<data_node>();
  root->length_ = clean->size();
  root->text_ = std::move(clean);
  parse_node(*root, 0);
  return root;
}

void data_parser::parse_node(data_node& node, int depth) {
  const node_parts parts = split_node(node.raw_text());
  node.name_.assign(parts.name);
  if (parts.has_props) {
    for_each_prop(parts.props, [&](std::u16string_view key, std::u16string_view value) {
      node.props_.push_back(data_props{std::u16string(key), std::u16string(value)});
      return true;
    });
  }
  if (depth + 1 >= max_depth || !parts.has_body) return;
  const size_t base = node.offset_ + static_cast<size_t>(parts.body.data() - node.raw_text().data());
  size_t pos = 0, start = 0, length = 0;
  while (next_child_text(parts.body, pos, start, length)) {
    data_node& child = node.children_.emplace_back();
    child.text_ = node.text_;
    child.offset_ = base + start;
    child.length_ = length;
  }
  for (data_node& child : node.children_) parse_node(child, depth + 1);
}

data_view::data_view(std::u16string_view text, int depth) : depth_(depth) {
  const node_parts parts = split_node(text);
  name_ = parts.name;
  props_ = parts.props;
  body_ = parts.body;
  has_props_ = parts.has_props;
  has_body_ = parts.has_body;
}

std::optional<std::u16string_view> data_view::value(std::u16string_view key) const {
  std::optional<std::u16string_view> found;
  if (!has_props_) return found;
  for_each_prop(props_, [&](std::u16string_view k, std::u16string_view v) {
    if (k == key) found = v;
    return !found;
  });
  return found;
}

std::optional<data_view> data_view::child(std::u16string_view name) const {
  size_t pos = 0;
  data_view c(std::u16string_view(), 0);
  while (next_child(pos, c)) {
    if (c.name() == name) return c;
  }
  return std::nullopt;
}

bool data_view::next_child(size_t& pos, data_view& out) const {
  if (depth_ + 1 >= data_parser::max_depth || !has_body_) return false;
  size_t start = 0, length = 0;
  if (!next_child_text(body_, pos, start, length)) return false;
  out = data_view(body_.substr(start, length), depth_ + 1);
  return true;
}

}  // namespace tessel::document
