// A numeric field as typed: the text a person or a line list wrote, and the
// number it reads as. The text is read once, where it enters (a window
// field's change, a list cell's check), so that the application checks,
// every pass of a design and the record take the same value without reading
// the text again; the text itself stays what the window shows and the
// record keeps.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "core/legacy_math.h"

namespace vst {

class TypedNumber {
 public:
  TypedNumber() = default;
  // A text typed with the decimal mark `decimalMark` ("." always reads too).
  TypedNumber(std::string text, char decimalMark = '.')  // NOLINT: a field is assigned its text
      : text_(std::move(text)), mark_(decimalMark), value_(ParseNumber(text_, decimalMark)) {}
  TypedNumber(const char* text) : TypedNumber(std::string(text)) {}  // NOLINT: as above
  // A text its reader has already read as `value` with `decimalMark`.
  static TypedNumber AlreadyRead(std::string text, std::optional<double> value, char decimalMark = '.') {
    TypedNumber n;
    n.text_ = std::move(text);
    n.mark_ = decimalMark;
    n.value_ = value;
    return n;
  }

  const std::string& text() const { return text_; }
  bool empty() const { return text_.empty(); }
  // The number the text holds read with `decimalMark`: the value read when
  // the text entered, read again only for a text entered with another mark.
  std::optional<double> value(char decimalMark) const {
    return decimalMark == mark_ ? value_ : ParseNumber(text_, decimalMark);
  }
  // The value as a field stores it, in single precision; nothing for a
  // text that is not a number or a number beyond single precision.
  std::optional<float> single(char decimalMark) const {
    const auto v = value(decimalMark);
    if (!v) return std::nullopt;
    return StoredSingle(*v);
  }

  friend bool operator==(const TypedNumber& a, const TypedNumber& b) { return a.text_ == b.text_; }
  friend bool operator==(const TypedNumber& a, const std::string& b) { return a.text_ == b; }
  friend bool operator==(const TypedNumber& a, const char* b) { return a.text_ == b; }

 private:
  std::string text_;
  char mark_ = '.';
  std::optional<double> value_;
};

}  // namespace vst
