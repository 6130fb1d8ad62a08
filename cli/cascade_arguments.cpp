#include "cascade_arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>

#include "cascade/cascade_names.h"
#include "design/entry_table.h"
#include "design/field_names.h"
#include "numerics/number_text.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"
#include "opamp_arguments.h"
#include "option_value.h"
#include "unread_rest.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

constexpr int kLeastCurvePoints = 2;
constexpr int kMostCurvePoints = 100000;

// "2,1,3": the sections in this order, each numbered by its place in the lowest-Q-first order.
std::vector<int> ParseSectionOrder(const std::string& text) {
  std::vector<int> order;
  for (const std::string& part : SplitAt(text, ',')) {
    const auto n = WholeNumber(part);
    if (!n || *n < 1 || *n > 2 * kMaxPrototypeOrder) {
      throw UsageError(
          "option --section-order needs section numbers from 1 on, such as 2,1,3, "
          "not \"" +
          text + "\"");
    }
    order.push_back(static_cast<int>(*n - 1));
  }
  return order;
}

int ParseOrder(const std::string& text) {
  const auto n = WholeNumber(text);
  if (!n || *n < kMinPrototypeOrder || *n > kMaxPrototypeOrder) {
    throw UsageError("option --order takes a whole number from " +
                     std::to_string(kMinPrototypeOrder) + " to " +
                     std::to_string(kMaxPrototypeOrder) + ", not \"" + text + "\"");
  }
  return static_cast<int>(*n);
}

int ParsePoints(const std::string& text) {
  const auto n = WholeNumber(text);
  if (!n || *n < kLeastCurvePoints || *n > kMostCurvePoints) {
    throw UsageError("option --points takes a whole number from " +
                     std::to_string(kLeastCurvePoints) + " to " + std::to_string(kMostCurvePoints) +
                     ", not \"" + text + "\"");
  }
  return static_cast<int>(*n);
}

template <typename T>
T Named(std::optional<T> value, const std::string& option, const std::string& text,
        const std::string& allowed) {
  if (!value) {
    throw UsageError("option " + option + " takes " + allowed + ", not \"" + text + "\"");
  }
  return *value;
}

// The entries and where each one goes.
struct EntryTarget {
  std::string_view name;
  void (*store)(CascadeRequest&, double);
};

constexpr EntryTarget kEntries[] = {
    {"fg", [](CascadeRequest& r, double v) { r.fg = v; }},
    {"fm", [](CascadeRequest& r, double v) { r.fm = v; }},
    {"B", [](CascadeRequest& r, double v) { r.bandwidth = v; }},
    {"ripple", [](CascadeRequest& r, double v) { r.rippleDb = v; }},
    {"stopband", [](CascadeRequest& r, double v) { r.stopbandDb = v; }},
    {"gain", [](CascadeRequest& r, double v) { r.gain = v; }},
    {"Zin", [](CascadeRequest& r, double v) { r.circuit.zin = v; }},
    {"fs", [](CascadeRequest& r, double v) { r.stopbandHz = v; }},
};

const EntryTarget& EntryNamed(const std::string& name) {
  for (const EntryTarget& e : kEntries) {
    if (e.name == name) return e;
  }
  std::string names;
  for (const EntryTarget& e : kEntries) names += (names.empty() ? "" : ", ") + std::string(e.name);
  throw UsageError("unknown entry name: " + name + " (cascade takes " + names + ")");
}

bool UsesRipple(Approximation a) {
  return a == Approximation::Chebyshev || a == Approximation::Elliptic;
}

bool UsesStopband(Approximation a) {
  return a == Approximation::InverseChebyshev || a == Approximation::Elliptic;
}

bool IsBand(FilterKind kind) {
  return kind == FilterKind::Bandpass || kind == FilterKind::Bandstop;
}

// Why an entry means nothing for the filter asked for, or an empty text. A value the design
// would not use is refused rather than dropped unseen.
std::string EntryProblem(const std::string& name, const CascadeRequest& r) {
  const bool band = IsBand(r.kind);
  if (name == "fg" && band)
    return "fg= is for lowpass and highpass; a band filter takes fm= and B=";
  if ((name == "fm" || name == "B") && !band) {
    return name + "= is for bandpass and bandstop; a lowpass or highpass takes fg=";
  }
  if (name == "ripple" && !UsesRipple(r.approximation)) {
    return "ripple= is for the chebyshev and elliptic approximations";
  }
  if (name == "stopband" && !UsesStopband(r.approximation)) {
    return "stopband= is for the inverse-chebyshev and elliptic approximations";
  }
  if (name == "fs" && !(*r.stopbandHz >= 0.0)) return "fs= needs a frequency of 0 Hz or above";
  if (name == "Zin") {
    // The impedance levels the Zin field takes; far beyond them the parts leave the range of
    // numbers.
    const EntryRule rule = *EntryRuleFor(field::ZinEingabe, Topology::Mfb);
    if (!(r.circuit.zin >= rule.min && r.circuit.zin <= rule.max)) {
      return "Zin= needs a resistance from " + GeneralText(rule.min, 6) + " to " +
             GeneralText(rule.max, 6) + " ohms";
    }
  }
  if (r.scheme) {
    if (name == "fg") return "fg= cannot go with --scheme: the scheme sets the corner";
    if (name == "ripple") return "ripple= cannot go with --scheme: its D1 is the ripple";
    if (name == "stopband") return "stopband= cannot go with --scheme: its D2 is the attenuation";
  }
  return {};
}

// The request of a design file's "Cascade" section; a file that cannot be read or has no
// cascade is refused (exit 1), values that cannot be read are named and keep their defaults.
CascadeRequest OpenedRequest(const std::string& path, std::ostream& warnings) {
  std::string error;
  std::error_code missing;
  if (!std::filesystem::exists(path, missing)) {
    throw RunError("cannot read \"" + path + "\": there is no such file");
  }
  std::vector<std::string> unreadable;
  const std::optional<CascadeEntries> entries = ReadCascadeFile(path, error, unreadable);
  if (!entries) {
    throw RunError(error.empty() ? "\"" + path + "\" has no cascade (no section [" +
                                       std::string(kCascadeSection) + "])"
                                 : error);
  }
  for (const std::string& line : unreadable) warnings << "morvane-cli: " << line << "\n";
  return RequestOf(*entries);
}

}  // namespace

std::optional<long long> WholeNumber(std::string_view text) {
  long long n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

double ReadNumber(const std::string& what, const std::string& given, const std::string& text,
                  std::ostream& warnings) {
  const ValueReading reading = ReadValueInDetail(text);
  if (!reading.readable || reading.beyondLimit || !std::isfinite(reading.value)) {
    throw UsageError(what + " needs a finite number, not \"" + text + "\"");
  }
  warnings << UnreadRestWarning(given, text);
  return reading.value;
}

ToleranceScheme ParseScheme(const std::string& text, std::ostream& warnings) {
  const std::vector<std::string> values =
      SplitAt(text, text.find(';') != std::string::npos ? ';' : ',');
  if (values.size() != 4) {
    throw UsageError(
        "option --scheme needs four values F1,D1,F2,D2 (or F1;D1;F2;D2 with decimal "
        "commas), not \"" +
        text + "\"");
  }
  constexpr const char* kNames[] = {"F1", "D1", "F2", "D2"};
  double read[4];
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string name = std::string("--scheme ") + kNames[i];
    read[i] = ReadNumber("option " + name, name + " " + values[i], values[i], warnings);
  }
  return {read[0], read[1], read[2], read[3]};
}

CascadeEntries EntriesOf(const CascadeRequest& request) {
  CascadeEntries entries;
  entries.request = request;
  entries.request.scheme.reset();
  entries.useScheme = request.scheme.has_value();
  if (request.scheme) entries.scheme = *request.scheme;
  return entries;
}

CascadeArguments ParseCascadeArguments(const std::vector<std::string>& args,
                                       std::ostream& warnings) {
  CascadeArguments a;
  CascadeRequest& r = a.request;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string v;
    if (TakeValue(args, i, "--design", v)) a.designPath = v;
  }
  if (a.designPath) r = OpenedRequest(*a.designPath, warnings);
  std::optional<std::string> opAmp;
  std::optional<std::string> opAmpInclude;
  bool predistort = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string v;
    if (TakeValue(args, i, "--approximation", v)) {
      r.approximation =
          Named(ApproximationNamed(v), "--approximation", v, AllowedNames(ApproximationNames()));
    } else if (TakeValue(args, i, "--type", v)) {
      r.kind = Named(FilterKindNamed(v), "--type", v, AllowedNames(FilterKindNames()));
    } else if (TakeValue(args, i, "--order", v)) {
      r.order = ParseOrder(v);
      r.scheme.reset();  // the order given replaces a scheme the --design file has
      a.orderGiven = true;
    } else if (TakeValue(args, i, "--scheme", v)) {
      r.scheme = ParseScheme(v, warnings);
      a.schemeGiven = true;
    } else if (TakeValue(args, i, "--design", v)) {
      // read above, before every other option
    } else if (TakeValue(args, i, "--save", v)) {
      if (v.empty()) throw UsageError("option --save needs a file name");
      a.savePath = v;
    } else if (TakeValue(args, i, "--topology", v)) {
      r.topology =
          Named(SectionTopologyNamed(v), "--topology", v, AllowedNames(SectionTopologyNames()));
    } else if (TakeValue(args, i, "--gain-split", v)) {
      r.split = Named(GainSplitNamed(v), "--gain-split", v, AllowedNames(GainSplitNames()));
    } else if (TakeValue(args, i, "--series-r", v)) {
      r.circuit.seriesR = Named(SeriesNamed(v), "--series-r", v, "E6, E12, E24, E48 or E96");
    } else if (TakeValue(args, i, "--series-c", v)) {
      r.circuit.seriesC = Named(SeriesNamed(v), "--series-c", v, "E6, E12, E24, E48 or E96");
    } else if (TakeValue(args, i, "--section-order", v)) {
      r.sectionOrder = ParseSectionOrder(v);
    } else if (arg == "--round-resistors") {
      r.circuit.roundResistors = true;
    } else if (arg == "--best-values") {
      r.circuit.bestValues = true;
    } else if (arg == "--predistort") {
      predistort = true;
    } else if (arg == "--json") {
      a.json = true;
    } else if (TakeValue(args, i, "--netlist", v)) {
      if (v.empty() || (v[0] == '-' && v != "-")) {
        throw UsageError("option --netlist needs a file name, or - for stdout");
      }
      a.netlistPath = v;
    } else if (TakeValue(args, i, "--opamp", v)) {
      opAmp = v;
    } else if (TakeValue(args, i, "--opamp-include", v)) {
      opAmpInclude = v;
    } else if (TakeValue(args, i, "--curve", v)) {
      a.curve = Named(ParseCurveKind(v), "--curve", v, "gain, phase, delay or step");
    } else if (TakeValue(args, i, "--from", v)) {
      a.from = ReadNumber("option --from", "--from " + v, v, warnings);
    } else if (TakeValue(args, i, "--to", v)) {
      a.to = ReadNumber("option --to", "--to " + v, v, warnings);
    } else if (TakeValue(args, i, "--points", v)) {
      a.points = ParsePoints(v);
    } else if (arg == "--log") {
      a.logarithmic = true;
    } else if (!arg.empty() && arg[0] != '-' && arg.find('=') != std::string::npos) {
      const std::string name = arg.substr(0, arg.find('='));
      const std::string text = arg.substr(name.size() + 1);
      EntryNamed(name).store(r, ReadNumber("entry " + name, arg, text, warnings));
      a.entries.push_back(name);
    } else {
      throw UsageError("unknown option or argument: " + arg);
    }
  }
  if (opAmp) {
    // The user's own subcircuit only where a netlist is written.
    const OpAmpSelection selection = ResolveOpAmp(*opAmp, opAmpInclude, a.netlistPath.has_value());
    a.opAmp = selection.model;
    a.netlist.opAmpModel = selection.model;
    a.netlist.opAmpSubcircuit = selection.subcircuit;
    a.netlist.opAmpInclude = selection.include;
  } else if (opAmpInclude) {
    throw UsageError("--opamp-include needs --opamp NAME");
  }
  if (predistort) {
    if (!a.opAmp || a.opAmp->IsIdeal()) {
      throw UsageError("--predistort needs --opamp with a part of the op-amp table");
    }
    r.circuit.predistortFor = a.opAmp;
  }
  return a;
}

void CheckCascadeArguments(const CascadeArguments& a) {
  if (a.orderGiven && a.schemeGiven) {
    throw UsageError("--order and --scheme cannot go together: the scheme gives the least order");
  }
  for (const std::string& name : a.entries) {
    if (const std::string problem = EntryProblem(name, a.request); !problem.empty()) {
      throw UsageError(problem);
    }
  }
  const bool netlistToStdout = a.netlistPath == "-";
  if (int(a.json) + int(a.curve.has_value()) + int(netlistToStdout) > 1) {
    throw UsageError("--json, --curve and --netlist - each write to stdout: choose one");
  }
  if (!a.curve) {
    if (a.from || a.to || a.points || a.logarithmic) {
      throw UsageError("--from, --to, --points and --log belong to --curve");
    }
    return;
  }
  const bool time = *a.curve == CurveKind::Step;
  if (!a.to) throw UsageError("--curve needs --to");
  if (!a.from && !time) throw UsageError("--curve gain, phase and delay need --from");
  const double from = a.from.value_or(0.0);
  if (!(*a.to > from)) throw UsageError("--to must be greater than --from");
  if (!time && from < 0.0) throw UsageError("--from must be a frequency of 0 Hz or above");
  if (a.logarithmic && !(from > 0.0)) throw UsageError("--log needs --from above 0");
}

}  // namespace morvane::cli
