#include "exchange/JsonTree.h"

#include <algorithm>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>

#include "exchange/ImportError.h"

namespace {

using TJson = nlohmann::json;

// A history needs five levels (the top object, "entries", an entry, "Procedures", a procedure);
// anything far deeper is no history, and is refused before it costs memory or stack.
constexpr std::size_t kMaxDepth = 64;

// An input iterator over the text that tells where the parser has read up to: the offset and the
// line breaks passed, so that each event knows its line.
struct TReadPosition {
  std::size_t offset = 0;
  std::size_t lineBreaks = 0;
};

class TPositionIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  TPositionIterator(const char* at, const char* begin, TReadPosition* position)
      : at_(at), begin_(begin), position_(position) {}
  reference operator*() const { return *at_; }
  TPositionIterator& operator++() {
    if (*at_ == '\n') ++position_->lineBreaks;
    ++at_;
    position_->offset = static_cast<std::size_t>(at_ - begin_);
    return *this;
  }
  TPositionIterator operator++(int) {
    TPositionIterator before = *this;
    ++*this;
    return before;
  }
  friend bool operator==(const TPositionIterator& a, const TPositionIterator& b) { return a.at_ == b.at_; }

 private:
  const char* at_;
  const char* begin_;
  TReadPosition* position_;
};

bool IsNumberCharacter(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'; }

std::size_t LineAt(std::string_view text, std::size_t byte) {
  const std::string_view before = text.substr(0, std::min(byte, text.size()));
  return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

// nlohmann's "[json.exception.parse_error.101] parse error at line 3, column 5: syntax error ..."
// without the library's tag and what the line number already says.
std::string SyntaxReason(const std::string& what) {
  const std::size_t column = what.find("column ");
  const std::size_t colon = column == std::string::npos ? column : what.find(": ", column);
  return colon == std::string::npos ? "syntax error" : what.substr(colon + 2);
}

// Builds the tree from the parser's events. The parser walks the text once, without recursion;
// the builder keeps the open arrays and objects on a stack.
class TTreeBuilder : public nlohmann::json_sax<TJson> {
 public:
  TTreeBuilder(std::string_view text, const TReadPosition& position) : text_(text), position_(position) {}

  TJsonValue TakeRoot() { return std::move(root_); }

  bool null() override { return Add(TJsonValue::Kind::Null, "null", CurrentLine()); }
  bool boolean(bool value) override { return Add(TJsonValue::Kind::Boolean, value ? "true" : "false", CurrentLine()); }
  bool number_integer(number_integer_t) override { return AddNumber(); }
  bool number_unsigned(number_unsigned_t) override { return AddNumber(); }
  bool number_float(number_float_t, const string_t&) override { return AddNumber(); }
  bool string(string_t& value) override { return Add(TJsonValue::Kind::String, std::move(value), CurrentLine()); }
  bool binary(binary_t&) override { return Add(TJsonValue::Kind::Null, "", CurrentLine()); }  // not in JSON text

  bool start_object(std::size_t) override { return Open(TJsonValue::Kind::Object); }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t) override { return Open(TJsonValue::Kind::Array); }
  bool end_array() override { return Close(); }

  bool key(string_t& key) override {
    TJsonValue& object = *open_.back();
    const std::size_t line = CurrentLine();
    if (!keys_.back().insert(key).second) {
      const auto first = std::find_if(object.members.begin(), object.members.end(),
                                      [&](const TJsonMember& m) { return m.key == key; });
      throw TImportError(line, "the key \"" + key + "\" is there twice in one object (first on line " +
                                   std::to_string(first->line) + "); remove one of them, as only one can count");
    }
    object.members.push_back({std::move(key), line, {}});
    return true;
  }

  bool parse_error(std::size_t position, const std::string& lastToken, const nlohmann::detail::exception& ex) override {
    const std::size_t line = LineAt(text_, position == 0 ? 0 : position - 1);
    if (ex.id == 406) {  // a number beyond what a double holds: "1e999"
      throw TImportError(line, Where() + " \"" + lastToken + "\" is a number out of every range; write a whole "
                                         "number, as export writes it");
    }
    throw TImportError(line, "JSON " + SyntaxReason(ex.what()));
  }

 private:
  std::size_t CurrentLine() const { return position_.lineBreaks + 1; }

  // What the value being read belongs to: "KM", "item 2 of \"Procedures\"", "the JSON text".
  std::string Where() const {
    if (open_.empty()) return "the JSON text";
    const TJsonValue& container = *open_.back();
    if (container.kind == TJsonValue::Kind::Object && !container.members.empty()) return container.members.back().key;
    return "item " + std::to_string(container.items.size() + 1) + " of a list";
  }

  // A number's text as typed. The parser has read one character past the number to see where it
  // ends (unless the text ended there); the number is the run of number characters before it.
  bool AddNumber() {
    std::size_t end = std::min(position_.offset, text_.size());
    std::size_t lineBreaks = position_.lineBreaks;
    if (end > 0 && !IsNumberCharacter(text_[end - 1])) {
      if (text_[end - 1] == '\n') --lineBreaks;
      --end;
    }
    std::size_t start = end;
    while (start > 0 && IsNumberCharacter(text_[start - 1])) --start;
    return Add(TJsonValue::Kind::Number, std::string(text_.substr(start, end - start)), lineBreaks + 1);
  }

  TJsonValue& Place(TJsonValue value) {
    if (open_.empty()) {
      root_ = std::move(value);
      return root_;
    }
    TJsonValue& container = *open_.back();
    if (container.kind == TJsonValue::Kind::Array) {
      container.items.push_back(std::move(value));
      return container.items.back();
    }
    container.members.back().value = std::move(value);
    return container.members.back().value;
  }

  bool Add(TJsonValue::Kind kind, std::string text, std::size_t line) {
    TJsonValue value;
    value.kind = kind;
    value.text = std::move(text);
    value.line = line;
    Place(std::move(value));
    return true;
  }

  bool Open(TJsonValue::Kind kind) {
    const std::size_t line = CurrentLine();
    if (open_.size() >= kMaxDepth) {
      throw TImportError(line, "the JSON is nested deeper than " + std::to_string(kMaxDepth) +
                                   " levels; a history has five (the entries, each entry, its procedures)");
    }
    TJsonValue value;
    value.kind = kind;
    value.line = line;
    open_.push_back(&Place(std::move(value)));
    keys_.emplace_back();
    return true;
  }

  bool Close() {
    open_.pop_back();
    keys_.pop_back();
    return true;
  }

  std::string_view text_;
  const TReadPosition& position_;
  TJsonValue root_;
  // The arrays and objects being read, outermost first. Only the innermost one grows, so the
  // pointers to the outer ones stay valid.
  std::vector<TJsonValue*> open_;
  std::vector<std::set<std::string>> keys_;  // the keys of each open object so far
};

}  // namespace

const TJsonMember* TJsonValue::Find(std::string_view key) const {
  const auto found = std::find_if(members.begin(), members.end(), [&](const TJsonMember& m) { return m.key == key; });
  return found == members.end() ? nullptr : &*found;
}

const char* TJsonValue::KindName() const {
  switch (kind) {
    case Kind::Null: return "null";
    case Kind::Boolean: return "boolean";
    case Kind::Number: return "number";
    case Kind::String: return "string";
    case Kind::Array: return "array";
    case Kind::Object: return "object";
  }
  return "value";
}

TJsonValue ParseJsonTree(std::string_view text) {
  TReadPosition position;
  TTreeBuilder builder(text, position);
  TJson::sax_parse(TPositionIterator(text.data(), text.data(), &position),
                   TPositionIterator(text.data() + text.size(), text.data(), &position), &builder);
  return builder.TakeRoot();
}
