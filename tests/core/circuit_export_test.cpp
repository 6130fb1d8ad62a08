#include "lc/circuit_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "numerics/value_text.h"
#include "scratch_folder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;

class CircuitExport : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (dir_ / "MV.KDR").string();
    s_.LCOrder = 3;
    s_.Zin = 1000.0;
    s_.RL = 1000.0;
    s_.fg = 1000.0;
    in_.type = FilterType::Lowpass;
  }

  bool Export() {
    error_.clear();
    return ExportCircuit(path_, s_, in_, error_);
  }

  std::string Text() const {
    std::ifstream file(path_, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  // The file's lines without line ends and without blank lines between sections.
  std::vector<std::string> ExactLines() const {
    std::vector<std::string> lines;
    std::istringstream text(Text());
    for (std::string line; std::getline(text, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }

  // The same, with the element values shown as the page shows them (two decimals): the file
  // holds the designed ones to full precision.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines = ExactLines();
    for (std::string& line : lines) {
      if (line.starts_with("Lx=") || line.starts_with("Cx=")) {
        line = line.substr(0, 3) + FormatValue(6, 2, ReadValue(line.substr(3)));
      }
    }
    return lines;
  }

  void Write(const std::string& text) const { std::ofstream(path_, std::ios::binary) << text; }

  test::ScratchFolder folder_{"morvane_export_"};
  fs::path dir_ = folder_.Root();
  std::string path_;
  DesignState s_;
  DesignChoices in_;
  std::string error_;
};

TEST_F(CircuitExport, ButterworthThirdOrderLowpassIntoNewFile) {
  ASSERT_TRUE(Export()) << error_;
  const std::vector<std::string> expected = {
      "[Variablen]",     "Zo=  1.00k",      "RG=  1.00k",
      "f=  1.00k",       "Elemente=3",      "Schaltung vertauscht=Nein",
      "[Element1]",      "Anordnung=shunt", "Optimierung=ja",
      "Typ=C",           "Lx=100.00p",      "Rx=  1.00m",
      "Cx=159.15n",      "[Element2]",      "Anordnung=series",
      "Optimierung=ja",  "Typ=L",           "Lx=318.31m",
      "Rx=  1.00m",      "Cx=  1.00f",      "[Element3]",
      "Anordnung=shunt", "Optimierung=ja",  "Typ=C",
      "Lx=100.00p",      "Rx=  1.00m",      "Cx=159.15n",
  };
  EXPECT_EQ(Lines(), expected);
}

TEST_F(CircuitExport, ElementValuesKeepFullPrecision) {
  constexpr double kTwoPi = 6.283185307179586;
  ASSERT_TRUE(Export()) << error_;
  const std::vector<std::string> lines = ExactLines();
  // 1 kHz, 1 kOhm: C = 1/(2 pi f R), L = 2 R/(2 pi f); the shunt C of the outer elements.
  const struct {
    std::size_t line;
    double value;
  } designed[] = {{12, 1.0 / (kTwoPi * 1e6)},
                  {17, 2.0 * 1000.0 / (kTwoPi * 1000.0)},
                  {26, 1.0 / (kTwoPi * 1e6)}};
  for (const auto& d : designed) {
    ASSERT_LT(d.line, lines.size());
    const double read = ReadValue(lines[d.line].substr(3));
    EXPECT_NEAR(read / d.value, 1.0, 1e-12) << lines[d.line];
  }
}

TEST_F(CircuitExport, HighpassSwapsTheElementKinds) {
  in_.type = FilterType::Highpass;
  ASSERT_TRUE(Export()) << error_;
  const std::vector<std::string> lines = Lines();
  const std::vector<std::string> expected(lines.begin() + 6, lines.end());
  EXPECT_EQ(expected,
            (std::vector<std::string>{"[Element1]",      "Anordnung=shunt", "Optimierung=ja",
                                      "Typ=L",           "Lx=159.15m",      "Rx=  1.00m",
                                      "Cx=  1.00f",      "[Element2]",      "Anordnung=series",
                                      "Optimierung=ja",  "Typ=C",           "Lx=100.00p",
                                      "Rx=  1.00m",      "Cx= 79.58n",      "[Element3]",
                                      "Anordnung=shunt", "Optimierung=ja",  "Typ=L",
                                      "Lx=159.15m",      "Rx=  1.00m",      "Cx=  1.00f"}));
}

TEST_F(CircuitExport, LowerOrderOverAHigherOneKeepsTheOldSections) {
  s_.LCOrder = 5;
  ASSERT_TRUE(Export()) << error_;
  const std::vector<std::string> fifth = Lines();
  ASSERT_EQ(fifth.size(), 6u + 5u * 7u);

  s_.LCOrder = 3;
  ASSERT_TRUE(Export()) << error_;
  const std::vector<std::string> third = Lines();
  ASSERT_EQ(third.size(), fifth.size());
  EXPECT_EQ(third[4], "Elemente=3");
  EXPECT_EQ(third[12], "Cx=159.15n");  // Element1 of the third order
  EXPECT_EQ(third[19], "Cx=  1.00f");  // Element2 is an inductor of 318.31m
  EXPECT_EQ(third[17], "Lx=318.31m");
  // Element4 and Element5 are the fifth order's, line for line.
  const std::vector<std::string> oldTail(fifth.end() - 14, fifth.end());
  const std::vector<std::string> newTail(third.end() - 14, third.end());
  EXPECT_EQ(newTail, oldTail);
  EXPECT_EQ(newTail.front(), "[Element4]");
  EXPECT_EQ(newTail[7], "[Element5]");
}

TEST_F(CircuitExport, KeepsTheFilesOtherLines) {
  Write("; circuit of the companion\n[Variablen]\nZo=50\nNotiz=keep me\n[Andere]\nx=1\n");
  ASSERT_TRUE(Export()) << error_;
  const std::vector<std::string> lines = Lines();
  ASSERT_GE(lines.size(), 11u);
  const std::vector<std::string> head(lines.begin(), lines.begin() + 10);
  EXPECT_EQ(head,
            (std::vector<std::string>{"; circuit of the companion", "[Variablen]", "Zo=  1.00k",
                                      "Notiz=keep me", "RG=  1.00k", "f=  1.00k", "Elemente=3",
                                      "Schaltung vertauscht=Nein", "[Andere]", "x=1"}));
  EXPECT_EQ(lines[10], "[Element1]");
}

// Designs the ladder cannot build are refused and leave the file as it was.
TEST_F(CircuitExport, RefusesALadderWithoutElementValues) {
  struct Case {
    const char* what;
    bool chebyshev;
    int order;
    double RL;
  };
  const Case cases[] = {
      {"Chebyshev even order with RL = RG", true, 4, 1000.0},
      {"Chebyshev even order with RL near RG", true, 6, 1100.0},
      {"even order with the load above the source", false, 4, 2000.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    in_.ladderChebyshev = c.chebyshev;
    s_.LCOrder = c.order;
    s_.RL = c.RL;
    fs::remove(path_);
    EXPECT_FALSE(Export());
    EXPECT_NE(error_.find("no element values"), std::string::npos) << error_;
    EXPECT_FALSE(fs::exists(path_));

    const std::string old = "[Variablen]\r\nZo=  2.00k\r\nElemente=5\r\n";
    Write(old);
    EXPECT_FALSE(Export());
    EXPECT_EQ(Text(), old);
  }
}

TEST_F(CircuitExport, ReportsAFileItCannotUse) {
  const std::string binary("[Variablen]\n\x01\x02\x00zz", 16);
  Write(binary);
  EXPECT_FALSE(Export());
  EXPECT_NE(error_.find("MV.KDR"), std::string::npos) << error_;
  EXPECT_EQ(Text(), binary);

  path_ = dir_.string();  // a directory
  EXPECT_FALSE(Export());
  EXPECT_FALSE(error_.empty());
}

}  // namespace
}  // namespace morvane
