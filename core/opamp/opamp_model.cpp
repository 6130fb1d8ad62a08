#include "opamp/opamp_model.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>

namespace morvane {

namespace {

constexpr double kInfinite = std::numeric_limits<double>::infinity();
constexpr double kNoSecondPole = 0.0;

// One row of the built-in table, in SI units. Values are the datasheet's typical ones at
// its usual supply: +/-15 V for the split-supply parts (swing into 2 kOhm), 5 V for the
// single-supply CMOS parts (swing: half the supply less the output's headroom). en and in
// are the white (high-frequency) floors; the corner is where the 1/f part reaches the
// floor, read off the noise curve or worked out from the 10 Hz and 1 kHz figures. Where a
// datasheet gives no open-loop output resistance or input capacitance, the row has the
// usual figure of its input stage and output stage, marked "Rout/Cin est." in its comment;
// a corner of 0 means the datasheet shows no 1/f rise. No datasheet here gives a second
// pole as a number, so none of the rows has one; a user file can add it.
struct OpAmpRow {
  std::string_view name;
  double a0, gbw, secondPole, rout, cin, slewRate, swing, en, enCorner, in, inCorner;
};

// clang-format off
constexpr std::array kRows{
  // Infinite gain and bandwidth, noiseless: the resistors' noise alone.
  OpAmpRow{"ideal", kInfinite, kInfinite, kNoSecondPole, 0, 0, kInfinite, kInfinite, 0, 0, 0, 0},
  // ADI AD797 data sheet, Rev. J. Rout/Cin est.
  OpAmpRow{"AD797", 20e6, 110e6, kNoSecondPole, 3, 20e-12, 20e6, 13.0, 0.9e-9, 10, 2e-12, 100},
  // ADI AD8065 data sheet, Rev. J; swing at +/-12 V (24 V at most). Rout est.
  OpAmpRow{"AD8065", 4.5e5, 65e6, kNoSecondPole, 10, 2.1e-12, 180e6, 11.9, 7e-9, 1000, 0.6e-15, 0},
  // ADI AD8620 data sheet, revision not checked; swing at +/-13 V into 1 kOhm. Rout est.
  OpAmpRow{"AD8620", 2e5, 25e6, kNoSecondPole, 20, 8e-12, 60e6, 11.8, 6e-9, 1000, 5e-15, 0},
  // ADI ADA4898-1 data sheet, Rev. B. Rout/Cin est.
  OpAmpRow{"ADA4898", 9e4, 65e6, kNoSecondPole, 5, 5e-12, 55e6, 13.7, 0.9e-9, 8, 2.4e-12, 100},
  // TI SLOS066AE (LM324), 2025. Rout/Cin est.
  OpAmpRow{"LM324", 1e5, 1.2e6, kNoSecondPole, 100, 3e-12, 0.5e6, 13.5, 35e-9, 100, 0.1e-12, 0},
  // TI SLOS068AB (LM358), 2024. Rout/Cin est.
  OpAmpRow{"LM358", 1e5, 0.7e6, kNoSecondPole, 100, 3e-12, 0.3e6, 13.5, 40e-9, 100, 0.1e-12, 0},
  // TI SNOSC25D (LM741), 2015. Rout/Cin and noise est. (the datasheet gives none).
  OpAmpRow{"LM741", 2e5, 1e6, kNoSecondPole, 75, 1.4e-12, 0.5e6, 13.0, 20e-9, 200, 0.5e-12, 200},
  // TI SNOS674J (LMC6482), 2024; swing at 5 V. Rout/Cin est.
  OpAmpRow{"LMC6482", 3.16e6, 1.5e6, kNoSecondPole, 100, 3e-12, 1.3e6, 2.48, 37e-9, 1000, 3e-15, 0},
  // TI SNAS393D (LME49720), 2016. Cin est.
  OpAmpRow{"LME49720", 1e7, 55e6, kNoSecondPole, 13, 3e-12, 20e6, 13.6, 2.7e-9, 60, 1.6e-12, 100},
  // ADI (Linear Technology) LT1007 data sheet, revision not checked. Cin est.
  OpAmpRow{"LT1007", 2e7, 8e6, kNoSecondPole, 70, 4e-12, 2.5e6, 13.0, 2.5e-9, 2, 0.4e-12, 100},
  // ADI (Linear Technology) LT1028 data sheet, Rev. C (1028fc). Rout/Cin est.
  OpAmpRow{"LT1028", 3e7, 75e6, kNoSecondPole, 80, 5e-12, 15e6, 12.7, 0.85e-9, 3.5, 1e-12, 210},
  // Microchip DS20001733L (MCP6002); swing at 5 V. Rout est.
  OpAmpRow{"MCP6002", 4e5, 1e6, kNoSecondPole, 200, 6e-12, 0.6e6, 2.475, 28e-9, 1000, 0.6e-15, 0},
  // Microchip DS20001685E (MCP6022), 2017; swing at 5 V. Rout est.
  OpAmpRow{"MCP6022", 2.5e5, 10e6, kNoSecondPole, 50, 6e-12, 7e6, 2.48, 8.7e-9, 2000, 3e-15, 0},
  // TI SLOS075K (NE5532), 2025. Rout/Cin est.
  OpAmpRow{"NE5532", 1e5, 10e6, kNoSecondPole, 50, 3e-12, 9e6, 13.0, 5e-9, 100, 0.7e-12, 200},
  // TI SLOS070D (NE5534), 2014. Rout/Cin est.
  OpAmpRow{"NE5534", 1e5, 10e6, kNoSecondPole, 50, 3e-12, 13e6, 13.0, 3.5e-9, 100, 0.4e-12, 200},
  // ADI OP07 data sheet, revision not checked; Rout 60 Ohm from the datasheet. Cin est.
  OpAmpRow{"OP07", 4e5, 0.6e6, kNoSecondPole, 60, 3e-12, 0.3e6, 12.8, 9.6e-9, 10, 0.12e-12, 50},
  // ADI OP27 data sheet, Rev. H; Rout 70 Ohm, en corner 2.7 Hz from the datasheet. Cin est.
  OpAmpRow{"OP27", 1.8e6, 8e6, kNoSecondPole, 70, 3e-12, 2.8e6, 13.8, 3e-9, 2.7, 0.4e-12, 170},
  // ADI OP37 data sheet, Rev. B, 2002 (stable for gains of 5 and more). Cin est.
  OpAmpRow{"OP37", 1.8e6, 63e6, kNoSecondPole, 70, 3e-12, 17e6, 13.8, 3e-9, 2.7, 0.4e-12, 170},
  // TI SBOS450C (OPA1611, OPA1612), 2014. Rout/Cin est.
  OpAmpRow{"OPA1612", 3.16e6, 40e6, kNoSecondPole, 20, 2e-12, 27e6, 14.4, 1.1e-9, 10, 1.7e-12, 100},
  // TI SBOS484D (OPA1641, OPA1642, OPA1644), 2016. Rout est.
  OpAmpRow{"OPA1642", 2e6, 11e6, kNoSecondPole, 50, 2e-12, 20e6, 14.8, 5.1e-9, 100, 0.8e-15, 0},
  // TI SBOS901C (OPA1655, OPA1656), 2022. Rout est.
  OpAmpRow{"OPA1656", 3e6, 53e6, kNoSecondPole, 20, 4e-12, 24e6, 14.9, 2.9e-9, 1200, 6e-15, 0},
  // TI SBOS377L (OPA211, OPA2211), 2020. Rout/Cin est.
  OpAmpRow{"OPA211", 3.16e6, 45e6, kNoSecondPole, 20, 2e-12, 27e6, 14.8, 1.1e-9, 20, 1.7e-12, 100},
  // TI SBOS058B (OPA134, OPA2134, OPA4134), 2024. Rout est.
  OpAmpRow{"OPA2134", 1e6, 8e6, kNoSecondPole, 50, 2e-12, 20e6, 13.5, 8e-9, 200, 3e-15, 0},
  // TI SBOS079A (OPA277, OPA2277, OPA4277), 2005. Rout/Cin est.
  OpAmpRow{"OPA2277", 5e6, 1e6, kNoSecondPole, 100, 3e-12, 0.8e6, 14.0, 8e-9, 10, 0.2e-12, 100},
  // TI SBOS099D (OPA350), 2015; swing at 5 V. Rout and en corner est.
  OpAmpRow{"OPA350", 1.26e6, 38e6, kNoSecondPole, 20, 6.5e-12, 22e6, 2.49, 5e-9, 1000, 4e-15, 0},
  // TI SBOS165A (OPA627, OPA637), 2015. Rout est.
  OpAmpRow{"OPA627", 1e6, 16e6, kNoSecondPole, 55, 8e-12, 55e6, 12.5, 4.5e-9, 100, 1.6e-15, 0},
  // TI SLOS080W (TL071, TL072, TL074), 2025: the TL07xC values. Rout/Cin est.
  OpAmpRow{"TL072", 2e5, 3e6, kNoSecondPole, 100, 3e-12, 13e6, 13.5, 18e-9, 100, 10e-15, 0},
  // TI SLOS081O (TL081, TL082, TL084), 2025: the TL08xC values. Rout/Cin est.
  OpAmpRow{"TL082", 2e5, 3e6, kNoSecondPole, 100, 3e-12, 13e6, 13.5, 25e-9, 100, 10e-15, 0},
  // TI SLOS190H (TLC2272), 2016; swing at +/-5 V. Rout/Cin est.
  OpAmpRow{"TLC2272", 3.5e4, 2.25e6, kNoSecondPole, 140, 8e-12, 3.6e6, 4.85, 9e-9, 300, 0.6e-15, 0},
  // TI SBOS839K (TLV9061, TLV9062, TLV9064), 2024; swing at 5 V. Rout est.
  OpAmpRow{"TLV9062", 5.6e5, 10e6, kNoSecondPole, 100, 2e-12, 6.5e6, 2.48, 10e-9, 1560, 23e-15, 0},
};
// clang-format on

OpAmpModel FromRow(const OpAmpRow& row) {
  OpAmpModel m;
  m.name = std::string(row.name);
  m.dcGain = row.a0;
  m.gainBandwidth = row.gbw;
  if (row.secondPole != kNoSecondPole) m.secondPole = row.secondPole;
  m.outputResistance = row.rout;
  m.inputCapacitance = row.cin;
  m.slewRate = row.slewRate;
  m.outputSwing = row.swing;
  m.voltageNoiseDensity = row.en;
  m.voltageNoiseCorner = row.enCorner;
  m.currentNoiseDensity = row.in;
  m.currentNoiseCorner = row.inCorner;
  return m;
}

}  // namespace

bool OpAmpModel::IsIdeal() const {
  return std::isinf(dcGain) && std::isinf(gainBandwidth) && voltageNoiseDensity == 0.0 &&
         currentNoiseDensity == 0.0;
}

const std::vector<OpAmpModel>& BuiltInOpAmps() {
  static const std::vector<OpAmpModel> table = [] {
    std::vector<OpAmpModel> models;
    models.reserve(kRows.size());
    for (const OpAmpRow& row : kRows) models.push_back(FromRow(row));
    return models;
  }();
  return table;
}

bool SameOpAmpName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::optional<OpAmpModel> FindOpAmp(const std::vector<OpAmpModel>& table, std::string_view name) {
  for (const OpAmpModel& m : table) {
    if (SameOpAmpName(m.name, name)) return m;
  }
  return std::nullopt;
}

}  // namespace morvane
