// Pictures of cascade sections: every circuit a section can be built as has a drawing that
// holds exactly its parts under their netlist names and joins exactly its nodes, drawn by the
// rules of the page pictures, with texts clear of each other and of the lines; the chain joins
// the sections in order, and prints over pages.

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cascade/cascade_design.h"
#include "cascade/section_circuit.h"
#include "schematic/chain_layout.h"
#include "schematic/chain_painter.h"
#include "schematic/schematic_layout.h"
#include "schematic/section_drawing.h"
#include "schematic/section_labels.h"
#include "schematic/section_pictures.h"
#include "support/schematic_netlist.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::schematic;

namespace {

struct SectionCase {
  const char* what;
  Topology topology;
  const char* kind;
  double q;
  double fzRatio;  // fz / f0 for the notch kinds, 0 for none
  double gain;
  std::vector<std::string> expectParts;  // the circuit must have exactly these
};

// Every circuit of section_circuit.cpp, each optional part with and without.
const std::vector<SectionCase>& Cases() {
  static const std::vector<SectionCase> cases{
      {"RC lowpass, follower", Topology::Pfb, "first-order-lowpass", 0.5, 0, 1.0, {"R1", "C1"}},
      {"RC lowpass, divider",
       Topology::Svf3,
       "first-order-lowpass",
       0.5,
       0,
       0.4,
       {"R1", "R1G", "C1"}},
      {"RC lowpass, gain",
       Topology::Fliege,
       "first-order-lowpass",
       0.5,
       0,
       2.5,
       {"R1", "C1", "R3", "R4"}},
      {"RC highpass, follower", Topology::Svf4, "first-order-highpass", 0.5, 0, 1.0, {"C1", "R1"}},
      {"RC highpass, gain",
       Topology::Pfb,
       "first-order-highpass",
       0.5,
       0,
       3.0,
       {"C1", "R1", "R3", "R4"}},
      {"inverting first-order lowpass",
       Topology::Mfb,
       "first-order-lowpass",
       0.5,
       0,
       2.0,
       {"R1", "R2", "C1"}},
      {"inverting first-order highpass",
       Topology::Mfb,
       "first-order-highpass",
       0.5,
       0,
       0.5,
       {"C1", "R1", "R2"}},
      {"MFB lowpass", Topology::Mfb, "lowpass", 1.3, 0, 1.0, {"R1", "R2", "R3", "C1", "C2"}},
      {"MFB highpass", Topology::Mfb, "highpass", 0.9, 0, 1.0, {"C1", "C2", "C3", "R1", "R2"}},
      {"MFB bandpass", Topology::Mfb, "bandpass", 5.0, 0, 1.0, {"R1", "R2", "R3", "C1", "C2"}},
      {"Sallen-Key lowpass, follower",
       Topology::Pfb,
       "lowpass",
       2.0,
       0,
       1.0,
       {"R1", "R2", "C1", "C2"}},
      {"Sallen-Key lowpass, divider",
       Topology::Pfb,
       "lowpass",
       0.7,
       0,
       0.3,
       {"R1", "R1G", "R2", "C1", "C2"}},
      {"Sallen-Key lowpass, gain",
       Topology::Pfb,
       "lowpass",
       0.7,
       0,
       4.0,
       {"R1", "R2", "C1", "C2", "R3", "R4"}},
      {"Sallen-Key highpass, follower",
       Topology::Pfb,
       "highpass",
       0.7,
       0,
       1.0,
       {"C1", "C2", "R1", "R2"}},
      {"Sallen-Key highpass, gain",
       Topology::Pfb,
       "highpass",
       1.5,
       0,
       2.0,
       {"C1", "C2", "R1", "R2", "R3", "R4"}},
      {"PFB bandpass",
       Topology::Pfb,
       "bandpass",
       3.0,
       0,
       100.0,
       {"R1", "R1B", "R2", "C1", "C2", "R3", "R4"}},
      {"PFB bandpass, divider",
       Topology::Pfb,
       "bandpass",
       3.0,
       0,
       1.0,
       {"R1", "R1G", "R1B", "R2", "C1", "C2", "R3", "R4"}},
      {"PFB bandpass, no R4",
       Topology::Pfb,
       "bandpass",
       0.5,
       0,
       0.5,
       {"R1", "R1B", "R2", "C1", "C2", "R3"}},
      {"SVF3 lowpass",
       Topology::Svf3,
       "lowpass",
       0.8,
       0,
       1.0,
       {"R0", "R1", "R2", "R3", "R4", "R5", "R6", "C1", "C2"}},
      {"SVF3 highpass",
       Topology::Svf3,
       "highpass",
       0.8,
       0,
       1.0,
       {"R0", "R1", "R2", "R3", "R4", "R5", "R6", "C1", "C2"}},
      {"SVF3 bandpass",
       Topology::Svf3,
       "bandpass",
       4.0,
       0,
       1.0,
       {"R0", "R1", "R2", "R3", "R4", "R5", "R6", "C1", "C2"}},
      {"SVF4 lowpass",
       Topology::Svf4,
       "lowpass",
       0.8,
       0,
       1.0,
       {"R0", "R1", "R2", "R3", "R3B", "R4", "R4B", "R5", "C1", "C2"}},
      {"SVF4 highpass",
       Topology::Svf4,
       "highpass",
       0.8,
       0,
       1.0,
       {"R0", "R1", "R2", "R3", "R3B", "R4", "R4B", "R5", "C1", "C2"}},
      {"SVF4 bandpass",
       Topology::Svf4,
       "bandpass",
       4.0,
       0,
       1.0,
       {"R0", "R1", "R2", "R3", "R3B", "R4", "R4B", "R5", "C1", "C2"}},
      {"Fliege lowpass",
       Topology::Fliege,
       "lowpass",
       0.8,
       0,
       2.0,
       {"R1", "R2", "R3", "R4", "R5", "C1", "C2"}},
      {"Fliege highpass",
       Topology::Fliege,
       "highpass",
       0.8,
       0,
       2.0,
       {"R1", "R2", "R3", "R4", "R5", "C1", "C2"}},
      {"Fliege bandpass",
       Topology::Fliege,
       "bandpass",
       4.0,
       0,
       2.0,
       {"R1", "R2", "R3", "R4", "R5", "C1", "C2"}},
      {"Fliege notch",
       Topology::Fliege,
       "notch",
       2.0,
       1.0,
       1.0,
       {"R1", "R2", "R3", "R4", "R4B", "R5", "C1", "C2"}},
      {"elliptical lowpass",
       Topology::Pfb,
       "lowpass-notch",
       3.0,
       2.0,
       1.0,
       {"R1A", "R1B", "R1", "R2", "R3", "R4", "C1", "C2", "C3"}},
      {"twin-T",
       Topology::Pfb,
       "notch",
       2.0,
       1.0,
       1.0,
       {"C1", "C1B", "R1", "R1B", "C2", "R2", "R3", "R4"}},
      {"twin-T, no R4",
       Topology::Pfb,
       "notch",
       0.5,
       1.0,
       1.0,
       {"C1", "C1B", "R1", "R1B", "C2", "R2", "R3"}},
      {"state-variable lowpass notch",
       Topology::Svf4,
       "lowpass-notch",
       4.0,
       1.6,
       1.0,
       {"R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9", "C1", "C2"}},
      {"state-variable highpass notch",
       Topology::Svf4,
       "highpass-notch",
       0.7,
       0.6,
       2.0,
       {"R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9", "C1", "C2"}},
      {"state-variable notch",
       Topology::Svf4,
       "notch",
       0.4,
       1.0,
       1.0,
       {"R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9", "C1", "C2"}},
  };
  return cases;
}

CascadeSection Built(const SectionCase& c) {
  CascadeSection section;
  section.plan.kind = c.kind;
  section.plan.f0 = 1000.0;
  section.plan.q = c.q;
  if (c.fzRatio > 0) section.plan.fz = c.fzRatio * 1000.0;
  section.plan.gain = c.gain;
  section.topology = c.topology;
  section.circuit = DesignSectionCircuit(section.plan, c.topology, {});
  return section;
}

std::set<std::string> PartNames(const morvane::Circuit& circuit) {
  std::set<std::string> names;
  for (const CircuitPart& p : circuit.parts) names.insert(p.name);
  return names;
}

bool IsTwoTerminal(const Part& p) {
  return p.symbol == Symbol::Resistor || p.symbol == Symbol::Capacitor ||
         p.symbol == Symbol::Inductor;
}

// Pairs the drawing's nets one to one with the circuit's nodes so that every part lies on
// the nodes the circuit gives it and every op amp on those of one of the circuit's op amps.
// Grounds are node "0"; a terminal is the node it is named after, and terminals of one
// name are one node.
class NodeMatcher {
 public:
  NodeMatcher(const FlatCircuit& flat, const morvane::Circuit& circuit) : circuit_(circuit) {
    const std::vector<std::vector<int>> nets = PartNets(flat);
    for (std::size_t i = 0; i < flat.parts.size(); ++i) {
      const Part& p = flat.parts[i];
      if (p.symbol == Symbol::Ground || p.symbol == Symbol::Terminal) {
        const std::string node = p.symbol == Symbol::Ground ? "0" : std::string(p.label);
        const int net = nets[i][0];
        // Terminals of one name join their nets.
        if (auto named = fixed_.find(node); named != fixed_.end() && named->second != net) {
          alias_[net] = named->second;
        } else {
          fixed_[node] = net;
        }
      } else if (p.symbol == Symbol::OpAmp) {
        amps_.push_back(nets[i]);
      } else {
        parts_.push_back({std::string(p.label), nets[i]});
      }
    }
  }

  bool Matches() {
    if (parts_.size() != circuit_.parts.size() || amps_.size() != circuit_.opAmps.size()) {
      return false;
    }
    for (const auto& [node, net] : fixed_) {
      if (!Assign(node, net)) return false;
    }
    usedAmps_.assign(circuit_.opAmps.size(), false);
    return MatchPart(0);
  }

 private:
  int Net(int net) const {
    const auto a = alias_.find(net);
    return a == alias_.end() ? net : a->second;
  }

  bool Assign(const std::string& node, int net) {
    net = Net(net);
    const auto byNode = nodeNet_.find(node);
    if (byNode != nodeNet_.end()) return byNode->second == net;
    if (netNode_.count(net)) return false;
    nodeNet_[node] = net;
    netNode_[net] = node;
    return true;
  }

  bool Try(const std::vector<std::pair<std::string, int>>& pairs, std::size_t next, bool amps) {
    const auto nodes = nodeNet_;
    const auto nets = netNode_;
    bool ok = true;
    for (const auto& [node, net] : pairs) ok = ok && Assign(node, net);
    if (ok && (amps ? MatchAmp(next) : MatchPart(next))) return true;
    nodeNet_ = nodes;
    netNode_ = nets;
    return false;
  }

  bool MatchPart(std::size_t i) {
    if (i == parts_.size()) return MatchAmp(0);
    const auto& [name, nets] = parts_[i];
    for (const CircuitPart& part : circuit_.parts) {
      if (part.name != name) continue;
      return Try({{part.a, nets[0]}, {part.b, nets[1]}}, i + 1, false) ||
             Try({{part.a, nets[1]}, {part.b, nets[0]}}, i + 1, false);
    }
    return false;
  }

  bool MatchAmp(std::size_t i) {
    if (i == amps_.size()) return true;
    const std::vector<int>& pins = amps_[i];  // inverting, non-inverting, output
    for (std::size_t k = 0; k < circuit_.opAmps.size(); ++k) {
      if (usedAmps_[k]) continue;
      const CircuitOpAmp& amp = circuit_.opAmps[k];
      usedAmps_[k] = true;
      if (Try({{amp.minus, pins[0]}, {amp.plus, pins[1]}, {amp.output, pins[2]}}, i + 1, true)) {
        return true;
      }
      usedAmps_[k] = false;
    }
    return false;
  }

  const morvane::Circuit& circuit_;
  std::map<std::string, int> fixed_;
  std::map<int, int> alias_;
  std::vector<std::pair<std::string, std::vector<int>>> parts_;
  std::vector<std::vector<int>> amps_;
  std::vector<bool> usedAmps_;
  std::map<std::string, int> nodeNet_;
  std::map<int, std::string> netNode_;
};

QRectF Stroke(GridPoint a, GridPoint b) {
  return QRectF(QPointF(a.x, a.y), QPointF(b.x, b.y))
      .normalized()
      .adjusted(-0.06, -0.06, 0.06, 0.06);
}

// Every line of the drawing as drawn, and every symbol's body.
std::vector<QRectF> Ink(const FlatCircuit& flat) {
  std::vector<QRectF> ink;
  for (const auto& line : flat.wires) {
    for (std::size_t i = 1; i < line.size(); ++i) ink.push_back(Stroke(line[i - 1], line[i]));
  }
  for (const Part& p : flat.parts) {
    if (!BodyBox(p).isEmpty()) ink.push_back(BodyBox(p));
    if (IsTwoTerminal(p)) ink.push_back(Stroke(p.a, p.b));
    if (p.symbol == Symbol::OpAmp) {
      const AmpPins pins = OpAmpPins(p);
      ink.push_back(Stroke(pins.minus, pins.minus + GridPoint{1, 0}));
      ink.push_back(Stroke(pins.plus, pins.plus + GridPoint{1, 0}));
    }
  }
  return ink;
}

QStringList TextClashes(const LabelledDrawing& labelled) {
  QStringList clashes;
  const std::vector<QRectF> ink = Ink(labelled.drawing.flat);
  const auto& labels = labelled.labels;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const QRectF box = labels[i].box.adjusted(-0.05, -0.05, 0.05, 0.05);
    for (std::size_t j = i + 1; j < labels.size(); ++j) {
      if (box.intersects(labels[j].box)) clashes << labels[i].name + " / " + labels[j].name;
    }
    for (const QRectF& r : ink) {
      if (box.intersects(r)) clashes << labels[i].name + " / a line or symbol";
    }
  }
  return clashes;
}

QRect InkBounds(const QImage& image) {
  QRect ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
    }
  }
  return ink;
}

CascadeDesign Design(Approximation a, FilterKind kind, int order, std::optional<Topology> t) {
  CascadeRequest request;
  request.approximation = a;
  request.kind = kind;
  request.order = order;
  request.topology = t;
  request.fm = 1000.0;
  request.bandwidth = 400.0;
  return DesignCascade(request);
}

}  // namespace

class SectionSchematicTest : public QObject {
  Q_OBJECT

 private slots:
  // The circuits come out as the table says, so each drawing variant is reached.
  void everyCaseBuildsTheCircuitItNames() {
    for (const SectionCase& c : Cases()) {
      const CascadeSection s = Built(c);
      QVERIFY2(s.circuit.problem.empty(), (std::string(c.what) + ": " + s.circuit.problem).c_str());
      const std::set<std::string> expected(c.expectParts.begin(), c.expectParts.end());
      QVERIFY2(PartNames(s.circuit.circuit) == expected, c.what);
    }
  }

  void everySectionCircuitIsDrawnPartForPart() {
    for (const SectionCase& c : Cases()) {
      const CascadeSection s = Built(c);
      const auto drawing = DrawSection(c.topology, c.kind, s.circuit.circuit);
      QVERIFY2(drawing, c.what);
      std::multiset<std::string> drawn;
      for (const Part& p : drawing->flat.parts) {
        if (IsTwoTerminal(p)) drawn.insert(std::string(p.label));
      }
      const std::set<std::string> built = PartNames(s.circuit.circuit);
      QVERIFY2(drawn == std::multiset<std::string>(built.begin(), built.end()), c.what);
      QVERIFY2(NodeMatcher(drawing->flat, s.circuit.circuit).Matches(), c.what);
    }
  }

  void drawingsFollowTheRules() {
    for (const SectionCase& c : Cases()) {
      const auto drawing = DrawSection(c.topology, c.kind, Built(c).circuit.circuit);
      QVERIFY2(drawing, c.what);
      const std::vector<std::string> faults = DrawingFaults(drawing->flat);
      std::string all = c.what;
      for (const std::string& f : faults) all += "\n  " + f;
      QVERIFY2(faults.empty(), all.c_str());
    }
  }

  // Each part shows its own value, as FormatValue writes it.
  void partsShowTheirValues() {
    for (const SectionCase& c : Cases()) {
      const CascadeSection s = Built(c);
      const auto drawing = DrawSection(c.topology, c.kind, s.circuit.circuit);
      QVERIFY2(drawing && drawing->values.size() == drawing->flat.parts.size(), c.what);
      for (std::size_t i = 0; i < drawing->flat.parts.size(); ++i) {
        const Part& p = drawing->flat.parts[i];
        if (!IsTwoTerminal(p)) {
          QVERIFY(drawing->values[i].empty());
          continue;
        }
        const auto part =
            std::find_if(s.circuit.circuit.parts.begin(), s.circuit.circuit.parts.end(),
                         [&](const CircuitPart& cp) { return cp.name == p.label; });
        QCOMPARE(drawing->values[i], PartValueText(part->value));
      }
    }
    const struct {
      double value;
      const char* text;
    } texts[] = {{4700, "4.70k"},      {10e-9, "10.00n"}, {1e6, "1.00M"},
                 {470e-12, "470.00p"}, {220, "220.000"},  {1.5e-6, "1.50u"}};
    for (const auto& t : texts) QCOMPARE(PartValueText(t.value), std::string(t.text));
  }

  // The texts stand clear at a size that can be read beside the symbols: full size in the
  // section drawings, which were laid out with room for the values, and no less than 0.55 in
  // the (widened) page drawings.
  void textsStayClearAndReadable() {
    QStringList faults;
    for (const SectionCase& c : Cases()) {
      const auto drawing = DrawSection(c.topology, c.kind, Built(c).circuit.circuit);
      QVERIFY2(drawing, c.what);
      const LabelledDrawing labelled = LabelDrawing(*drawing);
      for (const QString& clash : TextClashes(labelled)) faults << QString(c.what) + ": " + clash;
      const QString what(c.what);
      const bool own = what.startsWith("RC") || what.startsWith("inverting") ||
                       what.endsWith("divider") || what.startsWith("state-variable");
      if (labelled.textScale < (own ? 1.0 : 0.55)) {
        faults << what + ": texts at " + QString::number(labelled.textScale);
      }
      // Every part and terminal has its text.
      std::size_t named = 0;
      for (const Part& p : drawing->flat.parts) named += p.label.empty() ? 0 : 1;
      if (labelled.labels.size() != named) faults << QString(c.what) + ": a text is missing";
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
  }

  // A wrong wire or a swapped name must show: the checks above are no formality.
  void aMisdrawnSectionIsCaught() {
    const CascadeSection s = Built(Cases()[11]);  // Sallen-Key lowpass with divider
    const auto drawing = DrawSection(s.topology, s.plan.kind, s.circuit.circuit);
    QVERIFY(drawing && NodeMatcher(drawing->flat, s.circuit.circuit).Matches());
    FlatCircuit swapped = drawing->flat;
    for (Part& p : swapped.parts) {
      if (p.label == "R1G" || p.label == "R2") p.label = p.label == "R2" ? "R1G" : "R2";
    }
    QVERIFY(!NodeMatcher(swapped, s.circuit.circuit).Matches());
    const auto amp = std::find_if(drawing->flat.parts.begin(), drawing->flat.parts.end(),
                                  [](const Part& p) { return p.symbol == Symbol::OpAmp; });
    const AmpPins pins = OpAmpPins(*amp);
    // A wire too many: the inputs shorted.
    FlatCircuit shorted = drawing->flat;
    shorted.wires.push_back({pins.minus, pins.plus});
    QVERIFY(!NodeMatcher(shorted, s.circuit.circuit).Matches());
    // A wire missing: nothing reaches the non-inverting input.
    FlatCircuit open = drawing->flat;
    const auto before = open.wires.size();
    std::erase_if(open.wires, [&](const std::vector<GridPoint>& line) {
      return line.back() == pins.plus || line.front() == pins.plus;
    });
    QCOMPARE(open.wires.size(), before - 1);
    QVERIFY(!NodeMatcher(open, s.circuit.circuit).Matches());
    morvane::Circuit other = s.circuit.circuit;
    other.parts.back().a = "in";
    QVERIFY(!NodeMatcher(drawing->flat, other).Matches());
  }

  // Circuits no drawing knows have none: a part added, a part missing, an unknown kind.
  void unknownCircuitsHaveNoDrawing() {
    const CascadeSection s = Built(Cases()[10]);  // Sallen-Key lowpass, follower
    QVERIFY(DrawSection(s.topology, s.plan.kind, s.circuit.circuit));
    morvane::Circuit extra = s.circuit.circuit;
    extra.parts.push_back({"R9", "a", "0", 1e3});
    QVERIFY(!DrawSection(s.topology, s.plan.kind, extra));
    morvane::Circuit missing = s.circuit.circuit;
    missing.parts.erase(missing.parts.begin());
    QVERIFY(!DrawSection(s.topology, s.plan.kind, missing));
    QVERIFY(!DrawSection(s.topology, "allpass", s.circuit.circuit));
    QVERIFY(!DrawSection(Topology::Mfb, "notch", s.circuit.circuit));
    QVERIFY(!DrawSection(s.topology, s.plan.kind, {}));
    morvane::Circuit twoAmps = s.circuit.circuit;
    twoAmps.opAmps.push_back(twoAmps.opAmps.front());
    QVERIFY(!DrawSection(s.topology, s.plan.kind, twoAmps));
  }

  // Without a drawing a section shows its problem, or its parts with values and nodes.
  void sectionsWithoutDrawingShowTheirText() {
    CascadeSection broken = Built(Cases()[0]);
    broken.circuit.problem = "the circuit needs Q of at least 0.5";
    const ChainBlock problem = LayOutSection(broken, 2);
    QVERIFY(!problem.drawing);
    QVERIFY(problem.text.join(" ").contains("needs Q of at least 0.5"));
    CascadeSection unknown = Built(Cases()[10]);
    unknown.circuit.circuit.parts.push_back({"R9", "a", "0", 4700});
    const ChainBlock listed = LayOutSection(unknown, 1);
    QVERIFY(!listed.drawing);
    QVERIFY(listed.text.join("\n").contains("R9 4.70k  a - 0"));
    QVERIFY(listed.caption.front().startsWith("1: lowpass, pfb"));
  }

  // The chain runs from the first input to the last output, each output wired to the next
  // input, the sections side by side without overlapping.
  void chainJoinsTheSectionsInOrder() {
    const CascadeDesign designs[] = {
        Design(Approximation::Elliptic, FilterKind::Bandpass, 4, std::nullopt),
        Design(Approximation::Butterworth, FilterKind::Lowpass, 5, Topology::Pfb),
        Design(Approximation::Butterworth, FilterKind::Lowpass, 5, Topology::Mfb),
        Design(Approximation::Butterworth, FilterKind::Bandstop, 3, std::nullopt),
        Design(Approximation::Chebyshev, FilterKind::Highpass, 6, Topology::Svf4),
        Design(Approximation::Bessel, FilterKind::Bandpass, 2, Topology::Svf3)};
    for (const CascadeDesign& design : designs) {
      QVERIFY2(design.problem.empty(), design.problem.c_str());
      const ChainDrawing chain = LayOutChain(design);
      QCOMPARE(chain.blocks.size(), design.sections.size());
      QCOMPARE(chain.joins.size(), design.sections.size() - 1);
      for (std::size_t k = 0; k < chain.blocks.size(); ++k) {
        const ChainBlock& b = chain.blocks[k];
        QVERIFY2(b.drawing, qPrintable(b.caption.join(" ")));
        QVERIFY(b.caption.front().startsWith(QString::number(k + 1) + ": "));
        if (k == 0) continue;
        const ChainBlock& a = chain.blocks[k - 1];
        QVERIFY(a.box.translated(a.shift).right() < b.box.translated(b.shift).left());
        const std::vector<QPointF>& join = chain.joins[k - 1];
        QCOMPARE(join.front(), a.out + a.shift);
        QCOMPARE(join.back(), b.in + b.shift);
        for (std::size_t i = 1; i < join.size(); ++i) {
          QVERIFY(join[i - 1].x() == join[i].x() || join[i - 1].y() == join[i].y());
        }
      }
    }
  }

  void pagesHoldWholeSectionsInOrder() {
    const ChainDrawing chain =
        LayOutChain(Design(Approximation::Butterworth, FilterKind::Lowpass, 9, Topology::Svf4));
    const int count = static_cast<int>(chain.blocks.size());
    const double whole = RangeExtent(chain, 0, count).width();
    const struct {
      double width;
      std::size_t pages;
    } cases[] = {{whole, 1}, {whole * 10, 1}, {1.0, chain.blocks.size()}};
    for (const auto& c : cases) {
      const auto pages = ChainPages(chain, c.width);
      QCOMPARE(pages.size(), c.pages);
      int next = 0;
      for (const auto& [first, last] : pages) {
        QCOMPARE(first, next);
        QVERIFY(last > first);
        QVERIFY(last - first == 1 || RangeExtent(chain, first, last).width() <= c.width);
        next = last;
      }
      QCOMPARE(next, count);
    }
    QVERIFY(ChainPages(chain, whole / 2).size() >= 2);
    QVERIFY(ChainPages(ChainDrawing{}, 100).empty());
  }

  void chainPrintsOverPages() {
    const CascadeDesign design =
        Design(Approximation::Butterworth, FilterKind::Lowpass, 10, Topology::Fliege);
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath("chain.pdf"));
    pdf.setResolution(300);
    const ChainDrawing chain = LayOutChain(design);
    const double unit = UnitForTextSize(chain.textScale, 9.0, 300);
    const auto rows = ChainPages(chain, pdf.width() / unit);
    QVERIFY(rows.size() >= 2);
    // Rows go down the page as long as they fit.
    double height = 0;
    for (const auto& [first, last] : rows) {
      height += RangeExtent(chain, first, last).height() * unit + 2 * unit;
    }
    const int pages = PrintChain(pdf, design);
    QVERIFY(pages >= 1 && pages < static_cast<int>(rows.size()));
    QVERIFY(pages <= static_cast<int>(std::ceil(height / pdf.height())) + 1);
    QPdfWriter narrow(dir.filePath("narrow.pdf"));
    narrow.setResolution(300);
    narrow.setPageSize(QPageSize(QSizeF(60, 30), QPageSize::Millimeter));
    narrow.setPageMargins({});
    QCOMPARE(PrintChain(narrow, design), static_cast<int>(design.sections.size()));
    QVERIFY(QFileInfo(dir.filePath("chain.pdf")).size() > 0);
    QPdfWriter empty(dir.filePath("empty.pdf"));
    QCOMPARE(PrintChain(empty, CascadeDesign{}), 0);
  }

  // Painted inside the target only, as large as fits.
  void picturesFillTheirTarget() {
    const CascadeDesign design =
        Design(Approximation::Elliptic, FilterKind::Bandpass, 4, std::nullopt);
    const QRectF target(20, 10, 400, 200);
    for (int which = 0; which < 2; ++which) {
      QImage image(440, 220, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      if (which == 0) {
        PaintSection(painter, target, design.sections.front(), 1);
      } else {
        PaintChain(painter, target, design);
      }
      painter.end();
      const QRect ink = InkBounds(image);
      QVERIFY(target.adjusted(-1, -1, 1, 1).contains(ink));
      QVERIFY(ink.width() > 0.9 * target.width() || ink.height() > 0.9 * target.height());
    }
  }

  // A section picture in a large widget stops growing where its texts would be oversized.
  void sectionPictureGrowsOnlySoFar() {
    const ChainBlock block = LayOutSection(Built(Cases()[5]), 1);
    const double most = UnitForTextSize(BlockTextScale(block), 18, 72);
    const struct {
      double mostUnit;
      bool fillsTarget;
    } cases[] = {{0, true}, {most, false}, {1000, true}};
    for (const auto& c : cases) {
      QImage image(2000, 1600, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      PaintBlock(painter, QRectF(0, 0, 2000, 1600), block, c.mostUnit);
      painter.end();
      const QRect ink = InkBounds(image);
      QCOMPARE(ink.width() > 1800 || ink.height() > 1400, c.fillsTarget);
      if (!c.fillsTarget) QVERIFY(ink.width() <= block.box.width() * most + 2);
    }
  }

  // The chain view is as tall as it can be with readable texts, and scrolls sideways.
  void chainViewScalesToItsHeight() {
    ChainPicture view;
    view.resize(600, 300);
    view.show();
    view.SetCascade(Design(Approximation::Butterworth, FilterKind::Lowpass, 8, Topology::Pfb));
    const ChainDrawing& chain = view.Chain();
    QCOMPARE(chain.blocks.size(), std::size_t{4});
    const double least = UnitForTextSize(chain.textScale, 10, 72);
    const double most = UnitForTextSize(chain.textScale, 18, 72);
    QVERIFY(view.Zoom() >= least - 1e-9 && view.Zoom() <= most + 1e-9);
    QVERIFY(view.widget()->width() > view.viewport()->width());
    view.resize(600, 3000);
    QCOMPARE(view.Zoom(), most);
    view.resize(600, 40);
    QCOMPARE(view.Zoom(), least);
    view.Clear();
    QVERIFY(view.Chain().blocks.empty());
    QCOMPARE(view.Zoom(), 0.0);

    SectionPicture picture;
    QVERIFY(picture.IsEmpty());
    picture.SetSection(Built(Cases()[31]), 3);
    QVERIFY(!picture.IsEmpty());
    QVERIFY(picture.sizeHint().width() > picture.sizeHint().height());
    picture.Clear();
    QVERIFY(picture.IsEmpty());
  }
};

QTEST_MAIN(SectionSchematicTest)
#include "section_schematic_test.moc"
