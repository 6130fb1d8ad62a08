#include "tolerance_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <iostream>
#include <sstream>

#include "cascade_arguments.h"
#include "cascade_command.h"
#include "design/design_session.h"
#include "design_options.h"
#include "numerics/value_text.h"
#include "option_value.h"
#include "spice/netlist.h"
#include "tolerance/tolerance_analysis.h"
#include "tolerance/tolerance_filter.h"
#include "tolerance/tolerance_report.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

constexpr int kDefaultRuns = 1000;
constexpr int kMostRuns = 1000000;

struct ToleranceArguments {
  bool cascade = false;
  MonteCarloRequest request;
  std::optional<double> from, to;
  bool worstCase = false;
  bool json = false;
  std::vector<std::string> rest;  // the design's or the cascade's own arguments
};

double Percent(const std::string& option, const std::string& text, std::ostream& warnings) {
  const double p = ReadNumber("option " + option, option + " " + text, text, warnings);
  if (!(p >= 0.0 && p < 100.0)) {
    throw UsageError("option " + option + " takes a tolerance in percent from 0 up to 100, not \"" +
                     text + "\"");
  }
  return p;
}

ToleranceArguments Parse(const std::vector<std::string>& args, std::ostream& warnings) {
  ToleranceArguments a;
  a.request.runs = kDefaultRuns;
  Tolerances& t = a.request.tolerances;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string v;
    if (args[i] == "--cascade") {
      a.cascade = true;
    } else if (args[i] == "--worst-case") {
      a.worstCase = true;
    } else if (args[i] == "--json") {
      a.json = true;
    } else if (TakeValue(args, i, "--runs", v)) {
      const auto n = WholeNumber(v);
      if (!n || *n < 2 || *n > kMostRuns) {
        throw UsageError("option --runs takes a whole number from 2 to " +
                         std::to_string(kMostRuns) + ", not \"" + v + "\"");
      }
      a.request.runs = static_cast<int>(*n);
    } else if (TakeValue(args, i, "--r-tol", v)) {
      t.resistorPercent = Percent("--r-tol", v, warnings);
    } else if (TakeValue(args, i, "--c-tol", v)) {
      t.capacitorPercent = Percent("--c-tol", v, warnings);
    } else if (TakeValue(args, i, "--l-tol", v)) {
      t.inductorPercent = Percent("--l-tol", v, warnings);
    } else if (TakeValue(args, i, "--distribution", v)) {
      if (v != "uniform" && v != "gauss") {
        throw UsageError("option --distribution takes uniform or gauss, not \"" + v + "\"");
      }
      t.distribution =
          v == "gauss" ? ToleranceDistribution::Gaussian : ToleranceDistribution::Uniform;
    } else if (TakeValue(args, i, "--seed", v)) {
      const auto n = WholeNumber(v);
      // Up to 2^53, so that the JSON's number gives the seed back exactly.
      if (!n || *n < 0 || *n > (1LL << 53)) {
        throw UsageError("option --seed takes a whole number from 0 to 2^53, not \"" + v + "\"");
      }
      t.seed = static_cast<std::uint64_t>(*n);
    } else if (TakeValue(args, i, "--mask", v)) {
      const ToleranceScheme s = ParseScheme(v, warnings);
      a.request.mask = ToleranceMask{s.f1, s.d1, s.f2, s.d2};
    } else if (TakeValue(args, i, "--from", v)) {
      a.from = ReadNumber("option --from", "--from " + v, v, warnings);
    } else if (TakeValue(args, i, "--to", v)) {
      a.to = ReadNumber("option --to", "--to " + v, v, warnings);
    } else if (TakeValue(args, i, "--points", v)) {
      const auto n = WholeNumber(v);
      if (!n || *n < 2 || *n > 10000) {
        throw UsageError("option --points takes a whole number from 2 to 10000, not \"" + v + "\"");
      }
      a.request.points = static_cast<int>(*n);
    } else {
      a.rest.push_back(args[i]);
    }
  }
  return a;
}

std::vector<ToleranceFilter> PageFilters(const std::vector<std::string>& args,
                                         std::ostream& warnings) {
  DesignRequest request;
  for (const std::string& arg : ParseDesignRequest(args, request)) {
    throw UsageError("unknown option or argument: " + arg);
  }
  DesignSession session;
  ApplyDesignRequest(request, session, warnings);
  std::vector<ToleranceFilter> filters = PageToleranceFilters(session.State(), session.Choices());
  for (ToleranceFilter& f : filters) {
    for (auto& section : f.circuits) section.circuit.opAmpModel = session.Choices().opAmp;
  }
  if (filters.empty()) {
    const std::string problem = DesignNetlistProblem(session.State(), session.Choices());
    throw UsageError("no circuit to analyse: " +
                     (problem.empty() ? std::string("the page has none for the type") : problem));
  }
  return filters;
}

ToleranceFilter CascadeFilter(const std::vector<std::string>& args, std::ostream& warnings) {
  const CascadeArguments a = ParseCascadeArguments(args, warnings);
  CheckCascadeArguments(a);
  if (a.json || a.curve || a.netlistPath || a.savePath) {
    throw UsageError("--cascade takes the filter's options; --json belongs to tolerance");
  }
  ToleranceFilter filter = CascadeToleranceFilter(DesignCascadeOrRefuse(a.request), a.request.kind);
  for (auto& section : filter.circuits) section.circuit.opAmpModel = a.opAmp;
  return filter;
}

QJsonValue Number(double x) {
  return std::isfinite(x) ? QJsonValue(x + 0.0) : QJsonValue(QJsonValue::Null);
}

QJsonObject StatisticsJson(const Statistics& s) {
  return {{"mean", Number(s.mean)}, {"std", Number(s.std)}, {"min", Number(s.min)},
          {"max", Number(s.max)},   {"p5", Number(s.p5)},   {"p95", Number(s.p95)}};
}

QJsonObject SectionJson(const SectionStatistics& s) {
  QJsonObject o{
      {"f0", StatisticsJson(s.f0)}, {"q", StatisticsJson(s.q)}, {"gain", StatisticsJson(s.gain)}};
  if (s.fz) o.insert("fz", StatisticsJson(*s.fz));
  if (s.notchDepthDb) o.insert("notchDepthDb", StatisticsJson(*s.notchDepthDb));
  return o;
}

QString PartName(const std::string& part, std::size_t section, bool cascade) {
  return QString::fromStdString(FilterPartName(part, section, cascade));
}

QJsonObject Json(const ToleranceArguments& a, const std::vector<ToleranceSection>& sections,
                 const MonteCarloResult& m) {
  QJsonObject root{{"runs", m.runs}, {"seed", static_cast<double>(m.seed)}};
  if (a.cascade) {
    QJsonArray list;
    for (const SectionStatistics& s : m.sections) list.append(SectionJson(s));
    root.insert("statistics", QJsonObject{{"sections", list}});
  } else {
    root.insert("statistics", SectionJson(m.sections.at(0)));
  }
  QJsonObject sensitivities;
  QJsonArray worst;
  for (std::size_t k = 0; k < sections.size(); ++k) {
    for (const PartSensitivity& p : Sensitivities(sections[k])) {
      sensitivities.insert(
          PartName(p.part, k, a.cascade),
          QJsonObject{{"f0", Number(p.f0)}, {"q", Number(p.q)}, {"gain", Number(p.gain)}});
    }
    if (a.worstCase) {
      const WorstCase w = WorstCaseOf(sections[k], a.request.tolerances);
      const auto range = [](double least, double most) {
        return QJsonObject{{"min", Number(least)}, {"max", Number(most)}};
      };
      worst.append(QJsonObject{{"f0", range(w.f0Min, w.f0Max)},
                               {"q", range(w.qMin, w.qMax)},
                               {"gain", range(w.gainMin, w.gainMax)},
                               {"vertices", w.vertices}});
    }
  }
  root.insert("sensitivities", sensitivities);
  if (a.worstCase) {
    root.insert("worstCase",
                a.cascade ? QJsonValue(QJsonObject{{"sections", worst}}) : QJsonValue(worst.at(0)));
  }
  if (m.yield) root.insert("yield", Number(*m.yield));
  QJsonArray importance;
  for (const PartImportance& p : m.importance) {
    importance.append(
        QJsonArray{PartName(p.part, std::stoul(p.section) - 1, a.cascade), Number(p.share)});
  }
  root.insert("importance", importance);
  QJsonArray band;
  const GainBand& b = m.band;
  for (std::size_t i = 0; i < b.frequencies.size() && i < b.minDb.size(); ++i) {
    band.append(QJsonArray{Number(b.frequencies[i]), Number(b.minDb[i]), Number(b.p5Db[i]),
                           Number(b.nominalDb[i]), Number(b.p95Db[i]), Number(b.maxDb[i])});
  }
  root.insert("band", band);
  return root;
}

// One output of the filter, analysed.
struct OutputAnalysis {
  std::string output;
  std::vector<ToleranceSection> sections;
  MonteCarloResult result;
};

OutputAnalysis Analyse(const ToleranceFilter& filter, const ToleranceArguments& a) {
  auto sections = ToleranceSectionsOf(filter.circuits);
  if (!sections) throw UsageError("the filter's circuit cannot be analysed");
  MonteCarloRequest r = RequestAround(filter, a.request);
  r.fromHz = a.from.value_or(r.fromHz);
  r.toHz = a.to.value_or(r.toHz);
  if (!(r.fromHz > 0.0) || !(r.toHz > r.fromHz)) {
    throw UsageError("--from and --to need 0 < from < to");
  }
  MonteCarloResult m = RunMonteCarlo(*sections, r);
  return {filter.output, std::move(*sections), std::move(m)};
}

// One output as it is; several (the diplexer's) each under its name.
std::string Report(const ToleranceArguments& a, const std::vector<OutputAnalysis>& outputs) {
  if (a.json) {
    QJsonObject root;
    if (outputs.size() == 1) {
      root = Json(a, outputs[0].sections, outputs[0].result);
    } else {
      for (const OutputAnalysis& o : outputs)
        root.insert(QString::fromStdString(o.output), Json(a, o.sections, o.result));
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
  }
  std::string text;
  for (const OutputAnalysis& o : outputs) {
    if (!text.empty()) text += "\n";
    if (outputs.size() > 1) text += "Output: " + o.output + "\n";
    text += ToleranceReport(o.sections, o.result, a.request.tolerances, a.cascade, a.worstCase);
  }
  return text;
}

}  // namespace

int RunTolerance(const std::vector<std::string>& args) {
  std::ostringstream warnings;
  const ToleranceArguments a = Parse(args, warnings);
  const std::vector<ToleranceFilter> filters =
      a.cascade ? std::vector{CascadeFilter(a.rest, warnings)} : PageFilters(a.rest, warnings);
  std::vector<OutputAnalysis> outputs;
  for (const ToleranceFilter& filter : filters) outputs.push_back(Analyse(filter, a));
  std::cerr << warnings.str();
  std::cout << Report(a, outputs);
  return 0;
}

}  // namespace morvane::cli
