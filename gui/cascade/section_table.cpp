#include "cascade/section_table.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSignalBlocker>
#include <array>

#include "app/window_look.h"
#include "cascade/cascade_choices.h"
#include "cascade/cascade_texts.h"
#include "cascade/window_design.h"
#include "opamp/opamp_choice.h"
#include "opamp/real_response.h"

namespace morvane::gui {

namespace {

struct ColumnLook {
  const char* heading;
  const char* hint;
  int width;  // 0: takes the rest
  Qt::Alignment alignment;
};

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

constexpr std::array<ColumnLook, SectionTable::ColumnCount> kColumns{{
    {"#", "Place of the section in the chain, from the input", 24, kRight},
    {"Kind", "What the section does", 100, kLeft},
    {"f0", "Pole frequency", 70, kRight},
    {"Q", "Quality factor of the poles", 50, kRight},
    {"fz", "Frequency of the zero pair (notch sections)", 70, kRight},
    {"Gain", "Pass-band gain of the section as built; minus: it inverts", 64, kRight},
    {"Topology", "The circuit of the section; only those that build it are offered", 136, kLeft},
    {"Peaking", "Largest gain at the section's output above the filter's pass band", 150, kRight},
    {"GBWP", "Gain-bandwidth product the section's op amps need", 70, kRight},
    {"With op amp",
     "f0, Q and peaking of the section built with the op amp chosen (Tools > Op Amp)", 170, kRight},
    {"Components", "Parts of the section, as the netlist names them", 0, kLeft},
}};

constexpr int kRowHeight = 20;
// The table shows at least this many sections without scrolling (a tenth-order filter).
constexpr int kLeastRowsShown = 5;

QTableWidgetItem* ReadOnlyItem(const QString& text, Qt::Alignment alignment) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  item->setTextAlignment(alignment);
  return item;
}

QString Warnings(const SectionCircuit& circuit) {
  QStringList lines;
  for (const std::string& w : circuit.warnings) lines << Text(w);
  return lines.join('\n');
}

}  // namespace

SectionTable::SectionTable(QWidget* parent) : QTableWidget(0, ColumnCount, parent) {
  setObjectName("SectionTable");
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  setMinimumHeight(horizontalHeader()->sizeHint().height() + kLeastRowsShown * kRowHeight +
                   2 * frameWidth() + 2);
  QHeaderView* header = horizontalHeader();
  header->setHighlightSections(false);
  for (int c = 0; c < ColumnCount; ++c) {
    const ColumnLook& look = kColumns[static_cast<std::size_t>(c)];
    auto* heading = new QTableWidgetItem(QString::fromUtf8(look.heading));
    heading->setToolTip(QString::fromUtf8(look.hint));
    heading->setTextAlignment(look.alignment);
    setHorizontalHeaderItem(c, heading);
    if (look.width > 0) {
      setColumnWidth(c, look.width);
    } else {
      header->setSectionResizeMode(c, QHeaderView::Stretch);
    }
  }
  setColumnHidden(OpAmpColumn, true);
  connect(this, &QTableWidget::itemSelectionChanged, this, [this] {
    if (!showing_ && SelectedSection() >= 0) emit sectionSelected(SelectedSection());
  });
}

void SectionTable::ShowDesign(const CascadeDesign& design, const SectionDesignOptions& options,
                              const std::optional<OpAmpModel>& opAmp) {
  showing_ = true;
  const int selected = SelectedSection();
  const int rows = static_cast<int>(design.sections.size());
  setRowCount(rows);
  for (int row = 0; row < rows; ++row) {
    ShowRow(row, design.sections[static_cast<std::size_t>(row)], options);
  }
  ShowOpAmpColumn(design, opAmp);
  if (selected >= 0 && selected < rows) selectRow(selected);
  showing_ = false;
}

void SectionTable::ShowRow(int row, const CascadeSection& section,
                           const SectionDesignOptions& options) {
  const SectionRowTexts texts = SectionRow(static_cast<std::size_t>(row), section);
  const std::array<const std::string*, ColumnCount> cells{
      &texts.number, &texts.kind,    &texts.f0,   &texts.q, &texts.fz,   &texts.gain,
      nullptr,       &texts.peaking, &texts.gbwp, nullptr,  &texts.parts};
  for (int c = 0; c < ColumnCount; ++c) {
    const std::string* text = cells[static_cast<std::size_t>(c)];
    if (!text) continue;
    auto* cell = ReadOnlyItem(Text(*text), kColumns[static_cast<std::size_t>(c)].alignment);
    cell->setToolTip(cell->text());
    setItem(row, c, cell);
  }
  item(row, Kind)->setToolTip(Text(section.circuit.name));
  const AsBuiltHints built = AsBuiltHintsOf(section);
  for (const auto& [column, hint] : {std::pair(F0, &built.f0), std::pair(Q, &built.q),
                                     std::pair(Fz, &built.fz), std::pair(Gain, &built.gain)}) {
    if (!hint->empty()) item(row, column)->setToolTip(Text(*hint));
  }
  MarkUnbuildable(item(row, Parts), Warnings(section.circuit));
  ShowTopologyChoice(row, section, options);
}

void SectionTable::ShowOpAmpColumn(const CascadeDesign& design,
                                   const std::optional<OpAmpModel>& opAmp) {
  const bool shown = opAmp && !opAmp->IsIdeal();
  setColumnHidden(OpAmpColumn, !shown);
  if (!shown) return;
  horizontalHeaderItem(OpAmpColumn)->setText("With " + Text(opAmp->name));
  const auto real = CascadeRealAmplifier(design, *opAmp);
  for (int row = 0; row < rowCount(); ++row) {
    const std::size_t i = static_cast<std::size_t>(row);
    const std::optional<RealAmplifierFigures> none;
    const auto& figures = i < real.size() ? real[i] : none;
    auto* cell = ReadOnlyItem(figures ? Text(OpAmpCellText(*figures)) : QString("-"),
                              kColumns[OpAmpColumn].alignment);
    cell->setForeground(kOpAmpTextColour);
    cell->setToolTip(figures ? Text(RealAmplifierLine(*figures))
                             : "The section could not be analysed with " + Text(opAmp->name));
    setItem(row, OpAmpColumn, cell);
  }
}

void SectionTable::ShowTopologyChoice(int row, const CascadeSection& section,
                                      const SectionDesignOptions& options) {
  auto* choice = TopologyChoice(row);
  if (!choice) {
    choice = new QComboBox(this);
    choice->setObjectName(QString("SectionTopology%1").arg(row + 1));
    SetHint(choice, QString::fromUtf8(kColumns[TopologyColumn].hint));
    // activated: the user's picks only, never the program's refilling.
    // Rows are only ever added or removed at the end: the choice stays in its row.
    connect(choice, &QComboBox::activated, this, [this, choice, row](int index) {
      emit topologyChosen(row, static_cast<Topology>(choice->itemData(index).toInt()));
    });
    setCellWidget(row, TopologyColumn, choice);
  }
  const std::vector<Topology> offered = FittingTopologies(section.plan, options);
  const QSignalBlocker block(choice);
  bool same = choice->count() == static_cast<int>(offered.size());
  for (int i = 0; same && i < choice->count(); ++i) {
    same = choice->itemData(i).toInt() == static_cast<int>(offered[static_cast<std::size_t>(i)]);
  }
  if (!same) {
    choice->clear();
    for (Topology t : offered) {
      choice->addItem(Text(TopologyChoiceCaption(t)), static_cast<int>(t));
    }
  }
  // The topology built is always offered: it built the section.
  int index = choice->findData(static_cast<int>(section.topology));
  if (index < 0) {
    choice->addItem(Text(TopologyChoiceCaption(section.topology)),
                    static_cast<int>(section.topology));
    index = choice->count() - 1;
  }
  choice->setCurrentIndex(index);
}

QComboBox* SectionTable::TopologyChoice(int row) const {
  return qobject_cast<QComboBox*>(cellWidget(row, TopologyColumn));
}

int SectionTable::SelectedSection() const {
  const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
  return ranges.isEmpty() ? -1 : ranges.front().topRow();
}

}  // namespace morvane::gui
