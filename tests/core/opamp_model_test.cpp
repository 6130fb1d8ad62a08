// The built-in op-amp table: every row within what a real part can have, the names unique
// and in order, `ideal` ideal and nothing else, lookups without regard to letter case.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "opamp/opamp_model.h"

namespace morvane {
namespace {

class BuiltInOpAmpRow : public testing::TestWithParam<OpAmpModel> {};

TEST_P(BuiltInOpAmpRow, TypicalValuesOfARealPart) {
  const OpAmpModel& m = GetParam();
  EXPECT_FALSE(m.IsIdeal());
  for (const double x : {m.dcGain, m.gainBandwidth, m.outputResistance, m.inputCapacitance,
                         m.slewRate, m.outputSwing, m.voltageNoiseDensity, m.currentNoiseDensity}) {
    EXPECT_TRUE(std::isfinite(x) && x > 0.0) << x;
  }
  for (const double corner : {m.voltageNoiseCorner, m.currentNoiseCorner}) {
    EXPECT_TRUE(std::isfinite(corner) && corner >= 0.0 && corner < 10e3) << corner;
  }
  if (m.secondPole) {
    EXPECT_GT(*m.secondPole, m.gainBandwidth);
  }
  EXPECT_GE(m.dcGain, 1e3);
  EXPECT_GT(m.gainBandwidth, 100e3);
  EXPECT_LT(m.gainBandwidth, 1e9);
  EXPECT_GE(m.voltageNoiseDensity, 0.5e-9);  // below the quietest bipolar input there is
  EXPECT_LE(m.voltageNoiseDensity, 100e-9);
  EXPECT_LT(m.currentNoiseDensity, 100e-12);
  EXPECT_GT(m.slewRate, 0.1e6);  // in V/s: a value in V/us would fail here
  EXPECT_LT(m.slewRate, 10e9);
  EXPECT_LT(m.outputSwing, 20.0);
  EXPECT_LT(m.inputCapacitance, 100e-12);  // in F: a value in pF would fail here
  EXPECT_LT(m.outputResistance, 1e3);
}

std::vector<OpAmpModel> PartsWithoutIdeal() {
  std::vector<OpAmpModel> parts;
  for (const OpAmpModel& m : BuiltInOpAmps()) {
    if (m.name != kIdealOpAmpName) parts.push_back(m);
  }
  return parts;
}

INSTANTIATE_TEST_SUITE_P(OpAmpTable, BuiltInOpAmpRow, testing::ValuesIn(PartsWithoutIdeal()),
                         [](const testing::TestParamInfo<OpAmpModel>& info) {
                           return info.param.name;
                         });

TEST(OpAmpTable, AboutThirtyPartsWithUniqueNamesInOrder) {
  const auto& table = BuiltInOpAmps();
  ASSERT_GE(table.size(), 31u);
  EXPECT_EQ(table.front().name, kIdealOpAmpName);
  for (std::size_t i = 2; i < table.size(); ++i) {
    EXPECT_LT(table[i - 1].name, table[i].name);
  }
  for (std::size_t i = 0; i < table.size(); ++i) {
    for (std::size_t j = i + 1; j < table.size(); ++j) {
      EXPECT_FALSE(SameOpAmpName(table[i].name, table[j].name)) << table[i].name;
    }
  }
}

TEST(OpAmpTable, IdealIsInfiniteAndNoiseless) {
  const auto ideal = FindOpAmp(BuiltInOpAmps(), "ideal");
  ASSERT_TRUE(ideal);
  EXPECT_TRUE(ideal->IsIdeal());
  EXPECT_TRUE(std::isinf(ideal->dcGain));
  EXPECT_TRUE(std::isinf(ideal->gainBandwidth));
  EXPECT_TRUE(std::isinf(ideal->slewRate));
  EXPECT_TRUE(std::isinf(ideal->outputSwing));
  EXPECT_FALSE(ideal->secondPole);
  EXPECT_EQ(ideal->outputResistance, 0.0);
  EXPECT_EQ(ideal->inputCapacitance, 0.0);
  EXPECT_EQ(ideal->voltageNoiseDensity, 0.0);
  EXPECT_EQ(ideal->currentNoiseDensity, 0.0);
}

TEST(OpAmpTable, FiniteGainIsNotIdeal) {
  OpAmpModel m = *FindOpAmp(BuiltInOpAmps(), "ideal");
  m.dcGain = 1e6;
  EXPECT_FALSE(m.IsIdeal());
  m = *FindOpAmp(BuiltInOpAmps(), "ideal");
  m.voltageNoiseDensity = 1e-9;
  EXPECT_FALSE(m.IsIdeal());
}

struct LookupCase {
  const char* asked;
  const char* found;  // nullptr: not in the table
};

class OpAmpLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(OpAmpLookup, NameWithoutRegardToCase) {
  const auto m = FindOpAmp(BuiltInOpAmps(), GetParam().asked);
  if (!GetParam().found) {
    EXPECT_FALSE(m);
    return;
  }
  ASSERT_TRUE(m);
  EXPECT_EQ(m->name, GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(OpAmpTable, OpAmpLookup,
                         testing::Values(LookupCase{"TL072", "TL072"}, LookupCase{"tl072", "TL072"},
                                         LookupCase{"Ne5532", "NE5532"},
                                         LookupCase{"IDEAL", "ideal"},
                                         LookupCase{"opa1612", "OPA1612"},
                                         LookupCase{"TL07", nullptr}, LookupCase{"TL0722", nullptr},
                                         LookupCase{"", nullptr}));

TEST(OpAmpTable, KnownValuesInSiUnits) {
  const auto tl072 = *FindOpAmp(BuiltInOpAmps(), "TL072");
  EXPECT_DOUBLE_EQ(tl072.gainBandwidth, 3e6);
  EXPECT_DOUBLE_EQ(tl072.slewRate, 13e6);
  EXPECT_DOUBLE_EQ(tl072.voltageNoiseDensity, 18e-9);
  const auto op27 = *FindOpAmp(BuiltInOpAmps(), "OP27");
  EXPECT_DOUBLE_EQ(op27.voltageNoiseCorner, 2.7);
  EXPECT_DOUBLE_EQ(op27.outputResistance, 70.0);
}

}  // namespace
}  // namespace morvane
