#include "circuit/report.h"

#include "circuit/design.h"
#include "circuit/lists.h"
#include "core/clock_text.h"
#include "core/legacy_math.h"
#include "docs/about_box.h"

namespace vst {

namespace {

constexpr const char* kRegistered = "\u00AE";  // the registered-trademark sign, character code 174

// The heat-up tab of a heat-up record as the window shows it once the
// record is loaded: the listed product's data at the mean temperature.
void AddHeatUpFields(const DesignRecord& r, const CircuitContext& context, CircuitReportFields& f) {
  CircuitEntry e;
  e.application = r.APPTYPE;
  e.product = r.HeatUpProduct;
  e.initialTemp = r.HeatUpInitialTemp;
  e.finalTemp = r.HeatUpFinalTemp;
  e.density = r.HeatUpDensity;
  e.specificHeat = r.HeatUpSpecificHeat;
  CircuitContext typed = context;  // texts typed with either decimal mark
  typed.decimalMark = ',';
  const ProductPropertyTexts shown = ShownProductProperties(e, typed);
  f.product = ChoiceText(&ProductList(), r.HeatUpProduct);
  f.initialTemp = r.HeatUpInitialTemp;
  f.finalTemp = r.HeatUpFinalTemp;
  f.density = shown.density;
  f.specificHeat = shown.specificHeat;
  f.phaseChange = r.HeatUpProduct == kProductOther && r.HeatUpPhaseChange;
  f.phaseChangeTemp = r.HeatUpPhaseChangeTemp;
  f.latentHeat = r.HeatUpLatentHeat;
  f.heatUpTime = DisplayOf(r, false).heatUpTime;
}

}  // namespace

PrintHeader BillPrintHeader(std::time_t now) {
  PrintHeader header;
  header.product = std::string(kProgramName) + kRegistered;
  header.makerLines = {kMakerName, "Steam Tracing Products", "Engineering Services"};
  std::tm local{};
  if (LocalTime(now, local)) {
    header.date = MediumDate(local);
    header.time = ClockTime(local);
  }
  return header;
}

CircuitReport CircuitReportOf(const CircuitReportFields& fields, const DesignRecord& record, int recordNumber,
                              const std::string& circuitNo, const std::string& lineNo) {
  CircuitReport report;
  report.recordNumber = recordNumber;
  const std::string n = std::to_string(recordNumber);
  report.caption = "Report #" + n;
  report.circuitLabel = "Circuit No.= " + circuitNo;
  report.lineLabel = "Line/Pipe No.=  " + lineNo;
  report.title = std::string(kBrandName) + "     Circuit Report #" + n + "     Bill of Materials";
  report.inputs = CircuitReportInputs(fields, record);
  report.outputs = CircuitReportOutputs(fields, record);
  report.rows = CircuitReportRows(fields, record);
  report.bill = CircuitBillRows(record, fields.units);
  return report;
}

PageDescription CircuitReport::printout(std::time_t now) const {
  CircuitPrintout p;
  p.recordNumber = recordNumber;
  p.circuitLabel = circuitLabel;
  p.lineLabel = lineLabel;
  p.inputs = inputs;
  p.outputs = outputs;
  p.bill = bill;
  return CircuitBillPage(BillPrintHeader(now), p);
}

CircuitReportFields ReportFieldsOf(const DesignRecord& r, UnitSystem units, bool internalMode) {
  const CircuitContext context{units, internalMode, PressureUnit::Psig, InsulationSizing::Standard, '.'};
  // The lists as loading the record fills them: the installation, then its
  // tube, then the pipe size in the list they leave.
  CircuitEntry e = FreshEntry(context);
  ChooseInstallation(e, r.TRACEINS, context);
  ChooseTubeSize(e, r.TRACETUB, context);
  const bool designed = r.HoldsDesign();
  const auto shown = [designed](float value) { return designed ? SingleText(value) : std::string(); };
  CircuitReportFields f;
  f.units = units;
  f.internalMode = internalMode;
  f.maxAmbient = SingleText(r.MAXAMB);
  f.minAmbient = SingleText(r.MINAMB);
  f.insulationType = ChoiceText(&InsulationTypeList(), r.INSTYPE - 1);
  f.pipeDiameter = ChoiceText(e.pipeSizes, r.PIPESIZE);
  f.insulationThickness = ChoiceText(&InsulationThicknessList(units), r.INSTHK);
  f.pipeLength = SingleText(r.PIPELN);
  f.tracerTubing = TubeSizeText(e);
  f.pressure = SingleText(r.STEAMPRS);
  f.maxMaintTemp = shown(r.TP2);
  f.minMaintTemp = shown(r.TP1);
  f.heatLoss = shown(r.LSWO);
  f.condensate = designed ? FixedText(r.COND, 3) : "";
  f.insulationSize = shown(r.INSIZE);
  f.totalLength = shown(r.TLEN);
  f.trapDistance = shown(r.TDX);
  f.rise = shown(r.VTR);
  if (r.HeatUpApplication()) AddHeatUpFields(r, context, f);
  return f;
}

}  // namespace vst
