#include "companions/eseries/eseries_window.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cmath>

#include "app/window_look.h"
#include "circuit/built_figures.h"
#include "eseries/preferred_bracket.h"
#include "eseries/preferred_texts.h"
#include "eseries/value_pairs.h"
#include "ui/glyphs.h"

namespace morvane::gui {

namespace {

constexpr int kTextPixelSize = 11;  // as the main window's
constexpr int kLabelWidth = 64;     // the first column of every region, so that they line up
constexpr int kEntryWidth = 90;
constexpr int kMemberWidth = 62;
constexpr int kValueWidth = 74;
constexpr int kErrorWidth = 80;
constexpr auto kStartSeries = PreferredSeries::E24;
constexpr const char* kStartValue = "4.75k";
constexpr const char* kStartRatio = "2.2";
const QString kNone = QString::fromUtf8("–");

// A raised region with its maroon heading; children go into the returned grid.
QGridLayout* RegionGrid(const QString& name, const QString& heading, const QString& hint,
                        QWidget*& region, QWidget* parent) {
  region = MakeRegion(name, hint, parent);
  auto* grid = new QGridLayout(region);
  grid->setContentsMargins(8, 4, 8, 8);
  grid->setVerticalSpacing(4);
  grid->addWidget(MakeHeading(heading, region), 0, 0, 1, -1);
  grid->setColumnMinimumWidth(0, kLabelWidth);
  return grid;
}

QLineEdit* ResultField(const QString& name, int width, const QString& hint, QWidget* parent) {
  QLineEdit* field = MakeResultField(name.toStdString(), width, parent);
  field->setAlignment(Qt::AlignRight);
  if (!hint.isEmpty()) SetHint(field, hint);
  return field;
}

QLabel* Operation(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

// The message of a bad entry; one that does not say which entry it is about gets its name.
QString EntryMessage(const EntryReading& reading, const QString& name) {
  if (reading.problem.empty()) return {};
  const QString problem = Text(reading.problem);
  return problem.startsWith('"') ? name + ": " + problem : problem;
}

// The message lines of the bad entries.
QString Messages(const EntryReading& value, const EntryReading& ratio) {
  QStringList lines;
  for (const QString& line : {EntryMessage(value, "Value"), EntryMessage(ratio, "Ratio")}) {
    if (!line.isEmpty()) lines << line;
  }
  return lines.join('\n');
}

}  // namespace

ESeriesWindow::ESeriesWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("ESeriesWindow");
  setWindowTitle("Standard Values");
  setWindowIcon(ProgramIcon());
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kSilver);
  setPalette(colours);
  QFont text = font();
  text.setPixelSize(kTextPixelSize);
  setFont(text);

  auto* client = new QWidget(this);
  auto* left = new QVBoxLayout;
  left->addWidget(BuildEntryRegion());
  left->addWidget(BuildBracketRegion());
  left->addWidget(BuildPairRegion());
  left->addWidget(BuildRatioRegion());
  left->addStretch(1);
  auto* whole = new QHBoxLayout(client);
  whole->addLayout(left);
  whole->addWidget(BuildDecadeRegion(), 0, Qt::AlignTop);
  setCentralWidget(client);
  statusBar()->setSizeGripEnabled(false);

  connect(series_, &QComboBox::currentIndexChanged, this, &ESeriesWindow::Recalculate);
  connect(value_, &QLineEdit::textChanged, this, &ESeriesWindow::Recalculate);
  connect(ratio_, &QLineEdit::textChanged, this, &ESeriesWindow::Recalculate);
  connect(decade_, &DecadeTable::valueClicked, this, &ESeriesWindow::TakeDecadeValue);
  series_->setCurrentIndex(static_cast<int>(kStartSeries));
  value_->setText(kStartValue);
  ratio_->setText(kStartRatio);
  Recalculate();
  // Typing replaces the start value at once.
  value_->setFocus();
  value_->selectAll();
}

QWidget* ESeriesWindow::BuildEntryRegion() {
  QWidget* region = nullptr;
  QGridLayout* grid =
      RegionGrid("ESeriesInput", "Input", "The series and the value to find standard values for",
                 region, this);
  series_ = new QComboBox(region);
  series_->setObjectName("ESeriesSeries");
  for (const PreferredSeries s : kAllPreferredSeries)
    series_->addItem(Text(PreferredSeriesName(s)));
  SetHint(series_, "The series of preferred values (IEC 60063), E3 to E192");
  auto* seriesLabel = MakeLabel("ESeriesSeriesLabel", "&Series", {}, region);
  seriesLabel->setTextFormat(Qt::AutoText);
  seriesLabel->setBuddy(series_);
  value_ = MakeEntryField("ESeriesValue", kEntryWidth, region);
  SetHint(value_,
          "The value, in any unit, 1f to 1T, with prefix letters as in the main window: 4k7, "
          "10n, 2.2 M");
  auto* valueLabel = MakeLabel("ESeriesValueLabel", "&Value", {}, region);
  valueLabel->setTextFormat(Qt::AutoText);
  valueLabel->setBuddy(value_);
  grid->addWidget(seriesLabel, 1, 0);
  grid->addWidget(series_, 1, 1, Qt::AlignLeft);
  grid->addWidget(valueLabel, 2, 0);
  grid->addWidget(value_, 2, 1, Qt::AlignLeft);
  message_ = new QLabel(region);
  message_->setObjectName("ESeriesMessage");
  message_->setTextFormat(Qt::PlainText);
  message_->setWordWrap(true);
  QPalette warning = message_->palette();
  warning.setColor(QPalette::WindowText, kMaroon);
  message_->setPalette(warning);
  grid->addWidget(message_, 3, 0, 1, -1);
  grid->setColumnStretch(2, 1);
  return region;
}

QWidget* ESeriesWindow::BuildBracketRegion() {
  QWidget* region = nullptr;
  QGridLayout* grid = RegionGrid("ESeriesStandard", "Standard values", {}, region, this);
  struct Row {
    const char* name;
    const char* label;
    const char* hint;
  };
  const Row rows[] = {
      {"ESeriesBelow", "Below", "The largest series value at or below the value"},
      {"ESeriesAbove", "Above", "The smallest series value at or above the value"},
      {"ESeriesNearest", "Nearest",
       "The nearer of the two by ratio: the one whose ratio to the value is closer to 1"},
  };
  grid->addWidget(MakeLabel("ESeriesErrorHeading", "Error", {}, region), 0, 2, Qt::AlignCenter);
  for (int i = 0; i < 3; ++i) {
    const Row& r = rows[i];
    grid->addWidget(MakeLabel(QString(r.name) + "Label", r.label, r.hint, region), i + 1, 0);
    bracket_[static_cast<std::size_t>(i)] = ResultField(r.name, kValueWidth, r.hint, region);
    bracketError_[static_cast<std::size_t>(i)] =
        ResultField(QString(r.name) + "Error", kErrorWidth,
                    "(series value - value) / value, in percent", region);
    grid->addWidget(bracket_[static_cast<std::size_t>(i)], i + 1, 1);
    grid->addWidget(bracketError_[static_cast<std::size_t>(i)], i + 1, 2);
  }
  grid->setColumnStretch(3, 1);
  return region;
}

ESeriesWindow::PairFields ESeriesWindow::MakePairRow(const char* name, const QString& label,
                                                     const QString& operation, const QString& hint,
                                                     QWidget* region, QGridLayout* grid, int row) {
  PairFields f;
  const QString base(name);
  grid->addWidget(MakeLabel(base + "Label", label, hint, region), row, 0);
  f.a = ResultField(base + "A", kMemberWidth, hint, region);
  f.b = ResultField(base + "B", kMemberWidth, hint, region);
  f.value = ResultField(base + "Value", kValueWidth, hint, region);
  f.error = ResultField(base + "Error", kErrorWidth, "The error of what the two make, in percent",
                        region);
  grid->addWidget(f.a, row, 1);
  grid->addWidget(Operation(operation, region), row, 2);
  grid->addWidget(f.b, row, 3);
  grid->addWidget(Operation("=", region), row, 4);
  grid->addWidget(f.value, row, 5);
  grid->addWidget(f.error, row, 6);
  return f;
}

QWidget* ESeriesWindow::BuildPairRegion() {
  QWidget* region = nullptr;
  QGridLayout* grid = RegionGrid("ESeriesTwoValues", "Two values of the series",
                                 "Each part at most three decades from the value", region, this);
  inSeries_ = MakePairRow("ESeriesInSeries", "In series", "+",
                          "The two parts whose sum comes nearest to the value", region, grid, 1);
  inParallel_ =
      MakePairRow("ESeriesInParallel", "In parallel", "||",
                  "The two parts that in parallel come nearest to the value", region, grid, 2);
  grid->setColumnStretch(7, 1);
  return region;
}

QWidget* ESeriesWindow::BuildRatioRegion() {
  QWidget* region = nullptr;
  QGridLayout* grid = RegionGrid("ESeriesRatioRegion", "Pair for a ratio a / b", {}, region, this);
  ratio_ = MakeEntryField("ESeriesRatio", kEntryWidth, region);
  const QString hint =
      "The ratio a / b, 1u to 1M. A non-inverting amplifier's gain G = 1 + a / b asks for "
      "G - 1; a divider with a on top and b below (Vout / Vin = b / (a + b)) for "
      "Vin / Vout - 1.";
  SetHint(ratio_, hint);
  auto* ratioLabel = MakeLabel("ESeriesRatioLabel", "&Ratio", hint, region);
  ratioLabel->setTextFormat(Qt::AutoText);
  ratioLabel->setBuddy(ratio_);
  grid->addWidget(ratioLabel, 1, 0);
  grid->addWidget(ratio_, 1, 1, 1, 3, Qt::AlignLeft);
  ratioPair_ = MakePairRow("ESeriesPair", "a / b", "/",
                           "The pair of the series whose ratio comes nearest, b in the decade "
                           "around the value",
                           region, grid, 2);
  auto* note =
      MakeLabel("ESeriesRatioNote",
                "Gain 1 + a / b: type gain - 1. Divider a over b: Vin / Vout - 1.", hint, region);
  note->setWordWrap(true);
  grid->addWidget(note, 3, 0, 1, -1);
  grid->setColumnStretch(7, 1);
  return region;
}

QWidget* ESeriesWindow::BuildDecadeRegion() {
  QWidget* region = nullptr;
  QGridLayout* grid = RegionGrid("ESeriesTable", "",
                                 "One decade of the series; a click takes "
                                 "the value in the decade of the entry",
                                 region, this);
  decadeHeading_ = qobject_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget());
  decade_ = new DecadeTable(region);
  decade_->setObjectName("ESeriesDecade");
  grid->addWidget(decade_, 1, 0);
  auto* legend =
      MakeLabel("ESeriesDecadeLegend",
                "Orange: the nearest value. Light: the other neighbour of the entry.", {}, region);
  grid->addWidget(legend, 2, 0);
  return region;
}

void ESeriesWindow::SetSeries(PreferredSeries series) {
  series_->setCurrentIndex(static_cast<int>(series));
}

PreferredSeries ESeriesWindow::Series() const {
  const int index = series_->currentIndex();
  return index >= 0 && index < static_cast<int>(kAllPreferredSeries.size())
             ? kAllPreferredSeries[static_cast<std::size_t>(index)]
             : kStartSeries;
}

void ESeriesWindow::SetValueText(const QString& text) {
  value_->setText(text);
}

void ESeriesWindow::SetRatioText(const QString& text) {
  ratio_->setText(text);
}

QString ESeriesWindow::Message() const {
  return message_->text();
}

void ESeriesWindow::Recalculate() {
  const PreferredSeries series = Series();
  const int digits = SignificantDigits(series);
  const auto part = [digits](double x) { return Text(PreferredValueText(x, digits)); };
  const auto combined = [digits](double x) { return Text(PreferredValueText(x, digits + 2)); };
  const auto percent = [](double p) { return Text(ErrorPercentText(p)); };
  const auto showPair = [&](const PairFields& f, const ValuePair* pair) {
    f.a->setText(pair ? part(pair->a) : kNone);
    f.b->setText(pair ? part(pair->b) : kNone);
    f.value->setText(pair ? combined(pair->value) : kNone);
    f.error->setText(pair ? percent(pair->errorPercent) : kNone);
  };

  const EntryReading value = ReadTargetEntry(value_->text().toStdString());
  const EntryReading ratio = ReadRatioEntry(ratio_->text().toStdString());
  const QString messages = Messages(value, ratio);
  message_->setText(messages);
  message_->setVisible(!messages.isEmpty());
  statusBar()->showMessage(messages.section('\n', 0, 0));

  decadeHeading_->setText(Text(PreferredSeriesName(series)) + ", one decade");
  const bool valueTaken = value.problem.empty();
  if (valueTaken) {
    const PreferredBracket b = BracketValue(series, value.value);
    const double shown[] = {b.below, b.above, b.nearest};
    for (std::size_t i = 0; i < 3; ++i) {
      bracket_[i]->setText(part(shown[i]));
      const double error = i == 2 ? b.nearestErrorPercent : ErrorPercent(shown[i], value.value);
      bracketError_[i]->setText(b.inSeries ? percent(0.0) : percent(error));
    }
    const ValuePair s = BestSeriesPair(series, value.value);
    const ValuePair p = BestParallelPair(series, value.value);
    showPair(inSeries_, &s);
    showPair(inParallel_, &p);
    const std::int64_t below = PreferredIndexAtOrBelow(series, value.value);
    const std::int64_t above = PreferredIndexAtOrAbove(series, value.value);
    decade_->Show(series, DecadeMarks{below, above, b.nearest == b.below ? below : above});
  } else {
    for (std::size_t i = 0; i < 3; ++i) {
      bracket_[i]->setText(kNone);
      bracketError_[i]->setText(kNone);
    }
    showPair(inSeries_, nullptr);
    showPair(inParallel_, nullptr);
    decade_->Show(series, std::nullopt);
  }
  if (valueTaken && ratio.problem.empty()) {
    const ValuePair r = BestRatioPair(series, ratio.value, value.value);
    showPair(ratioPair_, &r);
  } else {
    showPair(ratioPair_, nullptr);
  }
}

// A value of the table goes into the entry in the decade of the nearest value (or 1 to 10).
void ESeriesWindow::TakeDecadeValue(int place) {
  const PreferredSeries series = Series();
  const auto n = static_cast<std::int64_t>(PreferredDecade(series).size());
  const EntryReading value = ReadTargetEntry(value_->text().toStdString());
  std::int64_t decade = 0;
  if (value.problem.empty()) {
    const std::int64_t nearest =
        PreferredIndexAtOrBelow(series, BracketValue(series, value.value).nearest);
    decade = nearest >= 0 ? nearest / n : -((-nearest + n - 1) / n);
  }
  value_->setText(Text(PlainValueText(PreferredValueAt(series, decade * n + place))));
}

}  // namespace morvane::gui
