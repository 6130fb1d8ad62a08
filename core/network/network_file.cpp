#include "network/network_file.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <string_view>

#include "numerics/number_text.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr std::string_view kVariables = "Variablen";
constexpr int kMostElements = 100;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string SectionOf(std::size_t index) {
  return "Element" + std::to_string(index + 1);
}

std::string Where(std::string_view section, std::string_view key) {
  return "[" + std::string(section) + "] " + std::string(key);
}

// A whole value text as ReadValue reads it ("4k7", "159.15n", "1e-3"), nothing left over.
std::optional<double> WholeValue(std::string_view text) {
  const ValueReading reading = ReadValueInDetail(text);
  if (!reading.readable || reading.beyondLimit || !std::isfinite(reading.value)) {
    return std::nullopt;
  }
  if (text.substr(reading.used).find_first_not_of(" \t") != std::string_view::npos) {
    return std::nullopt;
  }
  return reading.value;
}

// Reads the keys of one document, keeping the first problem it meets.
class Reader {
 public:
  explicit Reader(const IniDocument& document) : document_(document) {}

  std::optional<std::string> Text(std::string_view section, std::string_view key) {
    auto text = document_.Get(section, key);
    if (!text) Fail(Where(section, key) + " is missing.");
    return text;
  }

  double Number(std::string_view section, std::string_view key, bool zeroAllowed) {
    const auto text = Text(section, key);
    if (!text) return 0.0;
    const auto value = WholeValue(*text);
    if (!value) {
      Fail(Where(section, key) + " is \"" + *text + "\", not a number.");
      return 0.0;
    }
    if (*value < 0.0 || (!zeroAllowed && *value == 0.0)) {
      Fail(Where(section, key) + " is " + *text +
           (zeroAllowed ? "; it must not be negative." : "; it must be above zero."));
      return 0.0;
    }
    return *value;
  }

  void Fail(std::string message) {
    if (problem_.empty()) problem_ = std::move(message);
  }
  const std::string& Problem() const { return problem_; }

 private:
  const IniDocument& document_;
  std::string problem_;
};

std::optional<int> ElementCount(Reader& reader) {
  const auto text = reader.Text(kVariables, "Elemente");
  if (!text) return std::nullopt;
  const auto value = WholeValue(*text);
  if (!value || *value != std::floor(*value) || *value < 1.0 || *value > kMostElements) {
    reader.Fail(Where(kVariables, "Elemente") + " is \"" + *text + "\", not a count from 1 to " +
                std::to_string(kMostElements) + ".");
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

NetworkElement ReadElement(Reader& reader, const IniDocument& document, std::size_t index) {
  const std::string section = SectionOf(index);
  NetworkElement e;
  if (!document.Get(section, "Typ") && !document.Get(section, "Anordnung")) {
    reader.Fail("The file has no section [" + section + "], though Elemente counts it.");
    return e;
  }
  if (const auto kind = reader.Text(section, "Typ")) {
    const std::string k = Lower(*kind);
    if (k == "l") {
      e.kind = ElementKind::Inductor;
    } else if (k == "c") {
      e.kind = ElementKind::Capacitor;
    } else {
      reader.Fail(Where(section, "Typ") + " is \"" + *kind + "\"; it must be L or C.");
    }
  }
  if (const auto arrangement = reader.Text(section, "Anordnung")) {
    const std::string a = Lower(*arrangement);
    if (a == "series" || a == "shunt") {
      e.shunt = a == "shunt";
    } else {
      reader.Fail(Where(section, "Anordnung") + " is \"" + *arrangement +
                  "\"; it must be series or shunt.");
    }
  }
  const bool inductor = e.kind == ElementKind::Inductor;
  e.Lx = reader.Number(section, "Lx", !inductor);
  e.Rx = reader.Number(section, "Rx", true);
  e.Cx = reader.Number(section, "Cx", inductor);
  return e;
}

std::optional<bool> YesNo(std::string_view text) {
  const std::string t = Lower(text);
  if (t == "ja" || t == "yes" || t == "1") return true;
  if (t == "nein" || t == "no" || t == "0") return false;
  return std::nullopt;
}

// Sets the key when the file does not hold this value already (as a number where it reads
// as one), so an unchanged value keeps its text.
void SetValue(IniDocument& document, std::string_view section, std::string_view key, double x) {
  if (const auto old = document.Get(section, key)) {
    if (const auto value = WholeValue(*old); value && *value == x) return;
  }
  document.Set(section, key, NetworkValueText(x));
}

void SetText(IniDocument& document, std::string_view section, std::string_view key,
             std::string_view text) {
  if (const auto old = document.Get(section, key); old && Lower(*old) == Lower(text)) return;
  document.Set(section, key, text);
}

}  // namespace

std::string NetworkValueText(double x) {
  for (int decimals = 2; decimals <= 15; ++decimals) {
    std::string text = FormatValue(0, decimals, x);
    text.erase(0, text.find_first_not_of(' '));
    if (const auto back = WholeValue(text); back && *back == x) return text;
  }
  return GeneralText(x, 17);
}

bool ReadNetwork(const IniDocument& document, LadderNetwork& network, std::string& error) {
  Reader reader(document);
  LadderNetwork n;
  n.rl = reader.Number(kVariables, "Zo", false);
  n.rg = reader.Number(kVariables, "RG", false);
  n.f = reader.Number(kVariables, "f", false);
  if (const auto turned = document.Get(kVariables, "Schaltung vertauscht")) {
    const auto flag = YesNo(*turned);
    if (!flag) {
      reader.Fail(Where(kVariables, "Schaltung vertauscht") + " is \"" + *turned +
                  "\"; it must be Ja or Nein.");
    }
    n.turnedRound = flag.value_or(false);
  }
  if (const auto count = ElementCount(reader)) {
    for (int i = 0; i < *count && reader.Problem().empty(); ++i) {
      n.elements.push_back(ReadElement(reader, document, static_cast<std::size_t>(i)));
    }
  }
  if (!reader.Problem().empty()) {
    error = reader.Problem();
    return false;
  }
  network = std::move(n);
  return true;
}

bool LoadNetworkFile(const std::string& path, LadderNetwork& network, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    error = "The file \"" + path + "\" does not exist.";
    return false;
  }
  IniDocument document;
  if (!LoadIniFile(path, document, error)) return false;
  std::string problem;
  if (!ReadNetwork(document, network, problem)) {
    error = "\"" + path + "\" is no circuit file: " + problem;
    return false;
  }
  return true;
}

void WriteNetwork(const LadderNetwork& network, IniDocument& document) {
  SetValue(document, kVariables, "Zo", network.rl);
  SetValue(document, kVariables, "RG", network.rg);
  SetValue(document, kVariables, "f", network.f);
  const int count = static_cast<int>(network.elements.size());
  if (const auto old = document.Get(kVariables, "Elemente");
      !old || WholeValue(*old) != static_cast<double>(count)) {
    document.Set(kVariables, "Elemente", FormatInteger(count));
  }
  const std::string turned = YesNoText(network.turnedRound);
  SetText(document, kVariables, "Schaltung vertauscht", turned.substr(0, turned.find(' ')));
  for (std::size_t i = 0; i < network.elements.size(); ++i) {
    const NetworkElement& e = network.elements[i];
    const std::string section = SectionOf(i);
    // A section of its own gets every key the LC page writes; an existing one only changes.
    const bool fresh = !document.Get(section, "Typ") && !document.Get(section, "Anordnung");
    SetText(document, section, "Anordnung", e.shunt ? "shunt" : "series");
    if (fresh) document.Set(section, "Optimierung", "ja");
    SetText(document, section, "Typ", e.kind == ElementKind::Inductor ? "L" : "C");
    SetValue(document, section, "Lx", e.Lx);
    SetValue(document, section, "Rx", e.Rx);
    SetValue(document, section, "Cx", e.Cx);
  }
}

bool SaveNetworkFile(const std::string& path, const LadderNetwork& network, std::string& error) {
  IniDocument document;
  if (!LoadIniFile(path, document, error)) return false;
  WriteNetwork(network, document);
  return SaveIniFile(path, document, error);
}

}  // namespace morvane
