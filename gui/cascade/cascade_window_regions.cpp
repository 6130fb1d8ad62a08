// The regions of the Multi-stage Filter window, in the main window's look: raised panels with
// maroon headings, light-yellow entry fields with spin buttons, silver result fields.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/window_look.h"
#include "cascade/cascade_choices.h"
#include "cascade/cascade_entry_fields.h"
#include "cascade/cascade_texts.h"
#include "cascade/cascade_window.h"
#include "cascade/section_table.h"
#include "numerics/standard_series.h"
#include "schematic/section_pictures.h"
#include "ui/spin_button.h"

namespace morvane::gui {

namespace {

constexpr int kEntryWidth = 74;
constexpr int kResultWidth = 74;
constexpr int kChoiceWidth = 170;
constexpr int kUnitWidth = 18;
// The least room of the pictures; they grow with the window as the table does.
constexpr QSize kSectionPictureSize(300, 170);
const char* const kInputHint = "Input for information needed to perform calculations";

QGridLayout* RegionGrid(QFrame* region, const QString& heading) {
  auto* grid = new QGridLayout(region);
  grid->setContentsMargins(6, 3, 6, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  QLabel* title = MakeHeading(heading, region);
  title->setStatusTip(region->statusTip());
  grid->addWidget(title, 0, 0, 1, -1);
  return grid;
}

// Hidden rows keep their place, so the rows around them do not move.
void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

}  // namespace

QWidget* CascadeWindow::BuildClientArea() {
  auto* client = new QWidget(this);
  client->setObjectName("CascadeClientArea");
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  auto* top = new QHBoxLayout;
  top->setSpacing(2);
  top->addWidget(BuildFilterRegion(client));
  top->addWidget(BuildCircuitRegion(client));
  top->addWidget(BuildFiguresRegion(client), 1);
  layout->addLayout(top);
  layout->addWidget(BuildSectionsRegion(client), 2);
  layout->addWidget(BuildPictureRegion(client), 1);
  return client;
}

void CascadeWindow::AddEntryRow(QGridLayout* grid, int row, std::string_view name, int column,
                                QWidget* parent) {
  const CascadeEntryField& field = *CascadeEntryNamed(name);
  const QString hint = Text(CascadeEntryHint(field));
  QLabel* label = MakeLabel(Text(name) + "Label", Text(field.caption), hint, parent);
  // The spin button sits right beside its field, as on the main window.
  auto* box = new QWidget(parent);
  auto* pair = new QHBoxLayout(box);
  pair->setContentsMargins(0, 0, 0, 0);
  pair->setSpacing(4);
  auto* spin =
      new SpinButton("Spin" + Text(name), "Increase or decrease " + Text(field.caption), box);
  QLineEdit* edit = MakeEntryField(name, kEntryWidth, box);
  SetHint(edit, hint);
  pair->addWidget(spin);
  pair->addWidget(edit);
  QLabel* unit = MakeLabel(Text(name) + "Unit", Text(field.unit), {}, parent);
  grid->addWidget(label, row, column);
  grid->addWidget(box, row, column + 1, Qt::AlignRight);
  grid->addWidget(unit, row, column + 2);
  grid->setColumnMinimumWidth(column + 2, kUnitWidth);
  for (QWidget* w : {static_cast<QWidget*>(label), box, static_cast<QWidget*>(unit)}) {
    KeepPlaceWhenHidden(w);
    rows_[std::string(name)].push_back(w);
  }
  fields_.emplace(std::string(name), edit);
  const std::string key(name);
  connect(spin, &SpinButton::up, this, [this, key] { EntrySpun(key, true); });
  connect(spin, &SpinButton::down, this, [this, key] { EntrySpun(key, false); });
}

QComboBox* CascadeWindow::AddChoice(QGridLayout* grid, int row, const QString& name,
                                    const QString& caption, const QString& hint, QWidget* parent) {
  grid->addWidget(MakeLabel(name + "Label", caption, hint, parent), row, 0);
  auto* choice = new QComboBox(parent);
  choice->setObjectName(name);
  choice->setFixedWidth(kChoiceWidth);
  SetHint(choice, hint);
  grid->addWidget(choice, row, 1, 1, 2, Qt::AlignLeft);
  return choice;
}

QFrame* CascadeWindow::BuildFilterRegion(QWidget* parent) {
  QFrame* region = MakeRegion("CascadeFilter", kInputHint, parent);
  QGridLayout* grid = RegionGrid(region, "Filter");
  approximation_ = AddChoice(grid, 1, "CascadeApproximation", "Approximation",
                             "The prototype's approximation", region);
  for (const auto& c : ApproximationCaptions()) {
    approximation_->addItem(Text(c.name), static_cast<int>(c.choice));
  }
  kind_ =
      AddChoice(grid, 2, "CascadeType", "Type", "Lowpass, highpass, bandpass or bandstop", region);
  for (const auto& c : FilterKindCaptions())
    kind_->addItem(Text(c.name), static_cast<int>(c.choice));
  AddEntryRow(grid, 3, cascade_field::order, 0, region);

  useScheme_ = new QCheckBox("Least order for the scheme", region);
  useScheme_->setObjectName("CascadeUseScheme");
  SetHint(useScheme_,
          "The least order that keeps to the tolerance scheme: at most d1 dB down to f1, at least "
          "d2 dB from f2 on (lowpass and highpass)");
  grid->addWidget(useScheme_, 4, 0, 1, 3);
  leastOrder_ = MakeResultField("CascadeLeastOrder", kResultWidth, region);
  SetHint(leastOrder_, "The least order that meets the scheme");
  grid->addWidget(leastOrder_, 4, 4, Qt::AlignRight);
  AddEntryRow(grid, 5, cascade_field::f1, 0, region);
  AddEntryRow(grid, 5, cascade_field::d1, 3, region);
  AddEntryRow(grid, 6, cascade_field::f2, 0, region);
  AddEntryRow(grid, 6, cascade_field::d2, 3, region);
  // fg and fm share a row: a filter has one or the other.
  AddEntryRow(grid, 7, cascade_field::fg, 0, region);
  AddEntryRow(grid, 7, cascade_field::fm, 0, region);
  AddEntryRow(grid, 8, cascade_field::bandwidth, 0, region);
  AddEntryRow(grid, 9, cascade_field::ripple, 0, region);
  AddEntryRow(grid, 10, cascade_field::stopband, 0, region);
  grid->setRowStretch(11, 1);
  return region;
}

QFrame* CascadeWindow::BuildCircuitRegion(QWidget* parent) {
  QFrame* region = MakeRegion("CascadeCircuit", kInputHint, parent);
  QGridLayout* grid = RegionGrid(region, "Circuit");
  AddEntryRow(grid, 1, cascade_field::gain, 0, region);
  split_ = AddChoice(grid, 2, "CascadeSplit", "Gain split",
                     "Which sections take the gain beyond what the filter needs", region);
  for (const auto& c : GainSplitCaptions())
    split_->addItem(Text(c.name), static_cast<int>(c.choice));
  allSections_ = AddChoice(grid, 3, "CascadeAllSections", "Topology, all sections",
                           "One topology for every section (only those that build them all); "
                           "a section's own choice in the table overrides it",
                           region);
  grid->addWidget(MakeLabel("CascadeSectionOrderLabel", "Section order", {}, region), 4, 0);
  sectionOrder_ = MakeEntryField("CascadeSectionOrder", kChoiceWidth, region);
  SetHint(sectionOrder_,
          "The sections from the input on, by their numbers in the lowest-Q-first order, such as "
          "2,1,3; blank: lowest Q first");
  sectionOrder_->setPlaceholderText("lowest Q first");
  grid->addWidget(sectionOrder_, 4, 1, 1, 2, Qt::AlignLeft);
  AddEntryRow(grid, 5, cascade_field::zin, 0, region);
  seriesR_ =
      AddChoice(grid, 6, "CascadeSeriesR", "Resistors", "Standard series of the resistors", region);
  seriesC_ = AddChoice(grid, 7, "CascadeSeriesC", "Capacitors", "Standard series of the capacitors",
                       region);
  for (int code = kSeriesE6; code <= kSeriesE96; ++code) {
    seriesR_->addItem(QString::fromUtf8(SeriesName(code)) + " series", code);
    seriesC_->addItem(QString::fromUtf8(SeriesName(code)) + " series", code);
  }
  roundResistors_ = new QCheckBox("Round resistors to the series", region);
  roundResistors_->setObjectName("CascadeRoundResistors");
  SetHint(roundResistors_,
          "Every resistor rounded to the nearest value of its series, as built; a section's "
          "f0, Q, fz and gain as built are in the hints of its cells");
  grid->addWidget(roundResistors_, 8, 0, 1, 3);
  grid->setRowStretch(9, 1);
  return region;
}

QFrame* CascadeWindow::BuildFiguresRegion(QWidget* parent) {
  QFrame* region = MakeRegion("CascadeFigures", "Figures of the whole filter as built", parent);
  QGridLayout* grid = RegionGrid(region, "Figures");
  int row = 1;
  for (const FigureRow& f : FigureRows()) {
    if (f.figure == Figure::Attenuation) AddEntryRow(grid, row++, cascade_field::fs, 0, region);
    grid->addWidget(MakeLabel(Text(f.name) + "Label", Text(f.label), {}, region), row, 0);
    QLineEdit* field = MakeResultField(f.name, kResultWidth, region);
    grid->addWidget(field, row, 1, Qt::AlignRight);
    grid->addWidget(MakeLabel(Text(f.name) + "Unit", Text(f.unit), {}, region), row, 2);
    figures_.emplace(std::string(f.name), field);
    ++row;
  }
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(row, 1);
  return region;
}

QFrame* CascadeWindow::BuildSectionsRegion(QWidget* parent) {
  QFrame* region = MakeRegion("CascadeSections", {}, parent);
  QGridLayout* grid = RegionGrid(region, "Sections");
  table_ = new SectionTable(region);
  grid->addWidget(table_, 1, 0);
  return region;
}

QFrame* CascadeWindow::BuildPictureRegion(QWidget* parent) {
  QFrame* region = MakeRegion("CascadePictures", {}, parent);
  QGridLayout* grid = RegionGrid(region, "Circuit of the selected section");
  grid->addWidget(MakeHeading("Chain of sections", region), 0, 1);
  sectionPicture_ = new SectionPicture(region);
  sectionPicture_->setObjectName("CascadeSectionPicture");
  sectionPicture_->setMinimumSize(kSectionPictureSize);
  // Half the width whatever the circuit: a wide one (a four-op-amp notch) is drawn smaller
  // rather than squeezing the chain.
  sectionPicture_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  grid->addWidget(sectionPicture_, 1, 0);
  chain_ = new ChainPicture(region);
  chain_->setObjectName("CascadeChain");
  chain_->setMinimumHeight(kSectionPictureSize.height());
  grid->addWidget(chain_, 1, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1, 1);
  return region;
}

}  // namespace morvane::gui
