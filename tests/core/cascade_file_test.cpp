// A cascade's entries go through the design file bit for bit, a value that cannot be read is
// named and leaves the default, and the parts list names every part of every section.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "cascade/cascade_file.h"
#include "cascade/parts_list.h"

namespace morvane {
namespace {

bool SameRequest(const CascadeRequest& a, const CascadeRequest& b) {
  return a.approximation == b.approximation && a.kind == b.kind && a.order == b.order &&
         a.fg == b.fg && a.fm == b.fm && a.bandwidth == b.bandwidth && a.rippleDb == b.rippleDb &&
         a.stopbandDb == b.stopbandDb && a.gain == b.gain && a.split == b.split &&
         a.sectionOrder == b.sectionOrder && a.topology == b.topology &&
         a.sectionTopologies == b.sectionTopologies && a.circuit.zin == b.circuit.zin &&
         a.circuit.seriesR == b.circuit.seriesR && a.circuit.seriesC == b.circuit.seriesC &&
         a.circuit.roundResistors == b.circuit.roundResistors &&
         a.circuit.bestValues == b.circuit.bestValues && a.stopbandHz == b.stopbandHz;
}

TEST(CascadeFile, EntriesComeBackBitForBit) {
  CascadeEntries a;
  a.request.approximation = Approximation::Elliptic;
  a.request.kind = FilterKind::Bandstop;
  a.request.order = 7;
  a.request.fg = 1.0 / 3.0;
  a.request.fm = 12345.678901234567;
  a.request.bandwidth = std::nextafter(100.0, 200.0);
  a.request.rippleDb = 0.1;
  a.request.stopbandDb = 77.7;
  a.request.gain = 1e-7;
  a.request.split = GainSplit::Equal;
  a.request.sectionOrder = {2, 0, 1};
  a.request.topology = Topology::Svf4;
  a.request.sectionTopologies = {std::nullopt, Topology::Pfb, std::nullopt};
  a.request.circuit = {
      .zin = 4.7e3, .seriesR = 5, .seriesC = 2, .roundResistors = true, .bestValues = true};
  a.request.stopbandHz = 2.5e-300;
  a.useScheme = true;
  a.scheme = {19999.999999999996, 0.25, 24e3, 96.5};
  CascadeEntries b;  // the defaults, including no section order or topologies
  CascadeEntries c;  // a section order as typed, naming no section and one beyond the last
  c.request.sectionOrder = {-1, 999, 235};
  for (const CascadeEntries& entries : {a, b, c}) {
    IniDocument document;
    PutCascadeEntries(document, entries);
    const auto parsed = IniDocument::Parse(document.Text(), nullptr);
    ASSERT_TRUE(parsed);
    std::vector<std::string> unreadable;
    const auto read = TakeCascadeEntries(*parsed, unreadable);
    ASSERT_TRUE(read);
    EXPECT_TRUE(unreadable.empty());
    EXPECT_TRUE(SameRequest(read->request, entries.request)) << document.Text();
    EXPECT_EQ(read->useScheme, entries.useScheme);
    EXPECT_EQ(read->scheme.f1, entries.scheme.f1);
    EXPECT_EQ(read->scheme.d2, entries.scheme.d2);
    EXPECT_TRUE(SameRequest(RequestOf(*read).scheme ? RequestOf(*read) : read->request,
                            RequestOf(entries).scheme ? RequestOf(entries) : entries.request));
  }
}

TEST(CascadeFile, UnreadableValuesAreNamedAndKeepTheDefault) {
  const std::string text =
      "[Variablen]\nfg=1000\n[Cascade]\norder=abc\nfg=1,5k\napproximation=cauer\n"
      "topology=auto\nsectionTopologies=,xyz\ngain=nan\nseriesR=E192\nuseScheme=2\n"
      "sectionOrder=1,x\ntype=Highpass\n";
  const auto document = IniDocument::Parse(text, nullptr);
  ASSERT_TRUE(document);
  std::vector<std::string> unreadable;
  const auto read = TakeCascadeEntries(*document, unreadable);
  ASSERT_TRUE(read);
  const CascadeEntries defaults;
  EXPECT_EQ(read->request.order, defaults.request.order);
  EXPECT_EQ(read->request.fg, defaults.request.fg);
  EXPECT_EQ(read->request.gain, defaults.request.gain);
  EXPECT_EQ(read->request.kind, FilterKind::Highpass);  // names in any letter case
  std::string all;
  for (const std::string& line : unreadable) all += line + "\n";
  for (const char* key : {"order=abc", "fg=1,5k", "approximation=cauer", "sectionTopologies=",
                          "gain=nan", "seriesR=E192", "useScheme=2", "sectionOrder=1,x"}) {
    EXPECT_NE(all.find(std::string("Cascade ") + key), std::string::npos) << key << "\n" << all;
  }
  EXPECT_EQ(unreadable.size(), 8u);
  std::vector<std::string> none;
  EXPECT_FALSE(TakeCascadeEntries(*IniDocument::Parse("[Variablen]\nfg=1\n", nullptr), none));
}

TEST(PartsList, EveryPartOfEverySectionWithItsSeries) {
  CascadeRequest r;
  r.order = 5;
  r.circuit = {.zin = 10e3, .seriesR = 4, .seriesC = 1};
  const CascadeDesign d = DesignCascade(r);
  ASSERT_EQ(d.problem, "");
  const std::string csv = PartsListCsv(d, r.circuit);
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "reference,value,value_si,series,section,kind");
  std::size_t rows = 0, parts = 0;
  for (const CascadeSection& s : d.sections) parts += s.circuit.circuit.parts.size();
  while (std::getline(lines, line)) {
    ++rows;
    const bool capacitor = line[0] == 'C';
    // Sallen-Key and RC sections take their capacitors from the series and compute resistors.
    EXPECT_NE(line.find(capacitor ? ",E6," : ",computed,"), std::string::npos) << line;
    EXPECT_NE(line.find(capacitor ? ",capacitor" : ",resistor"), std::string::npos) << line;
  }
  EXPECT_EQ(rows, parts);
  EXPECT_NE(csv.find("R1_3,"), std::string::npos);
}

}  // namespace
}  // namespace morvane
