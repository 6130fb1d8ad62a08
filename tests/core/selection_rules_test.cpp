// The tables behind topology and filter-type switches.

#include <gtest/gtest.h>

#include <string>

#include "design/selection_rules.h"

namespace morvane {
namespace {

constexpr FilterType kTypes[] = {FilterType::Lowpass,  FilterType::Highpass,
                                 FilterType::Bandpass, FilterType::Bandstop,
                                 FilterType::Allpass,  FilterType::EllipticLowpass};

TEST(SelectionRules, OfferedTypesPerTopology) {
  // Lowpass, highpass, bandpass, bandstop, allpass, elliptical lowpass.
  const struct {
    Topology topology;
    const char* offered;
  } cases[] = {
      {Topology::Mfb, "LHB---"},      {Topology::Pfb, "LHBSAE"},    {Topology::Svf3, "LHB---"},
      {Topology::Svf4, "LHBS--"},     {Topology::Fliege, "LHBSA-"}, {Topology::LcLadder, "LH----"},
      {Topology::Diplexer, "LH----"},
  };
  for (const auto& c : cases) {
    std::string offered;
    for (std::size_t i = 0; i < std::size(kTypes); ++i) {
      offered += OffersType(c.topology, kTypes[i]) ? "LHBSAE"[i] : '-';
    }
    EXPECT_EQ(offered, c.offered) << static_cast<int>(c.topology);
  }
}

TEST(SelectionRules, FrequencyLabelsFollowTheType) {
  const struct {
    FilterType type;
    const char* fg;
    const char* fgHint;
    const char* fo;
  } cases[] = {
      {FilterType::Lowpass, "Cut-Off Frequency fc", "3dB drop", "Resonance Frequency fo"},
      {FilterType::EllipticLowpass, "Cut-Off Frequency fc", "3dB drop", "Resonance Frequency fo"},
      {FilterType::Highpass, "Cut-Off Frequency fc", "3dB drop", "Resonance Frequency fo"},
      {FilterType::Bandpass, "Center Frequency fm", "Resonance frequency", "Bandwidth B"},
      {FilterType::Bandstop, "Center Frequency fm", "Resonance frequency", "Bandwidth B"},
      {FilterType::Allpass, "Cut-Off Frequency fc", "Frequency for 90° phase shift",
       "Resonance Frequency fo"},
  };
  for (const auto& c : cases) {
    const FrequencyLabels labels = FrequencyLabelsFor(c.type);
    EXPECT_EQ(labels.fgCaption, c.fg);
    EXPECT_EQ(labels.fgHint, c.fgHint);
    EXPECT_EQ(labels.foCaption, c.fo);
  }
}

TEST(SelectionRules, DiagramsPerTypeAndPicture) {
  // Image1, Image2, Image5, ImageLC; "." leaves the picture as it was.
  const struct {
    FilterType type;
    const char* names[4];
  } cases[] = {
      {FilterType::Lowpass, {"mfbtp", "pfbtp", "f2optp", "lctp"}},
      {FilterType::EllipticLowpass, {"mfbtp", "pfbelltp", "f2optp", "."}},
      {FilterType::Highpass, {"mfbhp", "pfbhp", "f2ophp", "lchp"}},
      {FilterType::Bandpass, {"mfbbp", "pfbbp", "f2opbp", "lctp"}},
      {FilterType::Bandstop, {".", "pfbbs", "f2opbs", "lctp"}},
      {FilterType::Allpass, {".", "pfbap", "f2opap", "."}},
  };
  const DiagramPlace places[] = {DiagramPlace::Mfb, DiagramPlace::Pfb, DiagramPlace::Fliege,
                                 DiagramPlace::LcLadder};
  for (const auto& c : cases) {
    for (int i = 0; i < 4; ++i) {
      const std::string_view name = DiagramFor(places[i], c.type);
      EXPECT_EQ(name.empty() ? "." : std::string(name), c.names[i]) << i;
    }
  }
}

TEST(SelectionRules, InputRowsPerTopology) {
  const struct {
    Topology topology;
    bool chebyshev;
    bool quality, gain, damping, loadUnit, proposal;
    const char* gainCaption;
    const char* gainUnit;
    const char* dampingCaption;
  } cases[] = {
      {Topology::Mfb, false, true, true, true, false, true, "Gain |Vo|", " ", "Damping D=1/2Q"},
      {Topology::Fliege, true, true, true, true, false, true, "Gain |Vo|", " ", "Damping D=1/2Q"},
      {Topology::LcLadder, false, false, false, true, true, false, "Riple", " ",
       "Load Impedance ZL"},
      {Topology::LcLadder, true, false, true, true, true, false, "Riple", "dB",
       "Load Impedance ZL"},
      // The ripple unit must not stay behind when the diplexer hides the ripple row.
      {Topology::Diplexer, true, false, false, false, false, false, "Gain |Vo|", " ",
       "Damping D=1/2Q"},
  };
  for (const auto& c : cases) {
    const InputRows rows = InputRowsFor(c.topology, c.chebyshev);
    SCOPED_TRACE(static_cast<int>(c.topology));
    EXPECT_EQ(rows.quality, c.quality);
    EXPECT_EQ(rows.gain, c.gain);
    EXPECT_EQ(rows.damping, c.damping);
    EXPECT_EQ(rows.loadUnit, c.loadUnit);
    EXPECT_EQ(rows.proposal, c.proposal);
    EXPECT_EQ(rows.gainCaption, c.gainCaption);
    EXPECT_EQ(rows.gainUnit, c.gainUnit);
    EXPECT_EQ(rows.dampingCaption, c.dampingCaption);
  }
}

}  // namespace
}  // namespace morvane
