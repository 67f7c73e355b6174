// The fittings and pipe-shoe allowances of a design: the extra tracer tubing
// that loops around valves, pumps, flanges and pipe shoes, the answers of the
// fittings and pipe-shoe dialogs (PipeForm, ShoeForm), and what the allowance
// step of the design run (circuit/allowance_step.h) reads and returns.
// Lengths in feet unless a name says otherwise; diameters in inches.
#pragma once

#include <string>

#include "core/design_record.h"

namespace vst {

// Positions of the PipeForm answer list Combo2.
inline constexpr int kAllowanceIncludedYes = 0;
inline constexpr int kAllowanceIncludedNo = 1;

// What PipeForm's "&Next" accepted.
struct PipeFormAnswer {
  int allowanceIncluded = kAllowanceIncludedNo;  // 0 "Yes", 1 "No"
  float valves = 0;
  float flanges = 0;
  float pumps = 0;
  float wrapcore = 0;  // total pre-insulated tubing, user's length unit
};

// What ShoeForm's "&Done" accepted: the shoe total in the user's length unit
// (the record's new ShoeAllowance) and in feet (the run's shoe total).
struct ShoeFormAnswer {
  float total = 0;
  double totalFt = 0;
};

// Rows of the per-fitting tables (valve allowance, fitting compound and
// banding) run from 1 to 31; row 0 means "no row": every per-fitting value
// of the design is 0.
inline constexpr int kNoFittingsRow = 0;
inline constexpr int kFittingsRows = 31;

// The per-fitting row: the insulation row (1-based position of the chosen
// insulation size) stepped back by the room the tracer takes, from the traced
// pipe diameter D (pipe outside diameter plus tracer allowance) and the
// tracer allowance t. Rows above 31 (the largest pipes) are held at 31; a row
// below 1, or t above 2 in on a bundle under 5 in, gives kNoFittingsRow.
int FittingsRow(int insulationRow, double tracedPipeDiameterIn, double tracerAllowanceIn);

// The variant (1 to 3) of the valve allowance table for the tube index
// (0 3/8, 1 1/2, 2 5/8, 3 3/4 in) and installation code (0 strip or channel,
// 1 fillet, 2 and above jacketed); 0 for a tube index outside 0..3.
int ValveAllowanceVariant(int tubeIndex, int installation);

// Extra tracer length for one valve, ft; 0 outside variants 1..3 and rows 1..31.
double ValveAllowanceFt(int variant, int row);

// Extra tracer length for one flange, ft.
inline constexpr double kFlangeAllowanceFt = 1.0;

// The shoe total after adding `shoeCount` shoes of `shoeLength` (inches,
// Metric mm) to `total` (ft, Metric m): the count is rounded to a whole
// number with halves to even, every shoe takes twice its length plus 0.5 ft
// (Metric 0.17 m) and the new total is truncated to tenths.
double AddShoeAllowance(UnitSystem units, double total, double shoeLength, double shoeCount);

// The design pipe length at the start of the allowance step: the window's
// pipe length in feet (Metric metres x 3.281).
double StartDesignPipeLengthFt(UnitSystem units, float pipeLength);

// True when the entered pipe length already includes the allowances: the
// answer "Yes" counts only for a design with one tracer.
bool AllowanceAlreadyIncluded(int allowanceIncluded, int tracerCount);

// What the allowance step reads from the design run (the window's values
// when the run reached the step, and the insulation sizing of this pass).
struct AllowanceInputs {
  UnitSystem units = UnitSystem::English;
  char decimalMark = '.';
  std::string pipeLengthText;  // Pipe_Len_In as shown (the fittings dialog's caption)
  float pipeLength = 0;        // its single-precision value, ft / m; not negative
  std::string riseText;        // the Rise output as shown

  // List positions that "&Next" stores into TRACETUB, INSTHK, PIPESIZE, NUMPASS.
  int tubeSizePos = 0;
  int insulationThicknessPos = 0;
  int pipeSizePos = 0;
  int passesPos = 0;  // tracer count = passesPos + 1

  int installation = 0;  // installation code of the pass being designed
  int tubeIndex = 0;     // tube size index of the pass being designed, 0..3

  int insulationRow = 0;            // InsulationRow
  double tracedPipeDiameterIn = 0;  // TracedPipeDiameter
  double tracerAllowanceIn = 0;     // TracerDiameterAllowance
};

struct AllowanceResult {
  // False when a dialog was closed without its command: the step stored the
  // record's SLEN only, and the design run ends without a design.
  bool completed = false;
  double designPipeLengthFt = 0;  // DesignPipeLength
  float slenFt = 0;               // SLEN during the run (the pipe length used for banding)
  float valves = 0;               // the run's counts (also in VALN, FLNO, NOPX)
  float flanges = 0;
  float pumps = 0;
  float wrapcore = 0;  // WCTB, user's length unit
  int fittingsRow = kNoFittingsRow;
  double valveAllowanceFt = 0;     // per valve, from the table
  double shoeTotalFt = 0;          // 0 when ShoeForm was not shown
  double fittingsAllowanceFt = 0;  // FittingsAllowance
  std::string status;              // "Design created" for the status panel
};

// The lengths of a completed allowance step from the fittings answer and the
// shoe total in feet (not asked, and 0, when the pipe length already
// includes the allowances).
AllowanceResult ComputeAllowance(const AllowanceInputs& inputs, const PipeFormAnswer& fittings,
                                 double shoeTotalFt);

}  // namespace vst
