#include "eseries_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cctype>
#include <iostream>
#include <optional>
#include <sstream>

#include "circuit/built_figures.h"
#include "eseries/preferred_bracket.h"
#include "eseries/preferred_texts.h"
#include "eseries/value_pairs.h"
#include "json_number.h"
#include "option_value.h"
#include "unread_rest.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

constexpr PreferredSeries kDefaultSeries = PreferredSeries::E24;

struct ESeriesRequest {
  double value = 0.0;
  PreferredSeries series = kDefaultSeries;
  bool combine = false;
  std::optional<double> ratio;
  bool json = false;
};

// The value or ratio as typed, refused with the tool's message: "eseries: "abc" is not a
// number.", "eseries: --ratio 0: the ratio must be above 0.".
// `name` is VALUE or the option.
double TakenEntry(const std::string& name, const std::string& text, const EntryReading& reading,
                  std::ostream& warnings) {
  if (text.find_first_not_of(' ') == std::string::npos) {
    throw UsageError("eseries: " + name + " is empty");
  }
  const std::string given = name == "VALUE" ? text : name + " " + text;
  if (!reading.problem.empty()) {
    if (reading.problem.front() == '"') throw UsageError("eseries: " + reading.problem);
    std::string problem = reading.problem;
    problem.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(problem.front())));
    throw UsageError("eseries: " + given + ": " + problem);
  }
  warnings << UnreadRestWarning(given, text);
  return reading.value;
}

ESeriesRequest ParseRequest(const std::vector<std::string>& args, std::ostream& warnings) {
  ESeriesRequest request;
  std::optional<std::string> valueText;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string text;
    if (arg == "--json") {
      request.json = true;
    } else if (arg == "--combine") {
      request.combine = true;
    } else if (TakeValue(args, i, "--series", text)) {
      const auto series = PreferredSeriesNamed(text);
      if (!series) {
        throw UsageError("option --series takes E3, E6, E12, E24, E48, E96 or E192, not \"" + text +
                         "\"");
      }
      request.series = *series;
    } else if (TakeValue(args, i, "--ratio", text)) {
      request.ratio = TakenEntry("--ratio", text, ReadRatioEntry(text), warnings);
    } else if (arg.rfind("--", 0) == 0 || valueText) {
      throw UsageError("unknown option or argument: " + arg);
    } else {
      valueText = arg;
    }
  }
  if (!valueText) throw UsageError("eseries needs a VALUE");
  request.value = TakenEntry("VALUE", *valueText, ReadTargetEntry(*valueText), warnings);
  return request;
}

QJsonArray PairJson(const ValuePair& pair) {
  return {JsonNumber(pair.a), JsonNumber(pair.b), JsonNumber(pair.value),
          JsonNumber(pair.errorPercent)};
}

std::string Json(const ESeriesRequest& request, const PreferredBracket& bracket) {
  QJsonObject root;
  root["value"] = JsonNumber(request.value);
  root["eSeries"] = QString::fromUtf8(PreferredSeriesName(request.series).data());
  root["below"] = JsonNumber(bracket.below);
  root["above"] = JsonNumber(bracket.above);
  root["nearest"] = JsonNumber(bracket.nearest);
  root["nearestErrorPercent"] = JsonNumber(bracket.nearestErrorPercent);
  if (request.combine) {
    root["series"] = PairJson(BestSeriesPair(request.series, request.value));
    root["parallel"] = PairJson(BestParallelPair(request.series, request.value));
  }
  if (request.ratio) {
    root["pair"] = PairJson(BestRatioPair(request.series, *request.ratio, request.value));
  }
  return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

std::string Line(const std::string& label, const std::string& text) {
  return label + std::string(label.size() < 14 ? 14 - label.size() : 1, ' ') + text + "\n";
}

std::string Text(const ESeriesRequest& request, const PreferredBracket& bracket) {
  const int digits = SignificantDigits(request.series);
  const auto part = [digits](double x) { return PreferredValueText(x, digits); };
  // A combination shows two digits more than its parts, so that its error can be seen.
  const auto combined = [digits](double x) { return PreferredValueText(x, digits + 2); };
  const auto error = [&request](double chosen) {
    return "   " + ErrorPercentText(ErrorPercent(chosen, request.value));
  };
  std::ostringstream out;
  out << Line("Value", PlainValueText(request.value))
      << Line("Series", std::string(PreferredSeriesName(request.series)));
  if (bracket.inSeries) {
    out << Line("Nearest", part(bracket.nearest) + "   (a series value)");
  } else {
    out << Line("Below", part(bracket.below) + error(bracket.below))
        << Line("Above", part(bracket.above) + error(bracket.above))
        << Line("Nearest",
                part(bracket.nearest) + "   " + ErrorPercentText(bracket.nearestErrorPercent));
  }
  if (request.combine) {
    const ValuePair s = BestSeriesPair(request.series, request.value);
    const ValuePair p = BestParallelPair(request.series, request.value);
    out << Line("In series", part(s.a) + " + " + part(s.b) + " = " + combined(s.value) + "   " +
                                 ErrorPercentText(s.errorPercent))
        << Line("In parallel", part(p.a) + " || " + part(p.b) + " = " + combined(p.value) + "   " +
                                   ErrorPercentText(p.errorPercent));
  }
  if (request.ratio) {
    const ValuePair r = BestRatioPair(request.series, *request.ratio, request.value);
    out << Line("Ratio", PlainValueText(*request.ratio))
        << Line("a / b", part(r.a) + " / " + part(r.b) + " = " + combined(r.value) + "   " +
                             ErrorPercentText(r.errorPercent));
  }
  return out.str();
}

}  // namespace

int RunESeries(const std::vector<std::string>& args) {
  std::ostringstream warnings;
  const ESeriesRequest request = ParseRequest(args, warnings);
  std::cerr << warnings.str();
  const PreferredBracket bracket = BracketValue(request.series, request.value);
  std::cout << (request.json ? Json(request, bracket) : Text(request, bracket));
  return 0;
}

}  // namespace morvane::cli
