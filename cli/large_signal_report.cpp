#include "large_signal_report.h"

#include <QJsonArray>
#include <sstream>

#include "json_number.h"
#include "numerics/value_text.h"

namespace morvane::cli {

namespace {

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

std::string Padded(std::string text, std::size_t width) {
  // Widths count characters; the texts here are ASCII but for the prefix letter "µ".
  std::size_t shown = 0;
  for (const char c : text) shown += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (shown < width) text.append(width - shown, ' ');
  return text;
}

std::string ModelLine(const LargeSignalSummary& s) {
  std::string line = "Large signal with " + s.opAmp + " (swing " +
                     FormatQuantity(s.outputSwing, "V") + " peak, slew rate " +
                     FormatFixedTrimmed(2, s.slewRate / 1e6) + " V/µs";
  if (s.slewCorner) {
    line += "; the slew rate limits a full swing above " + FormatQuantity(*s.slewCorner, "Hz");
  }
  return line + ")";
}

void AppendLimits(std::ostringstream& out, const LargeSignalSummary& s) {
  if (!s.limits.problem.empty()) {
    out << "  " << s.limits.problem << "\n";
    return;
  }
  out << "  " << Padded("f", 14) << Padded("Largest output", 18) << Padded("Input", 14)
      << "Limit\n";
  for (const LargeSignalPoint& p : s.limits.points) {
    out << "  " << Padded(FormatQuantity(p.f, "Hz"), 14)
        << Padded(FormatQuantity(p.outputPeak, "V") + " peak", 18)
        << Padded(FormatQuantity(p.inputPeak, "V"), 14) << SignalLimitName(p.limit) << " of "
        << s.limits.opAmps[p.opAmp] << "\n";
  }
}

std::string SectionName(const SectionHeadroom& h) {
  if (h.section == 0) return h.opAmp;
  return "Section " + std::to_string(h.section) + " (" + h.opAmp + ")";
}

void AppendHeadroom(std::ostringstream& out, const LargeSignalSummary& s) {
  const Headroom& h = s.headroom;
  out << "\nHeadroom from " << FormatQuantity(s.range.fFrom, "Hz") << " to "
      << FormatQuantity(s.range.fTo, "Hz")
      << " (the largest gain to each section's op amps against the output's)\n";
  if (!h.problem.empty()) {
    out << "  " << h.problem << "\n";
    return;
  }
  out << "  " << Padded("Output", 22) << "gain " << FormatFixedTrimmed(3, h.outputGain) << " at "
      << FormatQuantity(h.outputAtHz, "Hz") << "\n";
  for (const SectionHeadroom& section : h.sections) {
    out << "  " << Padded(SectionName(section), 22) << "gain "
        << FormatFixedTrimmed(3, section.largestGain) << " at "
        << FormatQuantity(section.atHz, "Hz") << ", " << FormatFixedTrimmed(1, section.peakingDb)
        << " dB against the output" << (section.warning.empty() ? "" : ": clips first") << "\n";
  }
}

}  // namespace

std::string LargeSignalText(const LargeSignalSummary& summary) {
  std::ostringstream out;
  out << ModelLine(summary) << "\n";
  AppendLimits(out, summary);
  AppendHeadroom(out, summary);
  return out.str();
}

QJsonObject LargeSignalJson(const LargeSignalSummary& summary) {
  QJsonObject o;
  o.insert("opAmp", Text(summary.opAmp));
  o.insert("swing", JsonNumber(summary.outputSwing));
  o.insert("slewRate", JsonNumber(summary.slewRate));
  o.insert("slewCorner", JsonNumber(summary.slewCorner));
  o.insert("from", JsonNumber(summary.range.fFrom));
  o.insert("to", JsonNumber(summary.range.fTo));
  if (!summary.limits.problem.empty()) o.insert("problem", Text(summary.limits.problem));
  QJsonArray points;
  for (const LargeSignalPoint& p : summary.limits.points) {
    QJsonObject point;
    point.insert("f", JsonNumber(p.f));
    point.insert("outputPeak", JsonNumber(p.outputPeak));
    point.insert("inputPeak", JsonNumber(p.inputPeak));
    point.insert("limit", p.limit == SignalLimit::Swing ? "swing" : "slewRate");
    point.insert("opAmp", Text(summary.limits.opAmps[p.opAmp]));
    points.append(point);
  }
  o.insert("points", points);
  return o;
}

QJsonObject HeadroomJson(const Headroom& headroom) {
  QJsonObject o;
  if (!headroom.problem.empty()) o.insert("problem", Text(headroom.problem));
  o.insert("outputGain", JsonNumber(headroom.outputGain));
  o.insert("outputAtHz", JsonNumber(headroom.outputAtHz));
  o.insert("clippingInputPeak", JsonNumber(headroom.clippingInputPeak));
  QJsonArray sections;
  for (const SectionHeadroom& s : headroom.sections) {
    QJsonObject section;
    section.insert("section", s.section);
    section.insert("opAmp", Text(s.opAmp));
    section.insert("largestGain", JsonNumber(s.largestGain));
    section.insert("atHz", JsonNumber(s.atHz));
    section.insert("peakingDb", JsonNumber(s.peakingDb));
    section.insert("clippingInputPeak", JsonNumber(s.clippingInputPeak));
    section.insert("warning", s.warning.empty() ? QJsonValue(QJsonValue::Null) : Text(s.warning));
    sections.append(section);
  }
  o.insert("sections", sections);
  return o;
}

std::string HeadroomWarningLines(const LargeSignalSummary& summary) {
  std::string lines;
  for (const std::string& w : summary.headroom.warnings) {
    lines += "morvane-cli: warning: " + w + "\n";
  }
  return lines;
}

}  // namespace morvane::cli
