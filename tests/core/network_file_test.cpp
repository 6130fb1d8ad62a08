// The circuit file of the series and parallel circuits program: what the LC page exports reads
// back as the same ladder, a save keeps every line it does not change, and a bad file is
// refused with a message that names what is wrong.

#include "network/network_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>

#include "circuit/circuit_transfer.h"
#include "lc/circuit_export.h"
#include "lc/lc_circuit.h"
#include "lc/lc_ladder.h"
#include "network/network_response.h"
#include "numerics/value_text.h"
#include "scratch_folder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;

class NetworkFile : public ::testing::Test {
 protected:
  void Write(const std::string& text) const { std::ofstream(path_, std::ios::binary) << text; }
  std::string Text() const {
    std::ifstream file(path_, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  test::ScratchFolder folder_{"morvane_network_"};
  std::string path_ = (folder_.Root() / "circuit.kdr").string();
  LadderNetwork network_;
  std::string error_;
};

// The LC page's ladders, exported and read back: the ideal ladder of the file computes what
// the page's own circuit (nodal analysis) gives, so the file's order means the same ladder.
TEST_F(NetworkFile, ExportedLaddersAreThePagesCircuits) {
  struct Case {
    FilterType type;
    int order;
    double rg, rl;
  };
  const Case cases[] = {{FilterType::Lowpass, 5, 50.0, 50.0},
                        {FilterType::Highpass, 3, 1000.0, 1000.0},
                        {FilterType::Lowpass, 4, 600.0, 150.0},
                        {FilterType::Highpass, 6, 600.0, 47.0},
                        {FilterType::Lowpass, 3, 600.0, 150.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.order) +
                 (c.type == FilterType::Lowpass ? " lowpass" : " highpass"));
    DesignState s;
    s.LCOrder = c.order;
    s.Zin = c.rg;
    s.RL = c.rl;
    s.fg = 1000.0;
    DesignChoices in;
    in.type = c.type;
    fs::remove(path_);
    ASSERT_TRUE(ExportCircuit(path_, s, in, error_)) << error_;
    ASSERT_TRUE(LoadNetworkFile(path_, network_, error_)) << error_;
    ASSERT_EQ(network_.elements.size(), static_cast<std::size_t>(c.order));
    EXPECT_EQ(network_.rg, c.rg);
    EXPECT_EQ(network_.rl, c.rl);
    EXPECT_EQ(network_.f, 1000.0);
    const auto circuit = LadderCircuit(s, in);
    ASSERT_TRUE(circuit);
    const auto transfer = CircuitTransfer(*circuit);
    ASSERT_TRUE(transfer);
    // The export writes two decimals after the prefix: 3 to 5 significant digits.
    const std::vector<LadderElement> page = LadderElements(s, in);
    for (std::size_t i = 0; i < page.size(); ++i) {
      const NetworkElement& e = network_.elements[i];
      EXPECT_EQ(e.kind == ElementKind::Inductor ? 'L' : 'C', page[i].kind) << i;
      EXPECT_EQ(e.shunt, page[i].shunt) << i;
      EXPECT_NEAR(ElementValue(e) / page[i].value, 1.0, 0.003) << i;
    }
    const LadderNetwork ideal = IdealNetwork(network_);
    for (double f : {50.0, 500.0, 1000.0, 2000.0, 20000.0}) {
      const double circuit = std::abs(EvaluateAt(*transfer, {0.0, 2.0 * std::numbers::pi * f}));
      const double file = std::abs(NetworkTransfer(ideal, f));
      EXPECT_NEAR(20.0 * std::log10(file / circuit), 0.0, 0.1) << f << " Hz";
    }
  }
}

TEST_F(NetworkFile, SavingUnchangedKeepsTheFileByteForByte) {
  const std::string text =
      "; my filter\r\n[Variablen]\r\nZo=  1.00k\r\nRG=1000\r\nNotiz=keep\r\nf=1k\r\nElemente=2\r\n"
      "Schaltung vertauscht=Nein\r\n\r\n[Element1]\r\nAnordnung=Series\r\nOptimierung=nein\r\n"
      "Typ=l\r\nLx=10m\r\nRx=0.5\r\nCx=1p\r\n[Extra]\r\nwho=me\r\n[Element2]\r\nAnordnung=shunt\r\n"
      "Typ=C\r\nLx=0\r\nRx=  1.00m\r\nCx=100n\r\n[Element3]\r\nTyp=C\r\n";
  Write(text);
  ASSERT_TRUE(LoadNetworkFile(path_, network_, error_)) << error_;
  ASSERT_TRUE(SaveNetworkFile(path_, network_, error_)) << error_;
  EXPECT_EQ(Text(), text);

  // One changed value changes its line alone.
  network_.elements[1].Rx = 0.25;
  ASSERT_TRUE(SaveNetworkFile(path_, network_, error_)) << error_;
  std::string expected = text;
  expected.replace(expected.find("Rx=  1.00m"), 10, "Rx=250.00m");
  EXPECT_EQ(Text(), expected);
  LadderNetwork again;
  ASSERT_TRUE(LoadNetworkFile(path_, again, error_)) << error_;
  EXPECT_EQ(again.elements[1].Rx, 0.25);
}

TEST_F(NetworkFile, NewFileReadsBackTheSameLadder) {
  network_.rg = 75.0;
  network_.rl = 300.0;
  network_.f = 12345.678;
  network_.turnedRound = true;
  network_.elements = {{ElementKind::Inductor, false, 1.2345678e-3, 0.031, 4.7e-12},
                       {ElementKind::Capacitor, true, 2.2e-9, 0.0, 1.0 / 3.0 * 1e-6}};
  ASSERT_TRUE(SaveNetworkFile(path_, network_, error_)) << error_;
  LadderNetwork back;
  ASSERT_TRUE(LoadNetworkFile(path_, back, error_)) << error_;
  EXPECT_EQ(back.rg, 75.0);
  EXPECT_EQ(back.rl, 300.0);
  EXPECT_EQ(back.f, 12345.678);
  EXPECT_TRUE(back.turnedRound);
  ASSERT_EQ(back.elements.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(back.elements[i].kind, network_.elements[i].kind);
    EXPECT_EQ(back.elements[i].shunt, network_.elements[i].shunt);
    EXPECT_EQ(back.elements[i].Lx, network_.elements[i].Lx);
    EXPECT_EQ(back.elements[i].Rx, network_.elements[i].Rx);
    EXPECT_EQ(back.elements[i].Cx, network_.elements[i].Cx);
  }
}

TEST(NetworkValueText, ShortestPrefixTextThatReadsBack) {
  struct Case {
    double x;
    const char* text;
  };
  // Values as read from their texts: what a file or an entry gives.
  const Case cases[] = {{1000.0, "1.00k"},
                        {ReadValue("159.15n"), "159.15n"},
                        {0.001, "1.00m"},
                        {ReadValue("1.2345678m"), "1.2345678m"},
                        {ReadValue("4.7p"), "4.70p"}};
  for (const Case& c : cases) EXPECT_EQ(NetworkValueText(c.x), c.text) << c.x;
  for (double x : {1.0 / 3.0, 2.0 / 3.0 * 1e-9, 0.0, 1e-25, 3e20, 123456789.0}) {
    EXPECT_EQ(ReadValue(NetworkValueText(x)), x) << NetworkValueText(x);
  }
}

// A ladder of two elements, good in every key; each case breaks one thing.
std::string GoodFile() {
  return "[Variablen]\nZo=50\nRG=50\nf=1k\nElemente=2\nSchaltung vertauscht=Nein\n"
         "[Element1]\nAnordnung=series\nTyp=L\nLx=1m\nRx=0\nCx=0\n"
         "[Element2]\nAnordnung=shunt\nTyp=C\nLx=0\nRx=0\nCx=1u\n";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos)
    ADD_FAILURE() << "no \"" << from << "\" in the file";
  else
    text.replace(at, from.size(), to);
  return text;
}

TEST_F(NetworkFile, BadFilesAreRefusedWithAMessage) {
  struct Case {
    const char* what;
    std::string text;
    const char* message;  // a part of the error
  };
  const Case cases[] = {
      {"good", GoodFile(), ""},
      {"empty file", "", "[Variablen] Zo is missing"},
      {"no load", Replace(GoodFile(), "Zo=50\n", ""), "[Variablen] Zo is missing"},
      {"no element kind", Replace(GoodFile(), "Typ=C\n", ""), "[Element2] Typ is missing"},
      {"no Rx", Replace(GoodFile(), "Lx=1m\nRx=0\n", "Lx=1m\n"), "[Element1] Rx is missing"},
      {"RG zero", Replace(GoodFile(), "RG=50", "RG=0"),
       "[Variablen] RG is 0; it must be above zero"},
      {"negative load", Replace(GoodFile(), "Zo=50", "Zo=-50"), "[Variablen] Zo is -50"},
      {"inductance zero", Replace(GoodFile(), "Lx=1m", "Lx=0"), "[Element1] Lx is 0"},
      {"capacitance zero", Replace(GoodFile(), "Cx=1u", "Cx=0"), "[Element2] Cx is 0"},
      {"negative parasitic", Replace(GoodFile(), "Rx=0\nCx=0", "Rx=-1\nCx=0"),
       "[Element1] Rx is -1; it must not be negative"},
      {"not a number", Replace(GoodFile(), "Cx=1u", "Cx=abc"),
       "[Element2] Cx is \"abc\", not a number"},
      {"number with rubbish after it", Replace(GoodFile(), "f=1k", "f=1k2x"),
       "[Variablen] f is \"1k2x\""},
      {"infinite", Replace(GoodFile(), "Zo=50", "Zo=1e999"), "not a number"},
      {"more elements than sections", Replace(GoodFile(), "Elemente=2", "Elemente=3"),
       "no section [Element3]"},
      {"no elements", Replace(GoodFile(), "Elemente=2", "Elemente=0"), "not a count"},
      {"count not whole", Replace(GoodFile(), "Elemente=2", "Elemente=1.5"), "not a count"},
      {"huge count", Replace(GoodFile(), "Elemente=2", "Elemente=1e9"), "not a count"},
      {"odd kind", Replace(GoodFile(), "Typ=L", "Typ=R"), "it must be L or C"},
      {"odd arrangement", Replace(GoodFile(), "Anordnung=shunt", "Anordnung=across"),
       "it must be series or shunt"},
      {"odd flag", Replace(GoodFile(), "vertauscht=Nein", "vertauscht=vielleicht"), "Ja or Nein"},
      {"binary", std::string("[Variablen]\n\x01\x02\x00", 15), "not a text file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Write(c.text);
    error_.clear();
    const bool read = LoadNetworkFile(path_, network_, error_);
    if (std::string(c.message).empty()) {
      EXPECT_TRUE(read) << error_;
    } else {
      EXPECT_FALSE(read);
      EXPECT_NE(error_.find(c.message), std::string::npos) << error_;
    }
  }
}

TEST_F(NetworkFile, MissingFileOrFolderIsAnError) {
  EXPECT_FALSE(LoadNetworkFile(path_, network_, error_));
  EXPECT_NE(error_.find("does not exist"), std::string::npos) << error_;
  EXPECT_FALSE(LoadNetworkFile(folder_.Root().string(), network_, error_));
  EXPECT_NE(error_.find("directory"), std::string::npos) << error_;
}

}  // namespace
}  // namespace morvane
