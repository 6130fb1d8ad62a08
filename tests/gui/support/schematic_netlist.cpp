#include "support/schematic_netlist.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace morvane::gui::schematic {

namespace {

using Key = std::pair<long, long>;

Key KeyOf(GridPoint p) {
  return {std::lround(p.x * 8), std::lround(p.y * 8)};
}

std::string Where(GridPoint p) {
  auto text = [](double v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
  };
  return "(" + text(p.x) + "," + text(p.y) + ")";
}

// A straight conductor. Its ends count as line ends only where flagged: an op amp lead ends
// inside the triangle, which is no junction.
struct Segment {
  GridPoint p, q;
  bool pIsEnd = true;
  bool qIsEnd = true;
  bool conducts = true;  // a wire; a part's own line does not join its two pins
  std::string owner;
};

bool Near(double a, double b) {
  return std::abs(a - b) < 1e-6;
}
bool Same(GridPoint a, GridPoint b) {
  return Near(a.x, b.x) && Near(a.y, b.y);
}

bool Horizontal(const Segment& s) {
  return Near(s.p.y, s.q.y);
}

bool Between(double v, double a, double b, bool inclusive) {
  const double lo = std::min(a, b), hi = std::max(a, b);
  return inclusive ? v >= lo - 1e-6 && v <= hi + 1e-6 : v > lo + 1e-6 && v < hi - 1e-6;
}

bool OnSegment(GridPoint x, const Segment& s, bool inclusive) {
  if (Horizontal(s)) return Near(x.y, s.p.y) && Between(x.x, s.p.x, s.q.x, inclusive);
  return Near(x.x, s.p.x) && Between(x.y, s.p.y, s.q.y, inclusive);
}

std::vector<Segment> Segments(const FlatCircuit& c, std::vector<std::string>* faults) {
  std::vector<Segment> segments;
  for (std::size_t w = 0; w < c.wires.size(); ++w) {
    const auto& line = c.wires[w];
    if (line.size() < 2 && faults) faults->push_back("wire " + std::to_string(w) + " too short");
    for (std::size_t i = 1; i < line.size(); ++i) {
      const bool straight = Near(line[i - 1].x, line[i].x) || Near(line[i - 1].y, line[i].y);
      if (!straight && faults) faults->push_back("wire " + std::to_string(w) + " is slanted");
      segments.push_back({line[i - 1], line[i], true, true, true, "wire " + std::to_string(w)});
    }
  }
  for (const Part& part : c.parts) {
    const std::string name = part.label.empty() ? "part" : std::string(part.label);
    switch (part.symbol) {
      case Symbol::OpAmp: {
        const AmpPins pins = OpAmpPins(part);
        const double into = part.amp == Amp::MinusOnTopPointingLeft ? -1 : 1;
        for (GridPoint in : {pins.minus, pins.plus}) {
          segments.push_back({in, in + GridPoint{into, 0}, true, false, false, "op amp"});
        }
        segments.push_back(
            {pins.out, pins.out + GridPoint{-0.4 * into, 0}, true, false, false, "op amp"});
        break;
      }
      case Symbol::Ground:
        segments.push_back({part.a, part.a + GridPoint{0, 0.4}, true, false, false, "ground"});
        break;
      case Symbol::Terminal:
        break;
      default:
        if (!Near(part.a.x, part.b.x) && !Near(part.a.y, part.b.y) && faults) {
          faults->push_back(name + " is slanted");
        }
        segments.push_back({part.a, part.b, true, true, false, name});
    }
  }
  return segments;
}

// Lines meeting at x: one for each line ending there, two for each passing through.
int Arms(GridPoint x, const std::vector<Segment>& segments) {
  int arms = 0;
  for (const Segment& s : segments) {
    if (s.pIsEnd && Same(x, s.p)) ++arms;
    if (s.qIsEnd && Same(x, s.q)) ++arms;
    if (OnSegment(x, s, false)) arms += 2;
  }
  return arms;
}

std::vector<GridPoint> PointsOfInterest(const FlatCircuit& c,
                                        const std::vector<Segment>& segments) {
  std::vector<GridPoint> points;
  for (const Segment& s : segments) {
    if (s.pIsEnd) points.push_back(s.p);
    if (s.qIsEnd) points.push_back(s.q);
  }
  for (GridPoint d : c.dots) points.push_back(d);
  for (const Part& part : c.parts) {
    if (part.symbol == Symbol::Terminal) points.push_back(part.a);
  }
  std::map<Key, GridPoint> unique;
  for (GridPoint p : points) unique.emplace(KeyOf(p), p);
  points.clear();
  for (const auto& [key, p] : unique) points.push_back(p);
  return points;
}

class Nodes {
 public:
  int Find(GridPoint p) {
    const auto [it, added] = ids_.emplace(KeyOf(p), static_cast<int>(parent_.size()));
    if (added) parent_.push_back(it->second);
    return Root(it->second);
  }
  void Join(GridPoint a, GridPoint b) { parent_[static_cast<std::size_t>(Find(a))] = Find(b); }

 private:
  int Root(int i) {
    while (parent_[static_cast<std::size_t>(i)] != i) i = parent_[static_cast<std::size_t>(i)];
    return i;
  }
  std::map<Key, int> ids_;
  std::vector<int> parent_;
};

std::vector<GridPoint> Pins(const Part& part) {
  switch (part.symbol) {
    case Symbol::OpAmp: {
      const AmpPins pins = OpAmpPins(part);
      return {pins.minus, pins.plus, pins.out};
    }
    case Symbol::Ground:
    case Symbol::Terminal:
      return {part.a};
    default:
      return {part.a, part.b};
  }
}

}  // namespace

std::vector<std::vector<int>> PartNets(const FlatCircuit& c) {
  const std::vector<Segment> segments = Segments(c, nullptr);
  std::vector<GridPoint> points = PointsOfInterest(c, segments);
  for (const Part& part : c.parts) {
    for (GridPoint p : Pins(part)) points.push_back(p);
  }
  Nodes nodes;
  for (const Segment& s : segments) {
    if (!s.conducts) continue;
    for (GridPoint p : points) {
      if (OnSegment(p, s, true)) nodes.Join(p, s.p);
    }
  }
  const Part* firstGround = nullptr;
  for (const Part& part : c.parts) {
    if (part.symbol != Symbol::Ground) continue;
    if (firstGround) nodes.Join(part.a, firstGround->a);
    firstGround = &part;
  }
  std::vector<std::vector<int>> nets;
  for (const Part& part : c.parts) {
    std::vector<int>& pins = nets.emplace_back();
    for (GridPoint p : Pins(part)) pins.push_back(nodes.Find(p));
  }
  return nets;
}

std::vector<std::string> DrawingFaults(const FlatCircuit& c) {
  std::vector<std::string> faults;
  const std::vector<Segment> segments = Segments(c, &faults);
  auto hasDot = [&](GridPoint p) {
    return std::any_of(c.dots.begin(), c.dots.end(), [&](GridPoint d) { return Same(d, p); });
  };
  auto terminalAt = [&](GridPoint p) {
    return std::any_of(c.parts.begin(), c.parts.end(), [&](const Part& part) {
      return part.symbol == Symbol::Terminal && Same(part.a, p);
    });
  };
  for (GridPoint p : PointsOfInterest(c, segments)) {
    const int arms = Arms(p, segments);
    const std::string at = " at " + Where(p);
    if (terminalAt(p)) {
      if (arms != 1) faults.push_back("terminal not joined once" + at);
    } else if (arms < 2) {
      faults.push_back("loose end" + at);
    }
    if (arms >= 3 && !hasDot(p)) faults.push_back("junction without dot" + at);
    if (arms < 3 && hasDot(p)) faults.push_back("dot without junction" + at);
    for (const Segment& s : segments) {
      if (!s.conducts && s.owner != "op amp" && s.owner != "ground" && OnSegment(p, s, false)) {
        faults.push_back("line touches " + s.owner + " between its pins" + at);
      }
    }
  }
  for (std::size_t i = 0; i < segments.size(); ++i) {
    for (std::size_t j = i + 1; j < segments.size(); ++j) {
      const Segment& s = segments[i];
      const Segment& t = segments[j];
      if (Horizontal(s) != Horizontal(t)) {
        const Segment& h = Horizontal(s) ? s : t;
        const Segment& v = Horizontal(s) ? t : s;
        const GridPoint x{v.p.x, h.p.y};
        if (OnSegment(x, h, false) && OnSegment(x, v, false)) {
          faults.push_back(s.owner + " crosses " + t.owner + " at " + Where(x));
        }
      } else if (Horizontal(s) ? Near(s.p.y, t.p.y) : Near(s.p.x, t.p.x)) {
        const bool h = Horizontal(s);
        const double s0 = h ? s.p.x : s.p.y, s1 = h ? s.q.x : s.q.y;
        const double t0 = h ? t.p.x : t.p.y, t1 = h ? t.q.x : t.q.y;
        const double overlap = std::min(std::max(s0, s1), std::max(t0, t1)) -
                               std::max(std::min(s0, s1), std::min(t0, t1));
        if (overlap > 1e-6) faults.push_back(s.owner + " runs over " + t.owner);
      }
    }
  }
  return faults;
}

}  // namespace morvane::gui::schematic
