#include "circuit/design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/legacy_math.h"
#include "core/units.h"
#include "support/script_dialogs.h"
#include "workspace/dialogs.h"

namespace vst {
namespace {

using test::PipeAnswer;
using test::ScriptDialogs;
using test::ShoeAnswer;
using Texts = std::vector<std::string>;

// The window as a design sees it: the circuit it holds, the record it
// designs into, and a log of what the design asks and tells, in one order.
// The fittings and shoe dialogs are answered by a script.
class FakeHost : public DesignQuestions {
 public:
  explicit FakeHost(UnitSystem units = UnitSystem::English, bool internalMode = false) {
    const bool metric = units == UnitSystem::Metric;
    context = {units, internalMode, metric ? PressureUnit::BarG : PressureUnit::Psig,
               InsulationSizing::Standard, '.'};
    in = FreshEntry(context);
    in.maintTemp = metric ? "38" : "100";
    in.maxExposure = metric ? "190" : " 375";
    in.intermittentExposure = metric ? "190" : "375";
    in.pressure = metric ? "3.45" : "50";
    in.minAmbient = metric ? "-18" : "0";
    in.maxAmbient = metric ? "38" : "100";
    in.pipeLength = metric ? "30" : "100";
    in.insulationType = 2;  // fiberglass
    in.insulationThickness = 0;
    in.passes = 0;
    in.material = 0;  // copper
    set.at(0).CEM1 = " ";
    setInstallation(0, 0);
    setPipe(4);
  }

  // The user's choices, through the lists' rules.
  void setPipe(int pos) { in.pipeSize = pos; }
  void setInstallation(int code, int tube) {
    ChooseInstallation(in, code, context);
    ChooseTubeSize(in, tube, context);
  }

  std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup& setup) override {
    events.push_back("PipeForm");
    return script.pipeForm(setup);
  }
  std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup& setup) override {
    events.push_back("ShoeForm");
    return script.shoeForm(setup);
  }
  void told(const ShownMessage& m) override {
    events.push_back("Message [" + m.title + "]: " + m.text);
    script.message(Message{m.text, m.title, MsgIcon::Information, MsgButtons::Ok, true});
  }
  void installationChosen(int position) override { events.push_back("select " + std::to_string(position)); }
  void statusShown(const std::string& caption) override {
    status = caption;
    events.push_back("status " + caption);
  }
  void resultsShown(const DesignDisplay& display) override {
    shown.push_back(display);
    events.push_back("results");
  }

  // Answers for one complete allowance step: "No", no fittings, no shoes.
  void answerAllowances() {
    script.pipe(PipeAnswer{});
    script.shoes(ShoeAnswer{});
  }

  DesignOutcome run() {
    ResetOutputs(set.at(0), context);
    design = DesignCircuit(in, context, *this);
    StoreDesign(design, context, set.at(0));
    return design.outcome;
  }

  const DesignRecord& rec() const { return set.at(0); }
  Texts messages() const { return script.messageTexts(); }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (const auto& m : script.messages()) t.push_back(m.title);
    return t;
  }

  CircuitContext context;
  CircuitEntry in;
  DesignSet set;
  CircuitDesign design;
  ScriptDialogs script;
  std::vector<std::string> events;
  std::vector<DesignDisplay> shown;
  std::string status;
};

const std::string kShortfall =
    "The Minimum Maintenance Temperature is less then the input MaintenanceTemperature.  Multiple Tracers, "
    "higher "
    "steam pressure, increased insulation thickness or resistance may be required to achieve the input "
    "Maintenance "
    "Temperature required.";
const std::string kTrapNote =
    "NOTE: Due to the maximum trap distance value, this circuit length  should  be divided into equal "
    "sub-circuits,  each  to be individually supplied and trapped.";
const std::string kCoverlynLimit =
    "Coverlyn is limited to 406\xC2\xB0"
    "F (207\xC2\xB0"
    "C) exposure or steam temperature. Troughline has been selected.";

// Reference values below: an independent double-precision evaluation of the
// same equations (sizing, bisections, trap distance iteration), agreeing to
// the digits shown.

TEST(DesignRun, TypicalEnglishDesignStoresEveryResult) {
  FakeHost host;
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  const DesignRecord& r = host.rec();
  EXPECT_EQ(r.TP1, static_cast<float>(273.56055906));
  EXPECT_EQ(r.TP2, static_cast<float>(284.42847980));
  EXPECT_EQ(r.LSWO, 74.6f);  // Int(74.6309 x 10) / 10
  EXPECT_EQ(r.COND, static_cast<float>(0.0818351376));
  EXPECT_EQ(r.TDX, 144.0f);   // 144.385 ft, whole feet
  EXPECT_EQ(r.VTR, 7.5f);     // 0.15 x 50
  EXPECT_EQ(r.INSIZE, 3.0f);  // position 8
  EXPECT_EQ(r.TLEN, 105.0f);  // 100 ft x 1.05
  EXPECT_EQ(r.INSTYPE, 3);    // fiberglass, position 2 plus one
  EXPECT_EQ(r.MAXEXP, 375.0f);
  EXPECT_EQ(r.STEAMPRS, 50.0f);
  EXPECT_EQ(r.NUMPASS, 0);
  EXPECT_EQ(r.SSFLAG, 0.0f);
  EXPECT_EQ(r.ReportPipeSize, 2.0f);
  EXPECT_EQ(r.IntermittentExposure, 375.0f);
  EXPECT_EQ(r.HeatUpTime, 0.0f);
  EXPECT_EQ(r.CEM, "Clipstrip");
  EXPECT_EQ(r.COVR, "");
  EXPECT_EQ(r.TSIZ, "3/8'' O.D.");
  EXPECT_FALSE(host.design.k90InUse);
  EXPECT_EQ(host.status, "Design created");
  EXPECT_EQ(host.events, (Texts{"PipeForm", "ShoeForm", "status Design created", "results"}));
  ASSERT_EQ(host.shown.size(), 1u);
  const DesignDisplay& d = host.shown[0];
  EXPECT_EQ(d.minMaintTemp, "273.5605");
  EXPECT_EQ(d.maxMaintTemp, "284.4285");
  EXPECT_FALSE(d.shortOfMaintTemp);
  EXPECT_EQ(d.heatLoss, "74.6");
  EXPECT_EQ(d.condensate, "0.082");
  EXPECT_EQ(d.insulationSize, "3");
  EXPECT_EQ(d.trapDistance, "144");
  EXPECT_EQ(d.rise, "7.5");
  EXPECT_EQ(d.totalLength, "105");
  EXPECT_EQ(d.traceLabel, "Troughline");
  EXPECT_EQ(d.traceType, "Clipstrip");
}

TEST(DesignRun, MetricDesignConvertsInputsAndTruncatesResults) {
  FakeHost host(UnitSystem::Metric);
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  const DesignRecord& r = host.rec();
  // 3.45 bar g = 50.025 psig; ambients -0.4 / 100.4 F; 25 mm = 0.98425 in.
  EXPECT_EQ(r.TP1, 134.0f);  // 273.5608 F
  EXPECT_EQ(r.TP2, 140.0f);  // 284.4809 F
  EXPECT_EQ(r.LSWO, 73.5f);  // Int(76.5 x 0.9613535 x 10) / 10
  EXPECT_EQ(r.COND, static_cast<float>(0.0839286026 * 1.49));
  EXPECT_EQ(r.TDX, 44.2f);  // 145.286 ft
  EXPECT_EQ(r.VTR, 2.2f);   // 7.504 ft
  EXPECT_EQ(r.INSIZE, 80.0f);
  EXPECT_EQ(r.ReportPipeSize, 50.0f);
  EXPECT_EQ(r.STEAMPRS, 3.45f);
  EXPECT_EQ(r.MAXEXP, 190.0f);
  EXPECT_EQ(r.TLEN, 31.5f);  // 30 m x 3.281 x 1.05 = 103.3 ft, up to the half metre
  EXPECT_EQ(r.TSIZ, "10mm O.D.");
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].minMaintTemp, "134");
  EXPECT_EQ(host.shown[0].condensate, "0.125");
  EXPECT_EQ(host.shown[0].trapDistance, "44.2");
  EXPECT_EQ(host.shown[0].totalLength, "31.5");
}

TEST(DesignRun, MetricRiseIsTruncatedNotRounded) {
  FakeHost host(UnitSystem::Metric);
  host.in.pressure = "19.4434";  // 281.93 psig: a rise of 42.2894 ft = 12.89 m
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  EXPECT_EQ(host.rec().VTR, 12.8f);
  EXPECT_EQ(host.shown.at(0).rise, "12.8");
}

struct Refusal {
  const char* name;
  std::function<void(FakeHost&)> change;
  const char* text;
};

void ExpectRefusals(UnitSystem units, const std::vector<Refusal>& rows) {
  for (const auto& row : rows) {
    FakeHost host(units);
    row.change(host);
    EXPECT_EQ(host.run(), DesignOutcome::Stopped) << row.name;
    EXPECT_EQ(host.messages(), Texts{row.text}) << row.name;
    EXPECT_EQ(host.titles(), Texts{"Input Error"}) << row.name;
    ASSERT_EQ(host.script.messages().size(), 1u) << row.name;
    EXPECT_EQ(host.script.messages()[0].icon, MsgIcon::Information) << row.name;
    EXPECT_TRUE(host.script.messages()[0].systemModal) << row.name;
    EXPECT_TRUE(host.shown.empty()) << row.name;
    EXPECT_TRUE(host.script.pipeForms().empty()) << row.name;
    EXPECT_FALSE(host.rec().HoldsDesign()) << row.name;
  }
}

TEST(DesignRun, EnglishInputErrorsInTheirOrder) {
  ExpectRefusals(
      UnitSystem::English,
      {
          {"blank pipe size (Troughline, 1/2 in tube)",
           [](FakeHost& h) {
             h.setInstallation(0, 1);
             h.setPipe(2);
           },
           "Trough Line does not fit on Pipe Sizes smaller than 1.5''."},
          {"exposure above 1250 F",
           [](FakeHost& h) {
             h.in.maxExposure = "1251";
             h.in.pressure = "400";
           },
           " Exposure temperature is too high for any QUORVEX cement."},
          {"3/4 in tube on 2.5 in",
           [](FakeHost& h) {
             h.setInstallation(0, 3);
             h.setPipe(5);
           },
           "Pipe too small for 3/4'' Tracer"},
          {"5/8 in tube on 1.5 in",
           [](FakeHost& h) {
             h.setInstallation(1, 2);
             h.setPipe(3);
           },
           "Pipe too small for 5/8'' Tracer"},
          {"1/2 in tube on 1 in",
           [](FakeHost& h) {
             h.setInstallation(1, 1);
             h.setPipe(2);
           },
           "Pipe too small for 1/2'' Tracer"},
          {"2 passes on 1.5 in",
           [](FakeHost& h) {
             h.setPipe(3);
             h.in.passes = 1;
           },
           "The number of passes exceed the Vaporix design limits for this pipe size."},
          {"2 passes on 1.5 in, YJ-0 with the 1/2 in tube",
           [](FakeHost& h) {
             h.context.internalMode = true;
             h.setInstallation(2, 1);
             h.setPipe(3);
             h.in.passes = 1;
           },
           "The number of passes exceed the Vaporix design limits for this pipe size."},
          {"3 passes on 2 in", [](FakeHost& h) { h.in.passes = 2; },
           "The number of passes exceed the Vaporix design limits for this pipe size."},
          {"4 passes on 3 in",
           [](FakeHost& h) {
             h.setPipe(6);
             h.in.passes = 3;
           },
           "The number of passes exceed the Vaporix design limits for this pipe size."},
          {"5 passes on 6 in",
           [](FakeHost& h) {
             h.setPipe(8);
             h.in.passes = 4;
           },
           "The number of passes exceed the Vaporix design limits for this pipe size."},
          {"7 passes on 10 in",
           [](FakeHost& h) {
             h.setPipe(10);
             h.in.passes = 6;
           },
           "The number of passes exceed the Vaporix design limits for this pipe size."},
          {"min ambient below -100 F before the pressure",
           [](FakeHost& h) {
             h.in.minAmbient = "-101";
             h.in.pressure = "4";
           },
           " Min ambient not valid"},
          {"min ambient not a number", [](FakeHost& h) { h.in.minAmbient = "cold"; },
           " Min ambient not valid"},
          {"pressure below 5 psig", [](FakeHost& h) { h.in.pressure = "4.9"; },
           "Steam pressure must be between 5 and 300 psig."},
          {"pressure above 300 psig", [](FakeHost& h) { h.in.pressure = "301"; },
           "Steam pressure must be between 5 and 300 psig."},
          {"135 kPa is 4.88 psig",
           [](FakeHost& h) {
             h.in.pressure = "135";
             h.context.pressureUnit = PressureUnit::Kpa;
           },
           "Steam pressure must be between 135 and 2169 kPa."},
          {"0.34 bar g",
           [](FakeHost& h) {
             h.in.pressure = "0.34";
             h.context.pressureUnit = PressureUnit::BarG;
           },
           "Steam pressure must be between .35 and 20.68 bar g."},
          {"max ambient equal to min", [](FakeHost& h) { h.in.maxAmbient = "0"; },
           " Max ambient must be greater than min ambient"},
          {"intermittent exposure above 1832 F", [](FakeHost& h) { h.in.intermittentExposure = "1900"; },
           "Intermittent Exposure Temp. is too high for any QUORVEX compound."},
      });
}

TEST(DesignRun, MetricInputErrorsNameMillimetres) {
  ExpectRefusals(
      UnitSystem::Metric,
      {
          {"blank pipe size",
           [](FakeHost& h) {
             h.setInstallation(0, 1);
             h.setPipe(1);
           },
           "Pipe Sizes smaller then 40mm not available for Troughline."},
          {"20 mm tube on 65 mm",
           [](FakeHost& h) {
             h.setInstallation(1, 3);
             h.setPipe(5);
           },
           "Pipe too small for 20mm Tracer"},
          {"16 mm tube on 40 mm",
           [](FakeHost& h) {
             h.setInstallation(1, 2);
             h.setPipe(3);
           },
           "Pipe too small for 16mm Tracer"},
          {"12 mm tube on 25 mm",
           [](FakeHost& h) {
             h.setInstallation(1, 1);
             h.setPipe(2);
           },
           "Pipe too small for 12mm Tracer"},
          {"-74 C is below -100 F", [](FakeHost& h) { h.in.minAmbient = "-74"; }, " Min ambient not valid"},
          {"exposure 677 C is 1250.6 F", [](FakeHost& h) { h.in.maxExposure = "677"; },
           " Exposure temperature is too high for any QUORVEX cement."},
      });
}

TEST(DesignRun, NonNumericFieldsAreNamedNotReadAsZero) {
  ExpectRefusals(
      UnitSystem::English,
      {
          {"maintenance", [](FakeHost& h) { h.in.maintTemp = "hot"; }, "Maint. Temp. must be a number."},
          {"pipe size",
           [](FakeHost& h) {
             static const TextList sizes{"2in"};
             h.in.pipeSizes = &sizes;
             h.in.pipeSize = 0;
           },
           "Pipe Size must be a number."},
          {"exposure", [](FakeHost& h) { h.in.maxExposure = "3 75"; },
           "Steam Out / Max. Process Temp. must be a number."},
          {"intermittent", [](FakeHost& h) { h.in.intermittentExposure = "x"; },
           "Intermittent Exposure Temp. must be a number."},
          {"pressure", [](FakeHost& h) { h.in.pressure = "5O"; }, "Steam Pressure must be a number."},
          {"wall", [](FakeHost& h) { h.in.tubeWall = -1; }, "Tracer Wall Thickness must be a number."},
          {"max ambient", [](FakeHost& h) { h.in.maxAmbient = "warm"; }, "Max. Ambient must be a number."},
          {"pipe length", [](FakeHost& h) { h.in.pipeLength = "abc"; }, "Pipe Length must be a number."},
          {"pipe length zero", [](FakeHost& h) { h.in.pipeLength = "0"; },
           "Pipe Length must be greater than 0."},
      });
}

TEST(DesignRun, PipeLengthBeyondItsLimitIsRefusedBeforeTheAllowances) {
  ExpectRefusals(UnitSystem::English, {{"100,001 ft", [](FakeHost& h) { h.in.pipeLength = "100001"; },
                                        "Pipe Length must not be greater than 100,000 ft."},
                                       {"1e30 ft", [](FakeHost& h) { h.in.pipeLength = "1e30"; },
                                        "Pipe Length must not be greater than 100,000 ft."}});
  ExpectRefusals(UnitSystem::Metric, {{"30,481 m", [](FakeHost& h) { h.in.pipeLength = "30481"; },
                                       "Pipe Length must not be greater than 30,480 m."}});
  for (const auto& [units, length] :
       {std::pair{UnitSystem::English, "100000"}, {UnitSystem::Metric, "30480"}}) {
    FakeHost host(units);
    host.in.pipeLength = length;
    host.answerAllowances();
    EXPECT_EQ(host.run(), DesignOutcome::Completed) << length;
    EXPECT_TRUE(std::isfinite(host.rec().TLEN) && host.rec().TLEN >= std::stof(length)) << host.rec().TLEN;
  }
}

TEST(DesignRun, ResultsTooLargeForTheirFieldsEndWithAnErrorAndNoDesign) {
  // Eight tracers on the longest 12 in circuit with a million valves,
  // flanges and pumps: every input within its limit, but the tracer length
  // outgrows seven digits.
  FakeHost host;
  host.setPipe(11);
  host.in.passes = 7;
  host.in.pipeLength = "100000";
  PipeAnswer many;
  many.valves = many.flanges = many.pumps = "1000000";
  host.script.pipe(many);
  host.script.shoes(ShoeAnswer{});
  ASSERT_EQ(host.run(), DesignOutcome::Failed);
  EXPECT_EQ(host.titles(), Texts{"Error"});
  EXPECT_EQ(host.messages().at(0).rfind("The design could not be completed for these inputs: the result ", 0),
            0u)
      << host.messages().at(0);
  EXPECT_TRUE(host.shown.empty());
  EXPECT_FALSE(host.rec().HoldsDesign());
  EXPECT_EQ(host.rec().TLEN, 0.0f);
}

TEST(DesignRun, BoundaryInputsThatAreAccepted) {
  struct Row {
    const char* name;
    std::function<void(FakeHost&)> change;
  };
  const Row rows[] = {
      {"3/8 in Fillet on 1 in",
       [](FakeHost& h) {
         h.setInstallation(1, 0);
         h.setPipe(2);
       }},
      {"2 passes on 1.5 in, code 2 with the 3/8 in tube",
       [](FakeHost& h) {
         h.setInstallation(2, 0);
         h.setPipe(3);
         h.in.passes = 1;
         h.in.maintTemp = "50";
       }},
      {"4 passes on 4 in",
       [](FakeHost& h) {
         h.setPipe(7);
         h.in.passes = 3;
       }},
      {"exposure 1250 F", [](FakeHost& h) { h.in.maxExposure = "1250"; }},
      {"5 psig",
       [](FakeHost& h) {
         h.in.pressure = "5";
         h.in.maintTemp = "50";
       }},
      {"300 psig",
       [](FakeHost& h) {
         h.in.pressure = "300";
         h.in.maxExposure = "500";
       }},
      {"-100 F",
       [](FakeHost& h) {
         h.in.minAmbient = "-100";
         h.in.maintTemp = "50";
       }},
      {"decimal comma",
       [](FakeHost& h) {
         h.context.decimalMark = ',';
         h.in.pressure = "50,5";
       }},
  };
  for (const auto& row : rows) {
    FakeHost host;
    row.change(host);
    host.answerAllowances();
    EXPECT_EQ(host.run(), DesignOutcome::Completed) << row.name;
    EXPECT_TRUE(host.rec().HoldsDesign()) << row.name;
    for (const auto& m : host.script.messages())
      EXPECT_NE(m.title, "Input Error") << row.name << ": " << m.text;
  }
}

TEST(DesignRun, CompoundChoiceFromExposureSteamAndIntermittent) {
  // A refusal at the tube fit ends the run right after the compound choice,
  // so the record shows what the choice stored.
  struct Row {
    const char* exposure;
    const char* pressure;
    const char* cem;
    bool k90;
  };
  const Row rows[] = {
      {"300", "50", "E-50-C", false},   // Tsat 297.5 F
      {"300", "100", "E-55-C", false},  // Tsat 338.3 F
      {"350", "50", "E-55-C", false},  {"400", "50", "K-30", false},
      {"700", "50", "K-30", false},    {"800", "50", "K-90", true},
  };
  for (const auto& r : rows) {
    FakeHost host;
    host.in.maxExposure = r.exposure;
    host.in.intermittentExposure = r.exposure;
    host.in.pressure = r.pressure;
    host.setInstallation(0, 3);
    host.setPipe(5);
    ASSERT_EQ(host.run(), DesignOutcome::Stopped) << r.exposure;
    EXPECT_EQ(host.rec().CEM, r.cem) << r.exposure << " F, " << r.pressure << " psig";
    EXPECT_EQ(host.rec().CEM1, r.cem) << r.exposure << " F, " << r.pressure << " psig";
    EXPECT_EQ(host.design.k90InUse, r.k90) << r.exposure << " F, " << r.pressure << " psig";
  }
  // The intermittent exposure counts like the maximum exposure.
  FakeHost host;
  host.in.intermittentExposure = "500";
  host.setInstallation(0, 3);
  host.setPipe(5);
  host.run();
  EXPECT_EQ(host.rec().CEM, "K-30");
}

TEST(DesignRun, K90CompoundKeepsItsNameAndLowersTroughlineHeat) {
  FakeHost k30;
  k30.in.maxExposure = "700";
  k30.answerAllowances();
  ASSERT_EQ(k30.run(), DesignOutcome::Completed);
  FakeHost k90;
  k90.in.maxExposure = "701";
  k90.answerAllowances();
  ASSERT_EQ(k90.run(), DesignOutcome::Completed);
  EXPECT_EQ(k30.rec().CEM, "K-30");
  EXPECT_EQ(k90.rec().CEM, "K-90");
  EXPECT_TRUE(k90.design.k90InUse);
  EXPECT_LT(k90.rec().TP1, k30.rec().TP1 - 5);
  EXPECT_EQ(k90.rec().SSFLAG, 2.0f);  // above 406 F
  EXPECT_EQ(k90.shown.at(0).traceType, "K-90");
}

TEST(DesignRun, SmallTroughlinePipeCountsAsSevenHundredDegreeExposure) {
  // 3/8 in Troughline below 1.5 in runs in a channel with compound, never
  // the extruded strip, whatever the exposure.
  struct Row {
    int pipePos;
    const char* cem;
    const char* chan;
    float ssflag;
  };
  const Row rows[] = {{1, "E-55-C", "MCX-8 SS", 2}, {3, "Clipstrip", "MCX-4", 0}};
  for (const auto& r : rows) {
    FakeHost host;
    host.setPipe(r.pipePos);
    host.answerAllowances();
    ASSERT_EQ(host.run(), DesignOutcome::Completed) << r.pipePos;
    EXPECT_EQ(host.rec().CEM, r.cem) << r.pipePos;
    EXPECT_EQ(host.rec().CHAN, r.chan) << r.pipePos;
    EXPECT_EQ(host.rec().SSFLAG, r.ssflag) << r.pipePos;
  }
}

TEST(DesignRun, StandardFallbackYJ2ToYJ1ToTroughlineOnThreeInchPipe) {
  FakeHost host;
  host.setPipe(6);
  host.setInstallation(3, 0);  // YJ-2: 116.4 F, YJ-1: 141.5 F, Troughline: 266.7 F
  host.in.maintTemp = "200";
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  EXPECT_EQ(
      host.events,
      (Texts{"PipeForm", "ShoeForm", "status Design created", "select 2",
             "Message []: YJ-2 could not maintain desired temperature. YJ-1 has been selected.", "select 0",
             "Message []: YJ-1 could not maintain desired temperature. Trough Line has been "
             "selected.",
             "results"}));
  EXPECT_EQ(host.rec().TP1, static_cast<float>(266.72154509));
  EXPECT_EQ(host.rec().CEM, "Clipstrip");
  EXPECT_EQ(host.rec().COVR, "");
  EXPECT_EQ(host.shown.at(0).traceLabel, "Troughline");
  EXPECT_FALSE(host.shown.at(0).shortOfMaintTemp);
  for (const auto& m : host.script.messages()) {
    EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_TRUE(m.systemModal);
  }
}

TEST(DesignRun, StandardFallbackEndsInFilletTraceOnOneInchPipe) {
  FakeHost host;
  host.setPipe(2);
  host.setInstallation(3, 0);  // YJ-2: 155.7 F, YJ-1: 184.2 F, Fillet Trace: 275.8 F
  host.in.maintTemp = "200";
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  EXPECT_EQ(host.messages(),
            (Texts{"YJ-2 could not maintain desired temperature. YJ-1 has been selected.",
                   "YJ-1 could not maintain desired temperature. Fillet Trace has been selected."}));
  EXPECT_EQ(host.titles(), (Texts{"", ""}));
  EXPECT_EQ(host.script.pipeForms().size(), 1u);
  EXPECT_EQ(host.rec().TP1, static_cast<float>(275.84023039));
  EXPECT_EQ(host.rec().CEM, "E-55-C");  // fillet above 325 F exposure
  EXPECT_EQ(host.shown.at(0).traceLabel, "Fillet Trace with");
}

TEST(DesignRun, InternalFallbackPassesThroughYJ0) {
  FakeHost host(UnitSystem::English, true);
  host.setPipe(6);
  host.setInstallation(4, 0);  // YJ-2, YJ-1, YJ-0 (189.9 F) all short of 200 F
  host.in.maintTemp = "200";
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  EXPECT_EQ(host.messages(),
            (Texts{"YJ-2 could not maintain desired temperature. YJ-1 has been selected.",
                   "YJ-1 could not maintain desired temperature. YJ-0 has been selected.",
                   "YJ-0 could not maintain desired temperature. Trough Line has been selected."}));
  EXPECT_EQ(host.events[3], "select 3");
  EXPECT_EQ(host.events[5], "select 2");
  EXPECT_EQ(host.events[7], "select 0");
  EXPECT_EQ(host.script.pipeForms().size(), 1u);
  EXPECT_EQ(host.rec().TP1, static_cast<float>(266.72154509));

  FakeHost small(UnitSystem::English, true);
  small.setPipe(3);
  small.setInstallation(2, 0);
  small.in.maintTemp = "280";
  small.answerAllowances();
  ASSERT_EQ(small.run(), DesignOutcome::Completed);
  EXPECT_EQ(small.messages().at(0),
            "YJ-0 could not maintain desired temperature. Fillet Trace has been selected.");
}

TEST(DesignRun, JacketedTracerAbove406FallsBackToTroughline) {
  FakeHost host;
  host.setInstallation(2, 0);  // YJ-1 holds 100 F (159.1 F)
  host.in.maxExposure = "450";
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  EXPECT_EQ(host.messages(), Texts{kCoverlynLimit});
  EXPECT_EQ(host.titles(), Texts{""});
  EXPECT_EQ(host.events.at(3), "select 0");
  EXPECT_EQ(host.rec().CEM, "K-30");
  EXPECT_EQ(host.rec().SSFLAG, 2.0f);
  EXPECT_EQ(host.shown.at(0).traceLabel, "Troughline");
}

TEST(DesignRun, JacketedDesignThatHoldsKeepsItsType) {
  FakeHost host;
  host.setInstallation(2, 0);  // YJ-1 on 2 in: 159.1 F (balanced 164.1 F less 5 F)
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  EXPECT_TRUE(host.messages().empty());
  EXPECT_EQ(host.rec().TP1, static_cast<float>(159.13633544));
  EXPECT_EQ(host.rec().CEM, "COVERLYN");
  EXPECT_EQ(host.rec().COVR, "YJ-1");
  EXPECT_EQ(host.shown.at(0).traceLabel, "Coverlyn Type");
  EXPECT_EQ(host.shown.at(0).traceType, "YJ-1");
}

TEST(DesignRun, FilletTraceAbove375SwitchesToTroughlineBeforeTheAllowances) {
  FakeHost host;
  host.setInstallation(1, 0);
  host.in.maxExposure = "400";
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  EXPECT_EQ(host.events.at(0),
            "Message [Input Error]: Maximum temperature exposure or Steam temperature is too high for Fillet "
            "Trace. "
            "Troughline has been selected.");
  EXPECT_EQ(host.events.at(1), "select 0");
  EXPECT_EQ(host.events.at(2), "PipeForm");
  EXPECT_EQ(host.rec().CEM, "Clipstrip");
}

TEST(DesignRun, MinimalOversizingTakesTheSmallerInsulation) {
  for (int under : {0, 1}) {
    FakeHost host;
    host.context.sizing = InsulationSizingFromStored(under);
    host.setInstallation(2, 0);  // YJ-1 on 2 in: De 3.125; position 7 (ID 2.91) clears 2.375 + 0.375
    host.answerAllowances();
    ASSERT_EQ(host.run(), DesignOutcome::Completed) << under;
    EXPECT_EQ(host.rec().INSIZE, under == 1 ? 2.5f : 3.0f) << under;
    EXPECT_EQ(host.rec().TP1, static_cast<float>(under == 1 ? 169.96477424 : 159.13633544)) << under;
  }
}

TEST(DesignRun, TracedTwelveInchPipeTakesFourteenInchInsulation) {
  FakeHost host;
  host.setPipe(11);
  host.setInstallation(1, 0);  // De 13.125 in
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  EXPECT_EQ(host.rec().INSIZE, 14.0f);
}

TEST(DesignRun, ShortfallWarnsAfterTheResultsAndMarksTheFieldYellow) {
  FakeHost host;
  host.in.maintTemp = "280";
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  EXPECT_EQ(host.events.back(), "Message [Warning]: " + kShortfall);
  EXPECT_EQ(host.events.at(host.events.size() - 2), "results");
  EXPECT_TRUE(host.shown.at(0).shortOfMaintTemp);
  EXPECT_TRUE(host.rec().HoldsDesign());
}

// A heat-up design designs the circuit as a maintenance design does, then
// gives the heat-up time of the tab's fields, or says why it gives none. The
// circuit settles at 273.6 F at the minimum ambient.
TEST(DesignRun, HeatUpTimeFollowsTheDesignOrSaysWhyThereIsNone) {
  constexpr int kWater = 0, kSodium = 22;
  struct Case {
    const char* name;
    int product;
    const char* initial;
    const char* final;
    const char* density;  // for "Other"
    bool phaseChange;
    HeatUpEnd end;
    const char* shown;    // the output's text; "*" for a time above 0
    const char* message;  // the start of the message after the results, "" for none
  };
  const Case cases[] = {
      {"other product", kProductOther, "50", "150", "62.4", false, HeatUpEnd::Computed, "*", ""},
      {"listed product", kWater, "50", "150", "", false, HeatUpEnd::Computed, "*", ""},
      {"already at the final temperature", kProductOther, "150", "150", "62.4", false, HeatUpEnd::Computed,
       "0.00", ""},
      {"above where the line settles", kProductOther, "50", "300", "62.4", false, HeatUpEnd::CannotReach,
       "\u2014",
       "The line cannot reach the final temperature of 300.0 \u00B0F at the minimum ambient: it "
       "settles at 273."},
      {"density not a number", kProductOther, "50", "150", "abc", false, HeatUpEnd::Refused, "",
       "Density must be a number greater than 0."},
      {"phase change without its temperature", kProductOther, "50", "150", "62.4", true, HeatUpEnd::Refused,
       "", "Phase Change Temp. must be between -100 and 1600 \u00B0F."},
      {"product held at the end of its data", kSodium, "50", "150", "", false, HeatUpEnd::Computed, "*",
       "The heat-up temperatures reach outside the temperature range of the product property data of "
       "Sodium (Liquid)"},
  };
  FakeHost maintenance;
  maintenance.answerAllowances();
  ASSERT_EQ(maintenance.run(), DesignOutcome::Completed);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHost host;
    host.in.application = kApplicationHeatUp;
    host.in.product = c.product;
    host.in.initialTemp = c.initial;
    host.in.finalTemp = c.final;
    host.in.density = c.density;
    host.in.specificHeat = "1.0";
    host.in.phaseChange = c.phaseChange;
    host.in.phaseChangeTemp = "";  // none typed
    host.in.latentHeat = "100";
    host.answerAllowances();
    ASSERT_EQ(host.run(), DesignOutcome::Completed);
    ASSERT_TRUE(host.design.heatUp);
    const HeatUpResult& h = *host.design.heatUp;
    EXPECT_EQ(h.end, c.end) << h.message;
    const std::string shown = host.shown.at(0).heatUpTime;
    if (std::string(c.shown) == "*") {
      EXPECT_GT(h.hours, 0.0);
      EXPECT_EQ(shown, FixedText(ToSingle(h.hours), 2));
    } else {
      EXPECT_EQ(shown, c.shown);
    }
    // The record keeps the time given, and the design's outputs of a
    // maintenance design of the same circuit.
    EXPECT_EQ(host.rec().HeatUpTime, c.end == HeatUpEnd::Computed ? ToSingle(h.hours) : 0.0f);
    EXPECT_EQ(host.rec().TP1, maintenance.rec().TP1);
    EXPECT_EQ(host.rec().TLEN, maintenance.rec().TLEN);
    const std::string last = host.events.back();
    if (*c.message == '\0') {
      EXPECT_EQ(last, "results");
    } else {
      EXPECT_EQ(last.rfind(std::string("Message [Warning]: ") + c.message, 0), 0u) << last;
    }
  }
  EXPECT_FALSE(maintenance.design.heatUp);
  EXPECT_EQ(maintenance.shown.at(0).heatUpTime, "");
}

// Metric fields go into the heat-up in English units: 999.5521 kg/m3 is
// 62.4 lb/ft3, 4186.8 J/(kg K) 1 BTU/(lb F), and 10 and 65 C average to
// 99.5 F.
TEST(DesignRun, MetricHeatUpFieldsAreConvertedToTheEnginesUnits) {
  FakeHost host(UnitSystem::Metric);
  host.in.application = kApplicationHeatUp;
  host.in.product = kProductOther;
  host.in.initialTemp = "10";
  host.in.finalTemp = "65";
  host.in.density = "999.5521";
  host.in.specificHeat = "4186.8";
  host.answerAllowances();
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  ASSERT_TRUE(host.design.heatUp);
  const HeatUpResult& h = *host.design.heatUp;
  ASSERT_EQ(h.end, HeatUpEnd::Computed) << h.message;
  EXPECT_NEAR(h.meanTempF, 99.5, 1e-9);
  EXPECT_NEAR(h.productAtMean.densityLbFt3, 62.4, 1e-5);
  EXPECT_NEAR(h.productAtMean.specificHeatBtuLbF, 1.0, 1e-12);
}

// The worked example of the help page "Heat Up Time" (47.htm): a 2 in pipe,
// one 3/8 in Troughline tracer, 1 in fiberglass, 50 psig, 0 F; "Other" of
// 62.4 lb/ft3 and 1 BTU/(lb F) from 40 to 150 F takes 0.2798 hr, and a phase
// change at 100 F of 144 BTU/lb adds 0.274 hr. The page shows these numbers.
TEST(DesignRun, TheHelpPagesWorkedExampleIsWhatTheProgramComputes) {
  for (const bool phaseChange : {false, true}) {
    FakeHost host;
    host.in.application = kApplicationHeatUp;
    host.in.product = kProductOther;
    host.in.initialTemp = "40";
    host.in.finalTemp = "150";
    host.in.density = "62.4";
    host.in.specificHeat = "1";
    host.in.phaseChange = phaseChange;
    host.in.phaseChangeTemp = "100";
    host.in.latentHeat = "144";
    host.answerAllowances();
    ASSERT_EQ(host.run(), DesignOutcome::Completed);
    ASSERT_TRUE(host.design.heatUp);
    const HeatUpResult& h = *host.design.heatUp;
    ASSERT_EQ(h.end, HeatUpEnd::Computed) << h.message;
    EXPECT_NEAR(h.integralHours, 0.2798, 0.00005);
    EXPECT_NEAR(h.phaseChangeHours, phaseChange ? 0.274 : 0.0, 0.0005);
    EXPECT_NEAR(host.rec().TP1, 273.6f, 0.05f);  // where the line settles
  }
}

TEST(DesignRun, TrapDistanceNoteWhenTheCircuitIsLonger) {
  for (const char* length : {"144", "145"}) {
    FakeHost host;
    host.in.pipeLength = length;  // trap distance 144.385 ft
    host.answerAllowances();
    ASSERT_EQ(host.run(), DesignOutcome::Completed);
    const bool longer = std::string(length) == "145";
    EXPECT_EQ(host.messages(), longer ? Texts{kTrapNote} : Texts{}) << length;
    if (longer) {
      EXPECT_EQ(host.titles(), Texts{"Warning"});
      EXPECT_EQ(host.rec().FRST, 2.0f);
    }
  }
}

TEST(DesignRun, UnbalanceableDesignEndsWithAnErrorAndNoResults) {
  FakeHost host;
  host.in.minAmbient = "350";  // above the steam at 50 psig
  host.in.maxAmbient = "400";
  ASSERT_EQ(host.run(), DesignOutcome::Failed);
  ASSERT_EQ(host.script.messages().size(), 1u);
  EXPECT_EQ(host.titles(), Texts{"Error"});
  EXPECT_EQ(host.messages().at(0).rfind("The design could not be completed for these inputs", 0), 0u);
  EXPECT_TRUE(host.shown.empty());
  EXPECT_TRUE(host.script.pipeForms().empty());
  EXPECT_EQ(host.rec().TP1, 0.0f);
  EXPECT_EQ(host.rec().TLEN, 0.0f);
  EXPECT_FALSE(host.rec().HoldsDesign());
}

TEST(DesignRun, ClosedFittingsDialogEndsWithoutDesign) {
  FakeHost host;
  PipeAnswer closeIt;
  closeIt.dismiss = true;
  host.script.pipe(closeIt);
  EXPECT_EQ(host.run(), DesignOutcome::Stopped);
  EXPECT_TRUE(host.shown.empty());
  EXPECT_FALSE(host.rec().HoldsDesign());
}

TEST(DesignRun, AllowancesAndTakeoffUseThisPassNotTheStoredRecord) {
  FakeHost host;
  // The record still holds an earlier YJ-2 design with a 3/4 in tube.
  host.set.at(0).TRACEINS = 3;
  host.set.at(0).TRACETUB = 3;
  host.set.at(0).COVR = "YJ-2";
  host.setInstallation(1, 0);  // Fillet, 3/8 in
  host.script.pipe(PipeAnswer{kAllowanceIncludedNo, "2", "3", "1", "0"});
  host.script.shoes(ShoeAnswer{});
  ASSERT_EQ(host.run(), DesignOutcome::Completed);
  const DesignRecord& r = host.rec();
  EXPECT_EQ(r.TSIZ, "3/8'' O.D.");
  EXPECT_EQ(r.COVR, "");
  EXPECT_EQ(r.CEM, "E-55-C");
  EXPECT_EQ(r.TRACETUB, 0);
  EXPECT_EQ(r.VALN, 2.0f);
  EXPECT_GT(r.CRS, 0.0f);     // crimp seals: not a jacketed tube
  EXPECT_GT(r.TLEN, 105.0f);  // valves, flanges and the pump lengthen the tracer
}

}  // namespace
}  // namespace vst
