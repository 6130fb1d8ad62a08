// --opamp on the design commands and `noise`: a table part or an op-amp file gives the
// figures, curves, netlist and noise with that amplifier; an unknown name is bad use except
// where only a netlist calls it (the user's own subcircuit); noise's JSON keys, order and
// refusals.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "cli_runner.h"

namespace {

using morvane::test::ChildRun;
using morvane::test::RunChild;
using morvane::test::TempPath;
using Args = std::vector<std::string>;

QJsonObject Json(const Args& args) {
  const ChildRun run = RunChild(args);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
}

TEST(CliOpAmp, DesignStatesTheFiguresWithTheOpAmp) {
  // An MFB bandpass at 10 kHz, Q 3, on an LM358 (0.7 MHz): its f0 falls by percents; at
  // 20 kHz, Q 5 the LM358 is too slow and the stage oscillates.
  const QJsonObject real = Json({"design", "--type", "bandpass", "fg=10k", "Q=3", "--opamp",
                                 "lm358", "--json"})["realAmplifier"]
                               .toObject();
  EXPECT_FALSE(real["unstable"].toBool());
  const QJsonObject tooSlow =
      Json({"design", "--type", "bandpass", "fg=20k", "Q=5", "--opamp", "lm358", "--json"});
  EXPECT_TRUE(tooSlow["realAmplifier"].toObject()["unstable"].toBool());
  EXPECT_EQ(real["opAmp"].toString(), "LM358");
  EXPECT_LT(real["f0Error"].toDouble(), -1.0);
  EXPECT_TRUE(real["peakingDb"].isDouble());
  // The same part from an op-amp file of the user's, with a faster GBW: a smaller error.
  const std::string file = TempPath("fast.ini");
  std::ofstream(file) << "[LM358]\ngbw = 70M\n";
  const QJsonObject faster = Json({"design", "--type", "bandpass", "fg=10k", "Q=3", "--opamp", file,
                                   "--json"})["realAmplifier"]
                                 .toObject();
  EXPECT_GT(faster["f0Error"].toDouble(), 0.1 * real["f0Error"].toDouble());
  EXPECT_FALSE(Json({"design", "--json"}).contains("realAmplifier"));
}

TEST(CliOpAmp, CascadeSectionsAndCurveWithTheOpAmp) {
  const QJsonArray sections =
      Json({"cascade", "--order", "6", "fg=20k", "--opamp", "TL072", "--json"})["sections"]
          .toArray();
  ASSERT_EQ(sections.size(), 3);
  for (const QJsonValue s : sections) {
    EXPECT_EQ(s["realAmplifier"]["opAmp"].toString(), "TL072");
  }
  // The response with the op amp differs from the ideal one near the corner.
  const Args curve{"cascade", "--order", "6",    "fg=20k", "--curve",  "gain",
                   "--from",  "20k",     "--to", "21k",    "--points", "2"};
  Args withOpAmp = curve;
  withOpAmp.insert(withOpAmp.end(), {"--opamp", "LM358"});
  const ChildRun ideal = RunChild(curve), real = RunChild(withOpAmp);
  ASSERT_EQ(real.exitCode, 0) << real.err;
  EXPECT_NE(ideal.out, real.out);
  EXPECT_EQ(real.out.rfind("x,y\n", 0), 0u);
}

TEST(CliOpAmp, PredistortedSectionsMeetTheirFiguresWithTheOpAmp) {
  const Args base{"cascade", "--order", "6",     "fg=20k", "--topology",
                  "mfb",     "--opamp", "LM358", "--json"};
  Args predistorted = base;
  predistorted.push_back("--predistort");
  const QJsonArray plain = Json(base)["sections"].toArray();
  const QJsonArray adjusted = Json(predistorted)["sections"].toArray();
  ASSERT_EQ(adjusted.size(), 3);
  for (int i = 0; i < 3; ++i) {
    const QJsonObject real = adjusted[i]["realAmplifier"].toObject();
    // Against the section's own f0 and Q, not the adjusted circuit's ideal ones.
    const double f0 = real["f0"].toDouble(), q = real["q"].toDouble();
    EXPECT_NEAR(f0 / adjusted[i]["f0"].toDouble(), 1.0, 0.005) << i;
    EXPECT_NEAR(q / adjusted[i]["q"].toDouble(), 1.0, 0.005) << i;
  }
  EXPECT_LT(plain[2]["realAmplifier"]["f0Error"].toDouble(), -5.0);
}

TEST(CliOpAmp, NetlistsCarryTheModelOrCallTheUsersSubcircuit) {
  const ChildRun model = RunChild({"spice", "-", "--opamp", "NE5532"});
  ASSERT_EQ(model.exitCode, 0) << model.err;
  EXPECT_NE(model.out.find(".subckt MORVANE_NE5532 inp inn out"), std::string::npos);
  EXPECT_NE(model.out.find("X1 0 n out MORVANE_NE5532"), std::string::npos);
  // A name the table does not hold stays the user's own subcircuit, as before.
  const ChildRun own = RunChild({"spice", "-", "--opamp", "MYAMP"});
  ASSERT_EQ(own.exitCode, 0) << own.err;
  EXPECT_NE(own.out.find("X1 0 n out MYAMP"), std::string::npos);
  EXPECT_EQ(own.out.find(".subckt"), std::string::npos);
}

TEST(CliNoise, JsonKeysAndOrder) {
  const QJsonObject o = Json({"noise", "fg=10k", "--opamp", "TL072", "--from", "10", "--to", "100k",
                              "--points", "50", "--json"});
  for (const char* key :
       {"opAmp", "temperature", "from", "to", "rms", "density", "inputReferred", "contributions"}) {
    EXPECT_TRUE(o.contains(key)) << key;
  }
  EXPECT_EQ(o["density"].toArray().size(), 50);
  EXPECT_GT(o["rms"].toDouble(), 0.0);
  const QJsonArray parts = o["contributions"].toArray();
  ASSERT_GE(parts.size(), 4);  // three resistors and U1
  for (int i = 1; i < parts.size(); ++i) {
    EXPECT_GE(parts[i - 1][1].toDouble(), parts[i][1].toDouble());
  }
  // The resistors alone are quieter than with the op amp's noise.
  const QJsonObject resistors =
      Json({"noise", "fg=10k", "--from", "10", "--to", "100k", "--points", "50", "--json"});
  EXPECT_EQ(resistors["opAmp"].toString(), "ideal");
  EXPECT_LT(resistors["rms"].toDouble(), o["rms"].toDouble());
  EXPECT_TRUE(Json({"noise", "--cascade", "--order", "4", "--from", "10", "--to", "100k", "--json"})
                  .contains("sections"));
}

TEST(CliNoise, BadUseIsRefused) {
  for (const Args& args : {Args{"noise", "--to", "1k"}, Args{"noise", "--from", "1k", "--to", "1k"},
                           Args{"noise", "--from", "10", "--to", "1k", "--points", "1"},
                           Args{"noise", "--from", "10", "--to", "1k", "--temperature", "-300"},
                           Args{"noise", "--from", "10", "--to", "1k", "--topology", "diplexer"},
                           Args{"noise", "--from", "10", "--to", "1k", "--opamp", "NOSUCH"},
                           Args{"design", "--opamp", "NOSUCH"}, Args{"design", "--predistort"},
                           Args{"cascade", "--predistort", "--opamp", "ideal"}}) {
    const ChildRun run = RunChild(args);
    EXPECT_EQ(run.exitCode, 2) << args.back() << ": " << run.err;
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
