#pragma once

// What the recalculation reads besides DesignState: the checked filter type, the check
// boxes and LC choices of the pages, and the raw texts of the entries the designs read
// back themselves. Members carry the names of their controls.

#include <string>

#include "design/design_state.h"

namespace morvane {

struct RecalcInputs {
  FilterType type = FilterType::Lowpass;

  bool CCheckBox1 = true;   // MFB: try equal capacitors
  bool CCheckBox2 = true;   // PFB: try equal capacitors (not read by the design)
  bool RCheckBox2 = true;   // PFB: offset compensation with R3 and R4
  bool CCheckBox3 = true;   // SVF 3 op amps: calculate capacitances automatically
  bool CCheckBox4 = true;   // SVF 4 op amps: calculate capacitances automatically
  bool CCheckBox5 = true;   // Fliege: calculate capacitances automatically

  bool RadioButtonTscheb = false;   // LC ladder: Chebyshev instead of Butterworth
  int diplexerOrder = 3;            // 3, 5, 7 or 9
  bool RadioButtonTscheb2 = false;  // diplexer: Chebyshev instead of Butterworth

  std::string R32Eingabe;   // PFB resistance R3
  std::string q2Eingabe;    // PFB ratio fn/fo
  std::string C12Eingabe3;  // SVF 3 op amps capacitance
  std::string C12Eingabe4;  // SVF 4 op amps capacitance
  std::string C12Eingabe5;  // Fliege capacitance
};

}  // namespace morvane
