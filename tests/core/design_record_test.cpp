#include "core/design_record.h"

#include <gtest/gtest.h>

#include <set>

namespace vst {
namespace {

TEST(DesignSet, RefusesEveryIndexOutsideZeroToNine) {
  DesignSet set;
  for (int i : {-1, 10, 11, -100, 1000}) {
    EXPECT_THROW(set.at(i), RecordIndexError) << i;
    EXPECT_THROW(std::as_const(set).at(i), RecordIndexError) << i;
  }
  for (int i = 0; i < 10; ++i) EXPECT_NO_THROW(set.at(i));
  set.CurrentRecord = 10;
  EXPECT_THROW(set.current(), RecordIndexError);
}

TEST(DesignSet, StartsEmptyAtRecordOneWithNothingSaved) {
  DesignSet set;
  EXPECT_EQ(set.CurrentRecord, 0);
  EXPECT_FALSE(set.DesignSaved);
  EXPECT_FALSE(set.DesignLock);
  EXPECT_FALSE(set.RecordLoading);
  for (const auto& r : set.records) {
    EXPECT_FALSE(r.HoldsDesign());
    EXPECT_EQ(r.TP2, 0.0f);
    EXPECT_EQ(r.CEM, "");
  }
}

TEST(DesignRecord, HoldsADesignExactlyWhenTheTubeSizeTextIsSet) {
  DesignRecord r;
  r.TP2 = 150;
  r.TLEN = 105;
  EXPECT_FALSE(r.HoldsDesign());
  r.TSIZ = "3/8'' O.D.";
  EXPECT_TRUE(r.HoldsDesign());
}

TEST(RecordFields, NameEveryFileColumnOnceAndReachTheirMembers) {
  std::set<std::string_view> names;
  int inFile = 0;
  for (const auto& f : RecordFields()) {
    EXPECT_TRUE(names.insert(f.name).second) << f.name;
    if (f.inFile) ++inFile;
  }
  // The design file holds 60 record columns of this list (WtraceVersion and
  // UnitSystem are the file's own), the allowance answers and heat-up data
  // among them.
  EXPECT_EQ(inFile, 60);
  DesignRecord r;
  r.STEAMPRS = 3.45f;
  r.COND = 0.1234f;
  r.CEM = "K-30";
  r.TRACEINS = 4;
  EXPECT_EQ(FieldText(r, *FindRecordField("STEAMPRS")), "3.45");
  EXPECT_EQ(FieldText(r, *FindRecordField("CEM")), "K-30");
  EXPECT_EQ(FieldNumber(r, *FindRecordField("TRACEINS")), 4.0);
  EXPECT_FLOAT_EQ(static_cast<float>(FieldNumber(r, *FindRecordField("COND"))), 0.1234f);
  EXPECT_EQ(FindRecordField("NOSUCH"), nullptr);
  EXPECT_TRUE(FindRecordField("ShoeAllowance")->inFile);
  EXPECT_TRUE(FindRecordField("AllowanceIncluded")->inFile);
  EXPECT_TRUE(FindRecordField("HeatUpTime")->inFile);
  EXPECT_FALSE(FindRecordField("IntermittentExposure")->inFile);
}

}  // namespace
}  // namespace vst
