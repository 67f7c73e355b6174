// The two dialogs of the allowance step of a design, without a toolkit:
// PipeForm (valves, flanges, pumps, pre-insulated tubing and whether the pipe
// length already includes the allowances) and ShoeForm (pipe shoes by size).
// Each model holds what its window shows and runs its commands; the desktop
// skin draws the controls by name and forwards typing, clicks and the Enter
// key. Dialogs::pipeForm / shoeForm open one and return its answer once closed().
//
// Both forms refuse a box whose text is not a number, or is negative, with an
// input-error message that names the box, move the focus to it and stay
// open. An empty box counts as 0.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/design_record.h"
#include "workspace/controls.h"
#include "workspace/dialogs.h"

namespace vst {

// The fittings dialog. Controls (by name): the list Combo2 ("Yes", "No"); the
// boxes numvalves, numflanges, numpumps, Text1; the button Command1
// ("&Next"); the labels Label1 (the question), Label2 to Label5 (the boxes'
// captions) and Label6 (the unit of Text1: " Ft" or " m").
class PipeFormModel {
 public:
  PipeFormModel(const PipeFormSetup& setup, Dialogs& dialogs);
  PipeFormModel(const PipeFormModel&) = delete;
  // Opens the form again for another setup, as a new form would open (a
  // batch answers it for every circuit).
  void reopen(const PipeFormSetup& setup);
  PipeFormModel& operator=(const PipeFormModel&) = delete;

  // "Pipe Length = 100 Feet" / "Pipe Length = 30 Meters".
  const std::string& caption() const { return caption_; }
  const ControlSet& controls() const { return controls_; }
  const Control& control(std::string_view name) const { return controls_[name]; }
  std::string text(std::string_view box) const { return controls_[box].text; }
  int selectedAnswer() const { return controls_["Combo2"].index; }

  // The user types into one of the four boxes.
  void setText(std::string_view box, std::string text);
  // The user picks a Combo2 entry (0 "Yes", 1 "No"); other positions are ignored.
  void selectAnswer(int index);
  // The window becomes the active window: an empty box is set to "0".
  void activate();

  // Focus and the Enter key: Combo2 -> numvalves -> numflanges -> numpumps
  // -> Text1 -> Command1. Enter on Command1 presses it.
  const std::string& focus() const { return focus_; }
  void setFocus(std::string_view control);
  // The control that follows `control` in the Enter order; `control` itself
  // when it is the last one or not in the order.
  static std::string NextFocus(std::string_view control);
  void pressEnter();

  // "&Next": reads the boxes; a refused box shows its message and leaves the
  // form open (returns false). Success closes the form.
  bool next();
  bool closed() const { return closed_; }
  // The accepted answer; only meaningful once closed().
  const PipeFormAnswer& answer() const { return answer_; }
  // The accepted answer once closed(), else nothing.
  std::optional<PipeFormAnswer> result() const {
    return closed_ ? std::optional<PipeFormAnswer>(answer_) : std::nullopt;
  }

 private:
  Dialogs& dialogs_;
  char decimalMark_;
  std::string caption_;
  ControlSet controls_;
  std::string focus_ = "Combo2";
  bool closed_ = false;
  PipeFormAnswer answer_;
};

// The pipe-shoe dialog. Controls (by name): the boxes shoeln, shoenum,
// shoetot; their captions Label1, Label2, Label3; the buttons NextSize
// ("&Next Size"), Redo ("&Clear"), Done ("&Done"); the note lblKept, shown
// while shoetot holds a total kept from the record's last design.
inline constexpr std::string_view kShoeTotalKeptNote =
    "The total is kept from the last design of this record; Clear starts afresh.";

class ShoeFormModel {
 public:
  ShoeFormModel(const ShoeFormSetup& setup, Dialogs& dialogs);
  ShoeFormModel(const ShoeFormModel&) = delete;
  // As PipeFormModel::reopen.
  void reopen(const ShoeFormSetup& setup);
  ShoeFormModel& operator=(const ShoeFormModel&) = delete;

  // " Tubing Allowances for Shoes".
  const std::string& caption() const { return caption_; }
  const ControlSet& controls() const { return controls_; }
  const Control& control(std::string_view name) const { return controls_[name]; }
  std::string text(std::string_view box) const { return controls_[box].text; }

  void setText(std::string_view box, std::string text);

  // Focus and the Enter key: shoeln -> shoenum -> NextSize. Enter on
  // NextSize presses it; after a size is added the focus returns to shoeln
  // for the next size.
  const std::string& focus() const { return focus_; }
  void setFocus(std::string_view control);
  static std::string NextFocus(std::string_view control);
  void pressEnter();

  // "&Next Size": adds the shoes in shoeln / shoenum to shoetot (every shoe
  // takes twice its length plus 0.5 ft, Metric 0.17 m; the total is
  // truncated to tenths) and sets shoeln and shoenum to "0". Returns false
  // when a box was refused.
  bool nextSize();
  // "&Clear": all three boxes "0".
  void clear();
  // "&Done": adds the pending size and closes the form. Returns false (and
  // stays open) when a box was refused.
  bool done();
  bool closed() const { return closed_; }

  // The accepted total, in the user's length unit (the record's new
  // ShoeAllowance) and in feet (the run's shoe total). Meaningful once closed().
  float total() const;
  double totalFt() const;
  // The accepted total once closed(), else nothing.
  std::optional<ShoeFormAnswer> result() const {
    return closed_ ? std::optional<ShoeFormAnswer>(ShoeFormAnswer{total(), totalFt()}) : std::nullopt;
  }

 private:
  Dialogs& dialogs_;
  UnitSystem units_;
  char decimalMark_;
  std::string caption_ = " Tubing Allowances for Shoes";
  ControlSet controls_;
  std::string focus_ = "shoeln";
  bool closed_ = false;
  double total_ = 0;
};

}  // namespace vst
