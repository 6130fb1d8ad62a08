// The aligned grid: which alignment a cell gets from its own, its row's and its column's
// setting, and a size that shows every cell.

#include <QTest>

#include "ui/aligned_grid.h"

using morvane::gui::AlignedGrid;

Q_DECLARE_METATYPE(Qt::Alignment)

class AlignedGridTest : public QObject {
  Q_OBJECT

 private slots:
  void cellWinsOverRowOverColumn_data() {
    QTest::addColumn<bool>("column");
    QTest::addColumn<bool>("row");
    QTest::addColumn<bool>("cell");
    QTest::addColumn<Qt::Alignment>("expected");
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    QTest::newRow("nothing set") << false << false << false << left;
    QTest::newRow("column") << true << false << false << Qt::Alignment(Qt::AlignCenter);
    QTest::newRow("row over column")
        << true << true << false << (Qt::AlignRight | Qt::AlignVCenter);
    QTest::newRow("cell over both") << true << true << true << Qt::Alignment(Qt::AlignLeft);
    QTest::newRow("cell alone") << false << false << true << Qt::Alignment(Qt::AlignLeft);
  }

  void cellWinsOverRowOverColumn() {
    QFETCH(bool, column);
    QFETCH(bool, row);
    QFETCH(bool, cell);
    QFETCH(Qt::Alignment, expected);
    AlignedGrid grid(3, 4);
    grid.SetCell(1, 2, "x");
    // Set in every order: the precedence must not depend on which came last.
    if (cell) grid.SetCellAlignment(1, 2, Qt::AlignLeft);
    if (row) grid.SetRowAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    if (column) grid.SetColumnAlignment(1, Qt::AlignCenter);
    QCOMPARE(grid.AlignmentAt(1, 2), expected);
    QCOMPARE(Qt::Alignment(grid.item(2, 1)->textAlignment()), expected);
    // Neighbours keep their own.
    QCOMPARE(grid.AlignmentAt(0, 2),
             row ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
  }

  void cellsAreAddressedColumnFirst() {
    AlignedGrid grid(2, 5);
    grid.SetCell(1, 4, "  1.59uF");
    QCOMPARE(grid.item(4, 1)->text(), QString("  1.59uF"));
    QCOMPARE(grid.Cell(1, 4), QString("  1.59uF"));
    grid.SetCell(2, 0, "outside");  // ignored
    QCOMPARE(grid.Cell(2, 0), QString());
  }

  void sizeShowsEveryCell() {
    AlignedGrid grid(6, 11);
    grid.SetColumnWidths({30, 63, 63, 63, 63});
    QCOMPARE(grid.columnWidth(0), 30);
    QCOMPARE(grid.columnWidth(4), 63);
    int width = 0, height = 0;
    for (int c = 0; c < grid.columnCount(); ++c) width += grid.columnWidth(c);
    for (int r = 0; r < grid.rowCount(); ++r) height += grid.rowHeight(r);
    QCOMPARE(grid.width(), width + 2 * grid.frameWidth());
    QCOMPARE(grid.height(), height + 2 * grid.frameWidth());
    QCOMPARE(grid.item(3, 3)->flags() & Qt::ItemIsEditable, Qt::ItemFlags());
  }
};

QTEST_MAIN(AlignedGridTest)
#include "aligned_grid_test.moc"
