#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "as_built_json.h"
#include "cascade/cascade_names.h"
#include "cascade_output.h"
#include "json_number.h"
#include "large_signal_report.h"

namespace morvane::cli {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonArray Roots(const std::vector<Complex>& roots) {
  QJsonArray list;
  for (const Complex& root : roots)
    list.append(QJsonArray{JsonNumber(root.real()), JsonNumber(root.imag())});
  return list;
}

QJsonArray Texts(const std::vector<std::string>& texts) {
  QJsonArray list;
  for (const std::string& text : texts) list.append(Text(text));
  return list;
}

QJsonObject Figures(const CascadeFigures& f) {
  const FilterFigures& w = f.whole;
  const auto delay = [&](double GroupDelayFigures::*member) -> std::optional<double> {
    if (!w.delay) return std::nullopt;
    return (*w.delay).*member;
  };
  const auto step = [&](double StepFigures::*member) -> std::optional<double> {
    if (!w.step) return std::nullopt;
    return (*w.step).*member;
  };
  QJsonObject o;
  o.insert("passbandGainDb", JsonNumber(w.passbandGainDb));
  o.insert("f3dbLowHz", JsonNumber(w.edges.lowerHz));
  o.insert("f3dbHighHz", JsonNumber(w.edges.upperHz));
  o.insert("rippleDb", JsonNumber(w.rippleDb));
  o.insert("groupDelayS", JsonNumber(delay(&GroupDelayFigures::referenceDelay)));
  o.insert("maxGroupDelayS", JsonNumber(delay(&GroupDelayFigures::maxDelay)));
  o.insert("maxGroupDelayHz", JsonNumber(delay(&GroupDelayFigures::maxDelayHz)));
  o.insert("riseTimeS", JsonNumber(step(&StepFigures::riseTime)));
  o.insert("overshootPercent", JsonNumber(step(&StepFigures::overshootPercent)));
  o.insert("settlingTimeS", JsonNumber(w.step ? w.step->settlingTime : std::nullopt));
  o.insert("stopbandHz", JsonNumber(f.stopbandHz));
  o.insert("attenuationDb", JsonNumber(f.attenuationDb));
  return o;
}

QJsonObject Section(const CascadeSection& s, const std::optional<RealAmplifierFigures>& real) {
  QJsonObject components;
  for (const CircuitPart& part : s.circuit.circuit.parts) {
    components.insert(Text(part.name), JsonNumber(part.value));
  }
  QJsonObject o;
  o.insert("kind", Text(s.plan.kind));
  o.insert("f0", JsonNumber(s.plan.f0));
  o.insert("q", JsonNumber(s.plan.q));
  o.insert("fz", JsonNumber(s.plan.fz));
  o.insert("gain", JsonNumber(s.circuit.gain));
  o.insert("inverting", s.circuit.inverting);
  o.insert("topology", Text(SectionTopologyName(s.topology)));
  o.insert("circuit", Text(s.circuit.name));
  o.insert("peakingDb", JsonNumber(s.peaking.peakingDb));
  o.insert("gbwpHz", JsonNumber(s.peaking.gbwpHz));
  o.insert("components", components);
  o.insert("warnings", Texts(s.circuit.warnings));
  if (const auto& b = s.asBuilt) {
    const BuiltFigures designed{s.plan.f0, s.plan.q,
                                s.circuit.inverting ? -s.circuit.gain : s.circuit.gain, s.plan.fz};
    o.insert("asBuilt", AsBuiltJson(*b, designed));
  }
  if (real) o.insert("realAmplifier", RealAmplifierJson(*real));
  return o;
}

}  // namespace

std::string CascadeJson(const CascadeRequest& request, const CascadeDesign& design,
                        const RealSections& real,
                        const std::optional<LargeSignalSummary>& largeSignal) {
  QJsonObject root;
  root.insert("approximation", Text(NameOf(request.approximation)));
  root.insert("type", Text(NameOf(request.kind)));
  root.insert("order", design.order);
  root.insert("prototypeOrder", design.prototypeOrder);
  if (request.kind == FilterKind::Bandpass || request.kind == FilterKind::Bandstop) {
    root.insert("fm", JsonNumber(design.fg));
    root.insert("B", JsonNumber(request.bandwidth));
  } else {
    root.insert("fg", JsonNumber(design.fg));
  }
  root.insert("gain", JsonNumber(design.inverting ? -design.gain : design.gain));
  root.insert("inverting", design.inverting);
  root.insert("poles", Roots(design.transfer.poles));
  root.insert("zeros", Roots(design.transfer.zeros));
  root.insert("figures", Figures(design.figures));
  QJsonArray sections;
  for (std::size_t i = 0; i < design.sections.size(); ++i) {
    sections.append(Section(design.sections[i], i < real.size() ? real[i] : std::nullopt));
  }
  root.insert("sections", sections);
  root.insert("warnings", Texts(design.warnings));
  if (largeSignal) {
    root.insert("largeSignal", LargeSignalJson(*largeSignal));
    root.insert("headroom", HeadroomJson(largeSignal->headroom));
  }
  return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace morvane::cli
