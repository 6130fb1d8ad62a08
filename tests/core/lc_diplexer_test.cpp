#include "lc/lc_diplexer.h"
#include "design/recalculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "design/field_names.h"
#include "stage_test_support.h"

namespace morvane {
namespace {

using testing::RecordingSink;

const std::string kTP(field::StringAlignGridDiplexTP);
const std::string kHP(field::StringAlignGridDiplexHP);

std::string Cell(const RecordingSink& sink, const std::string& grid, int row, int column) {
  const std::string key = grid + "[" + std::to_string(row) + "][" + std::to_string(column) + "]";
  const auto it = sink.cells.find(key);
  return it == sink.cells.end() ? "<unwritten>" : it->second;
}

DesignChoices Choice(int order, bool chebyshev) {
  DesignChoices in;
  in.diplexerOrder = order;
  in.diplexerChebyshev = chebyshev;
  return in;
}

TEST(LcDiplexer, ButterworthThirdOrderAtOneKilohm) {
  DesignState s;
  s.Zin = 1000.0;
  s.fg = 1000.0;
  RecordingSink sink;
  Recalculate(ChangedEntry::Any, Topology::Diplexer, s, Choice(3, false), sink);

  struct Row {
    const std::string* grid;
    int row;
    const char* name;
    const char* value;
  };
  const Row rows[] = {
      {&kTP, 1, "L1", "238.73mH"}, {&kTP, 2, "C2", "212.21nF"}, {&kTP, 3, "L3", " 79.58mH"},
      {&kHP, 1, "C1", "106.10nF"}, {&kHP, 2, "L2", "119.37mH"}, {&kHP, 3, "C3", "318.31nF"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(*r.grid + " row " + std::to_string(r.row));
    EXPECT_EQ(Cell(sink, *r.grid, r.row, 0), r.name);
    EXPECT_EQ(Cell(sink, *r.grid, r.row, 1), r.value);
  }
  // The header is the start-up's, not the design's.
  EXPECT_EQ(Cell(sink, kTP, 0, 0), "<unwritten>");
}

TEST(LcDiplexer, ButterworthThirdOrderValues) {
  DesignState s;  // R = 1k, fg = 1k
  const auto lp = DiplexerElements(s, Choice(3, false), true);
  const auto hp = DiplexerElements(s, Choice(3, false), false);
  ASSERT_EQ(lp.size(), 3u);
  ASSERT_EQ(hp.size(), 3u);
  struct Expected {
    char kind;
    double value;
    bool shunt;
  };
  const Expected lpWant[] = {
      {'L', 238.73e-3, false}, {'C', 212.21e-9, true}, {'L', 79.58e-3, false}};
  const Expected hpWant[] = {
      {'C', 106.10e-9, false}, {'L', 119.37e-3, true}, {'C', 318.31e-9, false}};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k + 1);
    EXPECT_EQ(lp[k].kind, lpWant[k].kind);
    EXPECT_EQ(lp[k].shunt, lpWant[k].shunt);
    EXPECT_NEAR(lp[k].value / lpWant[k].value, 1.0, 1e-4);
    EXPECT_EQ(hp[k].kind, hpWant[k].kind);
    EXPECT_EQ(hp[k].shunt, hpWant[k].shunt);
    EXPECT_NEAR(hp[k].value / hpWant[k].value, 1.0, 1e-4);
  }
}

TEST(LcDiplexer, LowerOrderBlanksTheRowsBeyondIt) {
  DesignState s;
  RecordingSink sink;
  Recalculate(ChangedEntry::Any, Topology::Diplexer, s, Choice(9, false), sink);
  for (const auto* grid : {&kTP, &kHP}) {
    EXPECT_NE(Cell(sink, *grid, 9, 0), " ");
    EXPECT_NE(Cell(sink, *grid, 9, 1), " ");
  }
  EXPECT_EQ(Cell(sink, kTP, 9, 0), "L9");
  EXPECT_EQ(Cell(sink, kHP, 8, 0), "L8");

  Recalculate(ChangedEntry::Any, Topology::Diplexer, s, Choice(3, false), sink);
  for (const auto* grid : {&kTP, &kHP}) {
    EXPECT_EQ(Cell(sink, *grid, 3, 0).size(), 2u) << *grid;
    for (int row = 4; row <= 9; ++row) {
      SCOPED_TRACE(*grid + " row " + std::to_string(row));
      EXPECT_EQ(Cell(sink, *grid, row, 0), " ");
      EXPECT_EQ(Cell(sink, *grid, row, 1), " ");
    }
    // Row 9 is the last one of the ten-row grid.
    EXPECT_EQ(Cell(sink, *grid, 10, 0), "<unwritten>");
  }
}

TEST(LcDiplexer, EveryOrderFillsExactlyItsRows) {
  for (bool chebyshev : {false, true}) {
    for (int n : {3, 5, 7, 9}) {
      SCOPED_TRACE((chebyshev ? "Chebyshev " : "Butterworth ") + std::to_string(n));
      DesignState s;
      RecordingSink sink;
      Recalculate(ChangedEntry::Any, Topology::Diplexer, s, Choice(n, chebyshev), sink);
      for (const auto* grid : {&kTP, &kHP}) {
        const bool lowpass = grid == &kTP;
        for (int row = 1; row <= 9; ++row) {
          if (row <= n) {
            const bool series = row % 2 == 1;
            const char kind = (series == lowpass) ? 'L' : 'C';
            EXPECT_EQ(Cell(sink, *grid, row, 0), std::string(1, kind) + std::to_string(row));
            EXPECT_NE(Cell(sink, *grid, row, 1), " ");
          } else {
            EXPECT_EQ(Cell(sink, *grid, row, 0), " ");
            EXPECT_EQ(Cell(sink, *grid, row, 1), " ");
          }
        }
      }
    }
  }
}

// Only 3, 5, 7 and 9 are offered; anything else must still read a row of the table.
TEST(LcDiplexer, OrdersOutsideTheChoiceStayInTheTable) {
  const struct {
    int asked;
    std::size_t given;
  } cases[] = {{0, 3}, {4, 3}, {8, 7}, {11, 9}, {-5, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.asked);
    EXPECT_EQ(DiplexerElements(DesignState{}, Choice(c.asked, true), true).size(), c.given);
  }
}

// Over the whole entry range every value is finite and positive, and no text shows nan/inf.
TEST(LcDiplexer, EveryDesignGivesFinitePositiveValues) {
  const double resistances[] = {0.1, 50.0, 1000.0, 1e9};
  const double frequencies[] = {0.001, 1000.0, 2e9};
  for (bool chebyshev : {false, true}) {
    for (int n : {3, 5, 7, 9}) {
      for (double R : resistances) {
        for (double fg : frequencies) {
          SCOPED_TRACE(::testing::Message()
                       << chebyshev << " n=" << n << " R=" << R << " fg=" << fg);
          DesignState s;
          s.Zin = R;
          s.fg = fg;
          const DesignChoices in = Choice(n, chebyshev);
          for (bool lowpass : {true, false}) {
            const auto elements = DiplexerElements(s, in, lowpass);
            ASSERT_EQ(elements.size(), static_cast<std::size_t>(n));
            for (const auto& e : elements) {
              EXPECT_TRUE(std::isfinite(e.value));
              EXPECT_GT(e.value, 0.0);
            }
          }
          RecordingSink sink;
          Recalculate(ChangedEntry::Any, Topology::Diplexer, s, in, sink);
          for (const auto& [cell, text] : sink.cells) {
            EXPECT_EQ(text.find("nan"), std::string::npos) << cell << " " << text;
            EXPECT_EQ(text.find("inf"), std::string::npos) << cell << " " << text;
            EXPECT_FALSE(text.empty()) << cell;
          }
        }
      }
    }
  }
}

TEST(LcDiplexer, ValuesScaleWithResistanceAndFrequency) {
  for (bool chebyshev : {false, true}) {
    for (int n : {3, 5, 7, 9}) {
      const DesignChoices in = Choice(n, chebyshev);
      DesignState base;
      base.Zin = 600.0;
      base.fg = 3000.0;
      DesignState doubledF = base;
      doubledF.fg *= 2.0;
      DesignState doubledR = base;
      doubledR.Zin *= 2.0;
      for (bool lowpass : {true, false}) {
        const auto a = DiplexerElements(base, in, lowpass);
        const auto f2 = DiplexerElements(doubledF, in, lowpass);
        const auto r2 = DiplexerElements(doubledR, in, lowpass);
        for (std::size_t k = 0; k < a.size(); ++k) {
          SCOPED_TRACE(::testing::Message() << n << " " << lowpass << " k=" << k + 1);
          EXPECT_NEAR(f2[k].value / a[k].value, 0.5, 1e-12);
          // Inductors scale with R, capacitors with 1/R.
          EXPECT_NEAR(r2[k].value / a[k].value, a[k].kind == 'L' ? 2.0 : 0.5, 1e-12);
        }
      }
    }
  }
}

TEST(LcDiplexer, DoublingFgHalvesTheShownValues) {
  DesignState s;
  RecordingSink sink;
  s.fg = 2000.0;
  Recalculate(ChangedEntry::Any, Topology::Diplexer, s, Choice(3, false), sink);
  EXPECT_EQ(Cell(sink, kTP, 1, 1), "119.37mH");
  EXPECT_EQ(Cell(sink, kTP, 3, 1), " 39.79mH");
  EXPECT_EQ(Cell(sink, kHP, 3, 1), "159.15nF");
}

// The prototype rows are the values of the fixed table, zero beyond the order.
TEST(LcDiplexer, PrototypeTableRows) {
  struct Case {
    int row;
    int order;
    double g1;
    double gn;
  };
  const Case cases[] = {{0, 3, 1.5, 0.5},         {1, 5, 1.54509, 0.30902},
                        {2, 7, 1.55765, 0.22252}, {3, 9, 1.56284, 0.17365},
                        {4, 3, 1.51328, 0.71642}, {5, 5, 1.56126, 0.65065},
                        {6, 7, 1.57477, 0.63075}, {7, 9, 1.58037, 0.62232}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    const auto& g = DiplexerG[static_cast<std::size_t>(c.row)];
    EXPECT_EQ(g[0], c.g1);
    EXPECT_EQ(g[static_cast<std::size_t>(c.order - 1)], c.gn);
    for (std::size_t k = static_cast<std::size_t>(c.order); k < g.size(); ++k) EXPECT_EQ(g[k], 0.0);
  }
}

// Vin/Vout of a prototype row driven from an ideal source and loaded with 1 ohm, as
// polynomial coefficients in s (lowest first): odd g series inductors, even g shunt
// capacitors, built from the load back to the source.
std::vector<double> SourceToLoadPolynomial(const std::array<double, 10>& g, int n) {
  std::vector<double> v{1.0}, i{1.0};
  const auto addTimesS = [](std::vector<double>& to, const std::vector<double>& from, double k) {
    if (to.size() < from.size() + 1) to.resize(from.size() + 1, 0.0);
    for (std::size_t j = 0; j < from.size(); ++j) to[j + 1] += k * from[j];
  };
  for (int k = n; k >= 1; --k) {
    const double gk = g[static_cast<std::size_t>(k - 1)];
    if (k % 2 == 1) {
      addTimesS(v, i, gk);
    } else {
      addTimesS(i, v, gk);
    }
  }
  return v;
}

// Butterworth polynomial from its poles on the unit circle.
std::vector<double> ButterworthPolynomial(int n) {
  std::vector<double> p{1.0};
  const auto multiply = [&p](std::vector<double> factor) {
    std::vector<double> r(p.size() + factor.size() - 1, 0.0);
    for (std::size_t a = 0; a < p.size(); ++a)
      for (std::size_t b = 0; b < factor.size(); ++b) r[a + b] += p[a] * factor[b];
    p = r;
  };
  for (int k = 0; k < n / 2; ++k) {
    multiply({1.0, 2.0 * std::sin((2 * k + 1) * std::numbers::pi / (2 * n)), 1.0});
  }
  if (n % 2 == 1) multiply({1.0, 1.0});
  return p;
}

// Each Butterworth row realises 1/B_n(s) to the table's five decimals; a mistyped value
// shows up as a coefficient off by far more.
TEST(LcDiplexer, ButterworthRowsRealiseTheButterworthPolynomial) {
  for (int n : {3, 5, 7, 9}) {
    SCOPED_TRACE(n);
    const auto d = SourceToLoadPolynomial(DiplexerG[static_cast<std::size_t>((n - 3) / 2)], n);
    const auto b = ButterworthPolynomial(n);
    ASSERT_EQ(d.size(), b.size());
    for (std::size_t j = 0; j < b.size(); ++j) EXPECT_NEAR(d[j] / b[j], 1.0, 5e-5) << "s^" << j;
  }
}

// Both approximations are 3 dB down at 1 rad/s (|Vin/Vout|^2 = 2), so the branches cross
// over at fg; the Chebyshev rows dip no more than their 0.1 dB ripple below 1 rad/s.
TEST(LcDiplexer, PrototypeRowsAreThreeDecibelsDownAtTheEdge) {
  const auto gain = [](const std::vector<double>& d, double w) {
    std::complex<double> sum = 0.0, s{0.0, w}, power = 1.0;
    for (double c : d) {
      sum += c * power;
      power *= s;
    }
    return 1.0 / std::abs(sum);
  };
  for (int row = 0; row < 8; ++row) {
    const int n = 3 + 2 * (row % 4);
    SCOPED_TRACE(::testing::Message() << "row " << row << " n=" << n);
    const auto d = SourceToLoadPolynomial(DiplexerG[static_cast<std::size_t>(row)], n);
    EXPECT_NEAR(20.0 * std::log10(gain(d, 1.0)), -3.0103, 0.001);
    if (row < 4) continue;  // the Butterworth shape is checked above
    double worst = 0.0;
    for (double w = 0.0; w <= 0.6; w += 0.001) worst = std::min(worst, 20 * std::log10(gain(d, w)));
    EXPECT_GT(worst, -0.1001);
    EXPECT_LT(worst, -0.0999);  // the ripple is reached, not a flatter shape
  }
}

}  // namespace
}  // namespace morvane
