// morvane-cli network: the gain of a circuit file's ladder as "f,dB" lines, the same under
// another locale, its ideal ladder, and bad use (exit 2) and bad files (exit 1) refused.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "cli_runner.h"

namespace {

using morvane::test::ChildRun;
using morvane::test::ChildSetup;
using morvane::test::RunChild;
using morvane::test::TempPath;
using Args = std::vector<std::string>;

// The 3rd-order Butterworth lowpass of 1 kHz between 1 kOhm as the LC page exports it; its
// inductor carries a winding capacitance that resonates at 10 kHz.
constexpr const char* kLadder =
    "[Variablen]\nZo=  1.00k\nRG=  1.00k\nf=  1.00k\nElemente=3\nSchaltung vertauscht=Nein\n"
    "[Element1]\nAnordnung=shunt\nOptimierung=ja\nTyp=C\nLx=100.00p\nRx=  1.00m\nCx=159.15n\n"
    "[Element2]\nAnordnung=series\nOptimierung=ja\nTyp=L\nLx=318.31m\nRx=  1.00m\nCx=795.8p\n"
    "[Element3]\nAnordnung=shunt\nOptimierung=ja\nTyp=C\nLx=100.00p\nRx=  1.00m\nCx=159.15n\n";

std::string WriteFile(const std::string& name, const std::string& text) {
  const std::string path = TempPath(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

struct Sample {
  double f;
  double db;
};

std::vector<Sample> Samples(const std::string& out) {
  std::vector<Sample> samples;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "f,dB");
  while (std::getline(lines, line)) {
    const std::size_t comma = line.find(',');
    samples.push_back({std::stod(line.substr(0, comma)), std::stod(line.substr(comma + 1))});
  }
  return samples;
}

TEST(NetworkCommand, GainOfTheExportedLadder) {
  const std::string file = WriteFile("ladder.kdr", kLadder);
  const ChildRun run =
      RunChild({"network", file, "--from", "10", "--to", "100k", "--points", "5", "--log"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::vector<Sample> s = Samples(run.out);
  ASSERT_EQ(s.size(), 5u);
  const double f[] = {10.0, 100.0, 1000.0, 10000.0, 100000.0};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_NEAR(s[i].f, f[i], 1e-9 * f[i]);
  // Half the source in the pass band; at fg the self-resonance a decade up makes the inductor
  // look 1 % larger, a little more than 3 dB down.
  EXPECT_NEAR(s[0].db, -6.0206, 1e-3);
  EXPECT_LT(s[2].db, -9.0309);
  EXPECT_GT(s[2].db, -9.2);
  // At 10 kHz the inductor's self-resonance opens the path: far below the ideal's -66 dB.
  EXPECT_LT(s[3].db, -120.0);
  const ChildRun ideal =
      RunChild({"network", file, "--from=1k", "--to=10k", "--points=2", "--ideal"});
  ASSERT_EQ(ideal.exitCode, 0) << ideal.err;
  const std::vector<Sample> i = Samples(ideal.out);
  ASSERT_EQ(i.size(), 2u);
  // The 3rd-order Butterworth: 3.01 dB down at fg, 10 log10(1 + 10^6) = 60.0 dB a decade up
  // (the file's values have five digits).
  EXPECT_NEAR(i[0].db, -6.0206 - 3.0103, 0.01);
  EXPECT_NEAR(i[1].db, -6.0206 - 60.0, 0.01);
  std::remove(file.c_str());
}

TEST(NetworkCommand, LinearStepsAndTheSameTextUnderAnyLocale) {
  const std::string file = WriteFile("locale.kdr", kLadder);
  const Args args = {"network", file, "--from", "1.5k", "--to", "2.5k", "--points", "3"};
  const ChildRun c = RunChild(args);
  ChildSetup german;
  german.set = {{"LC_ALL", "de_DE.UTF-8"}, {"LANG", "de_DE.UTF-8"}};
  const ChildRun de = RunChild(args, german);
  ASSERT_EQ(c.exitCode, 0) << c.err;
  EXPECT_EQ(de.out, c.out);
  const std::vector<Sample> s = Samples(c.out);
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[1].f, 2000.0);
  EXPECT_EQ(c.out.find("nan"), std::string::npos);
  std::remove(file.c_str());
}

TEST(NetworkCommand, BadUseAndBadFilesAreRefused) {
  const std::string good = WriteFile("good.kdr", kLadder);
  std::string broken = kLadder;
  broken.replace(broken.find("Cx=159.15n"), 10, "Cx=0");
  const std::string bad = WriteFile("bad.kdr", broken);
  struct Case {
    const char* what;
    Args args;
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
      {"no file", {"network", "--from", "1", "--to", "2"}, 2, "needs a circuit FILE"},
      {"no range", {"network", good}, 2, "--from F and --to F"},
      {"range turned round", {"network", good, "--from", "2k", "--to", "1k"}, 2, "0 < --from"},
      {"zero start", {"network", good, "--from", "0", "--to", "1k"}, 2, "0 < --from"},
      {"not a number", {"network", good, "--from", "x", "--to", "1k"}, 2, "--from"},
      {"one point", {"network", good, "--from", "1", "--to", "2", "--points", "1"}, 2, "--points"},
      {"unknown option", {"network", good, "--from", "1", "--to", "2", "--db"}, 2, "--db"},
      {"two files", {"network", good, good, "--from", "1", "--to", "2"}, 2, "one circuit file"},
      {"missing file",
       {"network", good + ".none", "--from", "1", "--to", "2"},
       1,
       "does not exist"},
      {"zero capacitance", {"network", bad, "--from", "1", "--to", "2"}, 1, "[Element1] Cx is 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ChildRun run = RunChild(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  std::remove(good.c_str());
  std::remove(bad.c_str());
}

TEST(NetworkCommand, HelpNamesTheOptions) {
  const ChildRun run = RunChild({"help", "network"});
  ASSERT_EQ(run.exitCode, 0);
  for (const char* option : {"--from", "--to", "--points", "--log", "--ideal", "f,dB"}) {
    EXPECT_NE(run.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
