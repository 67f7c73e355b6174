// The toolkit-free state of a window's controls. A window model owns one
// Control per control of its window, named as the window names it
// (`Max_Amb`, `Cab_In`, `Label6`); the Qt skin keeps a widget with the same
// objectName, draws it from this state and forwards its events by name.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

// A set of named controls.
class ControlSet {
 public:
  Control& add(std::string name, ControlKind kind, std::string text = {}) {
    Control c;
    c.name = std::move(name);
    c.kind = kind;
    c.text = std::move(text);
    index_.emplace(c.name, controls_.size());  // the first control of a name wins
    controls_.push_back(std::move(c));
    return controls_.back();
  }
  Control& operator[](std::string_view name) {
    auto it = index_.find(name);
    if (it == index_.end()) throw std::out_of_range("no control named " + std::string(name));
    return controls_[it->second];
  }
  const Control& operator[](std::string_view name) const { return const_cast<ControlSet&>(*this)[name]; }
  bool has(std::string_view name) const { return index_.find(name) != index_.end(); }
  const std::deque<Control>& all() const { return controls_; }

 private:
  std::deque<Control> controls_;  // a deque: references stay valid as controls are added
  // Name -> position in controls_, hashed: handlers look controls up by
  // name all the time.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
  };
  std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> index_;
};

}  // namespace vst
