#include "tolerance/tolerance_report.h"

#include <sstream>

#include "numerics/value_text.h"

namespace morvane {

std::string FilterPartName(const std::string& part, std::size_t section, bool cascade) {
  return cascade ? part + "_" + std::to_string(section + 1) : part;
}

std::string ToleranceReport(const std::vector<ToleranceSection>& sections,
                            const MonteCarloResult& m, const Tolerances& t, bool cascade,
                            bool worstCase) {
  std::ostringstream out;
  out << m.runs << " runs, seed " << m.seed << ", resistors "
      << FormatFixedTrimmed(2, t.resistorPercent) << " %, capacitors "
      << FormatFixedTrimmed(2, t.capacitorPercent) << " %, inductors "
      << FormatFixedTrimmed(2, t.inductorPercent) << " %, "
      << (t.distribution == ToleranceDistribution::Uniform ? "uniform" : "Gaussian (3 sigma)")
      << "\n";
  if (m.yield)
    out << "Yield against the mask: " << FormatFixedTrimmed(1, 100.0 * *m.yield) << " %\n";
  const auto row = [&out](const char* name, const Statistics& s, std::string_view unit) {
    const auto v = [unit](double x) {
      return unit.empty() ? FormatFixedTrimmed(4, x) : FormatQuantity(x, unit);
    };
    out << "  " << name << "  mean " << v(s.mean) << ", std " << v(s.std) << ", 5..95 % " << v(s.p5)
        << " .. " << v(s.p95) << ", min " << v(s.min) << ", max " << v(s.max) << "\n";
  };
  for (std::size_t k = 0; k < m.sections.size(); ++k) {
    const SectionStatistics& s = m.sections[k];
    out << "\nSection " << k + 1 << " (" << sections[k].kind << "), nominal f0 "
        << FormatQuantity(sections[k].nominal.f0, "Hz") << ", Q "
        << FormatFixedTrimmed(4, sections[k].nominal.q) << "\n";
    row("f0  ", s.f0, "Hz");
    row("Q   ", s.q, "");
    row("gain", s.gain, "");
    if (s.fz) row("fz  ", *s.fz, "Hz");
    if (s.notchDepthDb) row("depth", *s.notchDepthDb, "dB");
    if (worstCase) {
      const WorstCase w = WorstCaseOf(sections[k], t);
      out << "  worst case" << (w.vertices ? "" : " (from the sensitivities)") << ": f0 "
          << FormatQuantity(w.f0Min, "Hz") << " .. " << FormatQuantity(w.f0Max, "Hz") << ", Q "
          << FormatFixedTrimmed(4, w.qMin) << " .. " << FormatFixedTrimmed(4, w.qMax) << "\n";
    }
  }
  out << "\nParts that matter most (share of the f0 and Q spread):\n";
  for (std::size_t i = 0; i < m.importance.size() && i < 5; ++i) {
    const PartImportance& p = m.importance[i];
    out << "  " << FilterPartName(p.part, std::stoul(p.section) - 1, cascade) << "  "
        << FormatFixedTrimmed(1, 100.0 * p.share) << " %\n";
  }
  return out.str();
}

std::string SensitivityTable(const std::vector<ToleranceSection>& sections, bool cascade) {
  std::ostringstream out;
  out << "\nRelative sensitivities (dy/y per dx/x):\n  part          f0        Q     gain\n";
  const auto cell = [](double x) {
    const std::string text = FormatFixedTrimmed(3, x + 0.0);
    return std::string(text.size() < 9 ? 9 - text.size() : 0, ' ') + text;
  };
  for (std::size_t k = 0; k < sections.size(); ++k) {
    for (const PartSensitivity& p : Sensitivities(sections[k])) {
      const std::string name = FilterPartName(p.part, k, cascade);
      out << "  " << name << std::string(name.size() < 10 ? 10 - name.size() : 0, ' ') << cell(p.f0)
          << cell(p.q) << cell(p.gain) << "\n";
    }
  }
  return out.str();
}

}  // namespace morvane
