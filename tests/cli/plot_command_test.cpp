// morvane-cli plot as a user runs it: what bad use it refuses, which files it writes, and at
// what size. That its pictures are the graph windows' own is shown by the GUI tests.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "child_process.h"
#include "cli_runner.h"

namespace {

using morvane::test::CliRun;
using morvane::test::RunCli;
using morvane::test::Slurp;
using morvane::test::TempPath;

// Width and height from a PNG's header chunk.
std::pair<int, int> PngSize(const std::string& png) {
  if (png.size() < 24 || png.compare(1, 3, "PNG") != 0 || png.compare(12, 4, "IHDR") != 0) {
    return {-1, -1};
  }
  const auto word = [&](std::size_t at) {
    int v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v * 256 + static_cast<unsigned char>(png[at + i]);
    return v;
  };
  return {word(16), word(20)};
}

struct BadUse {
  const char* name;
  const char* arguments;
};

class PlotBadUseTest : public testing::TestWithParam<BadUse> {};

TEST_P(PlotBadUseTest, ExitsWithTwoAndOneLine) {
  const std::string out = TempPath("bad.svg");
  std::string arguments = GetParam().arguments;
  const auto at = arguments.find("OUT");
  if (at != std::string::npos) arguments.replace(at, 3, out);
  const CliRun run = RunCli("plot " + arguments);
  EXPECT_EQ(run.exitCode, 2) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("morvane-cli: ", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_EQ(Slurp(out), "") << "nothing written on bad use";
  std::remove(out.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Plot, PlotBadUseTest,
    testing::Values(BadUse{"no_graph", ""}, BadUse{"unknown_graph", "bode --out OUT"},
                    BadUse{"no_out", "gain fg=1k"}, BadUse{"out_without_value", "gain --out"},
                    BadUse{"empty_out", "gain --out="},
                    BadUse{"bitmap_suffix", "gain --out /tmp/morvane_plot.bmp"},
                    BadUse{"no_suffix", "gain --out /tmp/morvane_plot"},
                    BadUse{"zero_width", "gain --out OUT --width 0"},
                    BadUse{"wide", "gain --out OUT --width 10001"},
                    BadUse{"fraction", "phase --out OUT --height 2.5"},
                    BadUse{"negative", "phase --out OUT --height=-3"},
                    BadUse{"curve_option", "delay --out OUT --log"},
                    BadUse{"unknown_entry", "step --out OUT foo=1"},
                    BadUse{"unknown_type", "pulse --out OUT --type bode"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlotCommandTest, SvgAtTheOpenedWindowsSizeUnlessTold) {
  const std::string out = TempPath("size.svg");
  ASSERT_EQ(RunCli("plot gain --out " + out).exitCode, 0);
  EXPECT_NE(Slurp(out).find(" width=\"522\" height=\"274\" "), std::string::npos);
  ASSERT_EQ(RunCli("plot gain --out=" + out + " --width 800 --height=600").exitCode, 0);
  EXPECT_NE(Slurp(out).find(" width=\"800\" height=\"600\" "), std::string::npos);
  std::remove(out.c_str());
}

TEST(PlotCommandTest, PngAtTheSizeAsked) {
  const std::string out = TempPath("size.PNG");
  const CliRun run =
      RunCli("plot step --type lowpass Q=2 --out " + out + " --width 640 --height 480");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(PngSize(Slurp(out)), std::make_pair(640, 480));
  std::remove(out.c_str());
}

// With rounded resistors or the value search's values the stage as built is drawn beside
// the design, as in the graph windows: a column of its own in the CSV; the SVG names it.
TEST(PlotCommandTest, TheStageAsBuiltBesideTheDesign) {
  const std::string csv = TempPath("built.csv"), svg = TempPath("built.svg");
  const std::string stage = " --topology svf4 --type bandstop Q=5 fg=50 --series-r E24";
  for (const char* option : {"", " --round-resistors", " --best-values"}) {
    SCOPED_TRACE(option);
    ASSERT_EQ(RunCli("plot gain" + stage + option + " --out " + csv).exitCode, 0);
    std::istringstream lines(Slurp(csv));
    std::string header;
    std::getline(lines, header);
    const bool built = *option != '\0';
    EXPECT_EQ(header.ends_with(" as built"), built) << header;
    ASSERT_EQ(RunCli("plot gain" + stage + option + " --out " + svg).exitCode, 0);
    EXPECT_EQ(Slurp(svg).find("as built") != std::string::npos, built);
  }
  std::remove(csv.c_str());
  std::remove(svg.c_str());
}

TEST(PlotCommandTest, AFileThatCannotBeWrittenExitsWithOne) {
  for (const char* suffix : {"svg", "png", "csv"}) {
    const CliRun run = RunCli(std::string("plot gain --out /nonexistent/folder/gain.") + suffix);
    EXPECT_EQ(run.exitCode, 1) << suffix;
    EXPECT_NE(run.err.find("/nonexistent/folder/gain."), std::string::npos) << run.err;
  }
}

// The environment an ssh session, a cron job or sudo passes on: whatever platform it names,
// and without a runtime folder, the PNG is drawn off screen and nothing is said about it.
struct InheritedEnvironment {
  const char* name;
  std::vector<std::pair<std::string, std::string>> set;
  std::vector<std::string> unset;
};

void PrintTo(const InheritedEnvironment& c, std::ostream* os) {
  *os << c.name;
}

class PlotEnvironmentTest : public testing::TestWithParam<InheritedEnvironment> {};

TEST_P(PlotEnvironmentTest, DrawsOffScreenAndSaysNothing) {
  const InheritedEnvironment& c = GetParam();
  const std::string out = TempPath(std::string(c.name) + ".png");
  std::remove(out.c_str());
  morvane::test::ChildSetup setup;
  setup.unset = c.unset;
  setup.unset.push_back("XDG_RUNTIME_DIR");
  setup.set = c.set;
  const morvane::test::ChildRun run = morvane::test::RunChild(
      {"plot", "gain", "--out", out, "--width", "200", "--height", "100"}, setup);
  EXPECT_EQ(run.signal, 0) << run.err;
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(PngSize(Slurp(out)), std::make_pair(200, 100));
  std::remove(out.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Plot, PlotEnvironmentTest,
    testing::Values(
        InheritedEnvironment{"platform_unset", {}, {"QT_QPA_PLATFORM", "DISPLAY"}},
        InheritedEnvironment{"xcb_without_display", {{"QT_QPA_PLATFORM", "xcb"}}, {"DISPLAY"}},
        InheritedEnvironment{
            "xcb_with_absent_display", {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":97"}}, {}},
        InheritedEnvironment{"wayland", {{"QT_QPA_PLATFORM", "wayland"}}, {"WAYLAND_DISPLAY"}},
        InheritedEnvironment{"wayland_session",
                             {{"QT_QPA_PLATFORM", "wayland"},
                              {"XDG_SESSION_TYPE", "wayland"},
                              {"WAYLAND_DISPLAY", "wayland-97"}},
                             {}},
        InheritedEnvironment{"bogus", {{"QT_QPA_PLATFORM", "bogus"}}, {}},
        InheritedEnvironment{
            "bogus_theme", {{"QT_QPA_PLATFORM", "bogus"}, {"QT_QPA_PLATFORMTHEME", "bogus"}}, {}},
        InheritedEnvironment{
            "runtime_folder_missing",
            {{"QT_QPA_PLATFORM", "xcb"}, {"XDG_RUNTIME_DIR", "/nonexistent/morvane-runtime"}},
            {"DISPLAY"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
