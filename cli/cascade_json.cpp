#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "as_built_json.h"
#include "cascade/cascade_names.h"
#include "cascade_output.h"

namespace morvane::cli {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A number as the design command writes it (the shortest text that reads back the same,
// at most 17 digits), or null where there is none: JSON has no NaN or infinity.
QJsonValue Number(std::optional<double> x) {
  if (!x || !std::isfinite(*x)) return QJsonValue(QJsonValue::Null);
  return QJsonValue(*x + 0.0);
}

QJsonArray Roots(const std::vector<Complex>& roots) {
  QJsonArray list;
  for (const Complex& root : roots)
    list.append(QJsonArray{Number(root.real()), Number(root.imag())});
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
  o.insert("passbandGainDb", Number(w.passbandGainDb));
  o.insert("f3dbLowHz", Number(w.edges.lowerHz));
  o.insert("f3dbHighHz", Number(w.edges.upperHz));
  o.insert("rippleDb", Number(w.rippleDb));
  o.insert("groupDelayS", Number(delay(&GroupDelayFigures::referenceDelay)));
  o.insert("maxGroupDelayS", Number(delay(&GroupDelayFigures::maxDelay)));
  o.insert("maxGroupDelayHz", Number(delay(&GroupDelayFigures::maxDelayHz)));
  o.insert("riseTimeS", Number(step(&StepFigures::riseTime)));
  o.insert("overshootPercent", Number(step(&StepFigures::overshootPercent)));
  o.insert("settlingTimeS", Number(w.step ? w.step->settlingTime : std::nullopt));
  o.insert("stopbandHz", Number(f.stopbandHz));
  o.insert("attenuationDb", Number(f.attenuationDb));
  return o;
}

QJsonObject Section(const CascadeSection& s, const std::optional<RealAmplifierFigures>& real) {
  QJsonObject components;
  for (const CircuitPart& part : s.circuit.circuit.parts) {
    components.insert(Text(part.name), Number(part.value));
  }
  QJsonObject o;
  o.insert("kind", Text(s.plan.kind));
  o.insert("f0", Number(s.plan.f0));
  o.insert("q", Number(s.plan.q));
  o.insert("fz", Number(s.plan.fz));
  o.insert("gain", Number(s.circuit.gain));
  o.insert("inverting", s.circuit.inverting);
  o.insert("topology", Text(SectionTopologyName(s.topology)));
  o.insert("circuit", Text(s.circuit.name));
  o.insert("peakingDb", Number(s.peaking.peakingDb));
  o.insert("gbwpHz", Number(s.peaking.gbwpHz));
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
                        const RealSections& real) {
  QJsonObject root;
  root.insert("approximation", Text(NameOf(request.approximation)));
  root.insert("type", Text(NameOf(request.kind)));
  root.insert("order", design.order);
  root.insert("prototypeOrder", design.prototypeOrder);
  if (request.kind == FilterKind::Bandpass || request.kind == FilterKind::Bandstop) {
    root.insert("fm", Number(design.fg));
    root.insert("B", Number(request.bandwidth));
  } else {
    root.insert("fg", Number(design.fg));
  }
  root.insert("gain", Number(design.inverting ? -design.gain : design.gain));
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
  return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace morvane::cli
