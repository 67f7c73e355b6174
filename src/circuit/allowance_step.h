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
  std::string pipeLengthText;  // Pipe_Len_In as the main window shows it
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

// The allowance step, run on the first pass of a design: sets the record's
// SLEN, shows PipeForm (which stores AllowanceIncluded, TRACETUB, INSTHK,
// PIPESIZE, NUMPASS, VALN, FLNO, NOPX, WCTB on "&Next"), shows ShoeForm unless
// the pipe length already includes the allowances (which stores
// ShoeAllowance), and returns the lengths the run designs with. Throws
// std::invalid_argument for a negative or non-finite pipe length, a tube
// index outside 0..3 or a negative passes position.
AllowanceResult RunAllowanceStep(const AllowanceInputs& inputs, DesignRecord& record,
                                 AllowanceQuestions& questions);

// Whether Combo2 opens on the record's own answer: when the main window's
// Rise output is not empty or the design has one tracer. Otherwise it opens
// on "No".
bool ShowsRecordedAnswer(std::string_view riseText, int tracerCount);

}  // namespace vst
