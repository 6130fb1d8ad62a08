#pragma once

// Numbers as printf writes them in the C locale, whatever locale the process runs under: the
// host (Qt on Linux) sets the locale from the environment, and printf would then write "1,5"
// under a German locale or a two-byte decimal sign under others. Every number text of the
// program is built from these.

#include <string>

namespace morvane {

// printf("%.*f", decimals, x).
std::string FixedText(double x, int decimals);
// printf("%.*E", decimals, x).
std::string ScientificText(double x, int decimals);
// printf("%.*g", significantDigits, x).
std::string GeneralText(double x, int significantDigits);

}  // namespace morvane
