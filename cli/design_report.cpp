#include "design_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <sstream>

#include "as_built_json.h"
#include "design/design_names.h"
#include "design/page_fields.h"
#include "design_options.h"
#include "large_signal_report.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"
#include "opamp/predistortion.h"

namespace morvane::cli {

namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void AppendRow(std::ostringstream& out, std::string_view label, const std::string& text,
               std::string_view unit) {
  std::string padded(label);
  // Pad by characters, not bytes, so that labels with Greek letters line up.
  std::size_t chars = 0;
  for (unsigned char c : padded) chars += (c & 0xC0) != 0x80;
  if (chars < 24) padded.append(24 - chars, ' ');
  out << "  " << padded << text;
  // Units belong to numbers, not to placeholders such as "not needed" or a dash.
  const bool numeric = text.find_first_of("0123456789") != std::string::npos;
  if (!unit.empty() && numeric) out << " " << unit;
  out << "\n";
}

void AppendGrid(std::ostringstream& out, std::string_view name, const Grid& grid) {
  out << name << "\n";
  for (const auto& row : grid) {
    bool any = false;
    for (const auto& cell : row) any = any || cell.find_first_not_of(' ') != std::string::npos;
    if (!any) continue;
    out << " ";
    for (const auto& cell : row) {
      std::string padded = cell;
      if (padded.size() < 12) padded.append(12 - padded.size(), ' ');
      out << " " << padded;
    }
    out << "\n";
  }
}

struct StateMember {
  const char* name;
  double DesignState::*member;
};

constexpr StateMember kStateMembers[] = {
    {"fg", &DesignState::fg},
    {"f", &DesignState::f},
    {"Q", &DesignState::Q},
    {"D", &DesignState::D},
    {"Vu", &DesignState::Vu},
    {"Zin", &DesignState::Zin},
    {"R0", &DesignState::R0},
    {"R1", &DesignState::R1},
    {"R2", &DesignState::R2},
    {"R3", &DesignState::R3},
    {"R4", &DesignState::R4},
    {"R5", &DesignState::R5},
    {"R6", &DesignState::R6},
    {"C1", &DesignState::C1},
    {"C2", &DesignState::C2},
    {"C3", &DesignState::C3},
    {"VuActual", &DesignState::VuActual},
    {"dVu", &DesignState::dVu},
    {"fo", &DesignState::fo},
    {"B", &DesignState::B},
    {"fnfp", &DesignState::fnfp},
    {"RL", &DesignState::RL},
    {"Welligkeit", &DesignState::rippleDb},
    {"Sweep", &DesignState::Sweep},
    {"Vuf", &DesignState::Vuf},
    {"VufdB", &DesignState::VufdB},
    {"Phif", &DesignState::Phif},
    {"tgrf", &DesignState::tgrf},
};

// The figures with rounded resistors (or a real op amp) beside the designed ones.
void AppendBuilt(std::ostringstream& out, const std::string& title, const BuiltFigures& built,
                 const BuiltFigures& designed) {
  const auto row = [&](std::string_view label, double b, double d, std::string_view unit) {
    const auto text = [unit](double x) {
      return unit.empty() ? FormatFixedTrimmed(4, x) : FormatQuantity(x, unit);
    };
    const double error = ErrorPercent(b, d);
    AppendRow(out, label,
              text(b) + " (designed " + text(d) + ", " + (error >= 0.0 ? "+" : "") +
                  FormatFixedTrimmed(3, error) + " %)",
              {});
  };
  out << "\n" << title << "\n";
  row("f0", built.f0, designed.f0, "Hz");
  row("Q", built.q, designed.q, "");
  if (built.fz && designed.fz) row("fz", *built.fz, *designed.fz, "Hz");
  row("Gain", built.gain, designed.gain, "");
}

}  // namespace

std::string DesignTable(const DesignSession& session) {
  const DesignState& s = session.State();
  std::ostringstream out;
  out << "Topology: " << TopologyCaption(s.topology) << ", " << FilterTypeName(session.Type())
      << "; resistors " << SeriesName(s.ESeriesR) << ", capacitors " << SeriesName(s.ESeriesC)
      << "\n\nComponents\n";
  for (const auto& row : PageResultFields(s.topology)) {
    AppendRow(out, row.label, session.FieldText(row.field), row.unit);
  }
  for (const auto& [name, grid] : session.Grids()) {
    const bool lcGrid = name == "StringGridAlignPN" || name == "StringAlignGridLC";
    if ((s.topology == Topology::LcLadder && lcGrid) ||
        (s.topology == Topology::Diplexer && !lcGrid)) {
      AppendGrid(out, name, grid);
    }
  }
  out << "\nFigures\n";
  for (const auto& row : InformationPanelFields()) {
    const std::string_view label =
        row.field == "foAusgabe" ? ResonanceLabel(session.Type()) : row.label;
    AppendRow(out, label, session.FieldText(row.field), row.unit);
  }
  out << "\nFrequency response at f =" << session.FieldText("fEingabe") << " Hz\n";
  for (const auto& row : ReadoutFields()) {
    AppendRow(out, row.label, session.FieldText(row.field), row.unit);
  }
  if (const auto& b = session.AsBuilt()) {
    AppendBuilt(out,
                session.ValuesChosen() ? "As built, with the values of the value search"
                                       : "As built, resistors rounded to the series",
                b->built, b->designed);
  }
  if (const auto& p = session.PredistortionOutcome(); p && session.Choices().opAmp) {
    out << "\n" << PredistortionLine(*p, *session.Choices().opAmp, false) << "\n";
  }
  if (const auto& r = session.RealAmplifier(); r && r->unstable) {
    out << "\n" << RealAmplifierLine(*r) << "\n";
  } else if (r) {
    AppendBuilt(out, "With the op amp " + r->opAmp + " (against ideal op amps)", r->real, r->ideal);
    AppendRow(out, "Peaking", FormatFixedTrimmed(2, r->peakingDb) + " dB", {});
  }
  if (const auto& large = session.LargeSignal()) out << "\n" << LargeSignalText(*large);
  for (const auto& message : session.Messages()) out << "\nMessage: " << message << "\n";
  if (!session.CurrentNotice().empty()) out << "\nNote: " << session.CurrentNotice() << "\n";
  if (session.BeepCount() > 0) {
    out << "\n(beep: the " << FilterTypeName(session.Type())
        << " type is not designed by this topology)\n";
  }
  return out.str();
}

std::string DesignJson(const DesignSession& session) {
  const DesignState& s = session.State();
  QJsonObject state;
  for (const auto& m : kStateMembers) state.insert(m.name, s.*m.member);
  state.insert("LCOrder", s.LCOrder);
  state.insert("ESeriesR", s.ESeriesR);
  state.insert("ESeriesC", s.ESeriesC);

  QJsonObject fields;
  for (const auto& [name, text] : session.Fields()) fields.insert(Q(name), Q(text));

  QJsonObject grids;
  for (const auto& [name, grid] : session.Grids()) {
    QJsonArray rows;
    for (const auto& row : grid) {
      QJsonArray cells;
      for (const auto& cell : row) cells.append(Q(cell));
      rows.append(cells);
    }
    grids.insert(Q(name), rows);
  }

  QJsonArray messages;
  for (const auto& message : session.Messages()) messages.append(Q(message));

  QJsonArray warnings;
  for (const auto& warning : session.ComponentWarnings()) warnings.append(Q(warning.message));

  QJsonObject root;
  root.insert("topology", static_cast<int>(s.topology));
  root.insert("type", Q(FilterTypeName(session.Type())));
  root.insert("state", state);
  root.insert("fields", fields);
  root.insert("grids", grids);
  root.insert("beeps", session.BeepCount());
  root.insert("messages", messages);
  root.insert("warnings", warnings);
  if (!session.CurrentNotice().empty()) root.insert("notice", Q(session.CurrentNotice()));
  if (const auto& b = session.AsBuilt()) root.insert("asBuilt", AsBuiltJson(b->built, b->designed));
  if (const auto& r = session.RealAmplifier()) root.insert("realAmplifier", RealAmplifierJson(*r));
  if (const auto& large = session.LargeSignal()) {
    root.insert("largeSignal", LargeSignalJson(*large));
    root.insert("headroom", HeadroomJson(large->headroom));
  }
  return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

std::string ComponentWarningLines(const DesignSession& session) {
  std::string lines;
  for (const auto& warning : session.ComponentWarnings()) {
    lines += "morvane-cli: warning: " + warning.message + "\n";
  }
  if (const auto& large = session.LargeSignal()) lines += HeadroomWarningLines(*large);
  return lines;
}

}  // namespace morvane::cli
