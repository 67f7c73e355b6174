#include "bom/takeoff.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/legacy_math.h"

namespace vst {
namespace {

// The compound choice and the take-off on a record's fields of the same
// names, as the design writes them.
void ChooseCompound(const TakeoffInputs& in, DesignRecord& r) {
  const Compound c = ChooseCompound(in, Compound{r.CEM, r.CEM1, r.COVR});
  r.CEM = c.CEM;
  r.CEM1 = c.CEM1;
  r.COVR = c.COVR;
}

std::string MaterialTakeoff(const TakeoffInputs& in, DesignRecord& r) {
  const Takeoff t = MaterialTakeoff(in, Compound{r.CEM, r.CEM1, r.COVR});
  r.ACEM = t.ACEM;
  r.ACEM1 = t.ACEM1;
  r.CEM1 = t.CEM1;
  r.TSIZ = t.TSIZ;
  r.TST = t.TST;
  r.ACHAN = t.ACHAN;
  r.CHAN = t.CHAN;
  r.TLEN = t.TLEN;
  r.TBAND = t.TBAND;
  r.BAND = t.BAND;
  r.ABAND = t.ABAND;
  r.CRS = t.CRS;
  r.UNION = t.UNION;
  r.FRST = t.FRST;
  r.MACO = t.MACO;
  r.FAK = t.FAK;
  r.SLEN = t.SLEN;
  return SingleText(t.TLEN);
}

// 100 ft of 3/8 in channel installation on a 2 in pipe (list position 4),
// exposure above 406 F, one tracer, no fittings and no shoes.
TakeoffInputs Channel100Ft() {
  TakeoffInputs in;
  in.installation = 0;
  in.tubeIndex = 0;
  in.pipeSizePos = 4;
  in.tracerCount = 1;
  in.exposureTempF = 450;
  in.steamTempF = 297.5;
  in.intermittentExposureTempF = 375;
  in.trapDistanceFt = 300;
  in.bundleDiameterIn = 2.375 + 0.875;
  in.designPipeLengthFt = 100;
  in.bandingLengthFt = 100;
  in.fittingsRow = 10;
  return in;
}

// The record as the design run leaves it before the compound choice: the
// compound chosen from the temperatures at the start of the run.
DesignRecord RecordWithRunCompound(const char* compound) {
  DesignRecord r;
  r.CEM = compound;
  r.CEM1 = compound;
  return r;
}

DesignRecord Designed(const TakeoffInputs& in, const char* runCompound = "K-30") {
  DesignRecord r = RecordWithRunCompound(runCompound);
  ChooseCompound(in, r);
  MaterialTakeoff(in, r);
  return r;
}

TEST(TracerLength, AddsFivePercentAndTruncatesToTenths) {
  struct Row {
    int tracers;
    double designPipeLength, expected;
  };
  const Row rows[] = {{1, 100, 105.0}, {1, 143, 150.1}, {2, 121.5, 255.1}, {1, 98.43, 103.3}, {3, 0, 0}};
  for (const auto& r : rows) {
    EXPECT_DOUBLE_EQ(TracerLengthFt(r.tracers, r.designPipeLength), r.expected)
        << r.tracers << " x " << r.designPipeLength;
  }
}

TEST(TracerLength, BillRoundsUpToWholeFeetOrHalfMetres) {
  struct Row {
    UnitSystem units;
    double feet, expected;
  };
  const Row rows[] = {
      {UnitSystem::English, 104.3, 105}, {UnitSystem::English, 104.0, 104},
      {UnitSystem::English, 150.1, 151}, {UnitSystem::Metric, 105.0, 32},  // 320 dm
      {UnitSystem::Metric, 104.0, 32},                                     // 316 dm: up to the next metre
      {UnitSystem::Metric, 102.0, 31},                                     // 310 dm
      {UnitSystem::Metric, 103.0, 31.5},                                   // 313 dm: up to the half metre
      {UnitSystem::Metric, 101.7, 31.0},  // 309.9 dm truncates to 309: up to 31
      {UnitSystem::Metric, 20.0, 6.0},    // 60.96 dm -> 60
  };
  for (const auto& r : rows) {
    EXPECT_DOUBLE_EQ(BillTracerLength(r.units, r.feet), r.expected)
        << (r.units == UnitSystem::Metric ? "Metric " : "English ") << r.feet;
  }
}

TEST(CompoundChoice, NamesTheCompoundByInstallationAndTemperatures) {
  struct Row {
    int installation;
    bool internal;
    double exposure, steam, intermittent;
    const char* runCompound;
    const char* cem;
    const char* cem1;
    const char* covr;
  };
  const Row rows[] = {
      {1, false, 325, 325, 900, "K-90", "E-50-C", "E-50-C", ""},  // fillet ignores the intermittent exposure
      {1, false, 326, 300, 300, "E-50-C", "E-55-C", "E-55-C", ""},
      {1, false, 300, 325.5, 300, "E-50-C", "E-55-C", "E-55-C", ""},
      {0, false, 406, 406, 406, "K-30", "Clipstrip", "Clipstrip", ""},
      {0, false, 450, 297.5, 375, "K-30", "K-30", "K-30", ""},  // above 406: the run's compound stays
      {0, false, 300, 300, 407, "K-30", "K-30", "K-30", ""},
      {0, true, 800, 300, 300, "K-90", "K-90", "K-90", ""},
      {2, false, 300, 300, 300, "E-50-C", "COVERLYN", " ", "YJ-1"},
      {3, false, 300, 300, 300, "E-50-C", "COVERLYN", " ", "YJ-2"},
      {2, true, 300, 300, 300, "E-50-C", "COVERLYN", " ", "YJ-0"},
      {3, true, 300, 300, 300, "E-50-C", "COVERLYN", " ", "YJ-1"},
      {4, true, 300, 300, 300, "E-50-C", "COVERLYN", " ", "YJ-2"},
  };
  for (const auto& r : rows) {
    TakeoffInputs in;
    in.installation = r.installation;
    in.internalMode = r.internal;
    in.exposureTempF = r.exposure;
    in.steamTempF = r.steam;
    in.intermittentExposureTempF = r.intermittent;
    DesignRecord rec = RecordWithRunCompound(r.runCompound);
    rec.COVR = "YJ-2";  // left from an earlier design: emptied first
    ChooseCompound(in, rec);
    const std::string where = "code " + std::to_string(r.installation) +
                              (r.internal ? " internal" : " standard") + " E " + std::to_string(r.exposure) +
                              " Ts " + std::to_string(r.steam) + " E2 " + std::to_string(r.intermittent);
    EXPECT_EQ(rec.CEM, r.cem) << where;
    EXPECT_EQ(rec.CEM1, r.cem1) << where;
    EXPECT_EQ(rec.COVR, r.covr) << where;
  }
}

TEST(Takeoff, ChannelOnATwoInchPipeAboveTheStripLimit) {
  DesignRecord r = RecordWithRunCompound("K-30");
  const TakeoffInputs in = Channel100Ft();
  ChooseCompound(in, r);
  EXPECT_EQ(MaterialTakeoff(in, r), "105");
  EXPECT_EQ(r.TLEN, 105.0f);
  EXPECT_EQ(r.ACEM, 4.0f);  // Fix(105 / 28 + 0.99) gallons
  EXPECT_EQ(r.ACEM1, 0.0f);
  EXPECT_EQ(r.CEM, "K-30");
  EXPECT_EQ(r.CEM1, " ");
  EXPECT_EQ(r.TST, 27.0f);  // Fix(26.25 + 0.99)
  EXPECT_EQ(r.ACHAN, 27.0f);
  EXPECT_EQ(r.CHAN, "MCX-4 SS");
  EXPECT_EQ(r.TSIZ, "3/8'' O.D.");
  EXPECT_EQ(r.CRS, 85.0f);  // Fix(1.05 x 81)
  EXPECT_EQ(r.UNION, 0.0f);
  EXPECT_EQ(r.FRST, 1.0f);
  EXPECT_EQ(r.FAK, 0.0f);
  EXPECT_EQ(r.MACO, 0.0f);
  EXPECT_EQ(r.SLEN, 0.0f);
  // 100 bands of 3.1416 x 3.25 + 3 in: Fix(110.08) = 110; three quarters of it, 82 ft; two 50 ft rolls.
  EXPECT_EQ(r.TBAND, 82.0f);
  EXPECT_EQ(r.ABAND, 2.0f);
  EXPECT_EQ(r.BAND, "HB2SS");
}

TEST(Takeoff, MetricUsersGetHalfMetresOfTracerAndTieWire) {
  TakeoffInputs in = Channel100Ft();
  in.units = UnitSystem::Metric;
  DesignRecord r = RecordWithRunCompound("K-30");
  ChooseCompound(in, r);
  EXPECT_EQ(MaterialTakeoff(in, r), "32");
  EXPECT_EQ(r.TLEN, 32.0f);
  EXPECT_EQ(r.TBAND, 25.0f);  // 82 ft: 249.9 dm truncated to 249, up to 25 m
  EXPECT_EQ(r.TSIZ, "10mm O.D.");
  EXPECT_EQ(r.TST, 27.0f);  // the sections count in feet before rounding

  in.designPipeLengthFt = 103.0 / 1.05 + 1e-9;  // 103.0 ft of tracer
  ChooseCompound(in, r);
  EXPECT_EQ(MaterialTakeoff(in, r), "31.5");
}

TEST(Takeoff, TieWireHasAMinimumOf20FtAndRollsFollowTheTube) {
  struct Row {
    int installation;
    int tube;
    float bandingLength;
    double bundle;
    float tband, aband;
    const char* band;
  };
  const Row rows[] = {
      // 10 bands of 3.1416 x 5.19 + 3 in: Fix(16.09) = 16, three quarters 12 ft: tie wire raised to 20.
      {0, 0, 10, 5.19, 20, 1, "HB2SS"},
      {1, 1, 10, 5.19, 20, 1, "HB2SS"},
      {0, 2, 10, 5.19, 20, 1, "HB3SS"},
      {0, 3, 200, 5.19, 240, 3, "HB3SS"},  // Fix(321.75) = 321, three quarters 240 ft: three 100 ft rolls
      // Jacketed tubes: no tie wire; 2.5 wraps; fiber tape in 108 ft rolls.
      {2, 0, 10, 5.19, 0, 1, "GF-1Q"},  // Fix(36.47) = 36 ft
      {2, 1, 100, 3.0, 0, 3, "GF-1Q"},  // Fix(100 x 26.562 / 12) = 221 ft
      {0, 0, 0, 3.0, 20, 0, "HB2SS"},   // no banding length: no rolls
  };
  for (const auto& r : rows) {
    TakeoffInputs in = Channel100Ft();
    in.installation = r.installation;
    in.tubeIndex = r.tube;
    in.bandingLengthFt = r.bandingLength;
    in.bundleDiameterIn = r.bundle;
    in.fittingsRow = kNoFittingsRow;
    const DesignRecord rec = Designed(in);
    const std::string where = "code " + std::to_string(r.installation) + " tube " + std::to_string(r.tube) +
                              " S " + std::to_string(r.bandingLength) + " D " + std::to_string(r.bundle);
    EXPECT_EQ(rec.TBAND, r.tband) << where;
    EXPECT_EQ(rec.ABAND, r.aband) << where;
    EXPECT_EQ(rec.BAND, r.band) << where;
  }
}

TEST(Takeoff, JacketedTubesTakeNoCompoundTieWireOrCrimpSeals) {
  TakeoffInputs in = Channel100Ft();
  in.installation = 2;
  in.valves = 2;
  in.pumps = 1;
  in.flanges = 3;
  in.fittingsRow = 13;
  const DesignRecord r = Designed(in, "E-50-C");
  EXPECT_EQ(r.CEM, "COVERLYN");
  EXPECT_EQ(r.COVR, "YJ-1");
  EXPECT_EQ(r.ACEM, 0.0f);  // not the 6 gallons the fittings would take in a channel
  EXPECT_EQ(r.ACEM1, 0.0f);
  EXPECT_EQ(r.CEM1, " ");
  EXPECT_EQ(r.TBAND, 0.0f);
  EXPECT_EQ(r.CRS, 0.0f);
  EXPECT_EQ(r.ACHAN, 0.0f);
  EXPECT_EQ(r.CHAN, " ");
  EXPECT_EQ(r.TST, 27.0f);
  EXPECT_EQ(r.UNION, 9.0f);  // 3 + 2 x (2 + 1)
  // Tape: Fix(100 x (2.5 x 3.1416 x 3.25 + 3) / 12) = 237 ft, plus 8.1 x (2 x 1 + 2) at the
  // fittings: 269 ft in 108 ft rolls.
  EXPECT_EQ(r.ABAND, 3.0f);
  EXPECT_EQ(r.FAK, 1.0f);  // Int(1 x 2 / 6 + 0.9999)
  EXPECT_EQ(r.MACO, 0.0f);
}

TEST(Takeoff, ClipstripKeepsItsValveAndPumpCompoundApart) {
  TakeoffInputs in = Channel100Ft();
  in.exposureTempF = 406;
  in.valves = 2;
  in.pumps = 1;
  in.fittingsRow = 10;  // 1 gallon per valve
  const DesignRecord r = Designed(in, "E-55-C");
  EXPECT_EQ(r.CEM, "Clipstrip");
  EXPECT_EQ(r.CEM1, "Clipstrip");
  EXPECT_EQ(r.ACEM, 0.0f);
  EXPECT_EQ(r.ACEM1, 4.0f);  // Fix(1 x (2 + 2 x 1) + 0.999) gallons
  EXPECT_EQ(r.TST, 27.0f);
  EXPECT_EQ(r.ACHAN, 27.0f);
  EXPECT_EQ(r.CHAN, "MCX-4");  // 406 F is not above 410
}

TEST(Takeoff, TracerRunCompoundRatesByInstallationTubeAndPipe) {
  struct Row {
    int installation;
    int tube;
    int pipePos;
    float acem;
    const char* chan;
  };
  // 105 ft of tracer; two valves and a pump on row 10 add 4 gallons (channel)
  // or Fix(10 x 0.04 x 4 + 0.999) = 2 cartridges (fillet, E-50-C).
  const Row rows[] = {
      {0, 0, 0, 2 + 4, "MCX-8 SS"},  // Fix(105 / 56 + 0.99) on the two smallest pipes
      {0, 0, 1, 2 + 4, "MCX-8 SS"}, {0, 0, 2, 4 + 4, "MCX-4 SS"},  // / 28
      {0, 1, 4, 4 + 4, "MCX-4 SS"},                                // / 32
      {0, 2, 4, 6 + 4, "MCX-7"},                                   // / 19
      {0, 3, 8, 6 + 4, "MCX-7"},    {1, 0, 4, 6 + 2, " "},         // 10 cartridges per 200 ft
      {1, 1, 4, 8 + 2, " "},                                       // per 140 ft
      {1, 2, 4, 16 + 2, " "},                                      // per 67 ft
      {1, 3, 8, 23 + 2, " "},  // per 46.5 ft: the 5/8 in rate scaled by the tube's cross-section
  };
  for (const auto& r : rows) {
    TakeoffInputs in = Channel100Ft();
    in.installation = r.installation;
    in.tubeIndex = r.tube;
    in.pipeSizePos = r.pipePos;
    in.valves = 2;
    in.pumps = 1;
    in.steamTempF = 297.5;
    if (r.installation == 1) in.exposureTempF = 300;
    const DesignRecord rec = Designed(in, "K-30");
    const std::string where = "code " + std::to_string(r.installation) + " tube " + std::to_string(r.tube) +
                              " pipe " + std::to_string(r.pipePos);
    EXPECT_EQ(rec.ACEM, r.acem) << where;
    EXPECT_EQ(rec.ACEM1, 0.0f) << where;
    EXPECT_EQ(rec.CHAN, r.chan) << where;
  }
}

TEST(Takeoff, TrapStationsUnionsAndSealKitsFollowTheSubCircuits) {
  struct Row {
    int installation;
    int tracers;
    double length, trap;
    float wrapcore;
    float frst, unions, maco, fak;
  };
  // Valves 2, pumps 1, flanges 3 in every row.
  const Row rows[] = {
      {0, 1, 100, 300, 0, 1, 9, 0, 0},
      {0, 2, 100, 300, 0, 2, 9, 0, 0},
      {0, 2, 100, 100, 0, 2, 9, 0, 0},    // exactly one trap distance: one circuit
      {0, 1, 250, 100, 0, 3, 9, 0, 0},    // three sub-circuits
      {0, 1, 250, 100, 40, 3, 15, 6, 2},  // pre-insulated: unions at each sub-circuit, kits Int(3 x 4 / 6 +
                                          // 0.9999)
      {1, 2, 250, 100, 40, 6, 15, 12, 4},
      {2, 2, 250, 100, 40, 6, 15, 12, 6},  // jacketed: a kit per trap station
      {2, 2, 250, 100, 0, 6, 9, 0, 2},     // jacketed without: Int(6 x 2 / 6 + 0.9999)
      {0, 1, 100, 0, 40, 1, 11, 2, 1},     // no usable trap distance: one circuit, nothing divided by 0
  };
  for (const auto& r : rows) {
    TakeoffInputs in = Channel100Ft();
    in.installation = r.installation;
    in.tracerCount = r.tracers;
    in.designPipeLengthFt = r.length;
    in.trapDistanceFt = r.trap;
    in.wrapcore = r.wrapcore;
    in.valves = 2;
    in.pumps = 1;
    in.flanges = 3;
    const DesignRecord rec = Designed(in);
    const std::string where = "code " + std::to_string(r.installation) + " tracers " +
                              std::to_string(r.tracers) + " L " + std::to_string(r.length) + " TD " +
                              std::to_string(r.trap) + " WCTB " + std::to_string(r.wrapcore);
    EXPECT_EQ(rec.FRST, r.frst) << where;
    EXPECT_EQ(rec.UNION, r.unions) << where;
    EXPECT_EQ(rec.MACO, r.maco) << where;
    EXPECT_EQ(rec.FAK, r.fak) << where;
  }
}

TEST(Takeoff, CrimpSealsAndFittingBandsCountValvesAndPumps) {
  TakeoffInputs in = Channel100Ft();
  in.valves = 2;
  in.pumps = 1;
  in.fittingsRow = 10;  // 5.72 ft of band per valve
  in.fittingsAllowanceFt = 43;
  const DesignRecord r = Designed(in);
  EXPECT_EQ(r.CRS, 91.0f);     // Fix(1.05 x (3 x 27 + 2 x 3))
  EXPECT_EQ(r.TBAND, 105.0f);  // Fix(0.75 x 110 + 2 x 5.72 x 1 + 5.72 x 2) = Fix(105.38)
  EXPECT_EQ(r.ABAND, 3.0f);    // three 50 ft rolls
  EXPECT_EQ(r.SLEN, 43.0f);
}

TEST(Takeoff, EvenRowsAboveThirteenCarryNoFittingQuantities) {
  for (int row : {12, 14, 20, 30}) {
    TakeoffInputs in = Channel100Ft();
    in.valves = 4;
    in.pumps = 2;
    in.fittingsRow = row;
    const DesignRecord r = Designed(in);
    EXPECT_EQ(r.ACEM, 4.0f) << "row " << row;    // the run's 4 gallons alone
    EXPECT_EQ(r.TBAND, 82.0f) << "row " << row;  // no band at the fittings
  }
}

TEST(Takeoff, HugeCountsFinishWithFiniteQuantities) {
  TakeoffInputs in = Channel100Ft();
  in.valves = 1e6f;
  in.pumps = 1e6f;
  in.fittingsRow = 31;
  in.designPipeLengthFt = 1e8;
  in.bandingLengthFt = 1e8f;
  const DesignRecord r = Designed(in);
  for (float v : {r.TLEN, r.ACEM, r.ABAND, r.TBAND, r.CRS, r.UNION, r.FRST, r.TST}) {
    EXPECT_TRUE(std::isfinite(v)) << v;
    EXPECT_GT(v, 0.0f);
  }
}

TEST(Takeoff, RefusesInputsOutsideTheirDomain) {
  DesignRecord r;
  TakeoffInputs in = Channel100Ft();
  in.tubeIndex = 4;
  EXPECT_THROW(MaterialTakeoff(in, r), std::invalid_argument);
  in = Channel100Ft();
  in.tracerCount = 0;
  EXPECT_THROW(MaterialTakeoff(in, r), std::invalid_argument);
  in = Channel100Ft();
  in.designPipeLengthFt = std::numeric_limits<double>::quiet_NaN();
  EXPECT_THROW(MaterialTakeoff(in, r), std::invalid_argument);
  in = Channel100Ft();
  in.bundleDiameterIn = -1;
  EXPECT_THROW(MaterialTakeoff(in, r), std::invalid_argument);
  EXPECT_EQ(r, DesignRecord{});
}

TEST(Takeoff, AllowanceResultsReachTheTakeoff) {
  AllowanceResult a;
  a.designPipeLengthFt = 143;
  a.slenFt = 143;
  a.valves = 2;
  a.flanges = 3;
  a.pumps = 1;
  a.wrapcore = 5;
  a.fittingsRow = 10;
  a.fittingsAllowanceFt = 43;
  TakeoffInputs in = Channel100Ft();
  TakeAllowance(a, in);
  DesignRecord r = Designed(in);
  EXPECT_EQ(r.TLEN, 151.0f);  // 150.1 ft rounded up
  EXPECT_EQ(r.UNION, 11.0f);  // 3 + 2 x (2 + 1 + 1)
  EXPECT_EQ(r.SLEN, 43.0f);
}

}  // namespace
}  // namespace vst
