#include <sstream>

#include "cascade/cascade_names.h"
#include "cascade_output.h"
#include "large_signal_report.h"
#include "numerics/number_text.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"

namespace morvane::cli {

namespace {

std::string Decibels(double value) {
  return FormatFixedTrimmed(2, value) + " dB";
}

// A gain with its sign always shown: "+1", "-2.5".
std::string SignedGain(double gain) {
  return (gain >= 0.0 ? "+" : "") + GeneralText(gain, 6);
}

std::string Capitalised(std::string_view text) {
  std::string out(text);
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z')
    out[0] = static_cast<char>(out[0] - 'a' + 'A');
  return out;
}

std::string ApproximationTitle(Approximation a) {
  switch (a) {
    case Approximation::Butterworth:
      return "Butterworth";
    case Approximation::Chebyshev:
      return "Chebyshev";
    case Approximation::Bessel:
      return "Bessel";
    case Approximation::LinkwitzRiley:
      return "Linkwitz-Riley";
    case Approximation::InverseChebyshev:
      return "Inverse Chebyshev";
    case Approximation::Elliptic:
      return "Elliptic";
  }
  return Capitalised(NameOf(a));
}

bool IsBand(FilterKind kind) {
  return kind == FilterKind::Bandpass || kind == FilterKind::Bandstop;
}

void Row(std::ostringstream& out, std::string_view label, const std::string& text) {
  std::string padded(label);
  if (padded.size() < 26) padded.append(26 - padded.size(), ' ');
  out << "  " << padded << text << "\n";
}

void FilterLines(std::ostringstream& out, const CascadeRequest& r, const CascadeDesign& d) {
  out << ApproximationTitle(r.approximation) << " " << NameOf(r.kind) << ", order " << d.order;
  if (d.order != d.prototypeOrder) out << " (prototype " << d.prototypeOrder << ")";
  if (IsBand(r.kind)) {
    out << ", fm = " << FormatQuantity(d.fg, "Hz") << ", B = " << FormatQuantity(r.bandwidth, "Hz");
  } else {
    out << ", fg = " << FormatQuantity(d.fg, "Hz");
  }
  out << ", gain " << SignedGain(d.inverting ? -d.gain : d.gain)
      << (d.inverting ? " (inverting)" : " (noninverting)") << "\n";
  if (r.scheme) {
    const ToleranceScheme& s = *r.scheme;
    out << "Tolerance scheme: at most " << GeneralText(s.d1, 6) << " dB to "
        << FormatQuantity(s.f1, "Hz") << ", at least " << GeneralText(s.d2, 6) << " dB from "
        << FormatQuantity(s.f2, "Hz") << "\n";
  }
  const bool ripple =
      r.approximation == Approximation::Chebyshev || r.approximation == Approximation::Elliptic;
  const bool stopband = r.approximation == Approximation::InverseChebyshev ||
                        r.approximation == Approximation::Elliptic;
  if (!r.scheme && (ripple || stopband)) {
    out << (ripple ? "Ripple " + GeneralText(r.rippleDb, 6) + " dB" : "")
        << (ripple && stopband ? ", " : "")
        << (stopband ? "stop band " + GeneralText(r.stopbandDb, 6) + " dB" : "") << "\n";
  }
  out << "Zin " << FormatQuantity(r.circuit.zin, "Ω") << ", resistors "
      << SeriesName(r.circuit.seriesR) << ", capacitors " << SeriesName(r.circuit.seriesC)
      << ", gain split " << NameOf(r.split) << "\n";
}

void FigureLines(std::ostringstream& out, FilterKind kind, const CascadeFigures& f) {
  const FilterFigures& w = f.whole;
  out << "\nFigures\n";
  if (w.passbandGainDb) Row(out, "Pass-band gain", Decibels(*w.passbandGainDb));
  const bool both = IsBand(kind);
  if (w.edges.lowerHz) {
    Row(out, both ? "Lower -3 dB frequency" : "-3 dB frequency",
        FormatQuantity(*w.edges.lowerHz, "Hz"));
  }
  if (w.edges.upperHz) {
    Row(out, both ? "Upper -3 dB frequency" : "-3 dB frequency",
        FormatQuantity(*w.edges.upperHz, "Hz"));
  }
  if (w.rippleDb) Row(out, "Pass-band ripple", Decibels(*w.rippleDb));
  if (w.delay) {
    Row(out, "Group delay", FormatQuantity(w.delay->referenceDelay, "s"));
    Row(out, "Largest group delay",
        FormatQuantity(w.delay->maxDelay, "s") + " at " +
            FormatQuantity(w.delay->maxDelayHz, "Hz"));
  }
  if (w.step) {
    Row(out, "Rise time (10-90 %)", FormatQuantity(w.step->riseTime, "s"));
    Row(out, "Overshoot", FormatFixedTrimmed(2, w.step->overshootPercent) + " %");
    if (w.step->settlingTime)
      Row(out, "Settling time (1 %)", FormatQuantity(*w.step->settlingTime, "s"));
  }
  if (f.stopbandHz && f.attenuationDb) {
    Row(out, "Attenuation at " + FormatQuantity(*f.stopbandHz, "Hz"), Decibels(*f.attenuationDb));
  }
}

std::string_view PartUnit(const std::string& name) {
  if (!name.empty() && name[0] == 'C') return "F";
  if (!name.empty() && name[0] == 'L') return "H";
  return "Ω";
}

// Where a section's output peaks; nothing for the high-frequency limit.
std::string PeakFrequency(std::optional<double> hz) {
  if (!hz) return {};
  return " at " + (*hz == 0.0 ? std::string("0 Hz") : FormatQuantity(*hz, "Hz"));
}

void SectionLines(std::ostringstream& out, std::size_t index, const CascadeSection& s,
                  const std::optional<RealAmplifierFigures>& real) {
  const double gain = s.circuit.inverting ? -s.circuit.gain : s.circuit.gain;
  out << "\nSection " << index + 1 << ": " << s.plan.kind << ", " << SectionTopologyName(s.topology)
      << " (" << s.circuit.name << ")\n";
  Row(out, "f0", FormatQuantity(s.plan.f0, "Hz"));
  Row(out, "Q", FormatFixedTrimmed(4, s.plan.q));
  if (s.plan.fz) Row(out, "fz", FormatQuantity(*s.plan.fz, "Hz"));
  Row(out, "Gain", SignedGain(gain));
  Row(out, "Peaking", Decibels(s.peaking.peakingDb) + PeakFrequency(s.peaking.atHz));
  Row(out, "GBWP", FormatQuantity(s.peaking.gbwpHz, "Hz"));
  if (const auto& b = s.asBuilt) {
    const auto error = [](double built, double designed) {
      const double e = ErrorPercent(built, designed);
      return " (" + std::string(e >= 0.0 ? "+" : "") + FormatFixedTrimmed(3, e) + " %)";
    };
    Row(out, "As built: f0", FormatQuantity(b->f0, "Hz") + error(b->f0, s.plan.f0));
    Row(out, "          Q", FormatFixedTrimmed(4, b->q) + error(b->q, s.plan.q));
    if (b->fz && s.plan.fz) {
      Row(out, "          fz", FormatQuantity(*b->fz, "Hz") + error(*b->fz, *s.plan.fz));
    }
    Row(out, "          gain", SignedGain(b->gain) + error(b->gain, gain));
  }
  if (real) Row(out, "Op amp", RealAmplifierLine(*real).substr(5));
  for (const CircuitPart& part : s.circuit.circuit.parts) {
    out << "  " << part.name << " = " << FormatQuantity(part.value, PartUnit(part.name)) << "\n";
  }
}

}  // namespace

std::string CascadeTable(const CascadeRequest& request, const CascadeDesign& design,
                         const RealSections& real,
                         const std::optional<LargeSignalSummary>& largeSignal) {
  std::ostringstream out;
  FilterLines(out, request, design);
  FigureLines(out, request.kind, design.figures);
  for (std::size_t i = 0; i < design.sections.size(); ++i) {
    SectionLines(out, i, design.sections[i], i < real.size() ? real[i] : std::nullopt);
  }
  if (largeSignal) out << "\n" << LargeSignalText(*largeSignal);
  return out.str();
}

}  // namespace morvane::cli
