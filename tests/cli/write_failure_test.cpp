// Every file morvane-cli writes and its standard output, when the system refuses the bytes: a
// file-size limit (ulimit -f), stdout on a full device or closed. Each such run ends with exit
// code 1 and one line on stderr, and a file that was there before stays byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"

namespace {

namespace fs = std::filesystem;
using morvane::test::ChildRun;
using morvane::test::ChildSetup;
using morvane::test::LineCount;
using morvane::test::RunChild;
using morvane::test::StdoutTo;

// An old file the failed run must leave as it was; it reads as a design file too, so that
// save-design (which keeps a file's other lines) gets as far as writing.
const std::string kOldContent = "[Kept]\nold=1\n";

struct RefusedWrite {
  std::string name;
  std::vector<std::string> args;  // "OUT" stands for the target file
  StdoutTo stdoutTo;
  std::optional<rlim_t> fileSizeLimit;
};

void PrintTo(const RefusedWrite& c, std::ostream* os) {
  *os << c.name;
}

class RefusedWriteTest : public testing::TestWithParam<RefusedWrite> {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("morvane_refused_write_" + std::to_string(getpid()) + "_" + GetParam().name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

std::string Slurp(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST_P(RefusedWriteTest, ExitsWithOneAndKeepsTheOldFile) {
  const RefusedWrite& c = GetParam();
  std::vector<std::string> args = c.args;
  fs::path target;
  for (std::string& arg : args) {
    const auto at = arg.find("OUT");
    if (at == std::string::npos) continue;
    target = dir_ / ("target" + arg.substr(at + 3));
    arg.replace(at, std::string::npos, target.string());
    std::ofstream(target, std::ios::binary) << kOldContent;
  }
  const ChildRun run = RunChild(args, ChildSetup{c.stdoutTo, c.fileSizeLimit, {}, {}});

  EXPECT_FALSE(run.hung);
  EXPECT_EQ(run.signal, 0) << "killed by signal " << run.signal;
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(LineCount(run.err), 1) << run.err;
  EXPECT_EQ(run.err.rfind("morvane-cli: ", 0), 0u) << run.err;
  if (target.empty()) {
    EXPECT_NE(run.err.find("standard output"), std::string::npos) << run.err;
    return;
  }
  EXPECT_NE(run.err.find(target.string()), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Slurp(target), kOldContent);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir_)) left.push_back(entry.path().string());
  EXPECT_EQ(left, std::vector<std::string>{target.string()}) << "no temporary file stays";

  // Without an old file: none appears, not even an empty or a cut one.
  fs::remove(target);
  const ChildRun fresh = RunChild(args, ChildSetup{c.stdoutTo, c.fileSizeLimit, {}, {}});
  EXPECT_EQ(fresh.exitCode, 1) << fresh.err;
  EXPECT_TRUE(fs::is_empty(dir_)) << "a file was left behind";
}

// Limits of 0 bytes (nothing can be written) and 100 bytes (a start can, the rest not).
const std::vector<std::pair<const char*, std::vector<std::string>>> kFileWriters = {
    {"spice", {"spice", "OUT.cir"}},
    {"plot_png", {"plot", "gain", "--out", "OUT.png"}},
    {"plot_svg", {"plot", "phase", "--out", "OUT.svg"}},
    {"plot_csv", {"plot", "step", "--out=OUT.csv"}},
    {"save_design", {"save-design", "OUT.ini", "fg=2k"}},
    {"export_circuit", {"export-circuit", "OUT.kdr", "--topology", "lc"}},
};

const std::vector<std::pair<const char*, std::vector<std::string>>> kStdoutWriters = {
    {"design", {"design"}},
    {"design_json", {"design", "--json"}},
    {"curve", {"curve", "gain", "--from", "10", "--to", "100k", "--log"}},
    {"order", {"order"}},
    {"order_json", {"order", "--json"}},
    {"spice_stdout", {"spice", "-"}},
    {"help_design", {"help", "design"}},
    {"general_help", {"--help"}},
    {"version", {"--version"}},
};

std::vector<RefusedWrite> AllRefusedWrites() {
  std::vector<RefusedWrite> cases;
  for (const auto& [name, args] : kFileWriters) {
    cases.push_back({std::string(name) + "_no_bytes_allowed", args, StdoutTo::Pipe, 0});
    cases.push_back({std::string(name) + "_100_bytes_allowed", args, StdoutTo::Pipe, 100});
  }
  for (const auto& [name, args] : kStdoutWriters) {
    cases.push_back({std::string(name) + "_to_full_device", args, StdoutTo::FullDevice, {}});
    cases.push_back({std::string(name) + "_to_closed_stdout", args, StdoutTo::Closed, {}});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Cli, RefusedWriteTest, testing::ValuesIn(AllRefusedWrites()),
                         [](const auto& info) { return info.param.name; });

// A closed stdout is no failure for a command that prints nothing: the file it writes must
// not take stdout's place (and then receive a line meant for stdout).
TEST(ClosedStdout, FileCommandsStillWriteTheirFiles) {
  const fs::path dir =
      fs::temp_directory_path() / ("morvane_closed_stdout_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path netlist = dir / "filter.cir";
  ChildSetup closed;
  closed.stdoutTo = StdoutTo::Closed;
  const ChildRun run = RunChild({"spice", netlist.string()}, closed);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const ChildRun shown = RunChild({"spice", "-"});
  EXPECT_EQ(Slurp(netlist), shown.out);
  fs::remove_all(dir);
}

}  // namespace
