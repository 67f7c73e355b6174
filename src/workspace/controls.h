// The toolkit-free state of a window's controls. A window model owns one
// Control per control of its window, named as the window names it
// (`Max_Amb`, `Cab_In`, `Label6`); the Qt skin keeps a widget with the same
// objectName, draws it from this state and forwards its events by name.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
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

  // Takes every field of `other` but the name. A list's entries are
  // compared first: restoring a window mostly finds them unchanged, and a
  // comparison costs less than a copy.
  void takeStateOf(const Control& other) {
    kind = other.kind;
    text = other.text;
    if (items != other.items) items = other.items;
    index = other.index;
    checked = other.checked;
    visible = other.visible;
    enabled = other.enabled;
    backColor = other.backColor;
  }

  // The text of the selected list entry, or the empty text.
  std::string selectedText() const {
    if (index < 0 || index >= static_cast<int>(items.size())) return {};
    return items[static_cast<std::size_t>(index)];
  }
};

// Lookups by name remembered by where the name's characters are: the
// window models name their controls with string literals, each at one
// address. A remembered value must still be checked against the name, since
// a reused buffer has the same address and other characters.
template <class Value, std::size_t N>
class RecentByAddress {
 public:
  struct Entry {
    const char* data = nullptr;
    Value value{};
  };
  Entry& entry(std::string_view name) {
    const auto address = reinterpret_cast<std::uintptr_t>(name.data());
    return entries_[((address >> 3) ^ (address >> 11)) % N];
  }

 private:
  std::array<Entry, N> entries_{};
};

// A set of named controls. Copies share the index of names, which never
// changes once the set is built. A set remembers which controls it handed
// out for writing since it was last made equal to another, so restoring a
// window to a snapshot (a batch does it for every row) copies just those.
class ControlSet {
 public:
  ControlSet() = default;
  ControlSet(const ControlSet& other)
      : controls_(other.controls_),
        index_(other.index_),
        touched_(other.controls_.size(), 0),
        recent_(other.recent_) {
    copyOf_ = state_ = other.stateId();
    findControls();
  }
  ControlSet& operator=(const ControlSet& other) {
    if (this != &other) restore(other);
    return *this;
  }
  ~ControlSet() = default;

  Control& add(std::string name, ControlKind kind, std::string text = {}) {
    if (!index_) {
      index_ = std::make_shared<NameIndex>();
      byPosition_.reserve(16);  // a dialog's worth; a window grows on from there
      touched_.reserve(16);
    } else if (index_.use_count() > 1) {
      index_ = std::make_shared<NameIndex>(*index_);  // another set shares it: keep theirs as it is
    }
    index_->insert(name, controls_.size());  // the first control of a name wins
    Control c;
    c.name = std::move(name);
    c.kind = kind;
    c.text = std::move(text);
    controls_.push_back(std::move(c));
    byPosition_.push_back(&controls_.back());
    touched_.push_back(0);
    state_ = 0;
    return controls_.back();
  }
  Control& operator[](std::string_view name) {
    const std::size_t at = recentPosition(name);
    touch(at);
    return *byPosition_[at];
  }
  const Control& operator[](std::string_view name) const { return *byPosition_[position(name)]; }
  // The position of a control, for handlers that reach the same controls
  // over and over: a control keeps its position for the life of the set,
  // and every copy has it at the same position.
  std::size_t positionOf(std::string_view name) const { return position(name); }
  Control& atPosition(std::size_t at) {
    if (at >= byPosition_.size()) NoControlAt(at);
    touch(at);
    return *byPosition_[at];
  }
  bool has(std::string_view name) const { return index_ && index_->find(name) != kNone; }
  const std::deque<Control>& all() const { return controls_; }

  // Makes this set equal to `snapshot`. When this set was last made equal to
  // the snapshot as it still is, only the controls handed out for writing
  // since are copied back. Not for sets used on several threads at once.
  void restore(const ControlSet& snapshot) {
    if (this == &snapshot) return;
    const std::uint64_t id = snapshot.stateId();
    if (copyOf_ == id && index_ == snapshot.index_ && controls_.size() == snapshot.controls_.size()) {
      // A position holds the same name in both sets.
      for (std::uint32_t at : touchedList_) byPosition_[at]->takeStateOf(*snapshot.byPosition_[at]);
    } else {
      controls_ = snapshot.controls_;
      if (index_ != snapshot.index_) {
        index_ = snapshot.index_;
        recent_ = snapshot.recent_;
      }
      findControls();
    }
    touched_.assign(controls_.size(), 0);
    touchedList_.clear();
    copyOf_ = state_ = id;
  }

  // What this set has changed since it was last made equal to a snapshot:
  // the controls handed out for writing since, as they are now.
  struct Changes {
    std::uint64_t base = 0;  // the snapshot's state
    std::vector<std::pair<std::uint32_t, Control>> controls;
  };
  Changes changes() const {
    Changes out;
    out.base = copyOf_;
    out.controls.reserve(touchedList_.size());
    for (std::uint32_t at : touchedList_) out.controls.emplace_back(at, *byPosition_[at]);
    return out;
  }
  // Makes this set equal to `snapshot` with `changes` made to it again.
  // Changes made to another state of the snapshot are not made: the set is
  // left equal to the snapshot, and the answer is false.
  bool restore(const ControlSet& snapshot, const Changes& changes) {
    restore(snapshot);
    if (changes.base == 0 || changes.base != copyOf_) return false;
    for (const auto& [at, control] : changes.controls) {
      touch(at);
      byPosition_[at]->takeStateOf(control);
    }
    return true;
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  [[noreturn, gnu::cold, gnu::noinline]] static void NoControlAt(std::size_t at) {
    throw std::out_of_range("no control at position " + std::to_string(at));
  }
  // Notes a control handed out for writing; the first time out of line, so
  // that the usual case stays small.
  void touch(std::size_t at) {
    if (!touched_[at]) firstTouch(at);
    state_ = 0;
  }
  [[gnu::noinline]] void firstTouch(std::size_t at) {
    touched_[at] = 1;
    touchedList_.push_back(static_cast<std::uint32_t>(at));
  }
  void findControls() {
    byPosition_.clear();
    for (Control& c : controls_) byPosition_.push_back(&c);
  }
  std::size_t position(std::string_view name) const {
    const std::size_t at = index_ ? index_->find(name) : kNone;
    if (at == kNone) throw std::out_of_range("no control named " + std::string(name));
    return at;
  }
  // position(), first asking the positions found lately by where the name's
  // characters are: the models' handlers name their controls with string
  // literals, each at one address. The control found must still carry the
  // name, so a reused address costs a lookup, never a wrong control. A copy
  // starts with the positions its original found.
  std::size_t recentPosition(std::string_view name) {
    auto& recent = recent_.entry(name);
    if (recent.data == name.data() && recent.value < byPosition_.size() &&
        SameName(byPosition_[recent.value]->name, name)) {
      return recent.value;
    }
    return rememberPosition(recent, name);
  }
  using Recent = RecentByAddress<std::size_t, 256>;
  [[gnu::noinline]] std::size_t rememberPosition(Recent::Entry& recent, std::string_view name) {
    const std::size_t at = position(name);
    recent = {name.data(), at};
    return at;
  }
  // a == b, without a call for the short names controls have.
  static bool SameName(const std::string& a, std::string_view b) {
    const std::size_t n = a.size();
    if (n != b.size()) return false;
    if (n < 8) {
      if (n < 4) return n == 0 || std::memcmp(a.data(), b.data(), n) == 0;
      std::uint32_t a0 = 0, a1 = 0, b0 = 0, b1 = 0;
      std::memcpy(&a0, a.data(), 4);
      std::memcpy(&b0, b.data(), 4);
      std::memcpy(&a1, a.data() + n - 4, 4);
      std::memcpy(&b1, b.data() + n - 4, 4);
      return a0 == b0 && a1 == b1;
    }
    if (n > 16) return std::string_view(a) == b;
    std::uint64_t a0 = 0, a1 = 0, b0 = 0, b1 = 0;
    std::memcpy(&a0, a.data(), 8);
    std::memcpy(&b0, b.data(), 8);
    std::memcpy(&a1, a.data() + n - 8, 8);
    std::memcpy(&b1, b.data() + n - 8, 8);
    return a0 == b0 && a1 == b1;
  }
  // A number naming this set's present state, unique in the process; a
  // change drops it and the next call draws a new one.
  std::uint64_t stateId() const {
    static std::atomic<std::uint64_t> next{0};
    if (state_ == 0) state_ = ++next;
    return state_;
  }

  // Name -> position in controls_, an open-addressed table: handlers look
  // controls up by name all the time, so a lookup is one short hash and
  // usually one comparison.
  class NameIndex {
   public:
    std::size_t find(std::string_view name) const {
      if (slots_.empty()) return kNone;
      const Key key = KeyOf(name);
      for (std::size_t i = key.hash() & mask_;; i = (i + 1) & mask_) {
        const std::uint32_t slot = slots_[i];
        if (slot == 0) return kNone;
        const std::size_t at = slot - 1;
        // Names of up to 16 bytes are equal when their keys are.
        if (keys_[at] == key && (name.size() <= 16 || names_[at] == name)) return at;
      }
    }
    void insert(const std::string& name, std::size_t position) {
      if (names_.empty()) {
        names_.reserve(16);
        keys_.reserve(16);
      }
      const bool taken = find(name) != kNone;
      names_.push_back(name);
      keys_.push_back(KeyOf(name));
      if (taken) return;  // a later control of a taken name is reached through all() only
      if (2 * (used_ + 1) > slots_.size()) grow();
      place(position);
    }

   private:
    // A name's length and its first and last eight bytes (fewer gathered one
    // by one): control names are short, and differ at one end or the other.
    struct Key {
      std::uint64_t first = 0;
      std::uint64_t last = 0;
      std::size_t size = 0;
      bool operator==(const Key&) const = default;
      std::size_t hash() const {
        std::uint64_t h = (first ^ (size * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
        h = (h ^ (h >> 31) ^ last) * 0x94D049BB133111EBull;
        return static_cast<std::size_t>(h ^ (h >> 29));
      }
    };
    static Key KeyOf(std::string_view name) {
      Key key;
      key.size = name.size();
      if (key.size >= 8) {
        std::memcpy(&key.first, name.data(), 8);
        std::memcpy(&key.last, name.data() + key.size - 8, 8);
      } else {
        for (char c : name) key.first = (key.first << 8) | static_cast<unsigned char>(c);
      }
      return key;
    }
    void place(std::size_t position) {
      std::size_t i = keys_[position].hash() & mask_;
      while (slots_[i] != 0) i = (i + 1) & mask_;
      slots_[i] = static_cast<std::uint32_t>(position + 1);
      ++used_;
    }
    // Doubles the table (at least 64 slots), placing the names again.
    void grow() {
      std::vector<std::uint32_t> old = std::move(slots_);
      slots_.assign(std::max<std::size_t>(64, 2 * old.size()), 0);
      mask_ = slots_.size() - 1;
      used_ = 0;
      for (std::uint32_t slot : old) {
        if (slot != 0) place(slot - 1);
      }
    }

    std::vector<std::string> names_;    // the name of each position
    std::vector<Key> keys_;             // the key of each position
    std::vector<std::uint32_t> slots_;  // position + 1, 0 for a free slot; a power of two
    std::size_t mask_ = 0;
    std::size_t used_ = 0;  // slots taken
  };

  std::deque<Control> controls_;  // a deque: references stay valid as controls are added
  std::shared_ptr<NameIndex> index_;
  std::vector<Control*> byPosition_;        // into controls_, which never moves them
  std::vector<std::uint8_t> touched_;       // by position: handed out for writing
  std::vector<std::uint32_t> touchedList_;  // the positions handed out for writing
  Recent recent_;                           // see recentPosition()
  std::uint64_t copyOf_ = 0;                // the state this set was last made equal to
  mutable std::uint64_t state_ = 0;         // see stateId(); 0 when not drawn since a change
};

}  // namespace vst
