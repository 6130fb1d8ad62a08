// morvane-cli eseries: the JSON keys and values for named cases worked from the IEC 60063
// tables, the readable lines, every series name, and bad values and options refused.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <string>
#include <vector>

#include "child_process.h"

namespace {

using morvane::test::ChildRun;
using morvane::test::RunChild;
using Args = std::vector<std::string>;

QJsonObject Json(Args args) {
  args.insert(args.begin(), "eseries");
  args.push_back("--json");
  const ChildRun run = RunChild(args);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
}

void ExpectPair(const QJsonValue& value, double a, double b, double combined, double percent) {
  const QJsonArray pair = value.toArray();
  ASSERT_EQ(pair.size(), 4);
  EXPECT_DOUBLE_EQ(pair[0].toDouble(), a);
  EXPECT_DOUBLE_EQ(pair[1].toDouble(), b);
  EXPECT_DOUBLE_EQ(pair[2].toDouble(), combined);
  EXPECT_NEAR(pair[3].toDouble(), percent, 1e-9);
}

TEST(CliESeries, JsonKeysAsNamed) {
  const QJsonObject plain = Json({"4.75k"});
  EXPECT_EQ(plain.keys(),
            (QStringList{"above", "below", "eSeries", "nearest", "nearestErrorPercent", "value"}));
  const QJsonObject all = Json({"4.75k", "--combine", "--ratio", "2"});
  EXPECT_EQ(all.keys(), (QStringList{"above", "below", "eSeries", "nearest", "nearestErrorPercent",
                                     "pair", "parallel", "series", "value"}));
}

struct NearestCase {
  const char* value;
  const char* series;
  double below, above, nearest;
};

// From the tables by hand. 3.3k in E3 is nearer to 2.2k by difference but to 4.7k by ratio
// (4.7 / 3.3 = 1.42 against 3.3 / 2.2 = 1.5).
const NearestCase kNearest[] = {
    {"4.75k", "E24", 4.7e3, 5.1e3, 4.7e3},   {"4.75k", "E12", 4.7e3, 5.6e3, 4.7e3},
    {"4k7", "E3", 4.7e3, 4.7e3, 4.7e3},      {"3.3k", "E3", 2.2e3, 4.7e3, 4.7e3},
    {"10n", "E6", 10e-9, 10e-9, 10e-9},      {"1234", "E48", 1.21e3, 1.27e3, 1.21e3},
    {"1234", "E96", 1.21e3, 1.24e3, 1.24e3}, {"9.15k", "E192", 9.09e3, 9.2e3, 9.2e3},
    {"0.5", "e6", 0.47, 0.68, 0.47},         {"99", "E12", 82.0, 100.0, 100.0},
};

class CliESeriesNearest : public testing::TestWithParam<NearestCase> {};

TEST_P(CliESeriesNearest, BelowAboveNearestAndError) {
  const auto& c = GetParam();
  const QJsonObject o = Json({c.value, "--series", c.series});
  EXPECT_DOUBLE_EQ(o["below"].toDouble(), c.below);
  EXPECT_DOUBLE_EQ(o["above"].toDouble(), c.above);
  EXPECT_DOUBLE_EQ(o["nearest"].toDouble(), c.nearest);
  const double value = o["value"].toDouble();
  EXPECT_NEAR(o["nearestErrorPercent"].toDouble(), (c.nearest - value) / value * 100.0, 1e-9);
  EXPECT_EQ(o["eSeries"].toString().toUpper(), QString(c.series).toUpper());
}

INSTANTIATE_TEST_SUITE_P(Named, CliESeriesNearest, testing::ValuesIn(kNearest));

TEST(CliESeries, DefaultSeriesIsE24) {
  EXPECT_EQ(Json({"1k"})["eSeries"].toString(), "E24");
}

TEST(CliESeries, CombinationsAndRatioPair) {
  // 6k from E12 is 3.3k + 2.7k exactly; 5k is 10k || 10k; gain 11 wants a ratio of 10: 47k
  // over 4.7k near 5k. 1.5 from E3: 1.0 + 0.47 (-2 %) and 4.7 || 2.2 (-0.0966 %).
  const QJsonObject six = Json({"6k", "--series", "E12", "--combine", "--ratio", "10"});
  ExpectPair(six["series"], 3.3e3, 2.7e3, 6e3, 0.0);
  // Every E12 b makes 10 exactly; of them b = 5.6k lies nearest to 6k.
  ExpectPair(six["pair"], 56e3, 5.6e3, 10.0, 0.0);
  const QJsonObject five = Json({"5k", "--series", "E12", "--combine", "--ratio", "10"});
  ExpectPair(five["parallel"], 10e3, 10e3, 5e3, 0.0);
  ExpectPair(five["pair"], 47e3, 4.7e3, 10.0, 0.0);
  const QJsonObject e3 = Json({"1.5", "--series", "E3", "--combine"});
  ExpectPair(e3["series"], 1.0, 0.47, 1.47, -2.0);
  const double parallel = 4.7 * 2.2 / 6.9;
  ExpectPair(e3["parallel"], 4.7, 2.2, parallel, (parallel - 1.5) / 1.5 * 100.0);
}

TEST(CliESeries, ReadableLines) {
  const ChildRun run =
      RunChild({"eseries", "4.75k", "--series", "E12", "--combine", "--ratio", "2.2"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "Value         4.75k\n"
            "Series        E12\n"
            "Below         4.7k   -1.05 %\n"
            "Above         5.6k   +17.89 %\n"
            "Nearest       4.7k   -1.05 %\n"
            "In series     4.7k + 47 = 4.747k   -0.06 %\n"
            "In parallel   33k || 5.6k = 4.788k   +0.79 %\n"
            "Ratio         2.2\n"
            "a / b         22k / 10k = 2.200   0 %\n");
  const ChildRun exact = RunChild({"eseries", "4.75k", "--series", "E96"});
  EXPECT_NE(exact.out.find("Nearest       4.75k   (a series value)\n"), std::string::npos)
      << exact.out;
}

TEST(CliESeries, EverySeriesName) {
  for (const char* name : {"E3", "E6", "E12", "E24", "E48", "E96", "E192"}) {
    EXPECT_EQ(Json({"2k", "--series", name})["eSeries"].toString(), name);
    EXPECT_EQ(Json({"2k", std::string("--series=") + name})["eSeries"].toString(), name);
  }
}

struct BadUse {
  Args args;
  const char* message;
};

const BadUse kBadUses[] = {
    {{"eseries"}, "eseries needs a VALUE"},
    {{"eseries", "abc"}, "\"abc\" is not a number"},
    {{"eseries", "nan"}, "\"nan\" is not a number"},
    {{"eseries", "inf"}, "\"inf\" is not a number"},
    {{"eseries", "0"}, "must be above 0"},
    {{"eseries", "-4.7k"}, "must be above 0"},
    {{"eseries", "1e999"}, "must lie between 1f and 1T"},
    {{"eseries", "2T"}, "must lie between 1f and 1T"},
    {{"eseries", ""}, "VALUE is empty"},
    {{"eseries", "1k", "2k"}, "unknown option or argument: 2k"},
    {{"eseries", "1k", "--series"}, "needs a value"},
    {{"eseries", "1k", "--series", "E5"}, "takes E3, E6, E12, E24, E48, E96 or E192"},
    {{"eseries", "1k", "--series", "24"}, "takes E3"},
    {{"eseries", "1k", "--ratio", "0"}, "the ratio must be above 0"},
    {{"eseries", "1k", "--ratio", "x"}, "\"x\" is not a number"},
    {{"eseries", "1k", "--ratio", "2M"}, "must lie between 1u and 1M"},
    {{"eseries", "1k", "--ratio"}, "needs a value"},
    {{"eseries", "1k", "--sum"}, "unknown option"},
};

class CliESeriesBadUse : public testing::TestWithParam<BadUse> {};

TEST_P(CliESeriesBadUse, ExitTwoWithAMessageAndNothingOnStdout) {
  const ChildRun run = RunChild(GetParam().args);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Refused, CliESeriesBadUse, testing::ValuesIn(kBadUses));

TEST(CliESeries, ValueReadOnlyInPieceIsNamedOnStderr) {
  const ChildRun run = RunChild({"eseries", "4.7kx", "--json"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.err.find("\"x\" ignored"), std::string::npos) << run.err;
}

TEST(CliESeries, HelpNamesTheRatioDefinition) {
  const ChildRun run = RunChild({"help", "eseries"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("a / b"), std::string::npos);
  EXPECT_NE(run.out.find("R = G - 1"), std::string::npos);
  EXPECT_NE(RunChild({"--help"}).out.find("morvane-cli eseries VALUE"), std::string::npos);
}

}  // namespace
