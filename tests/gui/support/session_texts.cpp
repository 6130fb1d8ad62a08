#include "support/session_texts.h"

#include <bit>
#include <cstdio>
#include <string>

#include "numerics/value_text.h"

namespace morvane::gui::test {

bool SameBits(double a, double b) {
  return std::bit_cast<quint64>(a) == std::bit_cast<quint64>(b);
}

QString Shown(const QString& text) {
  QString shown;
  for (QChar c : text.left(60)) {
    shown += c.unicode() < 0x20 || c.unicode() == 0x7F
                 ? QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0'))
                 : QString(c);
  }
  if (text.size() > 60) shown += QString("... (%1 characters)").arg(text.size());
  return "\"" + shown + "\"";
}

bool ShowsNanOrInf(const QString& text) {
  QString word;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    const QChar c = i < text.size() ? text[i] : QChar(' ');
    if (c.isLetter()) {
      word += c.toLower();
      continue;
    }
    if (word == "nan" || word == "inf" || word == "infinity") return true;
    word.clear();
  }
  return false;
}

// A text that ReadValue, the reader of every entry field, reads as exactly x: the shortest
// "%g" text if one does, else a 17 to 19 digit text near x. The reader adds fraction digits
// one by one, so the decimal nearest to x may read a unit off while a neighbour reads true.
std::optional<QString> ExactEntryText(double x) {
  char text[64];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, x);
    if (SameBits(ReadValue(text), x)) return QString(text);
  }
  std::snprintf(text, sizeof text, "%.16e", x);  // d.dddddddddddddddde[+-]x
  const std::string scientific(text);
  const std::string digits = scientific.substr(0, 1) + scientific.substr(2, 16);
  const int exponent = std::stoi(scientific.substr(scientific.find('e') + 1));
  for (int extra = 0; extra <= 2; ++extra) {
    quint64 base = std::stoull(digits);
    for (int i = 0; i < extra; ++i) base *= 10;
    for (int step = 0; step <= 400; ++step) {
      const qint64 delta = (step % 2 ? 1 : -1) * ((step + 1) / 2);
      const std::string d = std::to_string(static_cast<qint64>(base) + delta);
      if (d.size() != 17u + static_cast<unsigned>(extra)) continue;
      const int point = exponent + 1;  // digits before the decimal point
      std::string fixed;
      if (point <= 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-point), '0') + d;
      } else if (point >= static_cast<int>(d.size())) {
        fixed = d + std::string(static_cast<std::size_t>(point) - d.size(), '0');
      } else {
        fixed = d.substr(0, static_cast<std::size_t>(point)) + "." +
                d.substr(static_cast<std::size_t>(point));
      }
      const std::string withExponent =
          d.substr(0, 1) + "." + d.substr(1) + "e" + std::to_string(exponent);
      for (const std::string& candidate : {fixed, withExponent}) {
        if (SameBits(ReadValue(candidate), x)) return QString::fromStdString(candidate);
      }
    }
  }
  return std::nullopt;
}

}  // namespace morvane::gui::test
