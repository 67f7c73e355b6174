// The allowance step of a design run: it asks for the fittings (PipeForm)
// and the pipe shoes (ShoeForm) and lengthens the design pipe length by the
// allowances of bom/allowances.h. Lengths in feet unless a name says
// otherwise.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bom/allowances.h"
#include "core/design_record.h"

namespace vst {

// What PipeForm is opened with.
struct PipeFormSetup {
  UnitSystem units = UnitSystem::English;
  std::string pipeLengthText;  // the pipe length as the main window shows it
  // The record's counts and pre-insulated tubing length (user's length unit).
  float VALN = 0;
  float FLNO = 0;
  float NOPX = 0;
  float WCTB = 0;
  int allowanceIncluded = kAllowanceIncludedYes;  // the record's AllowanceIncluded
  bool showRecordedAnswer = false;                // see ShowsRecordedAnswer
  char decimalMark = '.';                         // the locale's decimal separator
};

// What ShoeForm is opened with.
struct ShoeFormSetup {
  UnitSystem units = UnitSystem::English;
  float shoeAllowance = 0;  // the record's running ShoeAllowance, user's length unit
  char decimalMark = '.';
};

// The questions the allowance step asks. The window answers them with its
// dialogs (the dialogs interface of the window models derives from this
// one), the line-list command from the row.
class AllowanceQuestions {
 public:
  virtual ~AllowanceQuestions() = default;

  // Shows the fittings dialog opened with `setup`; the answer its "&Next"
  // accepted, or nothing when the dialog was closed without one.
  virtual std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup& setup) = 0;

  // Shows the pipe-shoe dialog; the total its "&Done" accepted, or nothing.
  virtual std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup& setup) = 0;
};

// What the allowance step asked and computed.
struct AllowanceStep {
  float startSlenFt = 0;  // the pipe length for banding as the step starts
  std::optional<PipeFormAnswer> fittings;
  // The list positions stored with the fittings answer.
  int tubeSize = 0;
  int insulationThickness = 0;
  int pipeSize = 0;
  int passes = 0;
  std::optional<float> shoeAllowance;      // the shoe dialog's total, in the user's length unit
  std::optional<AllowanceResult> lengths;  // the step completed
};

// The record's values the dialogs open with.
struct AllowanceRecorded {
  PipeFormAnswer fittings{kAllowanceIncludedYes, 0, 0, 0, 0};  // AllowanceIncluded, VALN, FLNO, NOPX, WCTB
  float shoeAllowance = 0;                                     // the running shoe total
};

// The allowance step, run on the first pass of a design: shows PipeForm,
// then ShoeForm unless the pipe length already includes the allowances, and
// computes the lengths the run designs with. A closed dialog leaves the step
// without lengths. Throws std::invalid_argument for a negative or non-finite
// pipe length, a tube index outside 0..3 or a negative passes position.
AllowanceStep AskAllowances(const AllowanceInputs& inputs, const AllowanceRecorded& recorded,
                            AllowanceQuestions& questions);

// Whether the fittings dialog's answer list opens on the record's own
// answer: when the main window's rise output is not empty or the design has one tracer. Otherwise it opens
// on "No".
bool ShowsRecordedAnswer(std::string_view riseText, int tracerCount);

}  // namespace vst
