#pragma once

// A read-only string grid whose text alignment can be set per cell, per row and per
// column (a cell's own setting wins over its row's, a row's over its column's). Row 0 and
// column 0 are fixed cells drawn like buttons, as headers. Cells are addressed column first,
// as the design writes them.

#include <QTableWidget>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

namespace morvane::gui {

class AlignedGrid : public QTableWidget {
  Q_OBJECT

 public:
  AlignedGrid(int columns, int rows, QWidget* parent = nullptr);

  void SetCell(int column, int row, const QString& text);
  QString Cell(int column, int row) const;

  void SetColumnAlignment(int column, Qt::Alignment alignment);
  void SetRowAlignment(int row, Qt::Alignment alignment);
  void SetCellAlignment(int column, int row, Qt::Alignment alignment);
  Qt::Alignment AlignmentAt(int column, int row) const;

  // Widths of the first columns; later columns keep the default width. Also fixes the
  // grid's own size so that every cell is visible without scrolling.
  void SetColumnWidths(std::initializer_list<int> widths);

  // From here on the grid takes the room its layout gives it, never less than its cells:
  // columns widen in proportion to their widths, rows grow up to twice their height.
  void GrowWithRoom();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ApplyAlignment(int column, int row);
  void FitToCells();
  void SpreadOverRoom();

  std::map<int, Qt::Alignment> columnAlignment_;
  std::map<int, Qt::Alignment> rowAlignment_;
  std::map<std::pair<int, int>, Qt::Alignment> cellAlignment_;
  std::vector<int> columnWidths_;  // as set: the widths the grid never goes below
  bool grows_ = false;
};

}  // namespace morvane::gui
