// morvane-cli tolerance: its JSON for a stage and a cascade, the seed, the mask's yield, the
// worst case on request, and bad use refused with exit code 2.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
      {"--topology", "lc"},
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

}  // namespace
