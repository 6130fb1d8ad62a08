// morvane-cli tolerance: its JSON for a stage, the LC ladder, the diplexer and a cascade, the
// seed, the mask's yield, the worst case on request, and bad use refused with exit code 2.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "child_process.h"

namespace {

using morvane::test::ChildRun;
using morvane::test::RunChild;
using Args = std::vector<std::string>;

QJsonObject Json(Args args) {
  args.insert(args.begin(), "tolerance");
  args.push_back("--json");
  const ChildRun run = RunChild(args);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
}

void ExpectStatistics(const QJsonObject& s) {
  for (const char* figure : {"f0", "q", "gain"}) {
    const QJsonObject f = s[figure].toObject();
    for (const char* key : {"mean", "std", "min", "max", "p5", "p95"}) {
      EXPECT_TRUE(f[key].isDouble()) << figure << " " << key;
    }
    EXPECT_LE(f["min"].toDouble(), f["p5"].toDouble()) << figure;
    EXPECT_LE(f["p5"].toDouble(), f["p95"].toDouble()) << figure;
    EXPECT_LE(f["p95"].toDouble(), f["max"].toDouble()) << figure;
  }
}

TEST(CliTolerance, StageWithTheDefaults) {
  const QJsonObject o = Json({});
  EXPECT_EQ(o["runs"].toInt(), 1000);
  EXPECT_EQ(o["seed"].toDouble(), 1.0);
  ExpectStatistics(o["statistics"].toObject());
  // The initial MFB lowpass: its five parts, f0 as (R2 R3 C1 C2)^(-1/2).
  const QJsonObject s = o["sensitivities"].toObject();
  EXPECT_EQ(s.size(), 5);
  EXPECT_NEAR(s["C1"].toObject()["f0"].toDouble(), -0.5, 1e-4);
  EXPECT_NEAR(s["R1"].toObject()["f0"].toDouble(), 0.0, 1e-4);
  EXPECT_FALSE(o.contains("worstCase"));
  EXPECT_FALSE(o.contains("yield"));
  const QJsonArray band = o["band"].toArray();
  ASSERT_EQ(band.size(), 200);
  for (const QJsonValue row : band) {
    const QJsonArray r = row.toArray();
    ASSERT_EQ(r.size(), 6);
    EXPECT_LE(r[1].toDouble(), r[2].toDouble());
    EXPECT_LE(r[2].toDouble(), r[4].toDouble());
    EXPECT_LE(r[4].toDouble(), r[5].toDouble());
  }
}

TEST(CliTolerance, CascadeSectionsSeedMaskAndWorstCase) {
  const Args args{"--cascade", "--order", "6",      "fg=1k",       "--runs",      "400",
                  "--seed",    "9",       "--mask", "500,1,3k,45", "--worst-case"};
  const QJsonObject a = Json(args), b = Json(args);
  EXPECT_EQ(a, b);
  const QJsonArray sections = a["statistics"].toObject()["sections"].toArray();
  ASSERT_EQ(sections.size(), 3);
  for (const QJsonValue s : sections) ExpectStatistics(s.toObject());
  EXPECT_TRUE(a["sensitivities"].toObject().contains("R1_3"));
  EXPECT_EQ(a["worstCase"].toObject()["sections"].toArray().size(), 3);
  const double yield = a["yield"].toDouble(-1.0);
  EXPECT_GE(yield, 0.0);
  EXPECT_LE(yield, 1.0);
  Args other = args;
  other[7] = "10";
  EXPECT_NE(Json(other)["statistics"], a["statistics"]);
}

TEST(CliTolerance, BadUseIsExitCodeTwo) {
  const std::vector<Args> cases = {
      {"--runs", "1"},
      {"--runs", "x"},
      {"--r-tol", "-1"},
      {"--c-tol", "100"},
      {"--distribution", "tri"},
      {"--mask", "1,2,3"},
      {"--topology", "lc", "--chebyshev"},  // even order, RL = RG: no ladder
      {"--topology", "lc", "RL=2k"},        // even order, RL > RG: no ladder
      {"--from", "1k", "--to", "10"},
      {"--cascade", "--netlist", "-"},
      {"--cascade", "--order", "30"},
  };
  for (Args c : cases) {
    c.insert(c.begin(), "tolerance");
    const ChildRun run = RunChild(c);
    EXPECT_EQ(run.exitCode, 2) << c[1] << " " << run.err;
    EXPECT_TRUE(run.out.empty()) << c[1];
  }
}

// The passive pages: the ladder one filter, the diplexer its lowpass and highpass outputs.
struct PassiveRow {
  const char* name;
  Args args;
  std::vector<const char*> outputs = {};  // the diplexer's; empty: one filter at the top
  bool noSpread = false;                  // every tolerance 0 %
  char onlySource = 0;                    // the one part class that spreads f0 and Q
  std::vector<const char*> parts = {};    // some of the parts the sensitivities name
  // With a mask: where the yield lies (the diplexer's highpass takes the mask mirrored).
  std::optional<std::pair<double, double>> yield = std::nullopt;
};

const std::vector<PassiveRow> kPassiveRows = {
    {.name = "ladder without tolerances",
     .args = {"--topology", "lc", "--order", "5", "--r-tol", "0", "--c-tol", "0", "--l-tol", "0"},
     .noSpread = true,
     .parts = {"RG", "C1", "L2", "C5", "RL"}},
    {.name = "ladder, inductors only",
     .args = {"--topology", "lc", "--order", "6", "--chebyshev", "RL=100", "--r-tol", "0",
              "--c-tol", "0", "--l-tol", "5"},
     .onlySource = 'L',
     .parts = {"L2", "L6"}},
    {.name = "highpass ladder, resistors only",
     .args = {"--topology", "lc", "--type", "highpass", "--r-tol", "1", "--c-tol", "0", "--l-tol",
              "0"},
     .onlySource = 'R',
     .parts = {"L1", "C4", "RG", "RL"}},
    {.name = "ladder against a mask",
     .args = {"--topology", "lc", "--order", "5", "--mask", "500,1,3k,40"},
     .parts = {"C3"},
     .yield = std::pair{0.9, 1.0}},
    {.name = "ladder against a mask it cannot meet",
     .args = {"--topology", "lc", "--order", "5", "--mask", "500,1,2k,40"},
     .yield = std::pair{0.0, 0.0}},
    {.name = "diplexer against a mask",
     .args = {"--topology", "diplexer", "--mask", "300,1,3k,25"},
     .outputs = {"lowpass", "highpass"},
     .parts = {"RS", "LLP1", "CLP2", "CHP1", "LHP2", "RLLP", "RLHP"},
     .yield = std::pair{0.9, 1.0}},
    {.name = "diplexer, inductors only",
     .args = {"--topology", "diplexer", "--diplexer-order", "5", "--diplexer-chebyshev", "--r-tol",
              "0", "--c-tol", "0", "--l-tol", "2"},
     .outputs = {"lowpass", "highpass"},
     .onlySource = 'L',
     .parts = {"LLP5", "LHP4"}},
};

void ExpectPassiveOutput(const PassiveRow& row, const QJsonObject& o) {
  const QJsonObject statistics = o["statistics"].toObject();
  ExpectStatistics(statistics);
  for (const char* part : row.parts)
    EXPECT_TRUE(o["sensitivities"].toObject().contains(part)) << part;
  double shares = 0.0;
  for (const QJsonValue entry : o["importance"].toArray()) {
    const QString part = entry.toArray()[0].toString();
    const double share = entry.toArray()[1].toDouble();
    shares += share;
    if (row.onlySource != 0 && share > 0.0) {
      EXPECT_EQ(part[0], QChar(row.onlySource)) << part.toStdString();
    }
  }
  EXPECT_NEAR(shares, row.noSpread ? 0.0 : 1.0, 1e-9);
  for (const char* figure : {"f0", "q", "gain"}) {
    const QJsonObject f = statistics[figure].toObject();
    const double spread = f["std"].toDouble() / std::abs(f["mean"].toDouble());
    // The gain is the terminations' divider: only resistors move it.
    const bool still = row.noSpread || (std::string(figure) == "gain" && row.onlySource == 'L');
    if (still) {
      EXPECT_LT(spread, 1e-12) << figure;
    } else {
      EXPECT_GT(spread, 1e-5) << figure;
    }
  }
  for (const QJsonValue band : o["band"].toArray()) {
    const QJsonArray r = band.toArray();
    if (row.noSpread) {
      EXPECT_EQ(r[1].toDouble(), r[5].toDouble());
    }
  }
  EXPECT_EQ(o.contains("yield"), row.yield.has_value());
  if (row.yield) {
    EXPECT_GE(o["yield"].toDouble(-1.0), row.yield->first);
    EXPECT_LE(o["yield"].toDouble(2.0), row.yield->second);
  }
}

TEST(CliTolerance, PassivePages) {
  for (const PassiveRow& row : kPassiveRows) {
    SCOPED_TRACE(row.name);
    Args args = row.args;
    for (const char* extra : {"--runs", "60"}) args.push_back(extra);
    const QJsonObject o = Json(args);
    if (row.outputs.empty()) {
      ExpectPassiveOutput(row, o);
      continue;
    }
    EXPECT_EQ(o.size(), static_cast<qsizetype>(row.outputs.size()));
    for (const char* output : row.outputs) {
      SCOPED_TRACE(output);
      ExpectPassiveOutput(row, o[output].toObject());
    }
    // One seed, one order of the parts: both outputs come from the same diplexers, whose
    // poles they share.
    EXPECT_EQ(o["lowpass"]["statistics"]["f0"], o["highpass"]["statistics"]["f0"]);
  }
}

TEST(CliTolerance, DiplexerTableNamesBothOutputs) {
  const ChildRun run = RunChild({"tolerance", "--topology", "diplexer", "--runs", "20"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const auto lowpass = run.out.find("Output: lowpass\n");
  const auto highpass = run.out.find("Output: highpass\n");
  EXPECT_NE(lowpass, std::string::npos);
  EXPECT_NE(highpass, std::string::npos);
  EXPECT_LT(lowpass, highpass);
}

}  // namespace
