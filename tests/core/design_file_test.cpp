// The design file: its text, the round trip, missing and odd keys, and files it refuses.

#include "files/design_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "scratch_folder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using S = DesignState;

// The members the file carries, in the order of writing.
constexpr double S::*kFileMembers[] = {&S::fg, &S::f,  &S::Zin, &S::fnfp,     &S::Q,    &S::Vu,
                                       &S::R3, &S::C1, &S::RL,  &S::rippleDb, &S::Sweep};

// Within four units in the last place: reading "707.10m" gives 0.7071 plus one unit.
void ExpectSameFileValues(const S& actual, const S& expected) {
  for (const auto member : kFileMembers) EXPECT_DOUBLE_EQ(actual.*member, expected.*member);
}

using test::ReadRaw;
using test::WriteRaw;

class DesignFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  test::ScratchFolder folder_{"morvane_design_file_test_"};
  fs::path dir_ = folder_.Root();
};

TEST_F(DesignFileTest, InitialStateText) {
  const std::string path = PathOf("Morvane.ini");
  std::string error;
  ASSERT_TRUE(WriteDesignFile(path, S{}, error)) << error;
  EXPECT_EQ(ReadRaw(path),
            "[Variablen]\n"
            "fg=  1.00k\n"
            "f=  1.00k\n"
            "Zin=  1.00k\n"
            "fn/fp=  2.0000\n"
            "Q=707.10m\n"
            "Vu=  1.000\n"
            "R3=  1.00k\n"
            "C1=  1.00n\n"
            "RL=  1.00k\n"
            "Welligkeit=  1.000\n"
            "Sweep=  1.0200\n");
  EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(dir_), fs::directory_iterator()),
            std::vector<fs::path>{path});
}

TEST_F(DesignFileTest, SaveThenOpenChangesNoValue) {
  const std::string path = PathOf("round.ini");
  std::string error;
  ASSERT_TRUE(WriteDesignFile(path, S{}, error)) << error;
  S opened;
  for (const auto member : kFileMembers) opened.*member = 12345.0;
  ASSERT_TRUE(ReadDesignFile(path, opened, error)) << error;
  ExpectSameFileValues(opened, S{});

  // A value off the saved precision comes back rounded to it, and then stays.
  S odd;
  odd.fg = 1234.5;
  odd.Q = 0.70711;
  odd.Sweep = 1.23456;
  ASSERT_TRUE(WriteDesignFile(path, odd, error)) << error;
  ASSERT_TRUE(ReadDesignFile(path, odd, error)) << error;
  EXPECT_DOUBLE_EQ(odd.fg, 1230);
  EXPECT_DOUBLE_EQ(odd.Q, 0.70711);
  EXPECT_DOUBLE_EQ(odd.Sweep, 1.235);  // the fourth decimal is a written "0"
  const S once = odd;
  ASSERT_TRUE(WriteDesignFile(path, odd, error)) << error;
  ASSERT_TRUE(ReadDesignFile(path, odd, error)) << error;
  ExpectSameFileValues(odd, once);
}

struct ReadCase {
  const char* text;
  double S::*member;
  double expected;
};

TEST_F(DesignFileTest, ReadsWhatTheFileSays) {
  const ReadCase cases[] = {
      {"[Variablen]\nQ=2\n", &S::Q, 2},
      {"[Variablen]\nFG=2k\n", &S::fg, 2000},
      {"[variablen]\nfN/Fp=3\n", &S::fnfp, 3},
      {"[Variablen]\nfg=4k7\n", &S::fg, 4700},   // written by hand: as engineers mean it
      {"[Variablen]\nfg=5e10\n", &S::fg, 5e10},  // no limits on reading
      {"[Variablen]\nQ=\n", &S::Q, 0},
      {"[Variablen]\nQ=   \n", &S::Q, 0},
      {"[Variablen]\nQ=abc\n", &S::Q, 0},
      {"[Variablen]\nQ=-3\n", &S::Q, -3},
      {"[Variablen]\r\nC1=  4.70n\r\n", &S::C1, 4.7e-9},
      {"[Variablen]\nWelligkeit=0,5\n", &S::rippleDb, 0.5},
      {"[Variablen]\nSweep=1.1\nSweep=1.5\n", &S::Sweep, 1.1},
      {"[Other]\nQ=2\n", &S::Q, 0.7071},
      {"Q=2\n", &S::Q, 0.7071},
  };
  const std::string path = PathOf("read.ini");
  for (const auto& c : cases) {
    WriteRaw(path, c.text);
    S s;
    std::string error;
    ASSERT_TRUE(ReadDesignFile(path, s, error)) << c.text << error;
    EXPECT_DOUBLE_EQ(s.*c.member, c.expected) << c.text;
    // Every other value stays as it was (the initial values survive their rounding).
    S expected;
    expected.*c.member = s.*c.member;
    ExpectSameFileValues(s, expected);
  }
}

TEST_F(DesignFileTest, MissingFileOnlyRounds) {
  S s;
  s.fg = 1234.5;
  s.Zin = 4711.0;
  s.C1 = 3.3333e-9;
  s.Sweep = 1.00049;  // saved as "  1.0000": only the hold brings it back to 1.0001
  s.fnfp = 2.123456;
  std::string error;
  ASSERT_TRUE(ReadDesignFile(PathOf("absent.ini"), s, error)) << error;
  S expected;
  expected.fg = 1230;
  expected.Zin = 4710;
  expected.C1 = 3.33e-9;
  expected.Sweep = 1.0;
  expected.fnfp = 2.123;
  ExpectSameFileValues(s, expected);
  EXPECT_FALSE(fs::exists(PathOf("absent.ini")));
}

TEST_F(DesignFileTest, SaveKeepsAnotherProgramsSections) {
  const std::string path = PathOf("shared.ini");
  WriteRaw(path,
           "; other program\n[Window]\nLeft=10\n\n[Variablen]\nQ=5\nMine=keep\n\n[Tail]\nx=1\n");
  S s;
  s.Q = 2;
  std::string error;
  ASSERT_TRUE(WriteDesignFile(path, s, error)) << error;
  EXPECT_EQ(ReadRaw(path),
            "; other program\n[Window]\nLeft=10\n\n[Variablen]\nQ=  2.000\nMine=keep\n"
            "fg=  1.00k\nf=  1.00k\nZin=  1.00k\nfn/fp=  2.0000\nVu=  1.000\nR3=  1.00k\n"
            "C1=  1.00n\nRL=  1.00k\nWelligkeit=  1.000\nSweep=  1.0200\n\n[Tail]\nx=1\n");
}

TEST_F(DesignFileTest, UnwritablePaths) {
  const std::string noFolder = PathOf("no/such/folder/MV.INI");
  const std::string folder = PathOf("folder.ini");
  fs::create_directory(folder);
  const std::string binary = PathOf("binary.ini");
  const std::string binaryText("[Variablen]\nfg=\0\x01", 17);
  WriteRaw(binary, binaryText);

  for (const std::string& path : {noFolder, folder, binary}) {
    std::string error;
    EXPECT_FALSE(WriteDesignFile(path, S{}, error));
    EXPECT_TRUE(error.starts_with("nach " + path + " kann nicht geschrieben werden: ")) << error;
  }
  EXPECT_FALSE(fs::exists(PathOf("no")));
  EXPECT_EQ(ReadRaw(binary), binaryText);
}

TEST_F(DesignFileTest, RefusedFileChangesNoMember) {
  const std::string binary = PathOf("picture.ini");
  WriteRaw(binary, std::string("[Variablen]\nQ=2\n\0\0\0", 19));
  const std::string folder = PathOf("folder.ini");
  fs::create_directory(folder);
  const std::string longLine = PathOf("long.ini");
  WriteRaw(longLine, "[Variablen]\nQ=2\n" + std::string(100000, 'x') + "\n");

  for (const std::string& path : {binary, folder, longLine}) {
    S s;
    s.fg = 1234.5;  // would be rounded by any read
    std::string error;
    EXPECT_FALSE(ReadDesignFile(path, s, error));
    EXPECT_EQ(error.rfind("cannot read \"" + path + "\": ", 0), 0u) << error;
    S expected;
    expected.fg = 1234.5;
    ExpectSameFileValues(s, expected);
  }
}

struct BoundCase {
  double S::*member;
  double bound;
  bool lower;
};

TEST(HoldDesignValuesInRange, HoldsEveryValue) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const BoundCase cases[] = {
      {&S::Q, 0.1, true},         {&S::Q, 10000, false},    {&S::fg, 0.001, true},
      {&S::fg, 2e9, false},       {&S::f, 0.0001, true},    {&S::f, 2e10, false},
      {&S::Zin, 0.1, true},       {&S::Zin, 1e9, false},    {&S::RL, 0.001, true},
      {&S::RL, 1e9, false},       {&S::Vu, 0.1, true},      {&S::Vu, 1e6, false},
      {&S::R3, 0.001, true},      {&S::R3, 1e9, false},     {&S::C1, 1e-15, true},
      {&S::C1, 1e-3, false},      {&S::fnfp, 1.1, true},    {&S::fnfp, 100, false},
      {&S::rippleDb, 0.01, true}, {&S::rippleDb, 3, false}, {&S::Sweep, 1.0001, true},
      {&S::Sweep, 10, false},
  };
  // Each bound holds what lies beyond it and leaves every other value alone; the bound
  // itself and what lies within stay.
  for (const auto& c : cases) {
    const std::vector<double> beyond =
        c.lower ? std::vector<double>{c.bound * 0.999, 0.0, -1.0, -kInf, kNaN}
                : std::vector<double>{c.bound * 1.001, kInf};
    for (const double value : beyond) {
      S s;
      s.*c.member = value;
      HoldDesignValuesInRange(s);
      S expected;
      expected.*c.member = c.bound;
      ExpectSameFileValues(s, expected);
    }
    for (const double value : {c.bound, c.lower ? c.bound * 1.001 : c.bound * 0.999}) {
      S s;
      s.*c.member = value;
      HoldDesignValuesInRange(s);
      EXPECT_EQ(s.*c.member, value) << c.bound;
    }
  }
}

}  // namespace
}  // namespace morvane
