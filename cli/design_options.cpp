#include "design_options.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <initializer_list>

#include "design/design_names.h"
#include "design/entry_table.h"
#include "design/field_names.h"
#include "files/design_file.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"
#include "option_value.h"
#include "tolerance/stage_value_search.h"
#include "unread_rest.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

std::optional<int> ParseSeries(std::string_view name) {
  for (int code = 1; code <= kSeriesE96; ++code) {
    std::string_view series = SeriesName(code);
    if (name.size() == series.size() &&
        std::equal(name.begin(), name.end(), series.begin(),
                   [](char a, char b) { return std::toupper(a) == b; })) {
      return code;
    }
  }
  return std::nullopt;
}

// The entry field a NAME is typed into, for the topology in force.
std::string_view EntryField(const std::string& name, Topology t) {
  const bool lc = t == Topology::LcLadder;
  const bool passive = !IsActiveTopology(t);
  if (name == "fg") return field::fgEingabe;
  if (name == "f") return field::fEingabe;
  if (name == "Zin") return field::ZinEingabe;
  if (name == "R3") return field::R32Eingabe;
  if (name == "fnfp") return field::q2Eingabe;
  if (name == "Q" || name == "D" || name == "Vu") {
    if (passive) throw UsageError("entry " + name + " is not shown on the LC pages");
    return name == "Q" ? field::QEingabe : name == "D" ? field::DEingabe : field::VuEingabe;
  }
  // "ripple" is the English name of the ripple entry, "Welligkeit" its control's.
  if (name == "RL" || name == "Welligkeit" || name == "ripple") {
    if (!lc) throw UsageError("entry " + name + " belongs to the passive LC page (--topology lc)");
    return name == "RL" ? field::DEingabe : field::VuEingabe;
  }
  if (name == "C1") {
    switch (t) {
      case Topology::Svf3:
        return field::C12Eingabe3;
      case Topology::Svf4:
        return field::C12Eingabe4;
      case Topology::Fliege:
        return field::C12Eingabe5;
      default:
        throw UsageError(
            "entry C1 belongs to the SVF and Fliege pages (--topology svf3|svf4|fliege)");
    }
  }
  throw UsageError("unknown entry name: " + name);
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

// Opens the design file as the window does, with a line on `warnings` for each value in it that
// cannot be read. A missing file is a failure here: the window would start from its defaults,
// which a script did not ask for.
void OpenDesignFile(const std::string& path, DesignSession& session, std::ostream& warnings) {
  std::error_code ec;
  if (std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found) {
    throw RunError("cannot read \"" + path + "\": there is no such file");
  }
  DesignState probe = session.State();
  DesignChoices probeChoices = session.Choices();
  std::vector<std::string> unreadable;
  std::string error;
  if (!ReadDesignFile(path, probe, error, &unreadable, &probeChoices) ||
      !session.OpenDesign(path, error)) {
    throw RunError(error);
  }
  for (const std::string& line : unreadable)
    warnings << "morvane-cli: " << path << ": " << line << "\n";
}

int ParseOrder(const std::string& text, const char* option, std::initializer_list<int> allowed) {
  for (int order : allowed) {
    if (text == std::to_string(order)) return order;
  }
  std::string list;
  for (int order : allowed) list += (list.empty() ? "" : ", ") + std::to_string(order);
  throw UsageError(std::string("option ") + option + " takes one of " + list + ", not \"" + text +
                   "\"");
}

}  // namespace

std::vector<std::string> ParseDesignRequest(const std::vector<std::string>& args,
                                            DesignRequest& request) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    if (TakeValue(args, i, "--topology", value)) {
      request.topology = TopologyNamed(value);
      if (!request.topology) throw UsageError("unknown topology: " + value);
    } else if (TakeValue(args, i, "--type", value)) {
      request.type = FilterTypeNamed(value);
      if (!request.type) throw UsageError("unknown filter type: " + value);
    } else if (TakeValue(args, i, "--series-r", value)) {
      request.seriesR = ParseSeries(value);
      if (!request.seriesR) throw UsageError("unknown standard series: " + value);
    } else if (TakeValue(args, i, "--series-c", value)) {
      request.seriesC = ParseSeries(value);
      if (!request.seriesC) throw UsageError("unknown standard series: " + value);
    } else if (arg == "--no-equal-capacitors") {
      request.noEqualCapacitors = true;
    } else if (arg == "--no-offset-compensation") {
      request.noOffsetCompensation = true;
    } else if (arg == "--manual-capacitance") {
      request.manualCapacitance = true;
    } else if (arg == "--round-resistors") {
      request.roundResistors = true;
    } else if (arg == "--best-values") {
      request.bestValues = true;
    } else if (arg == "--predistort") {
      request.predistort = true;
    } else if (TakeValue(args, i, "--order", value)) {
      request.ladderOrder = ParseOrder(value, "--order", {2, 3, 4, 5, 6, 7, 8, 9, 10});
    } else if (TakeValue(args, i, "--diplexer-order", value)) {
      request.diplexerOrder = ParseOrder(value, "--diplexer-order", {3, 5, 7, 9});
    } else if (arg == "--chebyshev") {
      request.ladderChebyshev = true;
    } else if (arg == "--diplexer-chebyshev") {
      request.diplexerChebyshev = true;
    } else if (TakeValue(args, i, "--design", value)) {
      request.designFile = value;
    } else if (TakeValue(args, i, "--opamp", value)) {
      request.opAmp = value;
    } else if (TakeValue(args, i, "--opamp-include", value)) {
      request.opAmpInclude = value;
    } else if (!arg.empty() && arg[0] != '-' && arg.find('=') != std::string::npos) {
      const auto eq = arg.find('=');
      request.entries.emplace_back(arg.substr(0, eq), arg.substr(eq + 1));
    } else {
      rest.push_back(arg);
    }
  }
  return rest;
}

namespace {

// The value search's best choice for the active stage, as the window's Apply takes it.
void TakeBestValues(DesignSession& session, std::ostream& warnings) {
  const auto choices = StageValueChoices(session.State(), session.Choices(), 1);
  if (choices.empty()) {
    warnings << "morvane-cli: --best-values: the value search found nothing to build for this "
                "page and type; the design's values stay\n";
    return;
  }
  const StageValueChoice& best = choices.front();
  session.TakeChosenValues(best.parts, best.level, best.levelIsCapacitance);
}

}  // namespace

OpAmpSelection OpAmpOf(const DesignRequest& request) {
  if (!request.opAmp) {
    if (request.opAmpInclude) throw UsageError("--opamp-include needs --opamp NAME");
    return {};
  }
  return ResolveOpAmp(*request.opAmp, request.opAmpInclude, request.opAmpSubcircuitAllowed);
}

void ApplyDesignRequest(const DesignRequest& request, DesignSession& session,
                        std::ostream& warnings) {
  const OpAmpSelection opAmp = OpAmpOf(request);
  session.Start();
  if (request.designFile) {
    OpenDesignFile(*request.designFile, session, warnings);
    session.Recalculate();
  }
  if (request.topology) session.SelectTopology(*request.topology);
  if (request.type) session.SelectFilterType(*request.type);
  if (request.seriesR) session.SelectResistorSeries(*request.seriesR);
  if (request.seriesC) session.SelectCapacitorSeries(*request.seriesC);
  // Each option clears the boxes it names, as a click on each would.
  for (const field::CheckBox& box : field::CheckBoxes()) {
    const auto option = box.option;
    const bool cleared =
        (request.noEqualCapacitors && (option == &DesignChoices::mfbEqualCapacitors ||
                                       option == &DesignChoices::pfbEqualCapacitors)) ||
        (request.noOffsetCompensation && option == &DesignChoices::offsetCompensation) ||
        (request.manualCapacitance && (option == &DesignChoices::svf3AutomaticCapacitance ||
                                       option == &DesignChoices::svf4AutomaticCapacitance ||
                                       option == &DesignChoices::fliegeAutomaticCapacitance));
    if (cleared && session.Choices().*option) session.SetCheckBox(box.name, false);
  }
  if (request.roundResistors) session.SetResistorRounding(true);
  if (request.predistort && !opAmp.model) throw UsageError("--predistort needs --opamp NAME|FILE");
  if (opAmp.model && !opAmp.model->IsIdeal()) session.SelectOpAmp(opAmp.model);
  if (request.predistort) session.SetPredistortion(true);
  if (request.ladderChebyshev) session.SetLadderApproximation(true);
  if (request.ladderOrder) session.SetLadderOrder(*request.ladderOrder);
  if (request.diplexerChebyshev) session.SetDiplexerApproximation(true);
  if (request.diplexerOrder) session.SetDiplexerOrder(*request.diplexerOrder);

  for (const auto& [name, text] : request.entries) {
    const Topology topology = session.State().topology;
    const std::string_view target = EntryField(name, topology);
    const EntryRule rule = *EntryRuleFor(target, topology);
    const ValueReading reading = ReadValueInDetail(text);
    const bool readable = reading.readable;
    const double read = reading.value;
    const double stored = ClampEntry(read, rule.min, rule.max);
    warnings << UnreadRestWarning(name + "=" + text, text);
    if (!readable || stored != read) {
      warnings << "morvane-cli: " << name << "=" << text
               << (readable ? " is out of range" : " is not readable") << "; stored "
               << Trimmed(FormatValue(7, 3, stored)) << "\n";
    }
    session.TypeEntry(target, text);
  }
  if (request.bestValues) TakeBestValues(session, warnings);
}

}  // namespace morvane::cli
