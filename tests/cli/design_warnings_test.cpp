// morvane-cli design: components no one could buy, as JSON "warnings" and stderr lines.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <string>

#include "cli_runner.h"

namespace {

using morvane::test::CliRun;
using morvane::test::RunCli;

constexpr const char* kAbsurdFliege =
    "design --topology fliege --type bandpass --manual-capacitance C1=1f Q=0.1 Vu=1M";

const std::string kFliegeWarnings[] = {
    "R1 = 1.00 mΩ is below 1 Ω: no such resistor can be bought",
    "R4 = 15.92 GΩ is above 100 MΩ: no such resistor can be bought",
    "R5 = 2.5E+24 Ω is above 100 MΩ: no such resistor can be bought",
    "C1 = 1.00 fF is below 1 pF: no such capacitor can be bought",
    "C2 = 1.00 fF is below 1 pF: no such capacitor can be bought",
};

std::string StderrLines() {
  std::string lines;
  for (const auto& w : kFliegeWarnings) lines += "morvane-cli: warning: " + w + "\n";
  return lines;
}

TEST(CliDesignWarnings, JsonListsEachUnbuildableComponentAndStderrSaysSo) {
  const CliRun run = RunCli(std::string(kAbsurdFliege) + " --json");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, StderrLines());
  const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
  const QJsonArray warnings = root["warnings"].toArray();
  ASSERT_EQ(warnings.size(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(warnings[i].toString().toStdString(), kFliegeWarnings[i]);
  }
  // The values themselves are shown as before.
  EXPECT_EQ(root["fields"].toObject()["R55Ausgabe"].toString().toStdString(), "    2.5E+24");
}

TEST(CliDesignWarnings, TableGivesTheSameStderrLines) {
  const CliRun run = RunCli(kAbsurdFliege);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, StderrLines());
  EXPECT_NE(run.out.find("R5 ="), std::string::npos);
}

TEST(CliDesignWarnings, BuildableDesignHasAnEmptyListAndNoLine) {
  for (const char* args :
       {"design --json", "design --topology lc --json", "design --topology diplexer --json"}) {
    const CliRun run = RunCli(args);
    ASSERT_EQ(run.exitCode, 0) << args;
    EXPECT_EQ(run.err, "") << args;
    const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    ASSERT_TRUE(root["warnings"].isArray()) << args;
    EXPECT_TRUE(root["warnings"].toArray().isEmpty()) << args;
  }
}

}  // namespace
