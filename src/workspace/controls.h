// The toolkit-free state of a window's controls. A window model owns one
// Control per control of its window, named as the window names it
// (`Max_Amb`, `Cab_In`, `Label6`); the Qt skin keeps a widget with the same
// objectName, draws it from this state and forwards its events by name.
//
// Inside a model a control is addressed by its position, through an enum of
// its window whose values are the positions the window's table gives its
// controls (StId for the main window): a misspelt control does not compile.
// Names are read only at the window's edge, where the toolkit and the tests
// know controls by name.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "core/legacy_math.h"

namespace vst {

enum class ControlKind {
  TextBox,   // editable text (`text`)
  Label,     // static caption (`text`)
  List,      // drop-down list (`items`, `index`)
  Button,    // command button (`text` is the caption with its & mnemonic)
  CheckBox,  // `checked`
  MenuItem,  // menu command (`text` is the caption)
  Tab,       // one tab of a tabbed panel (`text`)
  Frame,     // a frame with a caption
  Spinner,   // an up-down spinner (a vertical scroll bar); `index` is its position
};

// Palette entries of the 16-colour palette used by the program.
inline constexpr int kColorYellow = 14;
inline constexpr int kColorWhite = 15;

struct Control {
  std::string name;
  ControlKind kind = ControlKind::TextBox;
  std::string text;
  std::vector<std::string> items;
  int index = -1;  // selected list position, -1 for none
  bool checked = false;
  bool visible = true;
  bool enabled = true;
  int backColor = kColorWhite;

  // The text of the selected list entry, or the empty text.
  std::string selectedText() const {
    if (index < 0 || index >= static_cast<int>(items.size())) return {};
    return items[static_cast<std::size_t>(index)];
  }
};

// The controls of one window, in the order they were added.
class ControlSet {
 public:
  Control& add(std::string name, ControlKind kind, std::string text = {}) {
    if (!names_ || names_.use_count() > 1) {
      names_ = names_ ? std::make_shared<Names>(*names_) : std::make_shared<Names>();
    }
    names_->try_emplace(name, controls_.size());  // the first control of a name wins
    Control c;
    c.name = std::move(name);
    c.kind = kind;
    c.text = std::move(text);
    controls_.push_back(std::move(c));
    return controls_.back();
  }

  // By the window's enum of positions.
  template <class Id>
  requires std::is_enum_v<Id> Control& operator[](Id id) { return at(static_cast<std::size_t>(id)); }
  template <class Id>
  requires std::is_enum_v<Id>
  const Control& operator[](Id id) const { return at(static_cast<std::size_t>(id)); }

  // By name, at the window's edge. An unknown name throws std::out_of_range.
  Control& operator[](std::string_view name) { return at(position(name)); }
  const Control& operator[](std::string_view name) const { return at(position(name)); }
  bool has(std::string_view name) const { return find(name) != kNone; }
  // The position of a name; kNone for an unknown one.
  std::size_t find(std::string_view name) const {
    if (!names_) return kNone;
    const auto it = names_->find(std::string(name));
    return it == names_->end() ? kNone : it->second;
  }
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  Control& at(std::size_t position) {
    if (position >= controls_.size()) NoControlAt(position);
    return controls_[position];
  }
  const Control& at(std::size_t position) const {
    if (position >= controls_.size()) NoControlAt(position);
    return controls_[position];
  }
  const std::deque<Control>& all() const { return controls_; }

 private:
  using Names = std::unordered_map<std::string, std::size_t>;
  [[noreturn]] static void NoControlAt(std::size_t at) {
    throw std::out_of_range("no control at position " + std::to_string(at));
  }
  std::size_t position(std::string_view name) const {
    const std::size_t at = find(name);
    if (at == kNone) throw std::out_of_range("no control named " + std::string(name));
    return at;
  }

  std::deque<Control> controls_;  // a deque: references stay valid as controls are added
  std::shared_ptr<Names> names_;  // copies share it until one adds a control
};

// A caption as text shows it: without its mnemonic mark ("&Design" gives
// "Design", "&&" one "&") and the blanks around it.
inline std::string PlainCaption(std::string_view caption) {
  std::string plain;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  return std::string(Trim(plain));
}

// A command's caption as a message names it: plain, without the dots of a
// command that opens a window ("Save File As..." gives "Save File As").
inline std::string CommandCaption(std::string_view caption) {
  std::string plain = PlainCaption(caption);
  while (!plain.empty() && plain.back() == '.') plain.pop_back();
  return plain;
}

// That the command captioned `caption` (plain; empty when it has none)
// failed with `reason`: "\"Design\" failed: the list is empty."
inline std::string CommandFailedText(const std::string& caption, const std::string& reason) {
  return (caption.empty() ? std::string("The command") : "\"" + caption + "\"") + " failed: " + reason + ".";
}

}  // namespace vst
