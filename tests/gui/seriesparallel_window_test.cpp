// The window of morvane-seriesparallel: it starts with a ladder and its curves, opens the LC
// page's exported file, turns edits of the element table into the parasitics they mean,
// refuses bad cells and bad files with a message (never a number from them), saves keeping
// the file's other lines, and draws each quantity.

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "companions/seriesparallel/seriesparallel_window.h"
#include "graphs/graph_image.h"
#include "network/network_file.h"

using namespace morvane;
using namespace morvane::gui;

namespace {

// The 3rd-order Butterworth lowpass of 1 kHz between 1 kOhm as the LC page exports it, with
// a comment and a section of someone else's.
constexpr const char* kExported =
    "; from the LC page\n[Variablen]\nZo=  1.00k\nRG=  1.00k\nf=  1.00k\nElemente=3\n"
    "Schaltung vertauscht=Nein\n[Element1]\nAnordnung=shunt\nOptimierung=ja\nTyp=C\n"
    "Lx=100.00p\nRx=  1.00m\nCx=159.15n\n[Element2]\nAnordnung=series\nOptimierung=ja\nTyp=L\n"
    "Lx=318.31m\nRx=  1.00m\nCx=  1.00f\n[Element3]\nAnordnung=shunt\nOptimierung=ja\nTyp=C\n"
    "Lx=100.00p\nRx=  1.00m\nCx=159.15n\n[Notes]\nwho=me\n";

void WriteText(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

QByteArray ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

QTableWidget* Table(SeriesParallelWindow& w) {
  return w.findChild<QTableWidget*>("SeriesParallelElements");
}

void EditCell(SeriesParallelWindow& w, int row, int column, const QString& text) {
  Table(w)->item(row, column)->setText(text);
}

int GreenPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == qRgb(0, 128, 0);
  }
  return count;
}

}  // namespace

class SeriesParallelWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithTheExampleLadderAndItsCurves() {
    SeriesParallelWindow w;
    QVERIFY(w.HasNetwork());
    QCOMPARE(Table(w)->rowCount(), 5);
    QVERIFY(w.Curves().problem.empty());
    QVERIFY(w.Curves().real.size() > 100);
    // RG = RL: half the source in the pass band.
    QVERIFY(std::abs(w.Curves().ideal.front().gainDb + 6.0206) < 0.01);
    QVERIFY(w.Message().isEmpty());
    QVERIFY(!w.findChild<QLabel*>("SeriesParallelSummary")->text().isEmpty());
  }

  void opensTheExportedFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("circuit.kdr");
    WriteText(path, kExported);
    SeriesParallelWindow w;
    QVERIFY(w.OpenFile(path));
    QCOMPARE(Table(w)->rowCount(), 3);
    QCOMPARE(Table(w)->item(1, SeriesParallelWindow::kName)->text(), QString("L2  inductor"));
    QCOMPARE(Table(w)->item(1, SeriesParallelWindow::kArrangement)->text(), QString("series"));
    QCOMPARE(Table(w)->item(1, SeriesParallelWindow::kValue)->text(), QString("318.31m"));
    QCOMPARE(w.findChild<QLineEdit*>("SeriesParallelRG")->text(), QString("1.00k"));
    QVERIFY(w.windowTitle().startsWith("circuit.kdr"));
    QVERIFY(w.Message().isEmpty());
  }

  // Each edit sets what the table's header says, and the curves follow at once.
  void cellEditsSetTheParasitics_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("Lx");
    QTest::addColumn<double>("Rx");
    QTest::addColumn<double>("Cx");
    const double L = 318.31e-3;
    const double w = 2.0 * M_PI * 1000.0;
    QTest::newRow("inductor value")
        << 1 << int(SeriesParallelWindow::kValue) << "100m" << 0.1 << 1e-3 << 1e-15;
    QTest::newRow("inductor Q at f")
        << 1 << int(SeriesParallelWindow::kQuality) << "50" << L << w * L / 50.0 << 1e-15;
    QTest::newRow("inductor self-resonance")
        << 1 << int(SeriesParallelWindow::kSelfResonance) << "10k" << L << 1e-3
        << 1.0 / (std::pow(2e4 * M_PI, 2) * L);
    QTest::newRow("inductor lossless")
        << 1 << int(SeriesParallelWindow::kQuality) << "–" << L << 0.0 << 1e-15;
    QTest::newRow("capacitor ESL")
        << 0 << int(SeriesParallelWindow::kLx) << "4n7" << 4.7e-9 << 1e-3 << 159.15e-9;
    QTest::newRow("capacitor ESR")
        << 0 << int(SeriesParallelWindow::kRx) << "0.1" << 100e-12 << 0.1 << 159.15e-9;
    QTest::newRow("capacitor self-resonance")
        << 0 << int(SeriesParallelWindow::kSelfResonance) << "1M"
        << 1.0 / (std::pow(2e6 * M_PI, 2) * 159.15e-9) << 1e-3 << 159.15e-9;
  }
  void cellEditsSetTheParasitics() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(double, Lx);
    QFETCH(double, Rx);
    QFETCH(double, Cx);
    QTemporaryDir dir;
    const QString path = dir.filePath("circuit.kdr");
    WriteText(path, kExported);
    SeriesParallelWindow w;
    QVERIFY(w.OpenFile(path));
    const double before = w.Curves().real.back().gainDb;
    EditCell(w, row, column, text);
    const NetworkElement& e = w.Network().elements[static_cast<std::size_t>(row)];
    QVERIFY2(std::abs(e.Lx - Lx) <= 1e-9 * Lx, qPrintable(QString::number(e.Lx)));
    QVERIFY2(std::abs(e.Rx - Rx) <= 1e-9 * Rx, qPrintable(QString::number(e.Rx)));
    QVERIFY2(std::abs(e.Cx - Cx) <= 1e-9 * Cx, qPrintable(QString::number(e.Cx)));
    QVERIFY(w.Message().isEmpty());
    QVERIFY(w.Modified());
    QVERIFY(w.windowTitle().contains("*"));
    QVERIFY(w.Curves().real.back().gainDb != before);
  }

  void badCellsAreRefusedWithAMessage_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a number") << int(SeriesParallelWindow::kRx) << "abc"
                                  << "not a number";
    QTest::newRow("rubbish after it") << int(SeriesParallelWindow::kRx) << "1k2x"
                                      << "not a number";
    QTest::newRow("negative") << int(SeriesParallelWindow::kCx) << "-1p"
                              << "negative";
    QTest::newRow("value zero") << int(SeriesParallelWindow::kValue) << "0"
                                << "above zero";
    QTest::newRow("too large") << int(SeriesParallelWindow::kLx) << "1e999"
                               << "too large";
  }
  void badCellsAreRefusedWithAMessage() {
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, message);
    SeriesParallelWindow w;
    const NetworkElement before = w.Network().elements[1];
    const auto curves = w.Curves().real.size();
    EditCell(w, 1, column, text);
    QVERIFY2(w.Message().contains(message), qPrintable(w.Message()));
    QVERIFY(w.Message().startsWith("L2"));
    const NetworkElement& after = w.Network().elements[1];
    QCOMPARE(after.Lx, before.Lx);
    QCOMPARE(after.Rx, before.Rx);
    QCOMPARE(after.Cx, before.Cx);
    // The ladder's curves stay as they were.
    QCOMPARE(w.Curves().real.size(), curves);
    QVERIFY(w.Curves().problem.empty());
    // A good edit afterwards clears the message.
    EditCell(w, 1, SeriesParallelWindow::kRx, "2");
    QVERIFY(w.Message().isEmpty());
  }

  void badFilesShowTheirProblem_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << "[Variablen] Zo is missing";
    QTest::newRow("count beyond the sections")
        << QByteArray(kExported).replace("Elemente=3", "Elemente=4") << "no section [Element4]";
    QTest::newRow("zero capacitance")
        << QByteArray(kExported).replace("Cx=159.15n", "Cx=0") << "[Element1] Cx is 0";
    QTest::newRow("binary") << QByteArray("[Variablen]\n\x01\x02", 14) << "not a text file";
  }
  void badFilesShowTheirProblem() {
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.kdr");
    WriteText(path, text);
    SeriesParallelWindow w;
    QVERIFY(!w.OpenFile(path));
    QVERIFY(!w.HasNetwork());
    QVERIFY2(w.Message().contains(message), qPrintable(w.Message()));
    QCOMPARE(Table(w)->rowCount(), 0);
    QVERIFY(w.Curves().real.empty());
    QVERIFY(!w.Curves().problem.empty());
    QVERIFY(!w.SaveFile(path));
    QVERIFY2(w.Message().startsWith("There is no circuit to save"), qPrintable(w.Message()));
    QCOMPARE(ReadText(path), text);
    // A good file afterwards opens as usual.
    WriteText(path, kExported);
    QVERIFY(w.OpenFile(path));
    QVERIFY(w.Message().isEmpty());
  }

  void saveKeepsTheOtherLines() {
    QTemporaryDir dir;
    const QString path = dir.filePath("circuit.kdr");
    WriteText(path, kExported);
    SeriesParallelWindow w;
    QVERIFY(w.OpenFile(path));
    QVERIFY(w.SaveFile(path));
    QCOMPARE(ReadText(path), QByteArray(kExported));
    EditCell(w, 2, SeriesParallelWindow::kRx, "50m");
    auto* rl = w.findChild<QLineEdit*>("SeriesParallelRL");
    rl->setText("600");
    emit rl->textEdited("600");
    QVERIFY(w.SaveFile(path));
    QVERIFY(!w.Modified());
    QByteArray expected(kExported);
    expected.replace("Zo=  1.00k",
                     "Zo=600.000");  // the prefix-less third digit, as the page writes
    const qsizetype third = expected.indexOf("[Element3]");
    expected.replace(expected.indexOf("Rx=  1.00m", third), 10, "Rx=50.00m");
    QCOMPARE(ReadText(path), expected);
  }

  void badRangeOrTerminationSaysWhy() {
    SeriesParallelWindow w;
    auto* to = w.findChild<QLineEdit*>("SeriesParallelTo");
    to->setText("1");
    emit to->textEdited("1");
    QVERIFY2(w.Message().contains("To must lie above From"), qPrintable(w.Message()));
    QVERIFY(w.Curves().real.empty());
    to->setText("1G");
    emit to->textEdited("1G");
    QVERIFY(w.Message().isEmpty());
    auto* rg = w.findChild<QLineEdit*>("SeriesParallelRG");
    rg->setText("0");
    emit rg->textEdited("0");
    QVERIFY2(w.Message().contains("RG must be above zero"), qPrintable(w.Message()));
    QCOMPARE(w.Network().rg, 50.0);
  }

  void everyQuantityIsDrawn() {
    SeriesParallelWindow w;
    w.resize(900, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* quantity = w.findChild<QComboBox*>("SeriesParallelQuantity");
    auto* image = w.findChild<GraphImage*>("SeriesParallelGraph");
    // The ladder's sketch: lines and the inductors' filled blocks.
    const QImage sketch = w.findChild<GraphImage*>("SeriesParallelSketch")->Bitmap();
    int black = 0;
    for (int y = 0; y < sketch.height(); ++y) {
      for (int x = 0; x < sketch.width(); ++x) black += sketch.pixel(x, y) == qRgb(0, 0, 0);
    }
    QVERIFY(black > 500);
    for (int i = 0; i < quantity->count(); ++i) {
      quantity->setCurrentIndex(i);
      QVERIFY2(GreenPixels(image->Bitmap()) > 200, qPrintable(quantity->itemText(i)));
    }
  }
};

QTEST_MAIN(SeriesParallelWindowTest)
#include "seriesparallel_window_test.moc"
