#pragma once

// The user's op-amp file: parts added to the built-in table, or built-in parts with some of
// their values changed. An INI-like text, one section per part:
//
//   # comment lines start with # or ;
//   [MYAMP]              a new part: every key below but secondPole is needed
//   a0 = 200k            DC gain, V/V
//   gbw = 4M             gain-bandwidth product, Hz
//   secondPole = 30M     optional, Hz ("none": no second pole)
//   rout = 75            open-loop output resistance, ohms
//   cin = 3p             input capacitance, F
//   slewRate = 10M       V/s (10M is 10 V/us)
//   swing = 13           peak output swing about mid-supply, V
//   en = 12n             input voltage noise density, V/sqrt(Hz)
//   enCorner = 100       its 1/f corner, Hz (0: none)
//   in = 0.5p            input current noise density, A/sqrt(Hz)
//   inCorner = 200       its 1/f corner, Hz (0: none)
//
//   [TL072]              a built-in part: only the keys given change
//   gbw = 5.25M
//
// Keys and part names are matched without regard to letter case. Values are read as an
// entry field reads them (prefix letters p n u m k M G, either decimal sign), the same under
// every locale. a0, gbw, slewRate, swing and secondPole must be above 0, the others 0 or
// more. `ideal` cannot be changed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "opamp/opamp_model.h"

namespace morvane {

struct OpAmpFileError {
  int line = 0;  // 1-based
  std::string message;
};

// Applies the file's text to `table` (typically BuiltInOpAmps()): changed parts in place,
// new ones at the end in file order. On an error `table` is left as it was.
std::optional<OpAmpFileError> ApplyOpAmpFile(std::string_view text, std::vector<OpAmpModel>& table);

}  // namespace morvane
