#include "noise_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <iostream>
#include <sstream>

#include "cascade/cascade_circuit.h"
#include "cascade_arguments.h"
#include "cascade_command.h"
#include "design/design_session.h"
#include "design_options.h"
#include "lc/lc_circuit.h"
#include "noise/noise_analysis.h"
#include "numerics/number_text.h"
#include "numerics/value_text.h"
#include "option_value.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

struct NoiseArguments {
  bool cascade = false;
  bool json = false;
  std::optional<double> from, to;
  NoiseRequest request;
  std::vector<std::string> rest;  // the design's or the cascade's own arguments
};

NoiseArguments Parse(const std::vector<std::string>& args, std::ostream& warnings) {
  NoiseArguments a;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string v;
    if (args[i] == "--cascade") {
      a.cascade = true;
    } else if (args[i] == "--json") {
      a.json = true;
    } else if (TakeValue(args, i, "--from", v)) {
      a.from = ReadNumber("option --from", "--from " + v, v, warnings);
    } else if (TakeValue(args, i, "--to", v)) {
      a.to = ReadNumber("option --to", "--to " + v, v, warnings);
    } else if (TakeValue(args, i, "--points", v)) {
      const auto n = WholeNumber(v);
      if (!n || *n < 2 || *n > 100000) {
        throw UsageError("option --points takes a whole number from 2 to 100000, not \"" + v +
                         "\"");
      }
      a.request.points = static_cast<int>(*n);
    } else if (TakeValue(args, i, "--temperature", v)) {
      a.request.celsius = ReadNumber("option --temperature", "--temperature " + v, v, warnings);
    } else {
      a.rest.push_back(args[i]);
    }
  }
  if (!a.from || !a.to) throw UsageError("noise needs --from F and --to F (Hz)");
  a.request.fFrom = *a.from;
  a.request.fTo = *a.to;
  if (const std::string problem = NoiseRequestProblem(a.request); !problem.empty()) {
    throw UsageError(problem);
  }
  return a;
}

// The page's circuit with the op amp the design options chose (none: ideal, noiseless).
Circuit PageCircuit(const std::vector<std::string>& args, std::ostream& warnings) {
  DesignRequest request;
  for (const std::string& arg : ParseDesignRequest(args, request)) {
    throw UsageError("unknown option or argument: " + arg);
  }
  DesignSession session;
  ApplyDesignRequest(request, session, warnings);
  const DesignState& s = session.State();
  const DesignChoices& c = session.Choices();
  if (s.topology == Topology::Diplexer) {
    throw UsageError("the LC diplexer has two outputs: noise is offered for the other pages");
  }
  if (s.topology == Topology::LcLadder) {
    auto ladder = LadderCircuit(s, c);
    if (!ladder) throw UsageError("the LC ladder has no network for these entries");
    return *ladder;
  }
  if (!StageCircuitExists(s.topology, c.type)) {
    throw UsageError("no circuit to analyse: the page has none for the type");
  }
  Circuit circuit = StageCircuit(s.topology, c.type,
                                 {s.R0, s.R1, s.R2, s.R3, s.R4, s.R5, s.R6, s.C1, s.C2, s.C3});
  circuit.opAmpModel = c.opAmp;
  return circuit;
}

Circuit CascadeCircuit(const std::vector<std::string>& args, std::ostream& warnings) {
  const CascadeArguments a = ParseCascadeArguments(args, warnings);
  CheckCascadeArguments(a);
  if (a.json || a.curve || a.netlistPath || a.savePath) {
    throw UsageError("--cascade takes the filter's options; --json belongs to noise");
  }
  Circuit circuit = JoinedCascadeCircuit(DesignCascadeOrRefuse(a.request));
  circuit.opAmpModel = a.opAmp;
  return circuit;
}

QJsonValue Number(double x) {
  return std::isfinite(x) ? QJsonValue(x + 0.0) : QJsonValue(QJsonValue::Null);
}

QJsonArray Contributions(const std::vector<NoiseContribution>& list) {
  QJsonArray array;
  for (const NoiseContribution& c : list) {
    array.append(QJsonArray{QString::fromStdString(c.name), Number(c.rms)});
  }
  return array;
}

std::string Json(const NoiseAnalysis& n, const NoiseArguments& a, const std::string& opAmp) {
  QJsonArray density, inputReferred;
  for (std::size_t i = 0; i < n.frequency.size(); ++i) {
    density.append(QJsonArray{Number(n.frequency[i]), Number(n.outputDensity[i])});
  }
  for (const auto& [f, v] : n.inputReferred) inputReferred.append(QJsonArray{Number(f), Number(v)});
  QJsonObject root;
  root.insert("opAmp", QString::fromStdString(opAmp));
  root.insert("temperature", Number(a.request.celsius));
  root.insert("from", Number(a.request.fFrom));
  root.insert("to", Number(a.request.fTo));
  root.insert("rms", Number(n.rms));
  root.insert("density", density);
  root.insert("inputReferred", inputReferred);
  root.insert("contributions", Contributions(n.parts));
  if (a.cascade) root.insert("sections", Contributions(n.sections));
  return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

std::string Share(double part, double whole) {
  return whole > 0.0 ? FormatFixedTrimmed(1, 100.0 * part * part / (whole * whole)) + " %" : "-";
}

std::string Text(const NoiseAnalysis& n, const NoiseArguments& a, const std::string& opAmp) {
  std::ostringstream out;
  out << "Noise at the output, op amp " << opAmp << ", " << GeneralText(a.request.celsius, 6)
      << " °C, " << FormatQuantity(a.request.fFrom, "Hz") << " to "
      << FormatQuantity(a.request.fTo, "Hz") << " (" << a.request.points << " points)\n";
  out << "RMS: " << FormatQuantity(n.rms, "V");
  if (n.rms > 0.0) out << " (" << FormatFixedTrimmed(1, 20.0 * std::log10(n.rms)) << " dBV)";
  out << "\n\nContributions (RMS at the output, share of the power)\n";
  for (const NoiseContribution& c : n.parts) {
    out << "  " << c.name << std::string(c.name.size() < 10 ? 10 - c.name.size() : 1, ' ')
        << FormatQuantity(c.rms, "V") << "  " << Share(c.rms, n.rms) << "\n";
  }
  if (a.cascade) {
    out << "\nSections\n";
    for (const NoiseContribution& c : n.sections) {
      out << "  " << c.name << "  " << FormatQuantity(c.rms, "V") << "  " << Share(c.rms, n.rms)
          << "\n";
    }
  }
  out << "\nf,density\n";
  for (std::size_t i = 0; i < n.frequency.size(); ++i) {
    out << GeneralText(n.frequency[i], 17) << "," << GeneralText(n.outputDensity[i], 17) << "\n";
  }
  return out.str();
}

}  // namespace

int RunNoise(const std::vector<std::string>& args) {
  std::ostringstream warnings;
  const NoiseArguments a = Parse(args, warnings);
  const Circuit circuit =
      a.cascade ? CascadeCircuit(a.rest, warnings) : PageCircuit(a.rest, warnings);
  const NoiseAnalysis noise = AnalyseNoise(circuit, a.request);
  std::cerr << warnings.str();
  if (!noise.problem.empty()) throw RunError(noise.problem);
  const std::string opAmp =
      circuit.opAmpModel ? circuit.opAmpModel->name : std::string(kIdealOpAmpName);
  std::cout << (a.json ? Json(noise, a, opAmp) : Text(noise, a, opAmp));
  return 0;
}

}  // namespace morvane::cli
