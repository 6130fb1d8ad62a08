#pragma once

// The circuit file of a ladder: an INI text file, as the LC page exports it and the series
// and parallel circuits program saves it.
//
//   [Variablen]  Zo (the load RL), RG, f, Elemente (the element count),
//                "Schaltung vertauscht" (Ja: the elements are listed from the load)
//   [Element1] .. [ElementN]  Anordnung (series | shunt), Optimierung, Typ (L | C), Lx, Rx, Cx
//
// These key names are the file format. A save changes only the lines whose values changed and
// keeps every other line of the file as it was.

#include <string>

#include "files/ini_profile.h"
#include "network/ladder_network.h"

namespace morvane {

// The ladder of a parsed file. False with a message naming the section and key for a missing
// key, a value that is not a number, an element value that is not above zero, a parasitic
// below zero or an element count the sections do not hold.
bool ReadNetwork(const IniDocument& document, LadderNetwork& network, std::string& error);

// Loads and reads a file; a missing file is an error here.
bool LoadNetworkFile(const std::string& path, LadderNetwork& network, std::string& error);

// Puts the ladder into the document, touching only the keys whose values differ from it.
void WriteNetwork(const LadderNetwork& network, IniDocument& document);

// Writes the ladder into `path`, keeping the file's other lines (a new file when none is
// there).
bool SaveNetworkFile(const std::string& path, const LadderNetwork& network, std::string& error);

// The shortest value text with a prefix letter that reads back as the value ("159.15n",
// "1.00k"); what the file's values are written as.
std::string NetworkValueText(double x);

}  // namespace morvane
