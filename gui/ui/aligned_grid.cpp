#include "ui/aligned_grid.h"

#include <QHeaderView>

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
  int column = 0;
  for (int width : widths) setColumnWidth(column++, width);
  FitToCells();
}

void AlignedGrid::ApplyAlignment(int column, int row) {
  if (QTableWidgetItem* cell = item(row, column)) cell->setTextAlignment(AlignmentAt(column, row));
}

void AlignedGrid::FitToCells() {
  int width = 2 * frameWidth();
  for (int column = 0; column < columnCount(); ++column) width += columnWidth(column);
  int height = 2 * frameWidth();
  for (int row = 0; row < rowCount(); ++row) height += rowHeight(row);
  setFixedSize(width, height);
}

}  // namespace morvane::gui
