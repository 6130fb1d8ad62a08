#include "tolerance/value_search_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "circuit/circuit.h"
#include "design/design_session.h"
#include "numerics/value_text.h"

namespace morvane::gui {

namespace {

constexpr const char* kColumns[] = {"Capacitors", "Resistors", "f0", "Q", "Gain", "fz", "Level"};

QString ErrorText(double built, double designed) {
  const double e = ErrorPercent(built, designed);
  return QString::fromStdString((e >= 0.0 ? "+" : "") + FormatFixedTrimmed(2, e + 0.0) + " %");
}

// "C1 100n  C2 47n": the page's own parts of one kind, as the fields name them.
QString PartsText(const Circuit& circuit, char kind) {
  QStringList parts;
  for (const CircuitPart& part : circuit.parts) {
    if (part.name.size() != 2 || part.name[0] != kind || part.value >= kInfiniteR4) continue;
    parts << QString::fromStdString(part.name + " ") +
                 QString::fromStdString(FormatValue(7, 2, part.value)).trimmed();
  }
  return parts.join("  ");
}

}  // namespace

ValueSearchDialog::ValueSearchDialog(DesignSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName("ValueSearchDialog");
  setWindowTitle("Search Standard Values");
  table_ = new QTableWidget(0, static_cast<int>(std::size(kColumns)), this);
  table_->setObjectName("ValueSearchTable");
  QStringList headers;
  for (const char* c : kColumns) headers << c;
  table_->setHorizontalHeaderLabels(headers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  table_->setMinimumWidth(720);
  status_ = new QLabel(this);
  status_->setObjectName("ValueSearchStatus");
  status_->setWordWrap(true);
  apply_ = new QPushButton("&Apply", this);
  apply_->setObjectName("ValueSearchApply");
  apply_->setDefault(true);
  auto* close = new QPushButton("Close", this);
  connect(apply_, &QPushButton::clicked, this, [this] { Apply(table_->currentRow()); });
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { Apply(row); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(status_, 1);
  buttons->addWidget(apply_);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      "The sets of standard values closest to the design, best first: the errors of f0, Q, "
      "gain and fz (weighted heavily) against the design. Apply builds the stage with one.",
      this));
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
}

void ValueSearchDialog::Search() {
  choices_ = StageValueChoices(session_.State(), session_.Choices(), kChoicesShown);
  table_->setRowCount(static_cast<int>(choices_.size()));
  const DesignState& s = session_.State();
  const FilterType type = session_.Type();
  for (int row = 0; row < static_cast<int>(choices_.size()); ++row) {
    const StageValueChoice& c = choices_[static_cast<std::size_t>(row)];
    const Circuit circuit = StageCircuit(s.topology, type, c.parts);
    const QString level =
        QString::fromStdString((c.levelIsCapacitance ? "C " : "Zin ") +
                               FormatQuantity(c.level, c.levelIsCapacitance ? "F" : "Ω"));
    const QString cells[] = {
        PartsText(circuit, 'C'),
        PartsText(circuit, 'R'),
        ErrorText(c.built.f0, c.designed.f0),
        ErrorText(c.built.q, c.designed.q),
        ErrorText(c.built.gain, c.designed.gain),
        c.built.fz && c.designed.fz ? ErrorText(*c.built.fz, *c.designed.fz) : QString("-"),
        level};
    for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
      table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
  }
  table_->resizeColumnsToContents();
  if (!choices_.empty()) table_->selectRow(0);
  apply_->setEnabled(!choices_.empty());
  status_->setText(choices_.empty()
                       ? "No set found: the page has no active stage of this type to build."
                       : QString("%1 sets, best first.").arg(choices_.size()));
}

bool ValueSearchDialog::Apply(int row) {
  if (row < 0 || row >= static_cast<int>(choices_.size())) return false;
  const StageValueChoice c = choices_[static_cast<std::size_t>(row)];
  session_.TakeChosenValues(c.parts, c.level, c.levelIsCapacitance);
  status_->setText(
      QString("Set %1 applied: the stage is built with it until an entry changes.").arg(row + 1));
  return true;
}

}  // namespace morvane::gui
