// morvane-cli as a user runs it: exit codes, stdout, stderr.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace {

using morvane::test::CliRun;
using morvane::test::RunCli;

QJsonObject Json(const CliRun& run) {
  return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
}

std::string Field(const QJsonObject& root, const char* name) {
  return root["fields"].toObject()[name].toString().toStdString();
}

double State(const QJsonObject& root, const char* name) {
  return root["state"].toObject()[name].toDouble();
}

int Lines(const std::string& text) {
  int count = 0;
  for (char c : text) count += c == '\n';
  return count;
}

TEST(CliDesign, DefaultIsTheMfbLowpassOfTheInitialState) {
  const CliRun run = RunCli("design --json");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const QJsonObject root = Json(run);
  EXPECT_EQ(root["topology"].toInt(), 1);
  EXPECT_EQ(root["type"].toString(), "lowpass");
  EXPECT_EQ(Field(root, "C21Ausgabe"), "  150.00n");
  EXPECT_EQ(Field(root, "C11Ausgabe"), "  680.00n");
  EXPECT_NEAR(State(root, "R1"), 492.9, 0.05);
  EXPECT_NEAR(State(root, "R3"), 492.9, 0.05);
  EXPECT_NEAR(State(root, "R2"), 503.8, 0.05);
  EXPECT_EQ(Field(root, "C31Ausgabe"), "not needed");
  EXPECT_EQ(Field(root, "GBWPAusgabe"), "   20.00k");
  EXPECT_EQ(Field(root, "R12Ausgabe"), "        -");
  EXPECT_EQ(root["beeps"].toInt(), 0);
  EXPECT_EQ(State(root, "ESeriesR"), 4);
  EXPECT_EQ(State(root, "ESeriesC"), 1);
  const QJsonArray poles = root["grids"].toObject()["StringGridAlignPN"].toArray();
  ASSERT_EQ(poles.size(), 11);
  EXPECT_EQ(poles[0].toArray()[1].toString(), "   Re(sn)");
  EXPECT_EQ(poles[10].toArray()[0].toString(), "   10");
}

TEST(CliDesign, HighpassBandpassAndAllpass) {
  const QJsonObject hp = Json(RunCli("design --json --type highpass"));
  EXPECT_EQ(Field(hp, "C31Ausgabe"), "  150.00n");
  EXPECT_EQ(Field(hp, "R31Ausgabe"), "not needed");
  EXPECT_NEAR(State(hp, "R1"), 500.2, 0.05);
  EXPECT_NEAR(State(hp, "R2"), 2251.0, 0.5);

  const QJsonObject bp = Json(RunCli("design --json --type bandpass"));
  EXPECT_NEAR(State(bp, "VuActual"), 0.95, 1e-4);
  EXPECT_EQ(Field(bp, "C11Ausgabe"), "  330.00n");
  EXPECT_EQ(Field(bp, "dVu1Ausgabe"), "       -");
  EXPECT_NEAR(State(bp, "R1"), 359.0, 0.05);
  EXPECT_NEAR(State(bp, "R2"), 6821.0, 1.0);
  EXPECT_NEAR(State(bp, "R3"), 682.1, 0.05);

  const QJsonObject lp = Json(RunCli("design --json"));
  const QJsonObject ap = Json(RunCli("design --json --type allpass"));
  EXPECT_EQ(ap["beeps"].toInt(), 1);
  for (const char* name : {"R11Ausgabe", "R21Ausgabe", "R31Ausgabe", "C11Ausgabe", "C21Ausgabe",
                           "C31Ausgabe", "Vu1Ausgabe"}) {
    EXPECT_EQ(Field(ap, name), Field(lp, name)) << name;
  }
}

TEST(CliDesign, EntriesAreTypedInTheOrderGiven) {
  const QJsonObject root = Json(RunCli("design --json fg=2k Q=2 fg=4k7"));
  EXPECT_DOUBLE_EQ(State(root, "fg"), 4700.0);  // "4k7": the letter stands for the point
  EXPECT_DOUBLE_EQ(State(root, "Q"), 2.0);
  EXPECT_DOUBLE_EQ(State(root, "D"), 0.25);
  EXPECT_EQ(Field(root, "fgEingabe"), "4k7");
  EXPECT_EQ(Field(root, "DEingabe"), "  250.00m");
}

TEST(CliDesign, TableNamesTheComponentsWithUnits) {
  const CliRun run = RunCli("design");
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("C2 ="), std::string::npos);
  EXPECT_NE(run.out.find("150.00n F"), std::string::npos);
  EXPECT_NE(run.out.find("Recommended GBWP"), std::string::npos);
}

TEST(CliDesign, UnreadableOrOutOfRangeEntrySaysWhatWasStored) {
  struct Case {
    const char* entry;
    const char* expectedInErr;
    double fg;
  };
  for (const Case c : {Case{"fg=abc", "not readable; stored 1.000m", 0.001},
                       Case{"fg=5e10", "out of range; stored 2.000G", 2e9}}) {
    const CliRun run = RunCli(std::string("design --json ") + c.entry);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find(c.expectedInErr), std::string::npos) << run.err;
    // One line about the entry (components that cannot be bought then have lines of their own).
    EXPECT_EQ(run.err.find(c.entry), run.err.rfind(c.entry)) << run.err;
    EXPECT_DOUBLE_EQ(State(Json(run), "fg"), c.fg);
  }
}

TEST(CliDesign, BadUseIsOneLineOnStderrAndExitCodeTwo) {
  struct Case {
    const char* arguments;
    const char* named;
  };
  const Case cases[] = {
      {"design --frobnicate", "--frobnicate"},
      {"design --topology tube", "tube"},
      {"design --type notch", "notch"},
      {"design --series-r E7", "E7"},
      {"design --series-c", "--series-c"},
      {"design Xyz=3", "Xyz"},
      {"design --design", "--design"},
      {"design --topology lc --order 11", "--order"},
      {"design --topology diplexer --diplexer-order 4", "--diplexer-order"},
      {"save-design", "file name"},
      {"save-design --json", "file name"},
      {"export-circuit /tmp/never-written.kdr", "--topology lc"},
      {"order --f3 1k", "--f3"},
      {"design --topology lc Q=2", "Q"},
      {"design RL=50", "RL"},
      {"frobnicate", "frobnicate"},
      {"curve gain --to 10", "--from"},
      {"curve wobble --from 1 --to 10", "wobble"},
      {"curve gain --from 10 --to 1", "--to"},
      {"curve gain --from 0 --to 10 --log", "--log"},
      {"curve gain --from x --to 10", "--from"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCli(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_EQ(Lines(run.err), 1) << c.arguments << ": " << run.err;
    EXPECT_NE(run.err.find(c.named), std::string::npos) << c.arguments << ": " << run.err;
  }
}

std::string TempPath(const std::string& name) {
  return "/tmp/morvane_cli_test_" + std::to_string(getpid()) + "_" + name;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(CliFiles, SavedDesignOpensWithTheSameValues) {
  const std::string path = TempPath("design.ini");
  std::remove(path.c_str());
  const CliRun save = RunCli("save-design " + path + " fg=2.2k Q=1.5 Zin=4.7k Vu=3");
  ASSERT_EQ(save.exitCode, 0) << save.err;
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("[Variablen]\nfg=  2.20k\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Zin=  4.70k\n"), std::string::npos) << text;

  const QJsonObject opened = Json(RunCli("design --json --design " + path));
  EXPECT_DOUBLE_EQ(State(opened, "fg"), 2200.0);
  EXPECT_DOUBLE_EQ(State(opened, "Q"), 1.5);
  EXPECT_DOUBLE_EQ(State(opened, "Zin"), 4700.0);
  EXPECT_DOUBLE_EQ(State(opened, "Vu"), 3.0);
  EXPECT_EQ(Field(opened, "fgEingabe"), "    2.20k");
  std::remove(path.c_str());
}

// The program's own section brings back the page, type, series, options and the exact Q;
// options given after --design still win.
TEST(CliFiles, SavedDesignKeepsTheWholeDesign) {
  const std::string path = TempPath("whole.ini");
  std::remove(path.c_str());
  const CliRun save = RunCli("save-design " + path +
                             " --topology svf4 --type bandpass --series-r E96 --series-c E12"
                             " --round-resistors Q=1.9318517 fg=12.3456k");
  ASSERT_EQ(save.exitCode, 0) << save.err;
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("[Variablen]\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n[Morvane]\nTopology=svf4\nType=bandpass\n"), std::string::npos) << text;

  const QJsonObject opened = Json(RunCli("design --json --design " + path));
  EXPECT_EQ(opened["topology"].toInt(), 4);
  EXPECT_EQ(opened["type"].toString(), "bandpass");
  EXPECT_EQ(opened["state"]["ESeriesR"].toInt(), 5);
  EXPECT_EQ(opened["state"]["ESeriesC"].toInt(), 2);
  EXPECT_DOUBLE_EQ(State(opened, "Q"), 1.9318517);  // as the value reader read it
  EXPECT_TRUE(opened.contains("asBuilt"));          // resistors rounded, as saved

  const QJsonObject overridden = Json(RunCli("design --json --design " + path + " --type lowpass"));
  EXPECT_EQ(overridden["type"].toString(), "lowpass");
  EXPECT_EQ(overridden["topology"].toInt(), 4);
  std::remove(path.c_str());
}

TEST(CliFiles, UnreadableDesignFileIsAFailureNotBadUse) {
  const CliRun run = RunCli("design --design /");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Lines(run.err), 1) << run.err;
}

TEST(CliFiles, ExportCircuitWritesTheLadder) {
  const std::string path = TempPath("ladder.kdr");
  std::remove(path.c_str());
  const CliRun run = RunCli("export-circuit " + path + " --topology lc --order 3");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("Elemente=3\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[Element3]\n"), std::string::npos) << text;
  std::remove(path.c_str());

  const CliRun refused = RunCli("export-circuit " + path + " --topology lc --order 4 --chebyshev");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(Lines(refused.err), 1) << refused.err;
  EXPECT_EQ(ReadFile(path), "");  // nothing written
}

TEST(CliOrder, InitialSchemeAndJson) {
  const CliRun plain = RunCli("order");
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  EXPECT_NE(plain.out.find("  13.153"), std::string::npos) << plain.out;
  const QJsonObject root =
      Json(RunCli("order --f1 1k --d1 3.0103 --f2 2k --d2 40 --chebyshev --json"));
  EXPECT_EQ(root["NAusgabe"].toString(), "   4.023");
  EXPECT_EQ(root["nrAusgabe"].toString(), "    5.0");
  EXPECT_EQ(root["nr"].toDouble(), 5.0);
}

// All four values are taken, then the scheme is checked: the options' order does not matter,
// and an impossible scheme is refused (exit 2, one line) instead of clamped without a word.
struct OrderRun {
  const char* args;
  int exitCode;
  const char* NAusgabe;  // or a part of the error line
};

TEST(CliOrder, TakesAllFourValuesThenChecks) {
  const OrderRun runs[] = {
      {"--f1 20k --d1 3 --f2 48k --d2 40", 0, "   5.263"},
      {"--f2 48k --d2 40 --f1 20k --d1 3", 0, "   5.263"},
      {"--d1 35 --d2 60 --f2 2k", 0, "   4.153"},
      {"--f1 4k7 --f2 10k --d1 1 --d2 40 --chebyshev", 0, "   4.305"},
      {"--f1 1e-6 --f2 1T --d1 1e-3 --d2 400", 0, "   1.212"},
      {"--f1 20k", 2, "f2 must lie above f1"},
      {"--f2 1k", 2, "f2 must lie above f1"},
      {"--d1 30", 2, "d2 must be above d1"},
      {"--d1 45 --d2 40", 2, "d2 must be above d1"},
      {"--f1 0", 2, "f1 must be above 0 Hz"},
      {"--d1 -1", 2, "d1 must be above 0 dB"},
      {"--f2 abc", 2, "f2 \"abc\" is not a number"},
      {"--f1 k47", 2, "f1 \"k47\" is not a number"},
  };
  for (const OrderRun& r : runs) {
    const CliRun run = RunCli(std::string("order --json ") + r.args);
    EXPECT_EQ(run.exitCode, r.exitCode) << r.args << "\n" << run.err;
    if (r.exitCode == 0) {
      const QJsonObject root = Json(run);
      EXPECT_EQ(root["NAusgabe"].toString().toStdString(), r.NAusgabe) << r.args;
    } else {
      EXPECT_EQ(run.out, "") << r.args;
      EXPECT_EQ(Lines(run.err), 1) << run.err;
      EXPECT_NE(run.err.find(r.NAusgabe), std::string::npos) << run.err;
    }
  }
}

TEST(CliCurve, PrintsTheFillersSamples) {
  const CliRun gain = RunCli("curve gain --from 10 --to 100k --log");
  ASSERT_EQ(gain.exitCode, 0) << gain.err;
  EXPECT_EQ(gain.out.rfind("x,y\n", 0), 0u);
  EXPECT_EQ(Lines(gain.out), 1 + 255);  // samples 0..254
  EXPECT_EQ(gain.out.substr(4, 3), "10,");

  const CliRun step = RunCli("curve step --to 5m");
  ASSERT_EQ(step.exitCode, 0) << step.err;
  EXPECT_EQ(Lines(step.out), 1 + 251);  // samples 0..250
}

// The options of every command as its parser takes them: the usage must name each one.
struct CommandOptions {
  const char* command;
  std::vector<std::string> options;
};

const std::vector<std::string> kDesignOptions = {"--design",
                                                 "--topology",
                                                 "--type",
                                                 "--series-r",
                                                 "--series-c",
                                                 "--no-equal-capacitors",
                                                 "--no-offset-compensation",
                                                 "--manual-capacitance",
                                                 "--order",
                                                 "--chebyshev",
                                                 "--diplexer-order",
                                                 "--diplexer-chebyshev",
                                                 "NAME=TEXT"};

std::vector<std::string> With(std::vector<std::string> own) {
  own.insert(own.end(), kDesignOptions.begin(), kDesignOptions.end());
  return own;
}

TEST(CliHelp, EveryCommandPrintsItsOwnUsage) {
  const CommandOptions commands[] = {
      {"design", With({"--json"})},
      {"curve", With({"gain", "phase", "delay", "step", "pulse", "--from", "--to", "--log"})},
      {"save-design", With({"FILE"})},
      {"export-circuit", With({"FILE"})},
      {"order", {"--f1", "--d1", "--f2", "--d2", "--chebyshev", "--json"}},
      {"spice", With({"FILE|-", "--from", "--to", "--points", "--opamp", "--opamp-include"})},
  };
  for (const CommandOptions& c : commands) {
    const std::string command = c.command;
    const CliRun help = RunCli("help " + command);
    ASSERT_EQ(help.exitCode, 0) << command << ": " << help.err;
    EXPECT_EQ(help.err, "") << command;
    EXPECT_EQ(help.out.rfind("usage: morvane-cli " + command + " ", 0), 0u) << help.out;
    for (const std::string& option : c.options) {
      EXPECT_NE(help.out.find(option), std::string::npos) << command << " lacks " << option;
    }
    // The same text after the command, even among options that are bad use otherwise.
    for (const char* asking : {" --help", " -h", " --frobnicate --help", " fg=1k -h"}) {
      const CliRun run = RunCli(command + asking);
      EXPECT_EQ(run.exitCode, 0) << command << asking << ": " << run.err;
      EXPECT_EQ(run.out, help.out) << command << asking;
    }
  }
  EXPECT_EQ(RunCli("help order").out.find("--topology"), std::string::npos);
}

TEST(CliHelp, GeneralUsageNamesEveryCommand) {
  const CliRun help = RunCli("--help");
  ASSERT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.err, "");
  for (const char* command :
       {"design", "curve", "save-design", "export-circuit", "order", "spice", "help COMMAND"}) {
    EXPECT_NE(help.out.find(std::string("morvane-cli ") + command), std::string::npos) << command;
  }
  EXPECT_EQ(RunCli("help").out, help.out);
  EXPECT_EQ(RunCli("-h").out, help.out);
  const CliRun bare = RunCli("");
  EXPECT_EQ(bare.exitCode, 2);  // a command is missing
  EXPECT_EQ(bare.out, help.out);
}

TEST(CliHelp, HelpOnWhatIsNoCommandIsBadUse) {
  for (const char* arguments : {"help frobnicate", "frobnicate --help", "help design order"}) {
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
    EXPECT_EQ(Lines(run.err), 1) << arguments << ": " << run.err;
  }
  EXPECT_NE(RunCli("help frobnicate").err.find("frobnicate"), std::string::npos);
}

}  // namespace

// The ripple entry answers to its English name and to its control's; both store the same.
TEST(CliDesign, RippleIsTheWelligkeitEntry) {
  for (const char* ripple : {"0.5", "5", "x"}) {
    const CliRun english =
        RunCli(std::string("design --topology lc --chebyshev --order 5 --json ripple=") + ripple);
    const CliRun control = RunCli(
        std::string("design --topology lc --chebyshev --order 5 --json Welligkeit=") + ripple);
    ASSERT_EQ(english.exitCode, 0) << english.err;
    EXPECT_EQ(english.out, control.out) << ripple;
    EXPECT_NE(english.out.find("\"VuEingabe\""), std::string::npos);
  }
  EXPECT_EQ(RunCli("design --topology mfb ripple=1").exitCode, 2);
}
