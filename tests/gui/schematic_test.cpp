// Circuit pictures: every name the window loads has one, each is drawn by the rules (dots at
// junctions, no crossings, no loose ends, texts clear of each other and of the lines), joins
// exactly what the circuit joins, and names the elements the page shows values for.
//
// With MORVANE_SCHEMATIC_DIR set, every picture is also saved there as PNG, at twice its
// natural size and at the size of the window's picture, for looking at.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "design/design_session.h"
#include "design/field_names.h"
#include "design/page_fields.h"
#include "design/result_text.h"
#include "design/selection_rules.h"
#include "schematic/schematic_layout.h"
#include "schematic/schematic_model.h"
#include "schematic/schematic_painter.h"
#include "support/schematic_netlist.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::schematic;

namespace {

// What each picture must join, written from the circuit descriptions: element, then its
// nets (an op amp: inverting input, non-inverting input, output). "0" is ground, "@X" a
// terminal named X on net X, "src" the source, "gap" the left-out part of a ladder.
const std::map<std::string, std::string> kExpectedNets{
    {"mfbtp", "R1 Vi A; C1 A 0; R2 A N; C2 Vo N; R3 A Vo; op N 0 Vo; @Vi; @Vo"},
    {"mfbhp", "C1 Vi A; R1 A 0; C2 A N; R2 Vo N; C3 A Vo; op N 0 Vo; @Vi; @Vo"},
    {"mfbbp", "R1 Vi A; R2 A 0; C2 A N; R3 Vo N; C1 A Vo; op N 0 Vo; @Vi; @Vo"},
    {"pfbtp", "R1 Vi A; R2 A P; C1 A Vo; C2 P 0; R3 Vo N; R4 N 0; op N P Vo; @Vi; @Vo"},
    {"pfbhp", "C1 Vi A; C2 A P; R1 A Vo; R2 P 0; R3 Vo N; R4 N 0; op N P Vo; @Vi; @Vo"},
    {"pfbbp", "R1 Vi A; C1 A 0; C2 A P; R2 P 0; R1 A Vo; R3 Vo N; R4 N 0; op N P Vo; @Vi; @Vo"},
    {"pfbbs",
     "C1 Vi X; C1 X P; R1 Vi Y; R1 Y P; C2 Y 0; R2 X Vo; R3 Vo N; R4 N 0; op N P Vo; @Vi; "
     "@Vo"},
    {"pfbap", "R1 Vi X; C2 X P; C1 X Vo; R2 P Vo; R3 Vi N; R4 N 0; op N P Vo; @Vi; @Vo"},
    {"pfbelltp",
     "2R1 Vi A; 2R1 A 0; R1 A P; C1 A Vo; C2 P 0; C3 Vi P; R2 Vi N; R3 Vo N; R4 N 0; "
     "op N P Vo; @Vi; @Vo"},
    {"svf3",
     "R3 Vi T; R4 BP T; R0 T 0; R6 HP S; R5 LP S; op S T HP; R1 HP I; C1 I BP; op I 0 BP; "
     "R2 BP J; C2 J LP; op J 0 LP; @Vi; @HP; @BP; @LP"},
    {"svf4",
     "R0 Vi S; R3 BP S; R3 BS S; op S 0 BS; R5 BS T; R4 LP T; R4 HP T; op T 0 HP; R1 HP I; "
     "C1 I BP; op I 0 BP; R2 BP J; C2 J LP; op J 0 LP; @Vi; @BS; @HP; @BP; @LP"},
    {"f2optp",
     "R3 Vi P; C1 P M; R5 P M; R4 M N; C2 N Vo; R1 G 0; R2 Vo G; op N P Vo; op N G M; @Vi; "
     "@Vo"},
    {"f2ophp",
     "C1 Vi P; R4 P 0; R5 P M; C2 M N; R3 N Vo; R1 G 0; R2 Vo G; op N P Vo; op N G M; @Vi; "
     "@Vo"},
    {"f2opbp",
     "R4 Vi P; C1 P 0; R5 P M; C2 M N; R3 N Vo; R1 G 0; R2 Vo G; op N P Vo; op N G M; @Vi; "
     "@Vo"},
    {"f2opbs",
     "R4 Vi P; C1 Vi P; R4 P 0; R5 P M; C2 M N; R3 N Vo; R1 Vi G; R2 Vo G; op N P Vo; "
     "op N G M; @Vi; @Vo"},
    {"f2opap",
     "C1 Vi P; R4 P 0; R5 P M; C2 M N; R3 N Vo; R1 Vi G; R2 Vo G; op N P Vo; op N G M; @Vi; "
     "@Vo"},
    {"lcodd", "src S 0; RG S a; C1 a 0; L2 a b; C3 b 0; gap b c; Cn c 0; RL c 0"},
    {"lceven", "src S 0; RG S a; C1 a 0; L2 a b; C3 b 0; gap b c; Ln c d; RL d 0"},
    {"lchpodd", "src S 0; RG S a; L1 a 0; C2 a b; L3 b 0; gap b c; Ln c 0; RL c 0"},
    {"lchpeven", "src S 0; RG S a; L1 a 0; C2 a b; L3 b 0; gap b c; Cn c d; RL d 0"},
    {"diplexer", "src S 0; R S X; L1 X a; C2 a 0; L3 a b; R b 0; C1 X c; L2 c 0; C3 c d; R d 0"},
};

// The pictures made of two ladders, one above the other.
const std::map<std::string, std::pair<std::string, std::string>> kStacked{
    {"lctp", {"lcodd", "lceven"}}, {"lchp", {"lchpodd", "lchpeven"}}};

struct Element {
  Symbol symbol;
  std::string label;
  std::vector<std::string> nets;
};

Symbol SymbolOf(const std::string& name) {
  if (name == "op") return Symbol::OpAmp;
  if (name == "src") return Symbol::Source;
  if (name == "gap") return Symbol::Gap;
  if (name.starts_with('@')) return Symbol::Terminal;
  const char kind = name[name.find_first_not_of("0123456789")];  // "2R1" is a resistor
  return kind == 'R' ? Symbol::Resistor : kind == 'C' ? Symbol::Capacitor : Symbol::Inductor;
}

std::vector<Element> ParseNets(const std::string& text, const std::string& suffix = {}) {
  std::vector<Element> elements;
  std::stringstream items(text);
  std::string item;
  while (std::getline(items, item, ';')) {
    std::stringstream words(item);
    std::string name, net;
    words >> name;
    Element e{SymbolOf(name), name, {}};
    if (e.symbol == Symbol::Terminal) {
      e.label = name.substr(1);
      e.nets.push_back(e.label + suffix);
    }
    if (e.symbol == Symbol::OpAmp || e.symbol == Symbol::Source || e.symbol == Symbol::Gap) {
      e.label.clear();
    }
    while (words >> net) e.nets.push_back(net == "0" ? net : net + suffix);
    elements.push_back(e);
  }
  return elements;
}

std::vector<Element> Expected(const std::string& picture) {
  if (auto stacked = kStacked.find(picture); stacked != kStacked.end()) {
    std::vector<Element> both = ParseNets(kExpectedNets.at(stacked->second.first), "1");
    for (const Element& e : ParseNets(kExpectedNets.at(stacked->second.second), "2")) {
      both.push_back(e);
    }
    return both;
  }
  return ParseNets(kExpectedNets.at(picture));
}

// Finds a one-to-one pairing of drawn and expected elements, and of drawn nets and expected
// net names, under which every pin lies on its net.
class NetMatcher {
 public:
  NetMatcher(const FlatCircuit& flat, std::vector<Element> expected)
      : expected_(std::move(expected)) {
    const auto nets = PartNets(flat);
    for (std::size_t i = 0; i < flat.parts.size(); ++i) {
      if (flat.parts[i].symbol == Symbol::Ground) {
        Assign("0", nets[i][0]);
      } else {
        drawn_.push_back({&flat.parts[i], nets[i]});
      }
    }
  }

  bool Matches() {
    used_.assign(drawn_.size(), false);
    return drawn_.size() == expected_.size() && Match(0);
  }

 private:
  struct Drawn {
    const Part* part;
    std::vector<int> nets;
  };

  bool Assign(const std::string& name, int net) {
    const auto byName = names_.find(name);
    if (byName != names_.end()) return byName->second == net;
    if (nets_.count(net)) return false;
    names_[name] = net;
    nets_[net] = name;
    return true;
  }

  bool Match(std::size_t i) {
    if (i == expected_.size()) return true;
    const Element& e = expected_[i];
    for (std::size_t j = 0; j < drawn_.size(); ++j) {
      const Drawn& d = drawn_[j];
      if (used_[j] || d.part->symbol != e.symbol || d.part->label != e.label) continue;
      if (d.nets.size() != e.nets.size()) continue;
      std::vector<std::size_t> order(d.nets.size());
      for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
      const bool eitherWay = e.symbol != Symbol::OpAmp;
      do {
        const auto names = names_;
        const auto nets = nets_;
        bool ok = true;
        for (std::size_t k = 0; k < order.size() && ok; ++k)
          ok = Assign(e.nets[k], d.nets[order[k]]);
        used_[j] = true;
        if (ok && Match(i + 1)) return true;
        used_[j] = false;
        names_ = names;
        nets_ = nets;
      } while (eitherWay && std::next_permutation(order.begin(), order.end()));
    }
    return false;
  }

  std::vector<Element> expected_;
  std::vector<Drawn> drawn_;
  std::vector<bool> used_;
  std::map<std::string, int> names_;
  std::map<int, std::string> nets_;
};

FlatCircuit Flat(std::string_view name) {
  return Flatten(*FindCircuit(name));
}

// Names drawn beside the parts, without the terminals.
std::set<std::string> ElementLabels(std::string_view picture) {
  std::set<std::string> labels;
  for (const Part& p : Flat(picture).parts) {
    if (p.symbol != Symbol::Terminal && !p.label.empty()) labels.insert(std::string(p.label));
  }
  return labels;
}

// A line drawn as thick as the pen, for overlap tests.
struct Stroke {
  QRectF box;
  int owner;  // index of the part it belongs to, -1 for a wire
};

QRectF Thick(GridPoint a, GridPoint b) {
  return QRectF(QPointF(a.x, a.y), QPointF(b.x, b.y))
      .normalized()
      .adjusted(-0.06, -0.06, 0.06, 0.06);
}

std::vector<Stroke> Strokes(const FlatCircuit& flat) {
  std::vector<Stroke> strokes;
  for (const auto& line : flat.wires) {
    for (std::size_t i = 1; i < line.size(); ++i)
      strokes.push_back({Thick(line[i - 1], line[i]), -1});
  }
  for (std::size_t i = 0; i < flat.parts.size(); ++i) {
    const Part& p = flat.parts[i];
    const int owner = static_cast<int>(i);
    if (p.symbol == Symbol::OpAmp) {
      const AmpPins pins = OpAmpPins(p);
      const double into = p.amp == Amp::MinusOnTopPointingLeft ? -1 : 1;
      for (GridPoint in : {pins.minus, pins.plus}) {
        strokes.push_back({Thick(in, in + GridPoint{into, 0}), owner});
      }
      strokes.push_back({Thick(pins.out, pins.out + GridPoint{-0.4 * into, 0}), owner});
    } else if (p.symbol == Symbol::Ground) {
      strokes.push_back({Thick(p.a, p.a + GridPoint{0, 0.4}), owner});
    } else if (p.symbol != Symbol::Terminal) {
      strokes.push_back({Thick(p.a, p.b), owner});
    }
  }
  return strokes;
}

QString Text(const QRectF& r) {
  return QString("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
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

}  // namespace

class SchematicTest : public QObject {
  Q_OBJECT

 private slots:
  void everyPictureTheWindowLoadsExists() {
    std::vector<std::string_view> loaded;
    for (DiagramPlace place :
         {DiagramPlace::Mfb, DiagramPlace::Pfb, DiagramPlace::Fliege, DiagramPlace::LcLadder}) {
      for (FilterType type :
           {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass, FilterType::Bandstop,
            FilterType::Allpass, FilterType::EllipticLowpass}) {
        loaded.push_back(DiagramFor(place, type));
      }
    }
    for (int t = 1; t <= kTopologyCount; ++t) loaded.push_back(FixedDiagram(Topology(t)));
    for (const char* name : {"svf3", "svf4", "lcodd", "lceven", "diplexer"}) {
      loaded.push_back(name);
    }
    for (std::string_view name : loaded) {
      if (name.empty()) continue;
      QVERIFY2(HasCircuit(name), name.data());
      QVERIFY(!CircuitNaturalSize(name).isEmpty());
    }
  }

  void unknownNamesDrawNothing() {
    for (const char* name : {"", "mfbbs", "MFBTP", "lctp ", "svf5"}) {
      QVERIFY(!HasCircuit(name));
      QVERIFY(CircuitNaturalSize(name).isEmpty());
      QVERIFY(RenderCircuit(name, {250, 150}, 1).isNull());
      QImage image(100, 60, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      PaintCircuit(painter, QRectF(0, 0, 100, 60), name);
      painter.end();
      QVERIFY(InkBounds(image).isNull());
    }
  }

  // Drawn inside the target only, as large as fits, at any device pixel ratio.
  void picturesFillTheirTarget() {
    for (std::string_view name : CircuitNames()) {
      const QRectF target(30, 20, 250, 150);
      QImage image(320, 200, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      PaintCircuit(painter, target, name);
      painter.end();
      const QRect ink = InkBounds(image);
      QVERIFY2(target.adjusted(-1, -1, 1, 1).contains(ink), name.data());
      const bool fillsWidth = ink.width() > 0.9 * target.width();
      const bool fillsHeight = ink.height() > 0.9 * target.height();
      QVERIFY2(fillsWidth || fillsHeight, name.data());

      const QPixmap sharp = RenderCircuit(name, {250, 150}, 2);
      QCOMPARE(sharp.size(), QSize(500, 300));
      QCOMPARE(sharp.deviceIndependentSize(), QSizeF(250, 150));
      QVERIFY(InkBounds(sharp.toImage()).width() > 0.9 * 500 ||
              InkBounds(sharp.toImage()).height() > 0.9 * 300);
    }
  }

  void drawingsFollowTheRules() {
    for (std::string_view name : CircuitNames()) {
      const std::vector<std::string> faults = DrawingFaults(Flat(name));
      std::string all;
      for (const std::string& f : faults) all += "\n  " + f;
      QVERIFY2(faults.empty(), (std::string(name) + all).c_str());
    }
  }

  void textsStayClear() {
    QStringList clashes;
    for (std::string_view name : CircuitNames()) {
      const FlatCircuit flat = Flat(name);
      const std::vector<TextBox> texts = TextBoxes(flat);
      const std::vector<Stroke> strokes = Strokes(flat);
      for (std::size_t i = 0; i < texts.size(); ++i) {
        const QRectF box = texts[i].box.adjusted(-0.1, -0.1, 0.1, 0.1);
        const QString where = QString::fromUtf8(name.data(), name.size()) + " " + texts[i].text +
                              " " + Text(texts[i].box);
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
          if (box.intersects(texts[j].box)) clashes << where + " / " + texts[j].text;
        }
        for (const Part& p : flat.parts) {
          if (box.intersects(BodyBox(p))) clashes << where + " / body " + Text(BodyBox(p));
        }
        for (const Stroke& s : strokes) {
          if (box.intersects(s.box)) clashes << where + " / line " + Text(s.box);
        }
      }
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join("\n")));
  }

  // No symbol sits on another or on a line it does not end at; lines end at terminals.
  void bodiesStayClear() {
    QStringList clashes;
    for (std::string_view name : CircuitNames()) {
      const FlatCircuit flat = Flat(name);
      const std::vector<Stroke> strokes = Strokes(flat);
      for (std::size_t i = 0; i < flat.parts.size(); ++i) {
        const QRectF body = BodyBox(flat.parts[i]).adjusted(0.02, 0.02, -0.02, -0.02);
        const QString where = QString::fromUtf8(name.data(), name.size()) + " part " +
                              QString::number(i) + " " + Text(body);
        for (std::size_t j = i + 1; j < flat.parts.size(); ++j) {
          if (body.intersects(BodyBox(flat.parts[j]))) clashes << where;
        }
        if (flat.parts[i].symbol == Symbol::Terminal) continue;
        for (const Stroke& s : strokes) {
          if (s.owner != static_cast<int>(i) && body.intersects(s.box)) {
            clashes << where + " / line " + Text(s.box);
          }
        }
      }
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join("\n")));
  }

  void circuitsJoinWhatTheirDescriptionsJoin() {
    for (std::string_view name : CircuitNames()) {
      const std::string key(name);
      QVERIFY2(kExpectedNets.count(key) || kStacked.count(key), key.c_str());
      QVERIFY2(NetMatcher(Flat(name), Expected(key)).Matches(), key.c_str());
    }
  }

  // A wrong wire must show: the matcher is no formality.
  void aMisdrawnCircuitIsCaught() {
    FlatCircuit flat = Flat("mfbtp");
    QVERIFY(NetMatcher(flat, Expected("mfbtp")).Matches());
    for (Part& p : flat.parts) {
      if (p.label == "R1" || p.label == "R2") p.label = p.label == "R1" ? "R2" : "R1";
    }
    QVERIFY(!NetMatcher(flat, Expected("mfbtp")).Matches());
    FlatCircuit shifted = Flat("pfbtp");
    shifted.wires.front().back().x += 1;
    QVERIFY(!DrawingFaults(shifted).empty());
  }

  // Each stage picture names exactly the elements its page shows values for in that type
  // (a field reading "not needed" has no element); 2R1 is the page's R1 doubled.
  void stagePicturesNameThePageElements() {
    const std::pair<Topology, DiagramPlace> pages[] = {{Topology::Mfb, DiagramPlace::Mfb},
                                                       {Topology::Pfb, DiagramPlace::Pfb},
                                                       {Topology::Svf3, DiagramPlace::Mfb},
                                                       {Topology::Svf4, DiagramPlace::Mfb},
                                                       {Topology::Fliege, DiagramPlace::Fliege}};
    for (auto [topology, place] : pages) {
      for (FilterType type :
           {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass, FilterType::Bandstop,
            FilterType::Allpass, FilterType::EllipticLowpass}) {
        if (!OffersType(topology, type)) continue;
        const bool fixed = !FixedDiagram(topology).empty();
        const std::string_view picture = fixed ? FixedDiagram(topology) : DiagramFor(place, type);
        DesignSession session;
        session.Start();
        session.SelectTopology(topology);
        session.SelectFilterType(type);
        std::set<std::string> shown;
        for (const LabelledField& f : PageResultFields(topology)) {
          const std::string label(f.label.substr(0, f.label.find(' ')));
          if (label.front() != 'R' && label.front() != 'C') continue;
          if (session.FieldText(f.field).find(kNotNeeded) == std::string::npos) {
            shown.insert(label);
          }
        }
        std::set<std::string> drawn;
        for (std::string label : ElementLabels(picture)) {
          drawn.insert(label == "2R1" ? "R1" : label);
        }
        const std::string where = std::string(picture) + " type " + std::to_string(int(type));
        if (fixed) {
          // One picture for all types: it must hold what any type shows.
          QVERIFY2(std::includes(drawn.begin(), drawn.end(), shown.begin(), shown.end()),
                   where.c_str());
        } else {
          QVERIFY2(drawn == shown, where.c_str());
        }
      }
    }
  }

  // The SVF pictures hold every resistor and capacitor of their pages.
  void svfPicturesNameEveryField() {
    for (Topology t : {Topology::Svf3, Topology::Svf4}) {
      std::set<std::string> fields;
      for (const LabelledField& f : PageResultFields(t)) {
        const std::string label(f.label.substr(0, f.label.find(' ')));
        if (label.front() == 'R' || label.front() == 'C') fields.insert(label);
      }
      QCOMPARE(ElementLabels(FixedDiagram(t)), fields);
    }
  }

  // The ladders name the first elements as the element grid does, the last one generically,
  // for every order of the parity, and sit between RG and RL.
  void ladderPicturesFollowTheElementGrid() {
    for (FilterType type : {FilterType::Lowpass, FilterType::Highpass}) {
      const bool low = type == FilterType::Lowpass;
      for (int n = 2; n <= 10; ++n) {
        DesignSession session;
        session.Start();
        session.SelectTopology(Topology::LcLadder);
        session.SelectFilterType(type);
        session.SetLadderOrder(n);
        const Grid& grid = session.GridCells(field::StringAlignGridLC);
        const std::string picture = std::string(low ? "lc" : "lchp") + (n % 2 ? "odd" : "even");
        const std::set<std::string> labels = ElementLabels(picture);
        for (int k = 1; k <= std::min(n, 3); ++k) {
          QVERIFY2(labels.count(grid[k][0]), (picture + " " + grid[k][0]).c_str());
        }
        const std::string last = grid[n][0].substr(0, 1) + "n";
        QVERIFY2(labels.count(last), (picture + " " + last).c_str());
        QVERIFY(labels.count("RG") && labels.count("RL"));
        const std::set<std::string> both = ElementLabels(low ? "lctp" : "lchp");
        QVERIFY(std::includes(both.begin(), both.end(), labels.begin(), labels.end()));
      }
    }
  }

  void diplexerPictureFollowsTheThirdOrderGrids() {
    DesignSession session;
    session.Start();
    session.SelectTopology(Topology::Diplexer);
    session.SetDiplexerOrder(3);
    const std::set<std::string> labels = ElementLabels("diplexer");
    for (std::string_view grid : {field::StringAlignGridDiplexTP, field::StringAlignGridDiplexHP}) {
      for (int row = 1; row <= 3; ++row) {
        const std::string name = session.GridCells(grid)[row][0];
        QVERIFY2(labels.count(name), name.c_str());
      }
    }
    std::vector<std::string> captions;
    for (const Caption& c : Flat("diplexer").captions) captions.emplace_back(c.text);
    QVERIFY(std::count(captions.begin(), captions.end(), "Lowpass") == 1);
    QVERIFY(std::count(captions.begin(), captions.end(), "Highpass") == 1);
  }

  void savePicturesForLooking() {
    const QString dir = qEnvironmentVariable("MORVANE_SCHEMATIC_DIR");
    if (dir.isEmpty()) QSKIP("MORVANE_SCHEMATIC_DIR not set");
    QVERIFY(QDir().mkpath(dir));
    for (std::string_view name : CircuitNames()) {
      const QString base = QDir(dir).filePath(QString::fromUtf8(name.data(), name.size()));
      const QSize natural = CircuitNaturalSize(name).toSize();
      qInfo("%s: %d x %d", name.data(), natural.width(), natural.height());
      QVERIFY(RenderCircuit(name, natural, 2).save(base + ".png"));
      QVERIFY(RenderCircuit(name, {250, 150}, 1).save(base + "_250x150.png"));
    }
  }
};

QTEST_MAIN(SchematicTest)
#include "schematic_test.moc"
