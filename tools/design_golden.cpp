// design_golden: the safety net under changes that must not change what the program shows.
//
// Runs morvane-cli in-process on a fixed grid of designs (`design --json` for every topology,
// type, series, check box, manual capacitance, LC order and approximation, diplexer order,
// entries at and beyond their limits and unreadable texts) and on a few hundred `curve`
// commands, and walks seeded sequences of window actions through a design session. Each run's
// output (stdout, stderr, exit code; for a walk every field, grid, state value, beep, message
// and notice after each action) is hashed.
//
//   design_golden --write FILE   record the hashes
//   design_golden --check FILE   compare with a recording; exit 1 naming what differs
//   design_golden --dump FILE    write every output in full, to diff two builds

#include <clocale>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "design/design_session.h"
#include "design/field_names.h"
#include "design_report.h"

namespace {

using Args = std::vector<std::string>;

struct Case {
  std::string name;  // "design 17", "curve 3", "walk 5"
  Args args;         // the command line, or the walk's action list
  bool walk = false;
};

std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::string Hex(std::uint64_t h) {
  std::ostringstream out;
  out << std::hex;
  out.width(16);
  out.fill('0');
  out << h;
  return out.str();
}

std::string Joined(const Args& args) {
  std::string s;
  for (const auto& a : args) s += (s.empty() ? "" : " ") + ("'" + a + "'");
  return s;
}

// ---- the design grid ------------------------------------------------------------------

const std::vector<std::string> kActiveTopologies{"mfb", "pfb", "svf3", "svf4", "fliege"};
const std::vector<std::string> kTypes{"lowpass",  "highpass", "bandpass",
                                      "bandstop", "allpass",  "elliptic"};

// Entry sets typed on the active pages, in order; limits, beyond limits, unreadable texts.
const std::vector<Args> kActiveEntries{
    {},
    {"fg=2k"},
    {"fg=1m"},
    {"fg=0.0005"},
    {"fg=2G"},
    {"fg=3G"},
    {"Q=0.5"},
    {"Q=0.1"},
    {"Q=0.05"},
    {"Q=0.50001"},
    {"Q=10"},
    {"Q=10000"},
    {"Q=20000"},
    {"Q=abc"},
    {"Q="},
    {"D=0.3"},
    {"D=10"},
    {"D=0.00001"},
    {"Q=2", "D=0.3"},
    {"D=0.3", "Q=2"},
    {"Vu=0.5"},
    {"Vu=0.01"},
    {"Vu=10"},
    {"Vu=1e7"},
    {"Vu=1000", "Q=0.6"},
    {"Zin=4k7"},
    {"Zin=0.01"},
    {"Zin=2G"},
    {"f=10k"},
    {"f=0"},
    {"f=3e10"},
    {"f=159.155"},
    {"Q=5", "Vu=10", "fg=50"},
    {"fg=1,5k", "Q=1,2"},
    {"fg=2meg", "Q=0.7071"},
    {"fg=1e999"},
    {"fg=-5"},
    {"fg=nan"},
    {"Zin=x"},
    {"fg=4k7", "Zin=100k", "Q=3", "f=1k"},
    {"Q=0.55"},
    {"Q=1", "Vu=3"},
    {"Vu=2", "Q=0.4"},
    {"Q=100", "fg=10"},
    {"D=5"},
};

// Entries that only some active pages show.
const std::vector<Args> kPfbEntries{
    {"R3=10k"},         {"R3=0"},   {"R3=2G"},    {"fnfp=1.05"},
    {"fnfp=200"},       {"fnfp=3"}, {"fnfp=abc"}, {"Q=0.6", "fnfp=1.2"},
    {"Q=8", "fnfp=1.1"}};
const std::vector<Args> kCapacitanceEntries{{"C1=10n"}, {"C1=0"},    {"C1=1"},
                                            {"C1=1f"},  {"C1=junk"}, {"C1=33n", "fg=50k"}};

const std::vector<Args> kOptionSets{
    {"--series-r", "E6", "--series-c", "E6"},
    {"--series-r", "E96", "--series-c", "E12"},
    {"--series-r", "E12", "--series-c", "E96"},
    {"--series-r", "E24", "--series-c", "E24"},
    {"--no-equal-capacitors"},
    {"--no-offset-compensation"},
    {"--manual-capacitance"},
    {"--no-equal-capacitors", "--no-offset-compensation", "--manual-capacitance", "--series-c",
     "E48"},
};
const std::vector<Args> kOptionEntries{{},        {"Q=3", "Vu=2"},  {"fg=20k", "Zin=10k"},
                                       {"Q=0.3"}, {"Q=10", "Vu=5"}, {"fg=100", "Q=0.5"}};

const std::vector<Args> kLadderEntries{{},
                                       {"RL=1k"},
                                       {"RL=500"},
                                       {"RL=2k"},
                                       {"RL=0"},
                                       {"RL=1e10"},
                                       {"Welligkeit=0.5"},
                                       {"Welligkeit=3"},
                                       {"Welligkeit=0.001"},
                                       {"Welligkeit=5"},
                                       {"Zin=50", "RL=75"},
                                       {"fg=10meg", "Zin=50", "RL=50"},
                                       {"fg=1m"},
                                       {"f=2k"},
                                       {"Welligkeit=x"}};

const std::vector<Args> kDiplexerEntries{{},        {"fg=10k"}, {"Zin=50"}, {"Zin=0.01"},
                                         {"fg=2G"}, {"f=500"},  {"fg=x"},   {"Zin=1G", "f=1"}};

Args Design(const std::string& topology, const std::string& type, const Args& extra,
            const Args& entries) {
  Args a{"design", "--topology", topology, "--type", type};
  a.insert(a.end(), extra.begin(), extra.end());
  a.insert(a.end(), entries.begin(), entries.end());
  a.push_back("--json");
  return a;
}

std::vector<Args> DesignGrid() {
  std::vector<Args> grid;
  for (const auto& topology : kActiveTopologies) {
    for (const auto& type : kTypes) {
      for (const auto& entries : kActiveEntries)
        grid.push_back(Design(topology, type, {}, entries));
      if (topology == "pfb") {
        for (const auto& entries : kPfbEntries) grid.push_back(Design(topology, type, {}, entries));
        for (const auto& entries : kPfbEntries) {
          grid.push_back(Design(topology, type, {"--no-offset-compensation"}, entries));
        }
      }
      if (topology == "svf3" || topology == "svf4" || topology == "fliege") {
        for (const auto& entries : kCapacitanceEntries) {
          grid.push_back(Design(topology, type, {"--manual-capacitance"}, entries));
          grid.push_back(Design(topology, type, {}, entries));
        }
      }
      for (const auto& options : kOptionSets) {
        for (const auto& entries : kOptionEntries) {
          grid.push_back(Design(topology, type, options, entries));
        }
      }
    }
  }
  for (int order = 2; order <= 10; ++order) {
    for (bool chebyshev : {false, true}) {
      for (const auto& type : kTypes) {
        for (const auto& entries : kLadderEntries) {
          Args options{"--order", std::to_string(order)};
          if (chebyshev) options.push_back("--chebyshev");
          grid.push_back(Design("lc", type, options, entries));
        }
      }
    }
  }
  for (int order : {3, 5, 7, 9}) {
    for (bool chebyshev : {false, true}) {
      for (const auto& type : kTypes) {
        for (const auto& entries : kDiplexerEntries) {
          Args options{"--diplexer-order", std::to_string(order)};
          if (chebyshev) options.push_back("--diplexer-chebyshev");
          grid.push_back(Design("diplexer", type, options, entries));
        }
      }
    }
  }
  // Series on the passive pages, and the two pages' options crossing over.
  for (const auto& options : kOptionSets) {
    grid.push_back(Design("lc", "lowpass", options, {"Zin=600"}));
    grid.push_back(Design("diplexer", "highpass", options, {}));
  }
  return grid;
}

// Every 23rd design of the grid, as each kind of curve over a range around its fg.
std::vector<Args> CurveGrid(const std::vector<Args>& designs) {
  const std::vector<Args> kinds{{"gain", "--from", "1", "--to", "1000000", "--log"},
                                {"phase", "--from", "10", "--to", "100k", "--log"},
                                {"delay", "--from", "10", "--to", "100k"},
                                {"step", "--to", "0.005"},
                                {"pulse", "--from", "0", "--to", "0.002"}};
  std::vector<Args> curves;
  std::size_t k = 0;
  for (std::size_t i = 0; i < designs.size(); i += 23, ++k) {
    Args a{"curve"};
    const Args& kind = kinds[k % kinds.size()];
    a.insert(a.end(), kind.begin(), kind.end());
    // The design's options and entries, without "design" and "--json".
    a.insert(a.end(), designs[i].begin() + 1, designs[i].end() - 1);
    curves.push_back(a);
  }
  return curves;
}

// ---- session walks ---------------------------------------------------------------------

// One action as words: "type FIELD TEXT", "spin BUTTON up|down", "topology N", "type-filter N",
// "series-r N", "series-c N", "box NAME 0|1", "ladder-cheb 0|1", "ladder-order N",
// "diplexer-order N", "diplexer-cheb 0|1", "make".
Args RandomWalk(std::uint32_t seed, int steps) {
  std::mt19937 rng(seed);
  const auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
  const std::vector<std::string> entries{"fgEingabe",   "fEingabe",    "QEingabe",   "DEingabe",
                                         "VuEingabe",   "ZinEingabe",  "R32Eingabe", "q2Eingabe",
                                         "C12Eingabe3", "C12Eingabe4", "C12Eingabe5"};
  const std::vector<std::string> texts{
      " 1.00k", "2k",  "0",  "abc",   "",   "0.5", "10000", "1e9", "-3",  "4k7", "1,5",  "100m",
      "0.7071", "33n", "2G", "1e-20", "20", "0.1", "5",     "3",   "1.2", "47",  "1meg", "0.3"};
  const std::vector<std::string> spins{"SpinButtonfg", "SpinButtonf",  "SpinButtonQ",
                                       "SpinButtonD",  "SpinButtonVu", "SpinButtonZin"};
  const std::vector<std::string> boxes{"CCheckBox1", "CCheckBox2", "RCheckBox2",
                                       "CCheckBox3", "CCheckBox4", "CCheckBox5"};
  Args actions;
  for (int i = 0; i < steps; ++i) {
    switch (pick(12)) {
      case 0:
      case 1:
      case 2:
        actions.push_back("type " + entries[pick(entries.size())] + " " +
                          texts[pick(texts.size())]);
        break;
      case 3:
      case 4:
        actions.push_back("spin " + spins[pick(spins.size())] + (pick(2) ? " up" : " down"));
        break;
      case 5:
        actions.push_back("topology " + std::to_string(1 + pick(7)));
        break;
      case 6:
        actions.push_back("type-filter " + std::to_string(pick(6)));
        break;
      case 7:
        actions.push_back((pick(2) ? "series-r " : "series-c ") + std::to_string(1 + pick(5)));
        break;
      case 8:
        actions.push_back("box " + boxes[pick(boxes.size())] + (pick(2) ? " 1" : " 0"));
        break;
      case 9:
        actions.push_back(pick(2) ? "ladder-cheb " + std::to_string(pick(2))
                                  : "ladder-order " + std::to_string(1 + pick(11)));
        break;
      case 10:
        actions.push_back(pick(2) ? "diplexer-cheb " + std::to_string(pick(2))
                                  : "diplexer-order " + std::to_string(2 + pick(9)));
        break;
      default:
        actions.push_back("make");
        break;
    }
  }
  return actions;
}

void Act(morvane::DesignSession& s, const std::string& action) {
  std::istringstream words(action);
  std::string verb, a, b;
  words >> verb >> a;
  std::getline(words, b);
  if (!b.empty() && b[0] == ' ') b.erase(0, 1);
  if (verb == "type") {
    s.TypeEntry(a, b);
  } else if (verb == "spin") {
    s.Spin(a, b == "up" ? morvane::SpinDirection::Up : morvane::SpinDirection::Down);
  } else if (verb == "topology") {
    s.SelectTopology(static_cast<morvane::Topology>(std::stoi(a)));
  } else if (verb == "type-filter") {
    s.SelectFilterType(static_cast<morvane::FilterType>(std::stoi(a)));
  } else if (verb == "series-r") {
    s.SelectResistorSeries(std::stoi(a));
  } else if (verb == "series-c") {
    s.SelectCapacitorSeries(std::stoi(a));
  } else if (verb == "box") {
    s.SetCheckBox(a, b == "1");
  } else if (verb == "ladder-cheb") {
    s.SetLadderApproximation(a == "1");
  } else if (verb == "ladder-order") {
    s.SetLadderOrder(std::stoi(a));
  } else if (verb == "diplexer-cheb") {
    s.SetDiplexerApproximation(a == "1");
  } else if (verb == "diplexer-order") {
    s.SetDiplexerOrder(std::stoi(a));
  } else if (verb == "make") {
    s.MakeCalculations();
  }
}

// Everything the window would show after each action, and what it raised.
std::string RunWalk(const Args& actions) {
  morvane::DesignSession session;
  session.Start();
  std::string out;
  for (const auto& action : actions) {
    Act(session, action);
    out += "## " + action + "\n" + morvane::cli::DesignJson(session);
    out += "notice: " + session.CurrentNotice() + "\n";
  }
  return out;
}

// ---- running ---------------------------------------------------------------------------

std::string RunCommand(const Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  auto* oldOut = std::cout.rdbuf(out.rdbuf());
  auto* oldErr = std::cerr.rdbuf(err.rdbuf());
  const int code = morvane::cli::RunCommandLine(args);
  std::cout.rdbuf(oldOut);
  std::cerr.rdbuf(oldErr);
  return out.str() + "\n-- stderr --\n" + err.str() + "-- exit " + std::to_string(code) + "\n";
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  const auto designs = DesignGrid();
  for (std::size_t i = 0; i < designs.size(); ++i) {
    cases.push_back({"design " + std::to_string(i), designs[i]});
  }
  const auto curves = CurveGrid(designs);
  for (std::size_t i = 0; i < curves.size(); ++i) {
    cases.push_back({"curve " + std::to_string(i), curves[i]});
  }
  for (std::uint32_t w = 0; w < 300; ++w) {
    cases.push_back({"walk " + std::to_string(w), RandomWalk(1000 + w, 30), true});
  }
  return cases;
}

std::string Output(const Case& c) {
  return c.walk ? RunWalk(c.args) : RunCommand(c.args);
}

int Usage() {
  std::cerr << "usage: design_golden --write FILE | --check FILE | --dump FILE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // The locale of the environment, as the window's toolkit sets it: run under a locale with
  // a decimal comma, the outputs must still be those recorded under C.
  std::setlocale(LC_ALL, "");
  if (argc != 3) return Usage();
  const std::string mode = argv[1];
  const std::string path = argv[2];
  const auto cases = AllCases();

  if (mode == "--dump") {
    std::ofstream file(path, std::ios::binary);
    for (const auto& c : cases)
      file << "==== " << c.name << ": " << Joined(c.args) << "\n" << Output(c);
    return file ? 0 : 1;
  }
  if (mode == "--write") {
    std::ofstream file(path, std::ios::binary);
    for (const auto& c : cases) file << c.name << " " << Hex(Fnv1a(Output(c))) << "\n";
    std::cout << "recorded " << cases.size() << " runs in " << path << "\n";
    return file ? 0 : 1;
  }
  if (mode != "--check") return Usage();

  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::cerr << "design_golden: cannot read " << path << "\n";
    return 1;
  }
  std::map<std::string, std::string> recorded;
  for (std::string line; std::getline(file, line);) {
    const auto space = line.rfind(' ');
    if (space != std::string::npos) recorded[line.substr(0, space)] = line.substr(space + 1);
  }
  int differing = 0;
  int counts[3] = {0, 0, 0};
  for (const auto& c : cases) {
    ++counts[c.walk ? 2 : c.name[0] == 'c' ? 1 : 0];
    const auto it = recorded.find(c.name);
    if (it != recorded.end() && it->second == Hex(Fnv1a(Output(c)))) continue;
    if (++differing <= 20) {
      std::cerr << (it == recorded.end() ? "not recorded: " : "differs: ") << c.name << ": "
                << Joined(c.args) << "\n";
    }
  }
  if (recorded.size() != cases.size()) {
    std::cerr << "design_golden: " << recorded.size() << " recorded, " << cases.size() << " run\n";
    ++differing;
  }
  std::cout << counts[0] << " designs, " << counts[1] << " curves, " << counts[2]
            << " session walks of 30 actions compared: " << differing << " differ\n";
  return differing == 0 ? 0 : 1;
}
