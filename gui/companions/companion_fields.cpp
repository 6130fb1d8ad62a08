#include "companions/companion_fields.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <cmath>

#include "app/window_look.h"
#include "graphs/graph_image.h"
#include "graphs/qpainter_canvas.h"
#include "numerics/value_text.h"

namespace morvane::gui {

namespace {

// What may follow a value: nothing or the unit ("10 nF", "4k7 Ohm", "1 kHz").
bool IsUnitName(const QString& rest) {
  static const QStringList kUnits{"", "F", "H", "Hz", "Ω", "Ohm", "ohm"};
  return kUnits.contains(rest);
}

}  // namespace

EntryReading ReadEntry(const QLineEdit* field, const QString& name) {
  EntryReading reading;
  const QString text = field->text().trimmed();
  if (text.isEmpty()) return reading;
  const std::string whole = text.toStdString();
  const ValueReading value = ReadValueInDetail(whole);
  if (!value.readable || !IsUnitName(QString::fromStdString(whole.substr(value.used)).trimmed())) {
    reading.problem = name + ": \"" + text + "\" is not a number.";
  } else if (value.beyondLimit) {
    reading.problem = name + " is too large.";
  } else {
    reading.value = value.value;
  }
  return reading;
}

QLabel* MakeMessageLine(std::string_view name, QWidget* parent) {
  auto* line = new QLabel(parent);
  line->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  line->setWordWrap(true);
  line->setTextFormat(Qt::PlainText);
  QPalette colours = line->palette();
  colours.setColor(QPalette::WindowText, kMaroon);
  line->setPalette(colours);
  line->hide();
  return line;
}

void ShowMessage(QLabel* line, const QString& message) {
  line->setText(message);
  line->setVisible(!message.isEmpty());
}

QString QuantityText(double value, std::string_view unit) {
  if (!std::isfinite(value)) return QString::fromUtf8("–");
  return QString::fromStdString(FormatQuantity(value, unit));
}

QString DecimalText(double value, int decimals, std::string_view unit) {
  if (!std::isfinite(value)) return QString::fromUtf8("–");
  std::string text = FormatFixedTrimmed(decimals, value);
  if (!unit.empty()) text += " " + std::string(unit);
  return QString::fromStdString(text);
}

void DrawPanel(GraphImage* image, const FrequencyPanel& panel) {
  image->FitBitmap();
  {
    render::QPainterCanvas canvas(image->Bitmap());
    AxisState axes;
    DrawFrequencyPanel(panel, axes, canvas);
  }
  image->update();
}

}  // namespace morvane::gui
