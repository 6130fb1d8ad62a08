// Every text a user reads in the main window, on each of its pages, and in its dialogs is
// English, spelt right, and free of a literal "&" in hints (an "&" belongs in a caption, where
// it marks the mnemonic).

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>

#include "aids/order_dialog.h"
#include "aids/proposal_dialog.h"
#include "gui_test_support.h"
#include "ui/about_box.h"
#include "ui/help_box.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

struct ShownText {
  QString where;
  QString text;
  bool hint = false;  // tooltip, status tip or "What's this": no mnemonic "&" there
};

void Add(QList<ShownText>& texts, const QObject* owner, const QString& kind, const QString& text,
         bool hint) {
  if (!text.isEmpty()) texts.append({owner->objectName() + " " + kind, text, hint});
}

// Every caption and hint of the widgets and actions under `root`.
QList<ShownText> TextsUnder(const QWidget& root) {
  QList<ShownText> texts;
  Add(texts, &root, "title", root.windowTitle(), false);
  for (const QWidget* w : root.findChildren<QWidget*>()) {
    Add(texts, w, "tooltip", w->toolTip(), true);
    Add(texts, w, "status tip", w->statusTip(), true);
    Add(texts, w, "what's this", w->whatsThis(), true);
    if (auto* label = qobject_cast<const QLabel*>(w)) Add(texts, w, "text", label->text(), false);
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
      Add(texts, w, "text", button->text(), false);
    }
    if (auto* box = qobject_cast<const QGroupBox*>(w)) Add(texts, w, "title", box->title(), false);
    if (auto* tabs = qobject_cast<const QTabWidget*>(w)) {
      for (int i = 0; i < tabs->count(); ++i) {
        Add(texts, w, "tab", tabs->tabText(i), false);
        Add(texts, w, "tab hint", tabs->tabToolTip(i), true);
      }
    }
  }
  for (const QAction* a : root.findChildren<QAction*>()) {
    Add(texts, a, "text", a->text(), false);
    Add(texts, a, "status tip", a->statusTip(), true);
    if (a->toolTip() != QString(a->text()).remove('&').remove(QChar(0x2026))) {
      Add(texts, a, "tooltip", a->toolTip(), true);
    }
  }
  return texts;
}

// What a text must not hold, and why.
struct Fault {
  QRegularExpression pattern;
  const char* reason;
};

const QList<Fault>& Faults() {
  static const QList<Fault> faults = {
      {QRegularExpression("[äöüÄÖÜß]"), "German letters"},
      {QRegularExpression("\\b(und|der|die|das|nicht|wird|für|bei|Welligkeit|Gruppenlaufzeit|"
                          "gerade[n]?|Bandpaß|Resonanzfrequenz|Informationen|Phasengang)\\b"),
       "a German word"},
      {QRegularExpression("´"), "an acute accent for an apostrophe"},
      {QRegularExpression("Recomm?anded|Chebychev|Tschebyscheff|Valied|Vaild|Propably|"
                          "Infomation|dependend|\\b3Op\\b"),
       "a misspelling"},
      {QRegularExpression("\\s:"), "a blank before a colon"},
  };
  return faults;
}

QStringList FaultsIn(const QList<ShownText>& texts) {
  QStringList found;
  for (const ShownText& t : texts) {
    for (const Fault& f : Faults()) {
      if (t.text.contains(f.pattern)) found << t.where + ": " + f.reason + " in \"" + t.text + "\"";
    }
    if (t.hint && QString(t.text).remove("&&").contains('&')) {
      found << t.where + ": a literal & in the hint \"" + t.text + "\"";
    }
  }
  return found;
}

}  // namespace

Q_DECLARE_METATYPE(Topology)

class EnglishTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void everyPageReadsAsEnglish_data() {
    QTest::addColumn<Topology>("page");
    for (Topology t : {Topology::Mfb, Topology::Pfb, Topology::Svf3, Topology::Svf4,
                       Topology::Fliege, Topology::LcLadder, Topology::Diplexer}) {
      QTest::newRow(qPrintable(QString::number(static_cast<int>(t)))) << t;
    }
  }

  void everyPageReadsAsEnglish() {
    QFETCH(Topology, page);
    StartedWindow w;
    w.window.SelectTopology(page);
    const QStringList faults = FaultsIn(TextsUnder(w.window));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }

  void dialogsReadAsEnglish() {
    DesignState state;
    OrderDialog order(state);
    ProposalDialog proposal;
    HelpBox help;
    AboutBox about;
    QStringList faults;
    for (const QWidget* dialog :
         std::initializer_list<const QWidget*>{&order, &proposal, &help, &about}) {
      faults << FaultsIn(TextsUnder(*dialog));
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }
};

QTEST_MAIN(EnglishTextsTest)
#include "english_texts_test.moc"
