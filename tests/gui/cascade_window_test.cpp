// The Multi-stage Filter window: every entry and choice designs what the same request designs
// through DesignCascade, the section choices offer only topologies that build their section,
// the order dialog hands over its scheme, the exports write what the core gives, the design
// file keeps the entries bit for bit, and bad input says what is wrong without a message box,
// "nan" or "inf".

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <array>

#include "aids/filter_order.h"
#include "aids/order_dialog.h"
#include "app/secondary_windows.h"
#include "cascade/cascade_entry_fields.h"
#include "cascade/cascade_texts.h"
#include "cascade/cascade_window.h"
#include "cascade/parts_list.h"
#include "cascade/section_table.h"
#include "file_contents.h"
#include "graph_test_support.h"
#include "graphs/cascade_graphs.h"
#include "graphs/graph_window.h"
#include "numerics/standard_series.h"
#include "recording_desktop.h"
#include "schematic/section_pictures.h"
#include "spice/netlist.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

// Two designs the window would show alike: problem, circuits, parts and figures.
bool SameDesign(const CascadeDesign& a, const CascadeDesign& b, const SectionDesignOptions& o) {
  if (a.problem != b.problem || CascadeNetlist(a, {}) != CascadeNetlist(b, {}) ||
      PartsListCsv(a, o) != PartsListCsv(b, o)) {
    return false;
  }
  for (const FigureRow& row : FigureRows()) {
    if (FigureText(row.figure, a) != FigureText(row.figure, b)) return false;
  }
  return true;
}

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The entries as the design file writes them: every value to the last bit.
QString FileText(const CascadeEntries& entries) {
  IniDocument document;
  PutCascadeEntries(document, entries);
  return QString::fromStdString(document.Text());
}

// The window shows the design of its own entries.
bool ShowsItsEntries(const CascadeWindow& window) {
  const CascadeDesign expected = DesignCascade(RequestOf(window.Entries()));
  return SameDesign(window.Design(), expected, window.Entries().request.circuit);
}

struct ShownWindow {
  ShownWindow() : window(services) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) qWarning("cascade window not exposed");
  }

  template <typename T = QWidget>
  T* Get(const QString& name) const {
    T* child = window.findChild<T*>(name);
    if (!child) qFatal("no control %s", qPrintable(name));
    return child;
  }

  // Replaces the field's text by typing, as the user does.
  void Type(std::string_view name, const QString& text) const {
    QLineEdit* edit = Get<QLineEdit>(QString::fromUtf8(name.data(), qsizetype(name.size())));
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(edit, Qt::Key_Delete);
    } else {
      QTest::keyClicks(edit, text);
    }
  }

  // Picks the item carrying `data`, as a click in the open list does.
  void Choose(const QString& name, int data) const {
    auto* choice = Get<QComboBox>(name);
    const int index = choice->findData(data);
    if (index < 0) qFatal("%s offers no %d", qPrintable(name), data);
    choice->setCurrentIndex(index);
    emit choice->activated(index);
    QCoreApplication::processEvents();  // a section's choice is applied queued
  }

  // Every text the window shows, hints included.
  QStringList Texts() const {
    QStringList texts{window.windowTitle()};
    for (QWidget* w : window.findChildren<QWidget*>()) texts << w->toolTip() << w->statusTip();
    for (auto* e : window.findChildren<QLineEdit*>()) texts << e->text();
    for (auto* l : window.findChildren<QLabel*>()) texts << l->text();
    for (auto* c : window.findChildren<QComboBox*>()) {
      for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
    }
    const QTableWidget* table = window.Table();
    for (int r = 0; r < table->rowCount(); ++r) {
      for (int c = 0; c < table->columnCount(); ++c) {
        if (const QTableWidgetItem* item = table->item(r, c))
          texts << item->text() << item->toolTip();
      }
    }
    return texts;
  }

  QString ProblemLine() const {
    auto* line = Get<QLabel>("CascadeProblemLine");
    return line->isVisibleTo(&window) ? line->text() : QString();
  }

  RecordingDesktop services;
  CascadeWindow window;
};

// A setting made before the change the test looks at.
using Setting = void (*)(CascadeEntries&);
void Defaults(CascadeEntries&) {}

struct EntryCase {
  const char* name;
  Setting before;
  std::string_view field;
  const char* typed;
  Setting expected;  // what the typing does to the entries
};

const std::array kEntryCases{
    EntryCase{"order", Defaults, cascade_field::order, "6",
              [](CascadeEntries& e) { e.request.order = 6; }},
    EntryCase{"order held at 20", Defaults, cascade_field::order, "25",
              [](CascadeEntries& e) { e.request.order = 20; }},
    EntryCase{"order held at 1", Defaults, cascade_field::order, "0",
              [](CascadeEntries& e) { e.request.order = 1; }},
    EntryCase{"fg with a prefix", Defaults, cascade_field::fg, "2.5k",
              [](CascadeEntries& e) { e.request.fg = 2500.0; }},
    EntryCase{"fg unreadable", Defaults, cascade_field::fg, "abc",
              [](CascadeEntries& e) { e.request.fg = 0.001; }},
    EntryCase{"fg beyond every number", Defaults, cascade_field::fg, "1e999",
              [](CascadeEntries& e) { e.request.fg = 2e9; }},
    EntryCase{"fm", [](CascadeEntries& e) { e.request.kind = FilterKind::Bandpass; },
              cascade_field::fm, "10k", [](CascadeEntries& e) { e.request.fm = 10e3; }},
    EntryCase{"B", [](CascadeEntries& e) { e.request.kind = FilterKind::Bandstop; },
              cascade_field::bandwidth, "500",
              [](CascadeEntries& e) { e.request.bandwidth = 500.0; }},
    EntryCase{"ripple",
              [](CascadeEntries& e) { e.request.approximation = Approximation::Chebyshev; },
              cascade_field::ripple, "0.5", [](CascadeEntries& e) { e.request.rippleDb = 0.5; }},
    EntryCase{"ripple held at 3",
              [](CascadeEntries& e) { e.request.approximation = Approximation::Elliptic; },
              cascade_field::ripple, "5", [](CascadeEntries& e) { e.request.rippleDb = 3.0; }},
    EntryCase{"stop band",
              [](CascadeEntries& e) { e.request.approximation = Approximation::InverseChebyshev; },
              cascade_field::stopband, "40",
              [](CascadeEntries& e) { e.request.stopbandDb = 40.0; }},
    EntryCase{"gain", Defaults, cascade_field::gain, "10",
              [](CascadeEntries& e) { e.request.gain = 10.0; }},
    EntryCase{"Zin", Defaults, cascade_field::zin, "4.7k",
              [](CascadeEntries& e) { e.request.circuit.zin = 4700.0; }},
    EntryCase{"fs", Defaults, cascade_field::fs, "3k",
              [](CascadeEntries& e) { e.request.stopbandHz = 3000.0; }},
    EntryCase{"fs blank", [](CascadeEntries& e) { e.request.stopbandHz = 3000.0; },
              cascade_field::fs, "", [](CascadeEntries& e) { e.request.stopbandHz.reset(); }},
    EntryCase{"f1", [](CascadeEntries& e) { e.useScheme = true; }, cascade_field::f1, "18k",
              [](CascadeEntries& e) { e.scheme.f1 = 18e3; }},
    EntryCase{"d1",
              [](CascadeEntries& e) {
                e.useScheme = true;
                e.request.approximation = Approximation::Chebyshev;
              },
              cascade_field::d1, "0.1", [](CascadeEntries& e) { e.scheme.d1 = 0.1; }},
    EntryCase{"f2", [](CascadeEntries& e) { e.useScheme = true; }, cascade_field::f2, "40k",
              [](CascadeEntries& e) { e.scheme.f2 = 40e3; }},
    EntryCase{"d2", [](CascadeEntries& e) { e.useScheme = true; }, cascade_field::d2, "80",
              [](CascadeEntries& e) { e.scheme.d2 = 80.0; }},
};

struct ChoiceCase {
  const char* name;
  Setting before;
  const char* control;
  int data;
  Setting expected;
};

const std::array kChoiceCases{
    ChoiceCase{"Chebyshev", Defaults, "CascadeApproximation",
               static_cast<int>(Approximation::Chebyshev),
               [](CascadeEntries& e) { e.request.approximation = Approximation::Chebyshev; }},
    ChoiceCase{"Bessel", Defaults, "CascadeApproximation", static_cast<int>(Approximation::Bessel),
               [](CascadeEntries& e) { e.request.approximation = Approximation::Bessel; }},
    ChoiceCase{"elliptic", Defaults, "CascadeApproximation",
               static_cast<int>(Approximation::Elliptic),
               [](CascadeEntries& e) { e.request.approximation = Approximation::Elliptic; }},
    ChoiceCase{"highpass", Defaults, "CascadeType", static_cast<int>(FilterKind::Highpass),
               [](CascadeEntries& e) { e.request.kind = FilterKind::Highpass; }},
    ChoiceCase{"bandpass", Defaults, "CascadeType", static_cast<int>(FilterKind::Bandpass),
               [](CascadeEntries& e) { e.request.kind = FilterKind::Bandpass; }},
    ChoiceCase{"gain last", [](CascadeEntries& e) { e.request.gain = 10.0; }, "CascadeSplit",
               static_cast<int>(GainSplit::Last),
               [](CascadeEntries& e) { e.request.split = GainSplit::Last; }},
    ChoiceCase{"gain equal", [](CascadeEntries& e) { e.request.gain = 10.0; }, "CascadeSplit",
               static_cast<int>(GainSplit::Equal),
               [](CascadeEntries& e) { e.request.split = GainSplit::Equal; }},
    // The three-op-amp state-variable circuit takes Zin from the resistor series.
    ChoiceCase{"resistors E12",
               [](CascadeEntries& e) {
                 e.request.topology = Topology::Svf3;
                 e.request.circuit.zin = 4700.0;
               },
               "CascadeSeriesR", 2, [](CascadeEntries& e) { e.request.circuit.seriesR = 2; }},
    ChoiceCase{"capacitors E24", Defaults, "CascadeSeriesC", 3,
               [](CascadeEntries& e) { e.request.circuit.seriesC = 3; }},
    ChoiceCase{"MFB for all", Defaults, "CascadeAllSections", static_cast<int>(Topology::Mfb),
               [](CascadeEntries& e) { e.request.topology = Topology::Mfb; }},
    ChoiceCase{"default for all", [](CascadeEntries& e) { e.request.topology = Topology::Svf3; },
               "CascadeAllSections", -1, [](CascadeEntries& e) { e.request.topology.reset(); }},
};

// Filters whose sections have every kind there is.
const std::array<Setting, 5> kFilters{
    [](CascadeEntries& e) { e.request.order = 6; },
    [](CascadeEntries& e) {
      e.request.approximation = Approximation::Elliptic;
      e.request.kind = FilterKind::Bandstop;
      e.request.order = 3;
    },
    [](CascadeEntries& e) {
      e.request.approximation = Approximation::InverseChebyshev;
      e.request.kind = FilterKind::Highpass;
      e.request.order = 5;
    },
    [](CascadeEntries& e) {
      e.request.approximation = Approximation::Elliptic;
      e.request.kind = FilterKind::Lowpass;
      e.request.order = 5;
    },
    [](CascadeEntries& e) {
      e.request.approximation = Approximation::Chebyshev;
      e.request.kind = FilterKind::Bandpass;
      e.request.order = 4;
    },
};

const QRegularExpression kNotANumber("\\b(nan|inf|infinity)\\b",
                                     QRegularExpression::CaseInsensitiveOption);

}  // namespace

class CascadeWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // The chain, the selected section's circuit and the graph windows follow every design; the
  // Graphs menu opens the cascade's own graph windows.
  void picturesAndGraphsFollowTheDesign() {
    ShownWindow w;
    CascadeEntries entries;
    entries.request.order = 6;
    w.window.SetEntries(entries);
    auto* chain = w.window.findChild<ChainPicture*>("CascadeChain");
    auto* picture = w.window.findChild<SectionPicture*>("CascadeSectionPicture");
    QVERIFY(chain && picture);
    QCOMPARE(chain->Chain().blocks.size(), std::size_t{3});
    QVERIFY(!picture->IsEmpty());
    entries.request.order = 9;
    w.window.SetEntries(entries);
    QCOMPARE(chain->Chain().blocks.size(), std::size_t{5});
    emit w.window.graphRequested(0);
    auto* graphs = w.window.findChild<CascadeGraphs*>();
    QVERIFY(graphs != nullptr);
    GraphWindow* gain = &graphs->Window(GraphKind::Gain);
    QVERIFY(gain->isVisible());
    entries.request.fg = -1.0;  // cannot be built: the pictures empty, no curve
    w.window.SetEntries(entries);
    QVERIFY(picture->IsEmpty());
    QCOMPARE(chain->Chain().blocks.size(), std::size_t{0});
    gain->close();
  }

  // The graph windows' sweep mode tunes the corner (fg; f1 when the scheme sets the corner;
  // fm and B of a band filter): OK stores the values in the entries and designs anew.
  void sweepModeTunesTheCorner_data() {
    QTest::addColumn<bool>("band");
    QTest::addColumn<bool>("scheme");
    QTest::addColumn<QString>("firstLabel");
    QTest::addColumn<QString>("firstField");
    QTest::newRow("lowpass") << false << false << "fg=" << Q(cascade_field::fg);
    QTest::newRow("lowpass by scheme") << false << true << "f1=" << Q(cascade_field::f1);
    QTest::newRow("bandpass") << true << false << "fm=" << Q(cascade_field::fm);
  }

  void sweepModeTunesTheCorner() {
    QFETCH(bool, band);
    QFETCH(bool, scheme);
    QFETCH(QString, firstLabel);
    QFETCH(QString, firstField);
    ShownWindow w;
    CascadeEntries entries;
    entries.request.kind = band ? FilterKind::Bandpass : FilterKind::Lowpass;
    entries.useScheme = scheme;
    w.window.SetEntries(entries);
    emit w.window.graphRequested(static_cast<int>(CascadeGraph::Gain));
    GraphWindow& gain = w.window.findChild<CascadeGraphs*>()->Window(GraphKind::Gain);
    const CurveBuffer before = gain.Buffer();
    QString shownLabel;
    bool secondShown = false;
    WhenModal([&](QDialog& d) {
      shownLabel = Child<QLabel>(d, "x1Label")->text();
      secondShown = Child<QLineEdit>(d, "x2Eingabe")->isVisible();
      TypeAndPress(d, "x1Eingabe", "2.5k", "ZeichenBtn");
      if (secondShown) TypeAndPress(d, "x2Eingabe", "300", "ZeichenBtn");
      Child<QPushButton>(d, "OKBtn")->click();
    });
    Child<QToolButton>(gain, "SweepButton")->click();
    QCOMPARE(shownLabel, firstLabel);
    QCOMPARE(secondShown, band);
    QCOMPARE(CascadeEntryNamed(firstField.toStdString())->get(w.window.Entries()), 2500.0);
    QCOMPARE(w.Get<QLineEdit>(firstField)->text(),
             Q(CascadeEntryText(*CascadeEntryNamed(firstField.toStdString()), w.window.Entries())));
    if (band) QCOMPARE(w.window.Entries().request.bandwidth, 300.0);
    QVERIFY(ShowsItsEntries(w.window));
    QVERIFY(std::memcmp(before.Y.data(), gain.Buffer().Y.data(), sizeof before.Y) != 0);
    gain.close();
  }

  // The rounding box: every resistor of every section a series value, each row's f0, Q and
  // gain cells telling their values as built; cleared, the computed values come back.
  void roundResistorsBoxRoundsEverySection() {
    ShownWindow w;
    CascadeEntries entries;
    entries.request.order = 6;
    entries.request.circuit.seriesR = 3;  // E24
    w.window.SetEntries(entries);
    const std::string computed =
        PartsListCsv(w.window.Design(), w.window.Entries().request.circuit);
    QTest::mouseClick(w.Get<QCheckBox>("CascadeRoundResistors"), Qt::LeftButton, {}, QPoint(4, 8));
    QVERIFY(w.window.Entries().request.circuit.roundResistors);
    QVERIFY(ShowsItsEntries(w.window));
    for (const CascadeSection& s : w.window.Design().sections) {
      QVERIFY(s.asBuilt.has_value());
      for (const CircuitPart& p : s.circuit.circuit.parts) {
        if (p.name[0] == 'R') QCOMPARE(NearestSeriesValue(3, p.value), p.value);
      }
    }
    const QTableWidget* table = w.window.Table();
    for (int column : {SectionTable::F0, SectionTable::Q, SectionTable::Gain}) {
      QVERIFY2(table->item(0, column)->toolTip().startsWith("As built: "),
               qPrintable(table->item(0, column)->toolTip()));
    }
    QTest::mouseClick(w.Get<QCheckBox>("CascadeRoundResistors"), Qt::LeftButton, {}, QPoint(4, 8));
    QCOMPARE(PartsListCsv(w.window.Design(), w.window.Entries().request.circuit), computed);
    QVERIFY(!table->item(0, SectionTable::F0)->toolTip().startsWith("As built"));
  }

  void entryDesignsAsTheRequestDoes_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < kEntryCases.size(); ++i) {
      QTest::newRow(kEntryCases[i].name) << static_cast<int>(i);
    }
  }

  void entryDesignsAsTheRequestDoes() {
    QFETCH(int, index);
    const EntryCase& c = kEntryCases[static_cast<std::size_t>(index)];
    ShownWindow w;
    CascadeEntries expected;
    c.before(expected);
    w.window.SetEntries(expected);
    const CascadeDesign before = w.window.Design();
    c.expected(expected);
    w.Type(c.field, c.typed);
    QCOMPARE(FileText(w.window.Entries()), FileText(expected));
    QVERIFY(ShowsItsEntries(w.window));
    QVERIFY(!SameDesign(w.window.Design(), before, expected.request.circuit));
    // The text stays as typed.
    QCOMPARE(w.Get<QLineEdit>(QString::fromUtf8(c.field.data(), qsizetype(c.field.size())))->text(),
             QString(c.typed));
  }

  void choiceDesignsAsTheRequestDoes_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < kChoiceCases.size(); ++i) {
      QTest::newRow(kChoiceCases[i].name) << static_cast<int>(i);
    }
  }

  void choiceDesignsAsTheRequestDoes() {
    QFETCH(int, index);
    const ChoiceCase& c = kChoiceCases[static_cast<std::size_t>(index)];
    ShownWindow w;
    CascadeEntries expected;
    c.before(expected);
    w.window.SetEntries(expected);
    const CascadeDesign before = w.window.Design();
    c.expected(expected);
    w.Choose(c.control, c.data);
    QCOMPARE(FileText(w.window.Entries()), FileText(expected));
    QVERIFY(ShowsItsEntries(w.window));
    QVERIFY(!SameDesign(w.window.Design(), before, expected.request.circuit));
  }

  void schemeBoxAndSpinButtonsDesignAsTheRequestDoes() {
    ShownWindow w;
    CascadeEntries expected;
    expected.request.approximation = Approximation::Elliptic;
    w.window.SetEntries(expected);
    w.Get<QCheckBox>("CascadeUseScheme")->click();
    expected.useScheme = true;
    QCOMPARE(FileText(w.window.Entries()), FileText(expected));
    QVERIFY(ShowsItsEntries(w.window));
    QCOMPARE(w.Get<QLineEdit>("CascadeLeastOrder")->text().trimmed(),
             QString::number(LeastOrder(Approximation::Elliptic, expected.scheme).order));
    QVERIFY(!w.Get<QLineEdit>(QString::fromUtf8(cascade_field::order.data()))->isEnabled());

    w.Get<QCheckBox>("CascadeUseScheme")->click();
    w.Get<QToolButton>("SpinCascadeOrderUp")->click();
    expected.useScheme = false;
    expected.request.order = 5;
    QCOMPARE(FileText(w.window.Entries()), FileText(expected));
    QCOMPARE(w.Get<QLineEdit>("CascadeOrder")->text().trimmed(), QString("5"));
    w.Get<QToolButton>("SpinCascadeFgDown")->click();
    QVERIFY(w.window.Entries().request.fg < 1000.0);
    QVERIFY(ShowsItsEntries(w.window));
  }

  void hintsShowTheRange_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("range");
    QTest::newRow("order") << "CascadeOrder"
                           << ": 1 .. 20";
    QTest::newRow("fg") << "CascadeFg"
                        << ": 1.00m .. 2.00G Hz";
    QTest::newRow("ripple") << "CascadeRipple"
                            << ": 0.01 .. 3 dB";
    QTest::newRow("fs") << "CascadeFs"
                        << ": 0 .. 20.00G Hz, or blank";
  }

  void hintsShowTheRange() {
    QFETCH(QString, field);
    QFETCH(QString, range);
    ShownWindow w;
    const QString hint = w.Get<QLineEdit>(field)->toolTip();
    QVERIFY2(hint.endsWith(range), qPrintable(hint));
    QCOMPARE(w.Get<QLineEdit>(field)->statusTip(), hint);
  }

  void sectionChoicesOfferOnlyBuildingTopologies_data() {
    QTest::addColumn<int>("filter");
    for (std::size_t i = 0; i < kFilters.size(); ++i) {
      QTest::newRow(QByteArray::number(static_cast<int>(i))) << static_cast<int>(i);
    }
  }

  void sectionChoicesOfferOnlyBuildingTopologies() {
    QFETCH(int, filter);
    ShownWindow w;
    CascadeEntries entries;
    kFilters[static_cast<std::size_t>(filter)](entries);
    w.window.SetEntries(entries);
    const int rows = static_cast<int>(w.window.Design().sections.size());
    QVERIFY(rows > 0);
    QCOMPARE(w.window.Table()->rowCount(), rows);
    for (int row = 0; row < rows; ++row) {
      QComboBox* choice = w.window.Table()->TopologyChoice(row);
      QVERIFY(choice);
      const std::string kind = w.window.Design().sections[static_cast<std::size_t>(row)].plan.kind;
      const std::vector<Topology> buildable = TopologiesForSection(kind);
      for (int i = 0; i < choice->count(); ++i) {
        const auto t = static_cast<Topology>(choice->itemData(i).toInt());
        QVERIFY2(std::find(buildable.begin(), buildable.end(), t) != buildable.end(),
                 qPrintable(choice->itemText(i) + " offered for " + QString::fromStdString(kind)));
        w.Choose(choice->objectName(), static_cast<int>(t));
        QVERIFY(ShowsItsEntries(w.window));
        QVERIFY(w.window.Design().problem.empty());
        QVERIFY(w.window.Entries().request.sectionTopologies.at(static_cast<std::size_t>(row)) ==
                t);
        QVERIFY(w.window.Design().sections[static_cast<std::size_t>(row)].topology == t);
        choice = w.window.Table()->TopologyChoice(row);
      }
    }
  }

  void choicesThatNoLongerFitAreDroppedWithANote() {
    ShownWindow w;
    CascadeEntries entries;
    entries.request.order = 6;
    entries.request.topology = Topology::Mfb;
    entries.request.sectionOrder = {2, 0, 1};
    w.window.SetEntries(entries);
    QVERIFY(w.window.Design().problem.empty());
    // MFB builds no notch.
    w.Choose("CascadeApproximation", static_cast<int>(Approximation::Elliptic));
    QVERIFY(w.window.Design().problem.empty());
    QVERIFY(!w.window.Entries().request.topology);
    QVERIFY(w.window.Entries().request.sectionOrder == (std::vector<int>{2, 0, 1}));
    QVERIFY(ShowsItsEntries(w.window));
    QString notes = w.Get<QLabel>("CascadeWarningLine")->toolTip();
    QVERIFY2(notes.contains("MFB inverting cannot build every section"), qPrintable(notes));
    // An elliptic bandstop of order 6 has six sections.
    w.Choose("CascadeType", static_cast<int>(FilterKind::Bandstop));
    QVERIFY(w.window.Design().problem.empty());
    QVERIFY(w.window.Entries().request.sectionOrder.empty());
    QCOMPARE(w.Get<QLineEdit>("CascadeSectionOrder")->text(), QString());
    QVERIFY(ShowsItsEntries(w.window));
    notes = w.Get<QLabel>("CascadeWarningLine")->toolTip();
    QVERIFY2(notes.contains("section order 3,1,2"), qPrintable(notes));
  }

  void sectionOrderIsKeptWhileTyped() {
    ShownWindow w;
    CascadeEntries entries;
    entries.request.order = 6;  // three sections
    w.window.SetEntries(entries);
    w.Type("CascadeSectionOrder", "3,1");
    QVERIFY2(w.ProblemLine().contains("give the numbers 1 to 3"), qPrintable(w.ProblemLine()));
    QVERIFY(w.window.Entries().request.sectionOrder == (std::vector<int>{2, 0}));
    QTest::keyClicks(w.Get<QLineEdit>("CascadeSectionOrder"), ",2");
    QCOMPARE(w.ProblemLine(), QString());
    QVERIFY(w.window.Entries().request.sectionOrder == (std::vector<int>{2, 0, 1}));
    QVERIFY(ShowsItsEntries(w.window));
    const double q = w.window.Design().sections.front().plan.q;
    QCOMPARE(q, DesignCascade(RequestOf(entries)).sections.back().plan.q);
  }

  void orderDialogHandsOverItsScheme_data() {
    QTest::addColumn<bool>("chebyshev");
    QTest::newRow("Butterworth") << false;
    QTest::newRow("Chebyshev") << true;
  }

  void orderDialogHandsOverItsScheme() {
    QFETCH(bool, chebyshev);
    StartedWindow main;
    SecondaryWindows windows(main.window, main.services);
    main.window.Session().MutableState().order = {1000.0, 0.5, 2000.0, 40.0};
    OrderDialog& dialog = windows.Order();
    dialog.FormActivate();
    if (chebyshev) dialog.findChild<QRadioButton*>("RadioButtonT")->click();
    const OrderResult shown =
        ComputeOrder(main.window.Session().State().order,
                     chebyshev ? OrderApproximation::Chebyshev : OrderApproximation::Butterworth);
    dialog.findChild<QAbstractButton*>("MultiStageBtn")->click();

    CascadeWindow& window = windows.Cascade();
    QVERIFY(window.isVisible());
    const CascadeEntries& e = window.Entries();
    QVERIFY(e.useScheme);
    QVERIFY(e.request.kind == FilterKind::Lowpass);
    QVERIFY(e.request.approximation ==
            (chebyshev ? Approximation::Chebyshev : Approximation::Butterworth));
    QCOMPARE(e.scheme.f1, 1000.0);
    QCOMPARE(e.scheme.d1, 0.5);
    QCOMPARE(e.scheme.f2, 2000.0);
    QCOMPARE(e.scheme.d2, 40.0);
    QCOMPARE(e.request.order, static_cast<int>(shown.nr));
    QCOMPARE(window.Design().prototypeOrder, static_cast<int>(shown.nr));
    QCOMPARE(window.findChild<QLineEdit*>("CascadeLeastOrder")->text().trimmed(),
             QString::number(static_cast<int>(shown.nr)));
    QVERIFY(window.findChild<QCheckBox*>("CascadeUseScheme")->isChecked());
    QCOMPARE(window.findChild<QLineEdit*>("CascadeF2")->text().trimmed(), QString("2.000k"));
    window.close();
  }

  void oneWindowFromMenuAndSpeedBarKeepsItsState() {
    StartedWindow main;
    SecondaryWindows windows(main.window, main.services);
    auto* item = main.Get<QAction>("MultiStageFilter1");
    QCOMPARE(item->shortcut(), QKeySequence("Ctrl+M"));
    auto* button = main.Get<QAbstractButton>("CascadeBtn");
    QVERIFY(!button->statusTip().isEmpty());
    item->trigger();
    CascadeWindow* first = &windows.Cascade();
    QVERIFY(first->isVisible());
    first->findChild<QToolButton*>("SpinCascadeOrderUp")->click();
    first->close();
    button->click();
    QCOMPARE(&windows.Cascade(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->Entries().request.order, 5);
    int shown = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (qobject_cast<CascadeWindow*>(top) && top->isVisible()) ++shown;
    }
    QCOMPARE(shown, 1);
    first->close();
  }

  void integrationPointsAnswer() {
    ShownWindow w;
    QSignalSpy graphs(&w.window, &CascadeWindow::graphRequested);
    const char* items[] = {"CascadeGainGraph", "CascadePhaseGraph", "CascadeGroupDelayGraph",
                           "CascadeStepGraph", "CascadePoleZeroGraph"};
    for (const char* name : items) w.Get<QAction>(name)->trigger();
    QCOMPARE(graphs.count(), 5);
    for (int i = 0; i < graphs.count(); ++i) QCOMPARE(graphs[i][0].toInt(), i);

    std::vector<int> orders;
    connect(&w.window, &CascadeWindow::designChanged, this,
            [&orders](const CascadeDesign& d) { orders.push_back(d.order); });
    w.Type(cascade_field::order, "3");
    QVERIFY(orders == std::vector<int>{3});

    QSignalSpy selected(&w.window, &CascadeWindow::sectionSelected);
    QTableWidget* table = w.window.Table();
    const QRect cell = table->visualRect(table->model()->index(1, SectionTable::Kind));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected[0][0].toInt(), 1);
    QVERIFY(w.window.sectionPictureArea()->isVisible());
    QVERIFY(w.window.chainArea()->isVisible());

    QSignalSpy prints(&w.window, &CascadeWindow::printRequested);
    w.Get<QAction>("CascadePrint")->trigger();
    QCOMPARE(prints.count(), 1);
    QVERIFY(w.services.printed.isEmpty());
  }

  void printWithoutAnswerPrintsTheWindow() {
    ShownWindow w;
    w.Get<QAction>("CascadePrint")->trigger();
    QCOMPARE(w.services.printed.size(), 1);
  }

  void exportsWriteWhatTheCoreGives() {
    ShownWindow w;
    CascadeEntries entries;
    entries.request.approximation = Approximation::Elliptic;
    entries.request.kind = FilterKind::Bandpass;
    entries.request.order = 4;
    w.window.SetEntries(entries);
    const QString netlist = dir_.filePath("stages.cir");
    const QString parts = dir_.filePath("parts.csv");
    w.services.answer = netlist;
    w.Get<QAction>("CascadeSaveNetlist")->trigger();
    w.services.answer = parts;
    w.Get<QAction>("CascadeSavePartsList")->trigger();
    QCOMPARE(Contents(netlist), QByteArray::fromStdString(CascadeNetlist(w.window.Design(), {})));
    QCOMPARE(Contents(parts), QByteArray::fromStdString(PartsListCsv(
                                  w.window.Design(), w.window.Entries().request.circuit)));
    QVERIFY(!Contents(netlist).isEmpty());
    QCOMPARE(w.services.asked.size(), 2);
    QCOMPARE(w.services.asked[1].request.defaultSuffix, QString("csv"));
    QVERIFY(w.services.messages.isEmpty());
  }

  void exportOfAnUnbuildableDesignAsksForNoFile() {
    ShownWindow w;
    w.Choose("CascadeApproximation", static_cast<int>(Approximation::LinkwitzRiley));
    w.Type(cascade_field::order, "3");
    QVERIFY(!w.window.Design().problem.empty());
    w.services.answer = dir_.filePath("never.cir");
    w.Get<QAction>("CascadeSaveNetlist")->trigger();
    QVERIFY(w.services.asked.isEmpty());
    QCOMPARE(w.services.messages.size(), 1);
    QVERIFY(w.services.messages[0].startsWith("No SPICE netlist was written: "));
    QVERIFY(!QFile::exists(dir_.filePath("never.cir")));
  }

  void designFileRoundTripKeepsEveryEntry() {
    const QString path = dir_.filePath("design.ini");
    WriteAll(path, "[Variablen]\nQ=2\n");
    ShownWindow w;
    CascadeEntries entries;
    entries.request.approximation = Approximation::Elliptic;
    entries.request.kind = FilterKind::Bandpass;
    entries.request.order = 3;
    entries.request.sectionOrder = {2, 0, 1, 4, 5, 3};
    entries.request.sectionTopologies = {std::nullopt, Topology::Svf4};
    entries.request.topology = Topology::Svf3;
    entries.request.split = GainSplit::Equal;
    entries.request.circuit = {4700.0, 2, 3};
    entries.scheme = {1234.5, 0.25, 2345.6, 55.5};
    w.window.SetEntries(entries);
    w.Type(cascade_field::fm, "1.2345678k");
    w.Type(cascade_field::bandwidth, "0.1234567k");
    w.Type(cascade_field::ripple, "0.123456789");
    w.Type(cascade_field::fs, "3.3k");
    const CascadeEntries saved = w.window.Entries();
    QVERIFY(w.window.Design().problem.empty());
    w.services.answer = path;
    w.Get<QAction>("CascadeSaveDesign")->trigger();

    w.Choose("CascadeType", static_cast<int>(FilterKind::Lowpass));
    w.Type(cascade_field::gain, "7");
    QVERIFY(FileText(w.window.Entries()) != FileText(saved));
    w.Get<QAction>("CascadeOpenDesign")->trigger();
    QCOMPARE(FileText(w.window.Entries()), FileText(saved));
    QCOMPARE(w.window.Entries().request.fm, saved.request.fm);
    QCOMPARE(w.window.Entries().request.rippleDb, saved.request.rippleDb);
    QVERIFY(ShowsItsEntries(w.window));
    QVERIFY(Contents(path).startsWith("[Variablen]\nQ=2\n"));
    QVERIFY(w.services.messages.isEmpty());
    QCOMPARE(w.services.asked[0].request.defaultSuffix, QString("INI"));
  }

  void fileWithoutCascadeChangesNothing() {
    const QString path = dir_.filePath("plain.ini");
    WriteAll(path, "[Variablen]\nQ=2\n");
    ShownWindow w;
    w.Type(cascade_field::order, "7");
    const QString before = FileText(w.window.Entries());
    w.services.answer = path;
    w.Get<QAction>("CascadeOpenDesign")->trigger();
    QCOMPARE(FileText(w.window.Entries()), before);
    QCOMPARE(w.services.messages.size(), 1);
    QVERIFY(w.services.messages[0].contains("has no multi-stage filter"));
  }

  void badInputShowsTheProblemLine_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("approximation");
    QTest::addColumn<bool>("scheme");
    QTest::addColumn<QString>("said");
    const int butterworth = static_cast<int>(Approximation::Butterworth);
    const int riley = static_cast<int>(Approximation::LinkwitzRiley);
    QTest::newRow("d2 below d1") << "CascadeD2"
                                 << "0.2" << butterworth << true << "d2 above d1";
    QTest::newRow("f2 below f1") << "CascadeF2"
                                 << "10k" << butterworth << true << "f2 above f1";
    QTest::newRow("odd Linkwitz-Riley") << "CascadeOrder"
                                        << "3" << riley << false << "";
    QTest::newRow("section order") << "CascadeSectionOrder"
                                   << "2,x" << butterworth << false
                                   << "the section order 2 does not name each of the 2 sections";
  }

  void badInputShowsTheProblemLine() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(int, approximation);
    QFETCH(bool, scheme);
    QFETCH(QString, said);
    ShownWindow w;
    CascadeEntries entries;
    entries.request.approximation = static_cast<Approximation>(approximation);
    entries.useScheme = scheme;
    w.window.SetEntries(entries);
    w.Type(field.toStdString(), typed);
    QVERIFY(!w.window.Design().problem.empty());
    const QString line = w.ProblemLine();
    QVERIFY2(line.startsWith("Cannot be built: "), qPrintable(line));
    QVERIFY2(line.contains(said), qPrintable(line));
    if (field != "CascadeSectionOrder") {
      QVERIFY(line.contains(QString::fromStdString(w.window.Design().problem)));
    }
    QVERIFY(w.services.messages.isEmpty());
    QCOMPARE(w.window.Table()->rowCount(), 0);
    for (const FigureRow& row : FigureRows()) {
      QCOMPARE(w.Get<QLineEdit>(QString::fromUtf8(row.name.data()))->text(), QString());
    }
    for (const QString& text : w.Texts()) {
      QVERIFY2(!kNotANumber.match(text).hasMatch(), qPrintable(text));
    }
    // Back to a good value: the line goes.
    w.window.SetEntries(CascadeEntries{});
    QCOMPARE(w.ProblemLine(), QString());
  }

  void extremeEntriesShowNoNotANumber_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::newRow("fg tiny") << "CascadeFg"
                             << "0";
    QTest::newRow("fg huge") << "CascadeFg"
                             << "9e99";
    QTest::newRow("Zin tiny") << "CascadeZin"
                              << "0";
    QTest::newRow("Zin huge") << "CascadeZin"
                              << "1e30";
    QTest::newRow("gain huge") << "CascadeGain"
                               << "1e9";
    QTest::newRow("fs at DC") << "CascadeFs"
                              << "0";
    QTest::newRow("order 20") << "CascadeOrder"
                              << "20";
  }

  void extremeEntriesShowNoNotANumber() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    ShownWindow w;
    CascadeEntries entries;
    entries.request.approximation = Approximation::Elliptic;
    entries.request.kind = FilterKind::Highpass;
    w.window.SetEntries(entries);
    w.Type(field.toStdString(), typed);
    QVERIFY(ShowsItsEntries(w.window));
    for (const QString& text : w.Texts()) {
      QVERIFY2(!kNotANumber.match(text).hasMatch(), qPrintable(text));
    }
    QVERIFY(w.services.messages.isEmpty());
  }

 private:
  QTemporaryDir dir_;
};

QTEST_MAIN(CascadeWindowTest)
#include "cascade_window_test.moc"
