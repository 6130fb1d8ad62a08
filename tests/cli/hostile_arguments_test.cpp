// morvane-cli given arguments no one should give: huge numbers, empty texts, unknown names,
// texts of 100 kB, "=" alone, options repeated or cut off at the end, bytes that are not
// UTF-8. Each run ends by itself with exit code 0 (done), 1 (failed) or 2 (bad use), bad use
// and failure say why in one line on stderr, and stdout never shows "nan" or "inf".

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "child_process.h"

namespace {

namespace fs = std::filesystem;
using morvane::test::ChildProgram;
using morvane::test::ChildRun;
using morvane::test::CollectChild;
using morvane::test::LineCount;

// Runs morvane-cli with exactly these argument bytes (no shell between), empty stdin and this
// process's environment.
ChildRun RunCli(const std::vector<std::string>& args) {
  const char* program = ChildProgram();
  std::vector<char*> argv{const_cast<char*>(program)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  for (int fd : {out[0], out[1], err[0], err[1]}) posix_spawn_file_actions_addclose(&actions, fd);
  pid_t child = -1;
  const int spawned = posix_spawn(&child, program, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  if (spawned != 0) {
    close(out[0]);
    close(err[0]);
    return {};
  }
  return CollectChild(child, out[0], err[0]);
}

std::string Shown(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) {
    std::string shown =
        arg.size() > 60 ? arg.substr(0, 60) + "...(" + std::to_string(arg.size()) + " bytes)" : arg;
    text += (text.empty() ? "" : " ") + ("'" + shown + "'");
  }
  return text;
}

// A word "nan", "inf" or "infinity" in what the tool printed, in any case ("Resonance" and
// the placeholder "infinite" hold the letters but are no such word).
bool ShowsNanOrInf(const std::string& text) {
  std::string word;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
    if (std::isalpha(c)) {
      word += static_cast<char>(std::tolower(c));
      continue;
    }
    if (word == "nan" || word == "inf" || word == "infinity") return true;
    word.clear();
  }
  return false;
}

// Every run: it ended by itself with 0, 1 or 2; 1 and 2 print one line on stderr starting
// with the tool's name and nothing on stdout; stdout never shows nan or inf.
void ExpectOrderlyEnd(const std::vector<std::string>& args, const ChildRun& run, int expected) {
  SCOPED_TRACE(Shown(args));
  EXPECT_FALSE(run.hung) << "did not end within a minute";
  EXPECT_EQ(run.signal, 0) << "killed by signal " << run.signal << "\n" << run.err.substr(0, 2000);
  EXPECT_EQ(run.exitCode, expected) << run.err.substr(0, 2000);
  if (run.exitCode == 1 || run.exitCode == 2) {
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(LineCount(run.err), 1) << run.err.substr(0, 2000);
    EXPECT_EQ(run.err.rfind("morvane-cli: ", 0), 0u) << run.err.substr(0, 2000);
  }
  EXPECT_FALSE(ShowsNanOrInf(run.out)) << run.out.substr(0, 300);
}

struct Case {
  std::vector<std::string> args;
  int exitCode;
};

class HostileArguments : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / (std::string("morvane_hostile_") + info->name() + "_" +
                                        std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  static void RunAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) ExpectOrderlyEnd(c.args, RunCli(c.args), c.exitCode);
  }

  fs::path dir_;
};

const std::string k100kDigits(100000, '9');
const std::string k100kText = [] {
  std::string text;
  for (int i = 0; text.size() < 100000; ++i)
    text +=
        "k\xC2\xB5"
        "4,7e-" +
        std::to_string(i);
  return text;
}();

TEST_F(HostileArguments, HugeAndTinyNumbers) {
  RunAll({
      {{"design", "fg=1e999999"}, 0},
      {{"design", "fg=-1e999999", "Q=1e-999999", "Zin=" + k100kDigits}, 0},
      // An argument may hold 128 KiB at most (Linux).
      {{"design", "--json",
        "f=" + k100kDigits.substr(0, 60000) + "e" + k100kDigits.substr(0, 60000)},
       0},
      {{"design", "Q=0." + std::string(100000, '0') + "1"}, 0},
      {{"design", "--topology", "svf3", "--manual-capacitance", "C1=1e-400", "Vu=1e400"}, 0},
      {{"design", "--topology", "lc", "--chebyshev", "RL=1e308", "Welligkeit=1e-308"}, 0},
      {{"design", "--topology", "99999999999999999999"}, 2},
      {{"design", "--topology", "-1"}, 2},
      {{"design", "--topology", "lc", "--order", "99999999999999999999"}, 2},
      {{"design", "--diplexer-order", "-3"}, 2},
      {{"curve", "gain", "--from", "1e999", "--to", "2e999"}, 2},
      // Far beyond a graph window's axes the response overflows: refused, not printed.
      {{"curve", "gain", "--from", "1e-300", "--to", "1e300", "--log"}, 1},
      {{"curve", "phase", "--from", "-1e300", "--to", "1e300"}, 0},
      {{"curve", "delay", "--from", "0", "--to", k100kDigits}, 2},  // beyond the read limit
      {{"curve", "gain", "--from", "1e-3", "--to", "1e15", "--log", "--type", "highpass"}, 0},
      {{"curve", "step", "--to", "1e300"}, 0},
      {{"curve", "pulse", "--to", "1e-300", "Q=10000"}, 0},
      // Beyond the read limit is no number, as "inf" is none: refused, not read as 1e300.
      {{"curve", "step", "--to", "1e999"}, 2},
      {{"curve", "step", "--to", "-1e999"}, 2},
      {{"curve", "gain", "--from", "1", "--to", "1e400"}, 2},
      {{"spice", "-", "--to", "1e400"}, 2},
      // Beyond the read limit, or an impossible scheme: refused.
      {{"order", "--f1", "1e999", "--f2", "1e-999", "--d1", "-1e999", "--d2", "1e999"}, 2},
      {{"order", "--json", "--f1", k100kDigits, "--d2", "0"}, 2},
      {{"order", "--f1", "1e-300", "--f2", "1e300", "--d1", "1e-300", "--d2", "1e300"}, 0},
      {{"spice", "-", "--from", "1e-300", "--to", "1e300", "--points", "100000"}, 0},
      {{"spice", "-", "--points", "99999999999999999999999"}, 2},
      {{"spice", "-", "--points", "-5"}, 2},
      {{"spice", "-", "--from", "1e999"}, 2},
  });
}

TEST_F(HostileArguments, EmptyTexts) {
  RunAll({
      {{"design", ""}, 2},
      {{"design", "fg="}, 0},
      {{"design", "Q=", "D=", "Vu=", "Zin=", "f=", "fg="}, 0},
      {{"design", "--topology", ""}, 2},
      {{"design", "--topology="}, 2},
      {{"design", "--type="}, 2},
      {{"design", "--series-r", ""}, 2},
      {{"design", "--order="}, 2},
      {{"design", "--design", ""}, 1},  // no file: a missing design file is a failure
      {{"save-design", ""}, 2},
      {{"export-circuit", "", "--topology", "lc"}, 2},
      {{"curve", ""}, 2},
      {{"curve", "gain", "--from", "", "--to", "1"}, 2},
      {{"order", "--f1", ""}, 2},
      {{"spice", ""}, 2},
      {{"help", ""}, 2},
      {{""}, 2},
  });
}

TEST_F(HostileArguments, UnknownNames) {
  RunAll({
      {{"frobnicate"}, 2},
      {{"DESIGN"}, 2},
      {{"design", "bogus=1"}, 2},
      {{"design", "FG=1k"}, 2},
      {{"design", "--topology", "nosuch"}, 2},
      {{"design", "--type", "notch"}, 2},
      {{"design", "--series-r", "E7"}, 2},
      {{"design", "--series-c", "e12"}, 0},
      {{"design", "--frobnicate"}, 2},
      {{"design", "-"}, 2},
      {{"design", "--"}, 2},
      {{"curve", "wobble", "--to", "1"}, 2},
      {{"order", "--f3", "1"}, 2},
      {{"help", "frobnicate"}, 2},
      {{"help", "design", "curve"}, 2},
      {{"--frobnicate"}, 2},
  });
}

TEST_F(HostileArguments, HundredKilobyteTexts) {
  RunAll({
      {{"design", "fg=" + k100kText}, 0},
      {{"design", "--json", "R3=" + k100kText, "fnfp=" + k100kText}, 0},
      {{"design", "--topology", "svf4", "--manual-capacitance", "C1=" + k100kText}, 0},
      {{"design", k100kText}, 2},
      {{"design", k100kText + "=1"}, 2},
      {{"design", "--topology", k100kText}, 2},
      {{"design", "--" + k100kText}, 2},
      {{k100kText}, 2},
      {{"design", "--design", Path(k100kText)}, 1},
      {{"save-design", Path(std::string(100000, 'a'))}, 1},
      {{"spice", Path(std::string(100000, 'a'))}, 1},
      {{"order", "--f1", k100kText}, 2},
      {{"order", "--f1", "1\n2"}, 2},  // the message quotes it on one line
  });
}

TEST_F(HostileArguments, EqualsSignsAlone) {
  RunAll({
      {{"design", "="}, 2},
      {{"design", "=5"}, 2},
      {{"design", "=="}, 2},
      {{"design", "fg=="}, 0},
      {{"design", "fg==1k"}, 0},
      {{"design", "--topology=="}, 2},
      {{"design", "--json="}, 2},
      {{"order", "--f1="}, 2},
      {{"order", "="}, 2},
      {{"curve", "gain", "--from=", "--to=1"}, 2},
      {{"save-design", "=", "fg=1k"}, 2},
  });
}

TEST_F(HostileArguments, RepeatedOptions) {
  RunAll({
      {{"design", "--topology", "mfb", "--topology", "lc", "--topology", "diplexer"}, 0},
      {{"design", "--json", "--json", "--json"}, 0},
      {{"design", "fg=1k", "fg=2k", "fg=", "fg=3k"}, 0},
      {{"design", "--type", "lowpass", "--type", "allpass", "--topology", "pfb"}, 0},
      {{"design", "--topology", "lc", "--order", "3", "--order", "11"}, 2},
      {{"design", "--chebyshev", "--chebyshev", "--topology", "lc"}, 0},
      {{"design", "--design", Path("a.ini"), "--design", Path("b.ini")}, 1},  // missing
      {{"curve", "gain", "--from", "1", "--from", "2", "--to", "3", "--to", "4"}, 0},
      {{"curve", "gain", "--log", "--log", "--from", "1", "--to", "10"}, 0},
      {{"order", "--f1", "2k", "--f1", "1k", "--json", "--json"}, 0},  // the last f1 counts
      {{"order", "--f1", "1k", "--f1", "2k", "--json", "--json"}, 2},  // 2k: above f2
      {{"spice", "-", "--points", "5", "--points", "7"}, 0},
  });
  const ChildRun last = RunCli({"design", "--json", "fg=1k", "fg=2k"});
  const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(last.out)).object();
  EXPECT_EQ(root["state"].toObject()["fg"].toDouble(), 2000.0);  // the last one counts
}

TEST_F(HostileArguments, ValuesMissingAtTheEnd) {
  RunAll({
      {{"design", "--topology"}, 2},
      {{"design", "--type"}, 2},
      {{"design", "--series-r"}, 2},
      {{"design", "--series-c"}, 2},
      {{"design", "--order"}, 2},
      {{"design", "--diplexer-order"}, 2},
      {{"design", "--design"}, 2},
      {{"curve"}, 2},
      {{"curve", "gain", "--from", "1", "--to"}, 2},
      {{"curve", "gain", "--from"}, 2},
      {{"order", "--f1"}, 2},
      {{"order", "--d2"}, 2},
      {{"spice"}, 2},
      {{"spice", "-", "--points"}, 2},
      {{"spice", "-", "--opamp"}, 2},
      {{"save-design"}, 2},
      {{"export-circuit"}, 2},
      {{"help", "design", "--topology"}, 2},
  });
}

TEST_F(HostileArguments, BytesThatAreNotUtf8) {
  const std::string invalid = "\xFF\xFE\xC3\x28\xE2\x82\x80\xED\xA0\x80";
  RunAll({
      {{"design", "fg=" + invalid}, 0},
      {{"design", "--json", "R3=" + invalid, "fnfp=1" + invalid}, 0},
      {{"design", invalid + "=1"}, 2},
      {{"design", "--topology", invalid}, 2},
      {{"design", "--type", "low\xFFpass"}, 2},
      {{invalid}, 2},
      {{"design", "--design", Path(invalid + ".ini")}, 1},  // missing
      {{"save-design", Path(invalid + ".ini"), "fg=2k"}, 0},
      {{"order", "--f1", invalid}, 2},
  });
  // The JSON stays JSON: the bytes come out replaced, not raw.
  const ChildRun json = RunCli({"design", "--json", "R3=" + invalid});
  QJsonParseError error{};
  QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  std::string saved;
  for (const auto& entry : fs::directory_iterator(dir_)) saved = entry.path().filename().string();
  EXPECT_EQ(saved, invalid + ".ini");
}

// Design files the options point at that are no design files: one line, exit code 1.
TEST_F(HostileArguments, DesignFilesThatCannotBeRead) {
  std::ofstream(Path("binary.ini"), std::ios::binary) << std::string("[Variablen]\nfg=\0\1", 16);
  fs::create_directory(Path("folder.ini"));
  RunAll({
      {{"design", "--design", Path("binary.ini")}, 1},
      {{"design", "--design", Path("folder.ini")}, 1},
      {{"design", "--design", "/dev/zero"}, 1},
      {{"curve", "gain", "--from", "1", "--to", "2", "--design", Path("binary.ini")}, 1},
      {{"save-design", Path("folder.ini")}, 1},
      {{"save-design", Path("binary.ini")}, 1},
      {{"save-design", Path("missing/x.ini")}, 1},
      {{"export-circuit", Path("folder.ini"), "--topology", "lc"}, 1},
      {{"spice", Path("folder.ini")}, 1},
  });
  EXPECT_FALSE(fs::exists(Path("missing")));
}

// Op amp names and include files with a line break, another control character or a quote
// would let a name start a netlist line of its own (a .control block can run shell commands):
// refused as bad use, naming the option.
TEST_F(HostileArguments, NetlistInjectionIsRefused) {
  const std::vector<std::string> includes = {
      "models.lib\n.control\nshell touch /tmp/morvane_injected\n.endc",
      "models.lib\r.control",
      "models.lib\"\n.control",
      "op\"amp.lib",
      "op'amp.lib",
      "tab\there.lib",
      "delete\x7f.lib",
      "\x1b[2Jescape.lib",
      "start-of-heading\x01"
      "byte.lib",
      "",
  };
  for (const std::string& include : includes) {
    const std::vector<std::string> args = {"spice",           "-",    "--opamp", "OPA1612",
                                           "--opamp-include", include};
    const ChildRun run = RunCli(args);
    ExpectOrderlyEnd(args, run, 2);
    EXPECT_NE(run.err.find("--opamp-include"), std::string::npos) << Shown(args);
  }
  const std::vector<std::string> names = {"OPA\n.control", "OP\"A", "OP'A", "OP\x7f",
                                          "OP A",          "\vOPA", "OPA\r"};
  for (const std::string& name : names) {
    const std::vector<std::string> args = {"spice", "-", "--opamp", name};
    const ChildRun run = RunCli(args);
    ExpectOrderlyEnd(args, run, 2);
    EXPECT_NE(run.err.find("--opamp"), std::string::npos) << Shown(args);
  }
  EXPECT_FALSE(fs::exists("/tmp/morvane_injected"));
}

// Blanks and bytes beyond ASCII are file names like any other.
TEST_F(HostileArguments, PlainIncludeFilesAreWrittenAsGiven) {
  for (const std::string include : {"models/op amp.lib", "mod\xC3\xA8les/opa.lib", "C:\\opa.lib"}) {
    const ChildRun run = RunCli({"spice", "-", "--opamp", "OPA1612", "--opamp-include", include});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\n.include \"" + include + "\"\n"), std::string::npos) << run.out;
  }
}

// Random arguments drawn from all of the above: each run ends in order.
TEST_F(HostileArguments, RandomMixtures) {
  const std::vector<std::string> pieces = {"design",
                                           "curve",
                                           "order",
                                           "spice",
                                           "save-design",
                                           "export-circuit",
                                           "help",
                                           "gain",
                                           "step",
                                           "-",
                                           "--json",
                                           "--topology",
                                           "lc",
                                           "diplexer",
                                           "pfb",
                                           "9",
                                           "--type",
                                           "allpass",
                                           "elliptic",
                                           "--series-r",
                                           "E96",
                                           "--order",
                                           "10",
                                           "--diplexer-order",
                                           "9",
                                           "--chebyshev",
                                           "--diplexer-chebyshev",
                                           "--no-equal-capacitors",
                                           "--manual-capacitance",
                                           "--from",
                                           "--to",
                                           "--log",
                                           "--points",
                                           "--f1",
                                           "--d2",
                                           "fg=",
                                           "Q=0",
                                           "D=1e999",
                                           "Vu=-0",
                                           "RL=nan",
                                           "Welligkeit=inf",
                                           "C1=4k7",
                                           "fnfp=,",
                                           "=",
                                           "==",
                                           "",
                                           "1e-400",
                                           "\xFF",
                                           "mil"};
  std::mt19937 random(20250611);
  for (int run = 0; run < 60; ++run) {
    std::vector<std::string> args;
    const int count = 1 + static_cast<int>(random() % 7);
    for (int i = 0; i < count; ++i) args.push_back(pieces[random() % pieces.size()]);
    // Never write files outside the test's folder.
    if (args[0] == "save-design" || args[0] == "export-circuit" || args[0] == "spice") {
      args.insert(args.begin() + 1, Path("out" + std::to_string(run)));
    }
    const ChildRun result = RunCli(args);
    SCOPED_TRACE(Shown(args));
    EXPECT_FALSE(result.hung);
    EXPECT_EQ(result.signal, 0) << result.err.substr(0, 2000);
    EXPECT_TRUE(result.exitCode >= 0 && result.exitCode <= 2) << result.exitCode;
    if (result.exitCode != 0) {
      EXPECT_EQ(LineCount(result.err), 1) << result.err.substr(0, 2000);
    }
    EXPECT_FALSE(ShowsNanOrInf(result.out)) << result.out.substr(0, 300);
  }
}

}  // namespace
