#include "cascade/cascade_file.h"

#include <charconv>
#include <cmath>
#include <functional>

#include "cascade/cascade_names.h"
#include "numerics/number_text.h"
#include "numerics/standard_series.h"

namespace morvane {

namespace {

std::string Number(double x) {
  return GeneralText(x, 17);
}

std::optional<double> ReadNumber(std::string_view text) {
  double x = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), x);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(x)) {
    return std::nullopt;
  }
  return x;
}

std::optional<int> ReadWhole(std::string_view text) {
  int n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

std::vector<std::string_view> Split(std::string_view text) {
  std::vector<std::string_view> parts;
  if (text.empty()) return parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(',', start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

std::string OrderText(const std::vector<int>& order) {
  std::string text;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i > 0) text += ",";
    text += std::to_string(order[i] + 1);
  }
  return text;
}

std::string TopologiesText(const std::vector<std::optional<Topology>>& topologies) {
  std::string text;
  for (std::size_t i = 0; i < topologies.size(); ++i) {
    if (i > 0) text += ",";
    if (topologies[i]) text += SectionTopologyName(*topologies[i]);
  }
  return text;
}

// One key: how it is written, and how it is read into the entries (false: not readable).
struct Key {
  std::string_view name;
  std::function<std::string(const CascadeEntries&)> write;
  std::function<bool(std::string_view, CascadeEntries&)> read;
};

template <typename Member>
Key NumberKey(std::string_view name, Member member) {
  return {name, [member](const CascadeEntries& e) { return Number(std::invoke(member, e)); },
          [member](std::string_view text, CascadeEntries& e) {
            const auto x = ReadNumber(text);
            if (x) std::invoke(member, e) = *x;
            return x.has_value();
          }};
}

template <typename Choice>
Key ChoiceKey(std::string_view name, Choice CascadeRequest::*member,
              std::optional<Choice> (*named)(std::string_view)) {
  return {name,
          [member](const CascadeEntries& e) { return std::string(NameOf(e.request.*member)); },
          [member, named](std::string_view text, CascadeEntries& e) {
            const auto choice = named(text);
            if (choice) e.request.*member = *choice;
            return choice.has_value();
          }};
}

Key SeriesKey(std::string_view name, int SectionDesignOptions::*member) {
  return {name,
          [member](const CascadeEntries& e) {
            return std::string(SeriesName(e.request.circuit.*member));
          },
          [member](std::string_view text, CascadeEntries& e) {
            const auto code = SeriesNamed(text);
            if (code) e.request.circuit.*member = *code;
            return code.has_value();
          }};
}

const std::vector<Key>& Keys() {
  static const std::vector<Key> keys = {
      ChoiceKey("approximation", &CascadeRequest::approximation, &ApproximationNamed),
      ChoiceKey("type", &CascadeRequest::kind, &FilterKindNamed),
      {"order", [](const CascadeEntries& e) { return std::to_string(e.request.order); },
       [](std::string_view text, CascadeEntries& e) {
         const auto n = ReadWhole(text);
         if (n) e.request.order = *n;
         return n.has_value();
       }},
      {"useScheme", [](const CascadeEntries& e) { return std::string(e.useScheme ? "1" : "0"); },
       [](std::string_view text, CascadeEntries& e) {
         if (text != "0" && text != "1") return false;
         e.useScheme = text == "1";
         return true;
       }},
      NumberKey(
          "f1", [](auto& e) -> auto& { return e.scheme.f1; }),
      NumberKey(
          "d1", [](auto& e) -> auto& { return e.scheme.d1; }),
      NumberKey(
          "f2", [](auto& e) -> auto& { return e.scheme.f2; }),
      NumberKey(
          "d2", [](auto& e) -> auto& { return e.scheme.d2; }),
      NumberKey(
          "fg", [](auto& e) -> auto& { return e.request.fg; }),
      NumberKey(
          "fm", [](auto& e) -> auto& { return e.request.fm; }),
      NumberKey(
          "B", [](auto& e) -> auto& { return e.request.bandwidth; }),
      NumberKey(
          "ripple", [](auto& e) -> auto& { return e.request.rippleDb; }),
      NumberKey(
          "stopband", [](auto& e) -> auto& { return e.request.stopbandDb; }),
      NumberKey(
          "gain", [](auto& e) -> auto& { return e.request.gain; }),
      NumberKey(
          "Zin", [](auto& e) -> auto& { return e.request.circuit.zin; }),
      {"fs",
       [](const CascadeEntries& e) {
         return e.request.stopbandHz ? Number(*e.request.stopbandHz) : std::string();
       },
       [](std::string_view text, CascadeEntries& e) {
         if (text.empty()) {
           e.request.stopbandHz.reset();
           return true;
         }
         const auto x = ReadNumber(text);
         if (x) e.request.stopbandHz = *x;
         return x.has_value();
       }},
      ChoiceKey("split", &CascadeRequest::split, &GainSplitNamed),
      {"sectionOrder", [](const CascadeEntries& e) { return OrderText(e.request.sectionOrder); },
       [](std::string_view text, CascadeEntries& e) {
         // Numbers as the window holds them while the user types: 0 or one beyond the last
         // section is kept too (the design then says the order does not fit).
         std::vector<int> order;
         for (std::string_view part : Split(text)) {
           const auto n = ReadWhole(part);
           if (!n || *n < 0) return false;
           order.push_back(*n - 1);
         }
         e.request.sectionOrder = order;
         return true;
       }},
      {"topology",
       [](const CascadeEntries& e) {
         return std::string(e.request.topology ? SectionTopologyName(*e.request.topology) : "auto");
       },
       [](std::string_view text, CascadeEntries& e) {
         if (text == "auto") {
           e.request.topology.reset();
           return true;
         }
         const auto t = SectionTopologyNamed(text);
         if (t) e.request.topology = *t;
         return t.has_value();
       }},
      {"sectionTopologies",
       [](const CascadeEntries& e) { return TopologiesText(e.request.sectionTopologies); },
       [](std::string_view text, CascadeEntries& e) {
         std::vector<std::optional<Topology>> topologies;
         for (std::string_view part : Split(text)) {
           if (part.empty()) {
             topologies.emplace_back();
             continue;
           }
           const auto t = SectionTopologyNamed(part);
           if (!t) return false;
           topologies.push_back(*t);
         }
         e.request.sectionTopologies = topologies;
         return true;
       }},
      SeriesKey("seriesR", &SectionDesignOptions::seriesR),
      SeriesKey("seriesC", &SectionDesignOptions::seriesC),
      {"bestValues",
       [](const CascadeEntries& e) {
         return std::string(e.request.circuit.bestValues ? "1" : "0");
       },
       [](std::string_view text, CascadeEntries& e) {
         if (text != "0" && text != "1") return false;
         e.request.circuit.bestValues = text == "1";
         return true;
       }},
      {"roundResistors",
       [](const CascadeEntries& e) {
         return std::string(e.request.circuit.roundResistors ? "1" : "0");
       },
       [](std::string_view text, CascadeEntries& e) {
         if (text != "0" && text != "1") return false;
         e.request.circuit.roundResistors = text == "1";
         return true;
       }},
  };
  return keys;
}

}  // namespace

CascadeRequest RequestOf(const CascadeEntries& entries) {
  CascadeRequest request = entries.request;
  request.scheme.reset();
  if (entries.useScheme) request.scheme = entries.scheme;
  return request;
}

void PutCascadeEntries(IniDocument& document, const CascadeEntries& entries) {
  for (const Key& key : Keys()) document.Set(kCascadeSection, key.name, key.write(entries));
}

std::optional<CascadeEntries> TakeCascadeEntries(const IniDocument& document,
                                                 std::vector<std::string>& unreadable) {
  CascadeEntries entries;
  bool any = false;
  for (const Key& key : Keys()) {
    const std::optional<std::string> text = document.Get(kCascadeSection, key.name);
    if (!text) continue;
    any = true;
    CascadeEntries read = entries;
    if (key.read(*text, read)) {
      entries = read;
    } else {
      unreadable.push_back(std::string(kCascadeSection) + " " + std::string(key.name) + "=" +
                           *text + " is not readable; using " + key.write(entries));
    }
  }
  if (!any) return std::nullopt;
  return entries;
}

bool WriteCascadeFile(const std::string& path, const CascadeEntries& entries, std::string& error) {
  IniDocument document;
  if (!LoadIniFile(path, document, error)) return false;
  PutCascadeEntries(document, entries);
  return SaveIniFile(path, document, error);
}

std::optional<CascadeEntries> ReadCascadeFile(const std::string& path, std::string& error,
                                              std::vector<std::string>& unreadable) {
  IniDocument document;
  if (!LoadIniFile(path, document, error)) return std::nullopt;
  return TakeCascadeEntries(document, unreadable);
}

}  // namespace morvane
