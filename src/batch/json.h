// A small JSON writer for the batch output: objects, arrays, strings with
// every control character escaped, numbers as given.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vst {

// The JSON string literal of a UTF-8 text.
std::string JsonString(std::string_view text);
// JsonString(text) appended to `out`.
void AppendJsonString(std::string& out, std::string_view text);

// The JSON number of a single-precision value: its shortest text, which
// reads back to the same single.
std::string JsonNumber(float value);
// JsonNumber(value) appended to `out`.
void AppendJsonNumber(std::string& out, float value);

// A member name written in the code: short, of plain characters (no quote,
// backslash or control), so it goes into the text as it stands. A name that
// is not does not compile.
struct JsonName {
  static constexpr std::size_t kLongest = 60;
  template <std::size_t N>
  consteval JsonName(const char (&name)[N]) : text(name, N - 1) {  // NOLINT: names are written as literals
    if (N - 1 > kLongest) throw "a JSON member name longer than JsonName::kLongest";
    for (char c : text) {
      if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') throw "a JSON member name that needs escaping";
    }
  }
  std::string_view text;
};

// Writes JSON into a text as it goes: objects and arrays opened and closed
// in order, each member and element separated from the one before. Compact
// ("," and ":") or spaced (", " and ": ", for outputs read by people, which
// may also start a member or an element on a new line).
class JsonWriter {
 public:
  JsonWriter(std::string& out, bool spaced) : out_(out), spaced_(spaced) {}

  JsonWriter& beginObject() { return open('{'); }
  JsonWriter& beginArray() { return open('['); }
  // Closes the innermost object or array (on a new line when one was asked).
  JsonWriter& end();
  // The next member, element or closing bracket starts a line indented by
  // `indent` blanks.
  JsonWriter& onNewLine(int indent) {
    newLineIndent_ = indent;
    return *this;
  }
  // A member's name from the data; the next value is its value.
  JsonWriter& keyText(std::string_view name);
  // A member's name written in the code, checked to be of plain characters
  // when the program is compiled, in one append: the results write dozens
  // per row.
  JsonWriter& key(JsonName name) {
    next();
    std::array<char, JsonName::kLongest + 4> text;
    text[0] = '"';
    std::copy(name.text.begin(), name.text.end(), text.begin() + 1);
    std::size_t n = name.text.size() + 1;
    text[n++] = '"';
    text[n++] = ':';
    if (spaced_) text[n++] = ' ';
    out_.append(text.data(), n);
    afterKey_ = true;
    return *this;
  }
  // A member's name already written as JSON with its colon ("NAME":), for
  // names written many times over.
  JsonWriter& writtenKey(std::string_view nameAndColon) {
    next();
    out_ += nameAndColon;
    afterKey_ = true;
    return *this;
  }

  JsonWriter& string(std::string_view text) {
    next();
    AppendJsonString(out_, text);
    return *this;
  }
  JsonWriter& integer(long long value);
  // A single-precision value as its shortest text.
  JsonWriter& number(float value) {
    AppendJsonNumber(valueText(), value);
    return *this;
  }
  JsonWriter& boolean(bool value) { return literal(value ? "true" : "false"); }
  JsonWriter& null() { return literal("null"); }
  // An array of strings on one line.
  JsonWriter& strings(const std::vector<std::string>& items);
  // A value already written as JSON.
  JsonWriter& literal(std::string_view json) {
    valueText() += json;
    return *this;
  }
  // The text to append the next value to by whoever writes it.
  std::string& valueText() {
    next();
    return out_;
  }

 private:
  JsonWriter& open(char bracket);
  // What goes before a member or an element: the separator and the new line.
  void next() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (depth_ == 0) return;
    bool& first = first_[static_cast<std::size_t>(depth_ - 1)];
    if (!first) out_ += spaced_ && newLineIndent_ < 0 ? ", " : ",";
    first = false;
    if (newLineIndent_ >= 0) newLine();
  }
  void newLine();

  std::string& out_;
  const bool spaced_;
  // Per open object or array, innermost last: its closing bracket, and
  // whether nothing has been written in it yet. The lists nest nine deep.
  static constexpr int kMaxDepth = 16;
  std::array<char, kMaxDepth> closing_{};
  std::array<bool, kMaxDepth> first_{};
  int depth_ = 0;
  bool afterKey_ = false;
  int newLineIndent_ = -1;  // -1: no new line asked
};

}  // namespace vst
