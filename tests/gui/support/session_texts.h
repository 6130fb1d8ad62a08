#pragma once

// Shared by the random sessions: the texts a user may type, and how the checks read and report
// what the windows show.

#include <QString>
#include <QStringList>
#include <optional>
#include <random>

namespace morvane::gui::test {

// Texts a user, a paste or a cat on the keyboard may put into an entry field.
class HostileTexts {
 public:
  explicit HostileTexts(std::mt19937_64& random) : random_(random) {}

  QString Next() {
    switch (Pick(6)) {
      case 0:
      case 1:
        return Fixed();
      case 2:
        return Number();
      case 3:
        return Digits();
      case 4:
        return Junk(1 + Pick(12));
      default:
        return Pick(8) == 0 ? Long() : Number();
    }
  }

  int Pick(int n) { return static_cast<int>(random_() % static_cast<quint64>(n)); }

 private:
  QString Fixed() {
    static const QStringList kTexts{
        "",           "nan",
        "NaN",        "-nan",
        "inf",        "-inf",
        "INF",        "Infinity",
        "-1e999",     "1e999",
        "1e-400",     "-1e-400",
        "0",          "-0",
        "0.0",        "00000",
        "4k7",        "4K7",
        ",",          ".",
        "-",          "+",
        "e",          "E5",
        "mil",        "10mil",
        "1mil",       "milk",
        "1,5k",       "2k",
        "1e308",      "1.7976931348623157e308",
        "4.9e-324",   "1e-310",
        "-1",         "-1k",
        "1e",         "1e+",
        "1e-",        "k",
        "1.2.3",      "  12  ",
        "0x1A",       "1/0",
        "\u221e",     "\u00b5",
        "1\u00b5",    "3dB",
        "dB",         "--1",
        "1e-15",      "1f",
        "1a",         "1G",
        "1T",         "9T",
        "1E+300",     "1e400k",
        "0.1m",       "\t1",
        "1\x01",      "\x7f",
        "\x1b[0m",    "1\r\n2",
        "1 2 3",      "\u00e4\u00f6\u00fc",
        "\U0001F600", "1e-0400",
        "1e+0400",    "0e999",
        "-0e-999",    "10000",
        "100001",     "2e9",
        "2e10",       "1e-5",
        "5",          "0.00005",
        "0.01",       "3",
        "1.1",        "100",
    };
    return kTexts[Pick(static_cast<int>(kTexts.size()))];
  }

  QString Number() {
    static const char kPrefixes[] = " afpnumkKMGT";
    const double mantissa = std::uniform_real_distribution<double>(-2.0, 10.0)(random_);
    QString text = QString::number(mantissa, 'g', 1 + Pick(17));
    if (Pick(3) == 0) text += QString("e%1").arg(Pick(801) - 400);
    if (Pick(3) == 0) text += QChar(kPrefixes[Pick(static_cast<int>(sizeof kPrefixes) - 1)]);
    if (Pick(10) == 0) text.replace('.', ',');
    return text.trimmed().isEmpty() ? "1" : text;
  }

  QString Digits() {
    const int length = 20 + Pick(600);
    QString text = Pick(2) == 0 ? "" : "0.";
    if (Pick(2) == 0) text += QString(length, '0') + "1";
    for (int i = 0; i < length; ++i) text += QChar('0' + Pick(10));
    return text;
  }

  QString Junk(int length) {
    static const QString kChars =
        "0123456789.,+-eEkKmMuUnNpPfFgGtT il \t\x01\x02\x1f\x7f=;[]#\"'\\/%\u00b5\u00e4\u221e";
    QString text;
    for (int i = 0; i < length; ++i) text += kChars[Pick(static_cast<int>(kChars.size()))];
    return text;
  }

  // Longer than a line edit takes (32767 characters): the field keeps what fits.
  QString Long() {
    const int length = Pick(2) == 0 ? 1000 + Pick(4000) : 40000 + Pick(70000);
    QString text = Pick(2) == 0 ? "1" : "";
    text += QString(length, QChar(Pick(2) == 0 ? '9' : 'x'));
    return text;
  }

  std::mt19937_64& random_;
};

// Whether two doubles are the same to the last bit (also a NaN with itself).
bool SameBits(double a, double b);

// A shown text with its line breaks and control characters spelled out, shortened.
QString Shown(const QString& text);

// A word "nan", "inf" or "infinity" in a text the program wrote, in any case; the
// placeholders "infinite" hold the letters but are no such word.
bool ShowsNanOrInf(const QString& text);

// A text that ReadValue, the reader of every entry field, reads as exactly x, if there is one.
std::optional<QString> ExactEntryText(double x);

}  // namespace morvane::gui::test
