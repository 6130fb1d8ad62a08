#include "order_command.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <iostream>
#include <optional>

#include "aids/filter_order.h"
#include "unread_rest.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

struct OrderOption {
  const char* option;
  std::string_view field;
};

// Typed in the dialog's order, each clamped against its partner's current value.
constexpr OrderOption kOptions[] = {{"--f1", order_field::f1Eingabe},
                                    {"--d1", order_field::d1Eingabe},
                                    {"--f2", order_field::f2Eingabe},
                                    {"--d2", order_field::d2Eingabe}};

}  // namespace

int RunOrder(const std::vector<std::string>& args) {
  OrderCalculatorInputs inputs;
  auto approximation = OrderApproximation::Butterworth;
  bool json = false;
  std::string warnings;
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
    const OrderOption* match = nullptr;
    for (const auto& o : kOptions) {
      if (name == o.option) match = &o;
    }
    if (!match) throw UsageError("unknown option or argument: " + arg);
    std::string text;
    if (name.size() < arg.size()) {
      text = arg.substr(name.size() + 1);
    } else if (i + 1 < args.size()) {
      text = args[++i];
    } else {
      throw UsageError("option " + arg + " needs a value");
    }
    warnings += UnreadRestWarning(name + " " + text, text);
    StoreOrderEntry(match->field, text, inputs);
  }
  std::cerr << warnings;
  const OrderResult result = ComputeOrder(inputs, approximation);
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
