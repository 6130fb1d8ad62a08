#include "ui/aligned_grid.h"

#include <QHeaderView>
#include <algorithm>

namespace morvane::gui {

namespace {

constexpr int kRowHeight = 16;
constexpr int kDefaultColumnWidth = 64;
constexpr Qt::Alignment kDefaultAlignment = Qt::AlignLeft | Qt::AlignVCenter;

}  // namespace

AlignedGrid::AlignedGrid(int columns, int rows, QWidget* parent)
    : QTableWidget(rows, columns, parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setMinimumSectionSize(8);
  verticalHeader()->setMinimumSectionSize(8);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth);
  setEditTriggers(NoEditTriggers);
  setSelectionMode(NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWordWrap(false);
  setTextElideMode(Qt::ElideNone);  // a narrow column clips, as a string grid does
  columnWidths_.assign(static_cast<std::size_t>(columns), kDefaultColumnWidth);
  const QBrush fixed = palette().button();
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      auto* item = new QTableWidgetItem;
      item->setFlags(Qt::ItemIsEnabled);
      item->setTextAlignment(kDefaultAlignment);
      if (row == 0 || column == 0) item->setBackground(fixed);
      setItem(row, column, item);
    }
  }
  FitToCells();
}

void AlignedGrid::SetCell(int column, int row, const QString& text) {
  if (QTableWidgetItem* cell = item(row, column)) cell->setText(text);
}

QString AlignedGrid::Cell(int column, int row) const {
  const QTableWidgetItem* cell = item(row, column);
  return cell ? cell->text() : QString();
}

void AlignedGrid::SetColumnAlignment(int column, Qt::Alignment alignment) {
  columnAlignment_[column] = alignment;
  for (int row = 0; row < rowCount(); ++row) ApplyAlignment(column, row);
}

void AlignedGrid::SetRowAlignment(int row, Qt::Alignment alignment) {
  rowAlignment_[row] = alignment;
  for (int column = 0; column < columnCount(); ++column) ApplyAlignment(column, row);
}

void AlignedGrid::SetCellAlignment(int column, int row, Qt::Alignment alignment) {
  cellAlignment_[{column, row}] = alignment;
  ApplyAlignment(column, row);
}

Qt::Alignment AlignedGrid::AlignmentAt(int column, int row) const {
  if (auto it = cellAlignment_.find({column, row}); it != cellAlignment_.end()) return it->second;
  if (auto it = rowAlignment_.find(row); it != rowAlignment_.end()) return it->second;
  if (auto it = columnAlignment_.find(column); it != columnAlignment_.end()) return it->second;
  return kDefaultAlignment;
}

void AlignedGrid::SetColumnWidths(std::initializer_list<int> widths) {
  std::size_t column = 0;
  for (int width : widths) {
    if (column < columnWidths_.size()) columnWidths_[column] = width;
    setColumnWidth(static_cast<int>(column++), width);
  }
  FitToCells();
}

void AlignedGrid::ApplyAlignment(int column, int row) {
  if (QTableWidgetItem* cell = item(row, column)) cell->setTextAlignment(AlignmentAt(column, row));
}

void AlignedGrid::FitToCells() {
  int width = 2 * frameWidth();
  for (int w : columnWidths_) width += w;
  const int height = 2 * frameWidth() + rowCount() * kRowHeight;
  if (!grows_) {
    setFixedSize(width, height);
    return;
  }
  setMinimumSize(width, height);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  SpreadOverRoom();
}

void AlignedGrid::GrowWithRoom() {
  grows_ = true;
  FitToCells();
}

void AlignedGrid::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  if (grows_) SpreadOverRoom();
}

void AlignedGrid::SpreadOverRoom() {
  int designed = 0;
  for (int w : columnWidths_) designed += w;
  const int room = viewport()->width();
  if (designed <= 0 || columnWidths_.empty()) return;
  // Whole pixels in proportion; the last column takes what rounding leaves.
  int used = 0;
  const double across = std::max(1.0, static_cast<double>(room) / designed);
  for (std::size_t c = 0; c + 1 < columnWidths_.size(); ++c) {
    const int w = static_cast<int>(columnWidths_[c] * across);
    setColumnWidth(static_cast<int>(c), w);
    used += w;
  }
  setColumnWidth(static_cast<int>(columnWidths_.size() - 1),
                 std::max(columnWidths_.back(), room - used));
  const int rows = rowCount();
  if (rows <= 0) return;
  const int height = std::clamp(viewport()->height() / rows, kRowHeight, 2 * kRowHeight);
  for (int row = 0; row < rows; ++row) setRowHeight(row, height);
}

}  // namespace morvane::gui
