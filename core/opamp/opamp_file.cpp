#include "opamp/opamp_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <utility>

#include "numerics/value_text.h"

namespace morvane {

namespace {

enum class Bound { AboveZero, ZeroOrMore };

// One key of a section: its name, where its value goes, and the least value it takes.
struct OpAmpKey {
  std::string_view name;
  double OpAmpModel::*field;  // nullptr: secondPole, which is optional
  Bound bound;
};

constexpr std::array kKeys{
    OpAmpKey{"a0", &OpAmpModel::dcGain, Bound::AboveZero},
    OpAmpKey{"gbw", &OpAmpModel::gainBandwidth, Bound::AboveZero},
    OpAmpKey{"secondPole", nullptr, Bound::AboveZero},
    OpAmpKey{"rout", &OpAmpModel::outputResistance, Bound::ZeroOrMore},
    OpAmpKey{"cin", &OpAmpModel::inputCapacitance, Bound::ZeroOrMore},
    OpAmpKey{"slewRate", &OpAmpModel::slewRate, Bound::AboveZero},
    OpAmpKey{"swing", &OpAmpModel::outputSwing, Bound::AboveZero},
    OpAmpKey{"en", &OpAmpModel::voltageNoiseDensity, Bound::ZeroOrMore},
    OpAmpKey{"enCorner", &OpAmpModel::voltageNoiseCorner, Bound::ZeroOrMore},
    OpAmpKey{"in", &OpAmpModel::currentNoiseDensity, Bound::ZeroOrMore},
    OpAmpKey{"inCorner", &OpAmpModel::currentNoiseCorner, Bound::ZeroOrMore},
};

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool EndsWithDecibel(std::string_view s) {
  return s.size() >= 2 && SameOpAmpName(s.substr(s.size() - 2), "dB");
}

bool IsNameCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' ||
         c == '+';
}

// A part being read: the model so far, which keys it was given, where its header was.
struct SectionInProgress {
  OpAmpModel model;
  bool builtIn = false;
  int headerLine = 0;
  std::vector<std::string_view> given;
};

class OpAmpFileReader {
 public:
  explicit OpAmpFileReader(std::vector<OpAmpModel> table) : table_(std::move(table)) {}

  std::optional<OpAmpFileError> Read(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) {
      return OpAmpFileError{1, "not a text file"};
    }
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    int lineNumber = 0;
    while (!text.empty()) {
      ++lineNumber;
      const std::size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (auto error = ReadLine(Trim(line), lineNumber)) return error;
    }
    return Finish();
  }

  std::vector<OpAmpModel>& Table() { return table_; }

 private:
  std::optional<OpAmpFileError> ReadLine(std::string_view line, int number) {
    if (line.empty() || line.front() == '#' || line.front() == ';') return std::nullopt;
    if (line.front() == '[') return ReadHeader(line, number);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      return OpAmpFileError{number,
                            "expected [NAME] or key = value, not \"" + std::string(line) + "\""};
    }
    if (!section_) {
      return OpAmpFileError{number, "a key before the first [NAME] line"};
    }
    return ReadKey(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), number);
  }

  std::optional<OpAmpFileError> ReadHeader(std::string_view line, int number) {
    if (line.back() != ']') return OpAmpFileError{number, "a [NAME] line without its \"]\""};
    if (auto error = Finish()) return error;
    const std::string_view name = Trim(line.substr(1, line.size() - 2));
    if (name.empty()) return OpAmpFileError{number, "a part without a name"};
    if (!std::ranges::all_of(name, IsNameCharacter)) {
      return OpAmpFileError{number, "part name \"" + std::string(name) +
                                        "\": only letters, digits and - _ . + are allowed"};
    }
    if (SameOpAmpName(name, kIdealOpAmpName)) {
      return OpAmpFileError{number, "part ideal cannot be changed"};
    }
    for (const auto& [seen, line] : seen_) {
      if (SameOpAmpName(seen, name)) {
        return OpAmpFileError{
            number, "part " + seen + " comes twice (first on line " + std::to_string(line) + ")"};
      }
    }
    seen_.emplace_back(std::string(name), number);
    SectionInProgress section;
    section.headerLine = number;
    if (const auto builtIn = FindOpAmp(table_, name)) {
      section.model = *builtIn;
      section.builtIn = true;
    } else {
      section.model.name = std::string(name);
    }
    section_ = std::move(section);
    return std::nullopt;
  }

  std::optional<OpAmpFileError> ReadKey(std::string_view key, std::string_view value, int number) {
    const std::string part = "part " + section_->model.name + ": ";
    const auto known =
        std::ranges::find_if(kKeys, [&](const OpAmpKey& k) { return SameOpAmpName(k.name, key); });
    if (known == kKeys.end()) {
      return OpAmpFileError{number, part + "unknown key \"" + std::string(key) + "\""};
    }
    const std::string name(known->name);
    if (std::ranges::find(section_->given, known->name) != section_->given.end()) {
      return OpAmpFileError{number, part + name + " comes twice"};
    }
    section_->given.push_back(known->name);
    if (value.empty()) return OpAmpFileError{number, part + name + " has no value"};
    if (!known->field && SameOpAmpName(value, "none")) {
      section_->model.secondPole.reset();
      return std::nullopt;
    }
    const std::string quoted = "\"" + std::string(value) + "\"";
    if (EndsWithDecibel(value)) {
      return OpAmpFileError{number, part + name + " " + quoted + ": give V/V, not dB"};
    }
    const ValueReading reading = ReadValueInDetail(value);
    if (!reading.readable || reading.used != value.size()) {
      return OpAmpFileError{number, part + name + " " + quoted + " is not a number"};
    }
    if (reading.beyondLimit || !std::isfinite(reading.value)) {
      return OpAmpFileError{number, part + name + " " + quoted + " is too large"};
    }
    if (reading.value < 0.0) {
      return OpAmpFileError{number, part + name + " " + quoted + " is negative"};
    }
    if (known->bound == Bound::AboveZero && reading.value == 0.0) {
      return OpAmpFileError{number, part + name + " must be above 0"};
    }
    if (known->field) {
      section_->model.*(known->field) = reading.value;
    } else {
      section_->model.secondPole = reading.value;
    }
    return std::nullopt;
  }

  // Closes the section being read: a new part needs every key but secondPole.
  std::optional<OpAmpFileError> Finish() {
    if (!section_) return std::nullopt;
    SectionInProgress section = std::move(*section_);
    section_.reset();
    if (!section.builtIn) {
      for (const OpAmpKey& key : kKeys) {
        if (!key.field) continue;
        if (std::ranges::find(section.given, key.name) == section.given.end()) {
          return OpAmpFileError{section.headerLine, "part " + section.model.name + ": missing " +
                                                        std::string(key.name)};
        }
      }
      table_.push_back(std::move(section.model));
      return std::nullopt;
    }
    for (OpAmpModel& m : table_) {
      if (SameOpAmpName(m.name, section.model.name)) m = std::move(section.model);
    }
    return std::nullopt;
  }

  std::vector<OpAmpModel> table_;
  std::optional<SectionInProgress> section_;
  std::vector<std::pair<std::string, int>> seen_;  // names and header lines so far
};

}  // namespace

std::optional<OpAmpFileError> ApplyOpAmpFile(std::string_view text,
                                             std::vector<OpAmpModel>& table) {
  OpAmpFileReader reader(table);
  if (auto error = reader.Read(text)) return error;
  table = std::move(reader.Table());
  return std::nullopt;
}

}  // namespace morvane
