// The information panel's noise bandwidth: the whole integral of |H|^2 over frequency,
// pi Q fo / 2 for the lowpass and pi fg / (2 Q) for the bandpass (closed forms of the
// second-order responses), and "-" for the types whose gain stays up at high frequencies.

#include <QRadioButton>
#include <cmath>
#include <numbers>

#include "gui_test_support.h"
#include "numerics/value_text.h"

using namespace morvane;
using namespace morvane::gui::test;

class NoiseBandwidthTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void panelShowsTheWholeIntegral_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("Q");
    QTest::addColumn<bool>("lowpass");
    for (const char* q : {"0.5", "0.7071", "2", "10", "100", "10000"}) {
      QTest::addRow("lowpass Q %s", q) << "TPRadioButton" << q << true;
      QTest::addRow("bandpass Q %s", q) << "BPRadioButton" << q << false;
    }
  }

  void panelShowsTheWholeIntegral() {
    QFETCH(QString, radio);
    QFETCH(QString, Q);
    QFETCH(bool, lowpass);
    StartedWindow w;
    QTest::mouseClick(w.Get<QRadioButton>(radio), Qt::LeftButton);
    w.Type(field::QEingabe, Q);
    const DesignState& s = w.State();
    QCOMPARE(s.Q, Q.toDouble());
    const double expected =
        lowpass ? std::numbers::pi * s.Q * s.fo / 2.0 : std::numbers::pi * s.fg / (2.0 * s.Q);
    const QString text = w.Field(field::BrAusgabe)->text();
    // Three significant digits shown: within half a unit of the third.
    const double shown = ReadValue(text.toStdString());
    QVERIFY2(std::fabs(shown - expected) <= 0.006 * expected,
             qPrintable(QString("%1 shown, %2 expected").arg(text).arg(expected)));
  }

  void noBandwidthWhereTheIntegralDiverges_data() {
    QTest::addColumn<QString>("radio");
    QTest::newRow("highpass") << "HPRadioButton";
    QTest::newRow("bandstop") << "BSRadioButton";
    QTest::newRow("allpass") << "APRadioButton";
    QTest::newRow("elliptic lowpass") << "ellTPRadioButton";
  }

  void noBandwidthWhereTheIntegralDiverges() {
    QFETCH(QString, radio);
    StartedWindow w;
    w.Trigger("PFBninv1");  // the page that offers every type
    QTest::mouseClick(w.Get<QRadioButton>(radio), Qt::LeftButton);
    QVERIFY(w.Get<QRadioButton>(radio)->isChecked());
    QCOMPARE(w.Field(field::BrAusgabe)->text().trimmed(), QString("-"));
  }
};

QTEST_MAIN(NoiseBandwidthTest)
#include "noise_bandwidth_test.moc"
