#pragma once

// What the RC and LC windows share: reading an entry field (empty, a value or text that is
// none, with the message to show), the message line, value texts that are never "nan" or
// "inf", and a frequency panel of the plot engine drawn into a graph image.

#include <QString>
#include <optional>
#include <string_view>

#include "graphs/frequency_panel.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace morvane::gui {

class GraphImage;

struct EntryReading {
  std::optional<double> value;  // none: empty or bad
  QString problem;              // why the text is no value; empty when it is one or empty
  bool empty() const { return !value && problem.isEmpty(); }
};
// The field's value as ReadValue reads it ("4k7", "10n", "2.2 u"), a unit after it allowed
// ("10 nF"); anything else left over makes it no value ("1.2.3", "10x").
EntryReading ReadEntry(const QLineEdit* field, const QString& name);

// The maroon line under the entries that shows what is wrong; hidden when there is nothing.
QLabel* MakeMessageLine(std::string_view name, QWidget* parent);
void ShowMessage(QLabel* line, const QString& message);

// FormatQuantity for a finite value, "–" for anything else.
QString QuantityText(double value, std::string_view unit);
// "12.34 %", "-6.02 dB": fixed decimals in the C locale, "–" when not finite.
QString DecimalText(double value, int decimals, std::string_view unit);

// Draws the panel into the image's bitmap, sized to the image.
void DrawPanel(GraphImage* image, const FrequencyPanel& panel);

}  // namespace morvane::gui
