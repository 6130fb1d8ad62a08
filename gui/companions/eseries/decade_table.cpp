#include "companions/eseries/decade_table.h"

#include <QHeaderView>
#include <algorithm>

#include "app/window_look.h"
#include "numerics/number_text.h"

namespace morvane::gui {

namespace {

constexpr int kColumns = 12;
constexpr int kCellWidth = 44;
constexpr int kCellHeight = 19;

const QColor kNearestMark(255, 208, 128);
const QColor kNeighbourMark(255, 240, 200);

int PlaceInDecade(std::int64_t index, int n) {
  return static_cast<int>(((index % n) + n) % n);
}

}  // namespace

DecadeTable::DecadeTable(QWidget* parent) : QTableWidget(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  horizontalHeader()->setMinimumSectionSize(kCellWidth);
  horizontalHeader()->setDefaultSectionSize(kCellWidth);
  verticalHeader()->setMinimumSectionSize(kCellHeight);
  verticalHeader()->setDefaultSectionSize(kCellHeight);
  connect(this, &QTableWidget::cellClicked, this, [this](int row, int column) {
    const int place = row * columnCount() + column;
    if (place < places_) emit valueClicked(place);
  });
}

void DecadeTable::Show(PreferredSeries series, const std::optional<DecadeMarks>& marks) {
  const auto decade = PreferredDecade(series);
  const int n = static_cast<int>(decade.size());
  const int columns = std::min(n, kColumns);
  places_ = n;
  setColumnCount(columns);
  setRowCount((n + columns - 1) / columns);
  setFixedSize(columns * kCellWidth + 2 * frameWidth(),
               rowCount() * kCellHeight + 2 * frameWidth());
  for (int i = 0; i < n; ++i) {
    auto* cell = new QTableWidgetItem(
        Text(FixedText(decade[static_cast<std::size_t>(i)], SignificantDigits(series) - 1)));
    cell->setTextAlignment(Qt::AlignCenter);
    if (marks && i == PlaceInDecade(marks->nearest, n)) {
      cell->setBackground(kNearestMark);
      cell->setToolTip("The nearest series value");
    } else if (marks && i == PlaceInDecade(marks->below, n)) {
      cell->setBackground(kNeighbourMark);
      cell->setToolTip("The series value below");
    } else if (marks && i == PlaceInDecade(marks->above, n)) {
      cell->setBackground(kNeighbourMark);
      cell->setToolTip("The series value above");
    }
    setItem(i / columns, i % columns, cell);
  }
}

}  // namespace morvane::gui
