// What morvane-cli makes of the value texts it is given: a text read only in part is still
// used as read (as the window's entry fields do) but stderr says so; an unreadable value in a
// design file is named with what the design uses instead; a missing design file is a
// failure; numbers beyond the read limit are refused where infinity is.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"

namespace {

namespace fs = std::filesystem;
using morvane::test::ChildRun;
using morvane::test::RunChild;

// Where a row's value shows: a state value of `design --json`, the first x of a logarithmic
// curve's samples, the start or end of the netlist's sweep, or nowhere.
enum class Probe { State, CurveFirstX, SweepFrom, SweepTo, None };

struct Reading {
  std::vector<std::string> args;  // "FILE:name" stands for a design file of the fixture
  Probe probe;
  const char* key;  // the state value, for Probe::State
  double value;
  const char* errFragment;  // empty: stderr stays empty
  int exitCode;
};

const Reading kReadings[] = {
    // Entries read in part: used as read, with a line saying how.
    {{"design", "fg=1.2.3"},
     Probe::State,
     "fg",
     1.2,
     "morvane-cli: fg=1.2.3: read as 1.2 (\".3\" ignored)\n",
     0},
    {{"design", "fg=1,5,5k"},
     Probe::State,
     "fg",
     1.5,
     "morvane-cli: fg=1,5,5k: read as 1.5 (\",5k\" ignored)\n",
     0},
    {{"design", "fg=4k7"}, Probe::State, "fg", 4700, "", 0},
    {{"design", "fg=4k7k"}, Probe::State, "fg", 4700, "fg=4k7k: read as 4700 (\"k\" ignored)", 0},
    {{"design", "fg=k47"}, Probe::State, "fg", 0.001, "fg=k47 is not readable; stored 1.000m", 0},
    {{"design", "Zin=2 k2"},
     Probe::State,
     "Zin",
     2000,
     "Zin=2 k2: read as 2000 (\"2\" ignored)",
     0},
    {{"design", "Zin=4.7 k"}, Probe::State, "Zin", 4700, "", 0},
    {{"design", "Zin=10kOhm"}, Probe::State, "Zin", 10000, "(\"Ohm\" ignored)", 0},
    {{"design", "Q=0.7.1"}, Probe::State, "Q", 0.7, "Q=0.7.1: read as 0.7 (\".1\" ignored)", 0},
    {{"design", "fg=5e10x"}, Probe::State, "fg", 2e9, "fg=5e10x is out of range; stored 2.000G", 0},
    // Whole texts say nothing: prefix letters, blanks at either end, dB, mil.
    {{"design", "fg=1.5k"}, Probe::State, "fg", 1500, "", 0},
    {{"design", "fg= 2k  "}, Probe::State, "fg", 2000, "", 0},
    {{"design", "--topology", "lc", "--chebyshev", "ripple=1dB"},
     Probe::State,
     "Welligkeit",
     1,
     "",
     0},
    {{"design", "fg=1e3"}, Probe::State, "fg", 1000, "", 0},
    {{"design", "fg=abc"}, Probe::State, "fg", 0.001, "fg=abc is not readable; stored 1.000m", 0},
    // Design files: an unreadable value says what the design uses; a missing file fails.
    {{"design", "--design", "FILE:unreadable.ini"},
     Probe::State,
     "fg",
     0.001,
     "unreadable.ini: fg=abc is not readable; using 1.000m",
     0},
    {{"design", "--design", "FILE:unreadable.ini"},
     Probe::State,
     "Q",
     0.1,
     "unreadable.ini: Q= is not readable; using 100.000m",
     0},
    {{"design", "--design", "FILE:readable.ini"}, Probe::State, "fg", 2200, "", 0},
    {{"design", "--design", "FILE:missing.ini"},
     Probe::None,
     "",
     0,
     "missing.ini\": there is no such file",
     1},
    {{"curve", "gain", "--from", "1", "--to", "2", "--design", "FILE:missing.ini"},
     Probe::None,
     "",
     0,
     "missing.ini",
     1},
    // Options that read a value.
    {{"curve", "gain", "--log", "--from", "1.2.3", "--to", "1k"},
     Probe::CurveFirstX,
     "",
     1.2,
     "morvane-cli: --from 1.2.3: read as 1.2 (\".3\" ignored)\n",
     0},
    {{"curve", "gain", "--log", "--from=10Hz", "--to", "1k"},
     Probe::CurveFirstX,
     "",
     10,
     "--from 10Hz: read as 10 (\"Hz\" ignored)",
     0},
    // A second point ends the number before its prefix letter: 5 s, not 5 ms.
    {{"curve", "step", "--to", "5.0.1m"},
     Probe::None,
     "",
     0,
     "--to 5.0.1m: read as 5 (\".1m\" ignored)",
     0},
    {{"curve", "step", "--to", "1e300"}, Probe::None, "", 0, "", 0},
    {{"spice", "-", "--from", "1.5.3"},
     Probe::SweepFrom,
     "",
     1.5,
     "--from 1.5.3: read as 1.5 (\".3\" ignored)",
     0},
    // Read in part and then refused: the first line tells why ("meg" is no prefix).
    {{"spice", "-", "--to", "2meg"},
     Probe::None,
     "",
     0,
     "morvane-cli: --to 2meg: read as 0.002 (\"eg\" ignored)\nmorvane-cli: the sweep must end",
     2},
    {{"spice", "-", "--from", "10", "--to", "100kHz"},
     Probe::SweepTo,
     "",
     100000,
     "--to 100kHz: read as 100000 (\"Hz\" ignored)",
     0},
    // The order calculator takes a text whole, as its window does, or refuses it.
    {{"order", "--f1", "1.5.3k"},
     Probe::None,
     "",
     0,
     "morvane-cli: order: f1 \"1.5.3k\" is not a number\n",
     2},
    {{"order", "--f1", "1 kHz"}, Probe::None, "", 0, "", 0},
    {{"order", "--d2=40dB"}, Probe::None, "", 0, "", 0},
    // Beyond the read limit: refused as infinity is.
    {{"curve", "step", "--to", "1e999"},
     Probe::None,
     "",
     0,
     "option --to needs a finite number, not \"1e999\"",
     2},
    {{"curve", "gain", "--from", "-1e999", "--to", "1"},
     Probe::None,
     "",
     0,
     "option --from needs a finite number, not \"-1e999\"",
     2},
    {{"curve", "gain", "--from", "1", "--to", "1e400"},
     Probe::None,
     "",
     0,
     "option --to needs a finite number, not \"1e400\"",
     2},
    {{"curve", "step", "--to", "inf"},
     Probe::None,
     "",
     0,
     "option --to needs a finite number, not \"inf\"",
     2},
    {{"spice", "-", "--to", "1e999"},
     Probe::None,
     "",
     0,
     "option --to needs a frequency above 0, not \"1e999\"",
     2},
};

double StateValue(const std::string& json, const char* key) {
  const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
  return root["state"].toObject()[key].toDouble(-1.0);
}

// The x of the first line "x,y" after the header.
double FirstX(const std::string& csv) {
  const auto start = csv.find('\n') + 1;
  return start < csv.size() ? std::stod(csv.substr(start)) : -1.0;
}

// ".ac dec N FROM TO"
double Sweep(const std::string& netlist, bool to) {
  const auto at = netlist.find("\n.ac dec ");
  if (at == std::string::npos) return -1.0;
  std::istringstream words(netlist.substr(at + 9));
  double points = 0, from = 0, stop = 0;
  words >> points >> from >> stop;
  return to ? stop : from;
}

class ValueReadingTest : public testing::TestWithParam<Reading> {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("morvane_value_reading_" + std::to_string(getpid()));
    fs::create_directories(dir_);
    std::ofstream(dir_ / "unreadable.ini") << "[Variablen]\nfg=abc\nQ=\nZin=  4.70k\n";
    std::ofstream(dir_ / "readable.ini") << "[Variablen]\nfg=  2.20k\n";
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }
  static fs::path dir_;
};

fs::path ValueReadingTest::dir_;

TEST_P(ValueReadingTest, UsesTheValueAndSaysHowItWasRead) {
  const Reading& c = GetParam();
  std::vector<std::string> args;
  for (const std::string& arg : c.args) {
    args.push_back(arg.rfind("FILE:", 0) == 0 ? (dir_ / arg.substr(5)).string() : arg);
  }
  if (c.probe == Probe::State) args.push_back("--json");
  const ChildRun run = RunChild(args);
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  if (*c.errFragment == '\0') {
    EXPECT_EQ(run.err, "");
  } else {
    EXPECT_NE(run.err.find(c.errFragment), std::string::npos) << run.err;
  }
  if (c.exitCode != 0) {
    EXPECT_EQ(run.out, "");
    return;
  }
  switch (c.probe) {
    case Probe::State:
      EXPECT_DOUBLE_EQ(StateValue(run.out, c.key), c.value);
      break;
    case Probe::CurveFirstX:
      EXPECT_DOUBLE_EQ(FirstX(run.out), c.value);
      break;
    case Probe::SweepFrom:
    case Probe::SweepTo:
      EXPECT_DOUBLE_EQ(Sweep(run.out, c.probe == Probe::SweepTo), c.value);
      break;
    case Probe::None:
      break;
  }
}

std::string RowName(const testing::TestParamInfo<Reading>& info) {
  std::string name = std::to_string(info.index);
  for (const std::string& arg : info.param.args) {
    for (char c : arg) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    name += '_';
  }
  return name;
}

void PrintTo(const Reading& c, std::ostream* os) {
  for (const std::string& arg : c.args) *os << "'" << arg << "' ";
}

INSTANTIATE_TEST_SUITE_P(Cli, ValueReadingTest, testing::ValuesIn(kReadings), RowName);

}  // namespace
