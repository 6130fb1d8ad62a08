#include "order_command.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <array>
#include <iostream>

#include "aids/filter_order.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

constexpr std::array<const char*, 4> kOptions = {"--f1", "--d1", "--f2", "--d2"};

}  // namespace

int RunOrder(const std::vector<std::string>& args) {
  // The window's initial texts, replaced by the values given: all four are taken first, then
  // read and checked as the window's dialog reads its fields, whatever the order of options.
  std::array<std::string, 4> texts;
  const auto initial = OrderEntryTexts(OrderCalculatorInputs{});
  for (std::size_t k = 0; k < texts.size(); ++k) texts[k] = initial[k].text;
  auto approximation = OrderApproximation::Butterworth;
  bool json = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--chebyshev") {
      approximation = OrderApproximation::Chebyshev;
      continue;
    }
    if (arg == "--json") {
      json = true;
      continue;
    }
    const std::string name = arg.substr(0, arg.find('='));
    std::size_t field = kOptions.size();
    for (std::size_t k = 0; k < kOptions.size(); ++k) {
      if (name == kOptions[k]) field = k;
    }
    if (field == kOptions.size()) throw UsageError("unknown option or argument: " + arg);
    std::string text;
    if (name.size() < arg.size()) {
      text = arg.substr(name.size() + 1);
    } else if (i + 1 < args.size()) {
      text = args[++i];
    } else {
      throw UsageError("option " + arg + " needs a value");
    }
    texts[field] = text;
  }
  const OrderSchemeReading reading = ReadOrderScheme({texts[0], texts[1], texts[2], texts[3]});
  if (!reading.problem.empty()) throw UsageError("order: " + reading.problem);
  const OrderResult result = ComputeOrder(reading.scheme, approximation);
  if (json) {
    QJsonObject root;
    root.insert("N", result.N);
    root.insert("nr", result.nr);
    root.insert("NAusgabe", QString::fromStdString(result.NAusgabe));
    root.insert("nrAusgabe", QString::fromStdString(result.nrAusgabe));
    std::cout << QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
  } else {
    std::cout << "Filter order N      " << result.NAusgabe << "\n"
              << "Minimum whole order " << result.nrAusgabe << "\n";
  }
  return 0;
}

}  // namespace morvane::cli
