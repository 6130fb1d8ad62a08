#include "opamps_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "numerics/value_text.h"
#include "opamp/opamp_file.h"
#include "opamp/opamp_model.h"
#include "option_value.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

// An infinite value (those of `ideal`) and a missing second pole are null in JSON.
QJsonValue JsonNumber(double x) {
  return std::isfinite(x) ? QJsonValue(x) : QJsonValue(QJsonValue::Null);
}

QJsonObject ModelJson(const OpAmpModel& m) {
  QJsonObject o;
  o["name"] = QString::fromStdString(m.name);
  o["a0"] = JsonNumber(m.dcGain);
  o["gbw"] = JsonNumber(m.gainBandwidth);
  o["secondPole"] = m.secondPole ? JsonNumber(*m.secondPole) : QJsonValue(QJsonValue::Null);
  o["rout"] = JsonNumber(m.outputResistance);
  o["cin"] = JsonNumber(m.inputCapacitance);
  o["slewRate"] = JsonNumber(m.slewRate);
  o["swing"] = JsonNumber(m.outputSwing);
  o["en"] = JsonNumber(m.voltageNoiseDensity);
  o["enCorner"] = JsonNumber(m.voltageNoiseCorner);
  o["in"] = JsonNumber(m.currentNoiseDensity);
  o["inCorner"] = JsonNumber(m.currentNoiseCorner);
  return o;
}

std::string Quantity(double x, std::string_view unit) {
  return std::isfinite(x) ? FormatQuantity(x, unit) : std::string("infinite");
}

// Left-aligned in `width` characters, counted as the terminal shows them (UTF-8).
std::string Pad(const std::string& text, std::size_t width) {
  std::size_t shown = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++shown;
  }
  return text + std::string(width > shown ? width - shown : 1, ' ');
}

std::string TextTable(const std::vector<OpAmpModel>& table) {
  std::ostringstream out;
  constexpr std::size_t kName = 10, kColumn = 14;
  out << Pad("name", kName);
  for (const char* heading : {"A0", "GBW", "2nd pole", "Rout", "Cin", "slew rate", "swing", "en",
                              "en corner", "in", "in corner"}) {
    out << Pad(heading, kColumn);
  }
  out << "\n";
  for (const OpAmpModel& m : table) {
    const std::string slew = std::isfinite(m.slewRate)
                                 ? FormatFixedTrimmed(2, m.slewRate * 1e-6) + " V/µs"
                                 : std::string("infinite");
    const std::string a0 =
        std::isfinite(m.dcGain) ? FormatQuantity(m.dcGain, "V/V") : std::string("infinite");
    for (const auto& [text, width] :
         {std::pair{m.name, kName}, std::pair{a0, kColumn},
          std::pair{Quantity(m.gainBandwidth, "Hz"), kColumn},
          std::pair{m.secondPole ? Quantity(*m.secondPole, "Hz") : std::string("none"), kColumn},
          std::pair{Quantity(m.outputResistance, "Ω"), kColumn},
          std::pair{Quantity(m.inputCapacitance, "F"), kColumn}, std::pair{slew, kColumn},
          std::pair{Quantity(m.outputSwing, "V"), kColumn},
          std::pair{Quantity(m.voltageNoiseDensity, "V/√Hz"), kColumn},
          std::pair{Quantity(m.voltageNoiseCorner, "Hz"), kColumn},
          std::pair{Quantity(m.currentNoiseDensity, "A/√Hz"), kColumn},
          std::pair{Quantity(m.currentNoiseCorner, "Hz"), kColumn}}) {
      out << Pad(text, width);
    }
    out << "\n";
  }
  std::string text = out.str();
  // No trailing blanks at the line ends.
  std::string trimmed;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    line.erase(line.find_last_not_of(' ') + 1);
    trimmed += line + "\n";
  }
  return trimmed;
}

std::vector<OpAmpModel> TableWithFile(const std::string& path) {
  std::vector<OpAmpModel> table = BuiltInOpAmps();
  if (path.empty()) return table;
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    throw RunError("cannot read the op-amp file " + path + ": it is a folder");
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) throw RunError("cannot read the op-amp file " + path);
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) throw RunError("cannot read the op-amp file " + path);
  if (const auto error = ApplyOpAmpFile(text.str(), table)) {
    throw RunError(path + ", line " + std::to_string(error->line) + ": " + error->message);
  }
  return table;
}

}  // namespace

int RunOpAmps(const std::vector<std::string>& args) {
  bool json = false;
  std::string path;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string value;
    if (args[i] == "--json") {
      json = true;
    } else if (TakeValue(args, i, "--file", value)) {
      if (value.empty()) throw UsageError("option --file takes a file name");
      path = value;
    } else {
      throw UsageError("unknown option or argument: " + args[i]);
    }
  }
  const std::vector<OpAmpModel> table = TableWithFile(path);
  if (json) {
    QJsonArray list;
    for (const OpAmpModel& m : table) list.append(ModelJson(m));
    std::cout << QJsonDocument(list).toJson(QJsonDocument::Indented).toStdString();
  } else {
    std::cout << TextTable(table);
  }
  return 0;
}

}  // namespace morvane::cli
