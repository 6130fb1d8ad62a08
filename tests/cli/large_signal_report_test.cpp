// The large signal that `design` and `cascade` print with --opamp: the largest undistorted
// output against the closed form min(swing, SR / 2 pi f) of an op amp that drives the output
// itself, the headroom of sections that peak inside, and where nothing is printed.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "child_process.h"
#include "cli_runner.h"

namespace {

using morvane::test::ChildRun;
using morvane::test::RunChild;
using morvane::test::TempPath;
using Args = std::vector<std::string>;

// 10 V of swing and 1 V/µs: the slew rate takes over above 15.92 kHz.
std::string SlowSlewingOpAmp() {
  const std::string file = TempPath("slow_slew.ini");
  std::ofstream(file) << "[SLOW]\na0 = 1e6\ngbw = 50M\nrout = 50\ncin = 3p\n"
                         "slewRate = 1e6\nswing = 10\nen = 10n\nenCorner = 0\nin = 1p\n"
                         "inCorner = 0\n";
  return file;
}

struct OneOpAmpCase {
  const char* name;
  Args args;
};

class LargeSignalOfOneOpAmp : public testing::TestWithParam<OneOpAmpCase> {};

// Each stage's only op amp drives the output: its limit is the output's, at every frequency.
TEST_P(LargeSignalOfOneOpAmp, OutputFollowsSwingAndSlewRate) {
  Args args = GetParam().args;
  args.insert(args.end(), {"--opamp", SlowSlewingOpAmp(), "--json"});
  const ChildRun run = RunChild(args);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
  const QJsonObject large = root["largeSignal"].toObject();
  EXPECT_NEAR(large["slewCorner"].toDouble(), 1e6 / (2.0 * std::numbers::pi * 10.0), 1e-6);
  const QJsonArray points = large["points"].toArray();
  ASSERT_EQ(points.size(), 9);
  bool swingSeen = false, slewSeen = false;
  for (const QJsonValue p : points) {
    const double f = p["f"].toDouble();
    const double expected = std::min(10.0, 1e6 / (2.0 * std::numbers::pi * f));
    EXPECT_NEAR(p["outputPeak"].toDouble(), expected, 1e-6 * expected) << f;
    const bool swing = p["limit"].toString() == "swing";
    EXPECT_EQ(swing, 10.0 < 1e6 / (2.0 * std::numbers::pi * f)) << f;
    swingSeen = swingSeen || swing;
    slewSeen = slewSeen || !swing;
  }
  EXPECT_TRUE(swingSeen && slewSeen);
  EXPECT_FALSE(root["headroom"].toObject()["sections"].toArray().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Stages, LargeSignalOfOneOpAmp,
    testing::Values(OneOpAmpCase{"MfbLowpass", {"design", "--topology", "mfb", "fg=10k"}},
                    OneOpAmpCase{"SallenKeyHighpass",
                                 {"design", "--topology", "pfb", "--type", "highpass", "fg=10k"}},
                    OneOpAmpCase{"SallenKeyCascade",
                                 {"cascade", "--order", "2", "--topology", "pfb", "fg=10k"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LargeSignalReport, InnerPeakingOfStateVariableSectionsIsWarnedAbout) {
  const Args args{"cascade", "--order",    "10",   "--approximation", "chebyshev",
                  "fg=20k",  "--topology", "svf4", "--opamp",         "TL072"};
  const ChildRun table = RunChild(args);
  ASSERT_EQ(table.exitCode, 0) << table.err;
  EXPECT_NE(table.out.find("Large signal with TL072"), std::string::npos);
  EXPECT_NE(table.err.find("clips"), std::string::npos) << table.err;
  Args json = args;
  json.push_back("--json");
  const ChildRun run = RunChild(json);
  const QJsonObject headroom =
      QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object()["headroom"].toObject();
  const QJsonArray sections = headroom["sections"].toArray();
  ASSERT_EQ(sections.size(), 5);
  int warned = 0;
  for (const QJsonValue s : sections) {
    const bool warns = s["warning"].isString();
    EXPECT_EQ(warns, s["peakingDb"].toDouble() >= 0.05) << s["section"].toInt();
    if (warns) {
      ++warned;
      EXPECT_NE(table.err.find(s["warning"].toString().toStdString()), std::string::npos);
    }
  }
  EXPECT_GT(warned, 0);
}

TEST(LargeSignalReport, NothingWithoutARealOrAStableOpAmp) {
  const auto keys = [](const Args& args) {
    const ChildRun run = RunChild(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    return root.contains("largeSignal") || root.contains("headroom");
  };
  EXPECT_FALSE(keys({"design", "--json"}));
  EXPECT_FALSE(keys({"design", "--opamp", "ideal", "--json"}));
  // An LM358 is too slow for this bandpass: the stage oscillates.
  EXPECT_FALSE(
      keys({"design", "--type", "bandpass", "fg=20k", "Q=5", "--opamp", "LM358", "--json"}));
  EXPECT_FALSE(keys({"design", "--topology", "lc", "--opamp", "TL072", "--json"}));
  EXPECT_TRUE(keys({"design", "--opamp", "TL072", "--json"}));
}

}  // namespace
