// A long random session in the main window: thousands of user actions picked by a seeded
// generator (typing hostile text, spinning, switching pages, types and series, the LC
// controls, Make calculations, Undo, the secondary and graph windows, design files), with
// the window checked after every action against its session and against a second session
// driven by the same handler calls, and now and then against morvane-cli.
//
// MORVANE_RANDOM_SEED and MORVANE_RANDOM_ACTIONS repeat or lengthen a run; a failure names
// the seed and the action. MORVANE_CLI names another command-line tool than the one built
// with the tests.

#include <QAbstractButton>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <bit>
#include <cstdio>
#include <deque>
#include <fstream>
#include <functional>
#include <optional>
#include <random>

#include "aids/order_dialog.h"
#include "aids/proposal_dialog.h"
#include "app/secondary_windows.h"
#include "design/page_fields.h"
#include "design/recalculate.h"
#include "design/selection_rules.h"
#include "graphs/graph_window.h"
#include "graphs/graph_windows.h"
#include "gui_test_support.h"
#include "help/help_window.h"
#include "numerics/value_text.h"
#include "support/cascade_session.h"
#include "support/tolerance_session.h"
#include "ui/about_box.h"
#include "ui/spin_button.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

constexpr quint64 kDefaultSeed = 20250611;
constexpr int kDefaultActions = 20000;
// Comparing with morvane-cli starts a process, so it runs only every so many actions.
constexpr int kCliEvery = 500;
constexpr int kRecentActions = 12;

quint64 EnvNumber(const char* name, quint64 fallback) {
  bool ok = false;
  const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
  return ok ? value : fallback;
}

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A desktop whose file dialogs answer what the next action chose; empty cancels.
class SessionServices : public FakePlatformServices {
 public:
  QString AskOpenFile(QWidget*, const FileDialogRequest&) override { return openAnswer; }
  QString AskSaveFile(QWidget*, const FileDialogRequest&) override { return saveAnswer; }

  QString openAnswer;
  QString saveAnswer;
};

// The first difference between two design states, or empty.
QString StateDifference(const DesignState& a, const DesignState& b) {
  using S = DesignState;
  struct Member {
    const char* name;
    double S::*member;
  };
  static constexpr Member kMembers[] = {
      {"fg", &S::fg},
      {"f", &S::f},
      {"Q", &S::Q},
      {"D", &S::D},
      {"Vu", &S::Vu},
      {"Zin", &S::Zin},
      {"R3", &S::R3},
      {"C1", &S::C1},
      {"C2", &S::C2},
      {"C3", &S::C3},
      {"R0", &S::R0},
      {"R1", &S::R1},
      {"R2", &S::R2},
      {"R4", &S::R4},
      {"R5", &S::R5},
      {"R6", &S::R6},
      {"VuActual", &S::VuActual},
      {"dVu", &S::dVu},
      {"fo", &S::fo},
      {"B", &S::B},
      {"fnfp", &S::fnfp},
      {"RL", &S::RL},
      {"Welligkeit", &S::rippleDb},
      {"Sweep", &S::Sweep},
      {"Vuf", &S::Vuf},
      {"VufdB", &S::VufdB},
      {"Phif", &S::Phif},
      {"tgrf", &S::tgrf},
      {"LadderFrequencyScale", &S::LadderFrequencyScale},
  };
  if (a.topology != b.topology) return "topology";
  if (a.ESeriesR != b.ESeriesR || a.ESeriesC != b.ESeriesC) return "standard series";
  if (a.LCOrder != b.LCOrder) return "LCOrder";
  if (a.LadderMirrored != b.LadderMirrored) return "LadderMirrored";
  for (const Member& m : kMembers) {
    if (!SameBits(a.*m.member, b.*m.member)) {
      return QString("%1: %2 and %3")
          .arg(m.name)
          .arg(a.*m.member, 0, 'g', 17)
          .arg(b.*m.member, 0, 'g', 17);
    }
  }
  for (std::size_t i = 0; i < a.LadderG.size(); ++i) {
    if (!SameBits(a.LadderG[i], b.LadderG[i]) || !SameBits(a.LadderCoefA[i], b.LadderCoefA[i]) ||
        !SameBits(a.LadderCoefB[i], b.LadderCoefB[i])) {
      return QString("ladder coefficients at %1").arg(i);
    }
  }
  if (!SameBits(a.order.OrderF1, b.order.OrderF1) || !SameBits(a.order.OrderD1, b.order.OrderD1) ||
      !SameBits(a.order.OrderF2, b.order.OrderF2) || !SameBits(a.order.OrderD2, b.order.OrderD2)) {
    return "order calculator inputs";
  }
  return {};
}

QString InputsDifference(const DesignChoices& a, const DesignChoices& b) {
  if (a.type != b.type) return "filter type";
  if (a.mfbEqualCapacitors != b.mfbEqualCapacitors ||
      a.pfbEqualCapacitors != b.pfbEqualCapacitors ||
      a.offsetCompensation != b.offsetCompensation ||
      a.svf3AutomaticCapacitance != b.svf3AutomaticCapacitance ||
      a.svf4AutomaticCapacitance != b.svf4AutomaticCapacitance ||
      a.fliegeAutomaticCapacitance != b.fliegeAutomaticCapacitance) {
    return "check boxes";
  }
  if (a.ladderChebyshev != b.ladderChebyshev) return "ladder approximation";
  if (a.diplexerOrder != b.diplexerOrder) return "diplexer order";
  if (a.diplexerChebyshev != b.diplexerChebyshev) return "diplexer approximation";
  if (a.pfbR3 != b.pfbR3 || a.pfbZeroRatio != b.pfbZeroRatio ||
      a.svf3Capacitance != b.svf3Capacitance || a.svf4Capacitance != b.svf4Capacitance ||
      a.fliegeCapacitance != b.fliegeCapacitance) {
    return "page entries read by the designs";
  }
  return {};
}

// The members in which morvane-cli's state differs from the window's, for a failure report.
QString StateDifferences(const DesignState& s, const QJsonObject& state) {
  const std::pair<const char*, double> kMembers[] = {{"fg", s.fg},
                                                     {"f", s.f},
                                                     {"Q", s.Q},
                                                     {"D", s.D},
                                                     {"Vu", s.Vu},
                                                     {"Zin", s.Zin},
                                                     {"R0", s.R0},
                                                     {"R1", s.R1},
                                                     {"R2", s.R2},
                                                     {"R3", s.R3},
                                                     {"R4", s.R4},
                                                     {"R5", s.R5},
                                                     {"R6", s.R6},
                                                     {"C1", s.C1},
                                                     {"C2", s.C2},
                                                     {"C3", s.C3},
                                                     {"VuActual", s.VuActual},
                                                     {"dVu", s.dVu},
                                                     {"fo", s.fo},
                                                     {"B", s.B},
                                                     {"fnfp", s.fnfp},
                                                     {"RL", s.RL},
                                                     {"Welligkeit", s.rippleDb},
                                                     {"Sweep", s.Sweep}};
  QString text;
  for (const auto& [name, value] : kMembers) {
    const double theirs = state[name].toDouble();
    if (!SameBits(value, theirs)) {
      text += QString("\n  state %1: window %2, morvane-cli %3")
                  .arg(name)
                  .arg(value, 0, 'g', 17)
                  .arg(theirs, 0, 'g', 17);
    }
  }
  return text;
}

QString CliPath() {
  const QString configured = qEnvironmentVariable("MORVANE_CLI");
  if (!configured.isEmpty()) return configured;
  return QStringLiteral(MORVANE_CLI_PATH);
}

}  // namespace

// The window with its secondary windows, a second session fed the same handler calls, and
// the random actions.
class RandomSession {
 public:
  RandomSession(quint64 seed, const QString& folder)
      : random_(seed),
        texts_(random_),
        folder_(folder),
        window_(services_),
        windows_(window_, services_) {
    window_.Initialize({}, {});
    window_.show();
    shadow_.Start();
    // The window reports each edit after its session handled it: the shadow reads the same.
    QObject::connect(&window_, &MainWindow::entryTyped, [this](const QString& f, const QString& t) {
      shadow_.TypeEntry(f.toStdString(), t.toStdString());
      lastTyped_[f] = t;
    });
    for (QActionGroup* group : window_.findChildren<QActionGroup*>()) {
      groups_[group->objectName()] = group;
    }
    PrepareFiles();
  }

  bool Exposed() { return QTest::qWaitForWindowExposed(&window_); }

  // One random action; returns what it did.
  QString Step() {
    const int kind = texts_.Pick(114);
    QString done;
    if (kind >= 110) {
      done = tolerance_.Step();
    } else if (kind >= 100) {
      done = cascade_.Step();
    } else if (kind < 30) {
      done = TypeIntoEntry();
    } else if (kind < 42) {
      done = SpinOnce();
    } else if (kind < 48) {
      done = SwitchTopology();
    } else if (kind < 54) {
      done = SwitchType();
    } else if (kind < 57) {
      done = SwitchSeries();
      dChangedByGraph_ = false;  // a full recalculation follows every series item
    } else if (kind < 61) {
      done = ClickCheckBox();
    } else if (kind < 67) {
      done = LcControl();
    } else if (kind < 71) {
      done = MakeCalculations();
    } else if (kind < 75) {
      done = UndoLastEdit();
    } else if (kind < 81) {
      done = OpenWindow();
      FollowGraphFill();
    } else if (kind < 84) {
      done = CloseWindow();
    } else if (kind < 95) {
      done = GraphCommand();
      FollowGraphFill();
    } else {
      done = FileCommand();
    }
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return done;
  }

  // Empty when the window, its session and the shadow agree and no rule is broken.
  QString Check() {
    const DesignSession& session = window_.Session();
    for (const auto& [name, text] : session.Fields()) {
      auto* edit = Get<QLineEdit>(Q(name));
      const QString shown = edit->text();
      if (shown != QString::fromStdString(text)) {
        return QString("%1 shows %2, the session has %3")
            .arg(Q(name), Shown(shown), Shown(QString::fromStdString(text)));
      }
      const bool typedByUser = lastTyped_.contains(Q(name)) && lastTyped_[Q(name)] == shown;
      if (!typedByUser && ShowsNanOrInf(shown)) return Q(name) + " shows " + Shown(shown);
    }
    for (const auto& [name, cells] : session.Grids()) {
      auto* grid = Get<AlignedGrid>(Q(name));
      for (std::size_t row = 0; row < cells.size(); ++row) {
        for (std::size_t column = 0; column < cells[row].size(); ++column) {
          const QString shown = grid->Cell(static_cast<int>(column), static_cast<int>(row));
          if (shown != QString::fromStdString(cells[row][column])) {
            return QString("%1 cell %2,%3 shows %4")
                .arg(Q(name))
                .arg(column)
                .arg(row)
                .arg(Shown(shown));
          }
          if (ShowsNanOrInf(shown)) return Q(name) + " shows " + Shown(shown);
        }
      }
    }
    if (QString problem = CheckChoices(); !problem.isEmpty()) return problem;
    if (QString problem = cascade_.Check(); !problem.isEmpty()) return problem;
    if (QString problem = tolerance_.Check(); !problem.isEmpty()) return problem;
    return CompareWithShadow();
  }

  // The results morvane-cli designs from the window's choices and entry values.
  // `compared` stays false when no entry text reproduces a value.
  QString CompareWithCli(const QString& cli, bool& compared);
  QString CompareCascadeWithCli(const QString& cli, bool& compared) {
    return cascade_.CompareWithCli(cli, compared);
  }

  QString Failure(quint64 seed, int action, const QString& done, const QString& problem) const {
    QString text = QString("seed %1, action %2 (%3): %4\nrecent actions:")
                       .arg(seed)
                       .arg(action)
                       .arg(done, problem);
    for (const QString& recent : recent_) text += "\n  " + recent;
    return text;
  }

  void Remember(int action, const QString& done) {
    recent_.push_back(QString("%1 %2").arg(action).arg(done));
    if (recent_.size() > kRecentActions) recent_.pop_front();
  }

  void CloseEverything() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top != &window_ && top->isVisible()) top->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

 private:
  // The window's control of that name, looked up once: the checks after every action ask
  // for a hundred of them.
  template <typename T>
  T* Get(const QString& name) {
    QObject*& known = controls_[name];
    if (!known) known = window_.findChild<T*>(name);
    T* child = qobject_cast<T*>(known);
    if (!child) qFatal("no control %s", qPrintable(name));
    return child;
  }

  static bool Usable(const QWidget* widget) { return widget->isVisible() && widget->isEnabled(); }

  // One key per character, as a keyboard sends them: a control character comes with its
  // key text too, and the field decides what to take.
  static void TypeKeys(QLineEdit* edit, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      QString key(text[i]);
      if (text[i].isHighSurrogate() && i + 1 < text.size()) key += text[++i];
      const QChar c = key[0];
      if (c.unicode() > 0x20 && c.unicode() < 0x7F) {
        QTest::keyClick(edit, c.toLatin1());
      } else {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, key, Qt::NoModifier);
      }
    }
  }

  QString TypeIntoEntry() {
    QList<QLineEdit*> usable;
    for (auto name : field::EntryFields()) {
      QLineEdit* edit = Get<QLineEdit>(Q(name));
      if (Usable(edit) && !edit->isReadOnly()) usable << edit;
    }
    QLineEdit* edit = usable[texts_.Pick(static_cast<int>(usable.size()))];
    edit->setFocus();
    const QString text = texts_.Next();
    const int mode = texts_.Pick(10);
    if (mode < 4 && text.size() <= 12) {
      // Key by key: every keystroke is an edit the session designs from.
      edit->selectAll();
      if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Delete);
      } else {
        TypeKeys(edit, text);
      }
      return "type " + Shown(text) + " into " + edit->objectName();
    }
    if (mode < 6) {
      // Typed behind what the field holds, after taking a few characters away.
      edit->end(false);
      for (int i = texts_.Pick(4); i > 0; --i) QTest::keyClick(edit, Qt::Key_Backspace);
      TypeKeys(edit, text.left(4));
      return "append " + Shown(text.left(4)) + " to " + edit->objectName();
    }
    QGuiApplication::clipboard()->setText(text);
    edit->selectAll();
    edit->paste();
    return "paste " + Shown(text) + " into " + edit->objectName();
  }

  QString SpinOnce() {
    QList<SpinButton*> usable;
    for (SpinButton* spin : window_.findChildren<SpinButton*>()) {
      if (Usable(spin)) usable << spin;
    }
    SpinButton* spin = usable[texts_.Pick(static_cast<int>(usable.size()))];
    const bool up = texts_.Pick(2) == 0;
    QTest::mouseClick(up ? spin->UpButton() : spin->DownButton(), Qt::LeftButton);
    shadow_.Spin(spin->objectName().toStdString(), up ? SpinDirection::Up : SpinDirection::Down);
    return QString("spin %1 %2").arg(spin->objectName(), up ? "up" : "down");
  }

  // Switches recalculate in full: the figures read D afresh.
  void SelectInShadow(Topology topology) {
    shadow_.SelectTopology(topology);
    dChangedByGraph_ = false;
  }
  void SelectInShadow(FilterType type) {
    shadow_.SelectFilterType(type);
    dChangedByGraph_ = false;
  }

  QString SwitchTopology() {
    const int topology = 1 + texts_.Pick(kTopologyCount);
    if (texts_.Pick(2) == 0) {
      auto* tabs = Get<QTabBar>("TabSet1");
      const bool changes = tabs->currentIndex() != topology - 1;
      QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(topology - 1).center());
      if (changes) SelectInShadow(static_cast<Topology>(topology));
      return QString("tab %1").arg(topology);
    }
    for (QAction* action : groups_["TopologyMenuGroup"]->actions()) {
      if (action->data().toInt() != topology) continue;
      action->trigger();
      SelectInShadow(static_cast<Topology>(topology));
      return "menu " + action->objectName();
    }
    return "no topology item";
  }

  QString SwitchType() {
    const auto type = static_cast<FilterType>(texts_.Pick(6));
    if (texts_.Pick(2) == 0) {
      QAbstractButton* button =
          Get<QButtonGroup>("FilterTypeButtons")->button(static_cast<int>(type));
      // A disabled button takes no click: the type stays.
      QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2));
      if (button->isEnabled()) SelectInShadow(type);
      return "radio " + button->objectName() + (button->isEnabled() ? "" : " (disabled)");
    }
    for (QAction* action : groups_["FilterTypeMenuGroup"]->actions()) {
      if (action->data().toInt() != static_cast<int>(type) || !action->isEnabled()) continue;
      action->trigger();
      SelectInShadow(type);
      return "menu " + action->objectName();
    }
    return "type not offered";
  }

  QString SwitchSeries() {
    const bool resistors = texts_.Pick(2) == 0;
    const int series = 1 + texts_.Pick(5);
    for (QAction* action :
         groups_[resistors ? "ResistorSeriesMenuGroup" : "CapacitorSeriesMenuGroup"]->actions()) {
      if (action->data().toInt() != series) continue;
      action->trigger();
      resistors ? shadow_.SelectResistorSeries(series) : shadow_.SelectCapacitorSeries(series);
      return "menu " + action->objectName();
    }
    return "no series item";
  }

  QString ClickCheckBox() {
    QList<QCheckBox*> usable;
    for (const char* name :
         {"CCheckBox1", "CCheckBox2", "RCheckBox2", "CCheckBox3", "CCheckBox4", "CCheckBox5"}) {
      QCheckBox* box = Get<QCheckBox>(name);
      if (Usable(box)) usable << box;
    }
    if (usable.isEmpty()) return "no check box on this page";
    QCheckBox* box = usable[texts_.Pick(static_cast<int>(usable.size()))];
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, box->height() / 2));
    shadow_.SetCheckBox(box->objectName().toStdString(), box->isChecked());
    return "click " + box->objectName();
  }

  QString LcControl() {
    auto* order = Get<QScrollBar>("ScrollBar1");
    if (order->isVisible() && texts_.Pick(2) == 0) {
      static constexpr QAbstractSlider::SliderAction kActions[] = {
          QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
          QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
          QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
      const int before = order->value();
      order->triggerAction(kActions[texts_.Pick(6)]);
      if (order->value() != before) shadow_.SetLadderOrder(order->value());
      return QString("order scroll bar %1 to %2").arg(before).arg(order->value());
    }
    QList<QAbstractButton*> usable;
    for (const char* group :
         {"LadderApproximationButtons", "DiplexerApproximationButtons", "DiplexerOrderButtons"}) {
      for (QAbstractButton* button : Get<QButtonGroup>(group)->buttons()) {
        if (Usable(button)) usable << button;
      }
    }
    if (usable.isEmpty()) return "no LC control on this page";
    QAbstractButton* button = usable[texts_.Pick(static_cast<int>(usable.size()))];
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2));
    const QString name = button->objectName();
    if (name == "RadioButtonBW" || name == "RadioButtonTscheb") {
      shadow_.SetLadderApproximation(name == "RadioButtonTscheb");
    } else if (name == "RadioButtonButt2" || name == "RadioButtonTscheb2") {
      shadow_.SetDiplexerApproximation(name == "RadioButtonTscheb2");
    } else {
      shadow_.SetDiplexerOrder(Get<QButtonGroup>("DiplexerOrderButtons")->id(button));
    }
    return "click " + name;
  }

  QString MakeCalculations() {
    switch (texts_.Pick(3)) {
      case 0:
        QTest::mouseClick(Get<QToolButton>("RechenButton"), Qt::LeftButton);
        break;
      case 1:
        QTest::mouseClick(Get<QAbstractButton>("OK"), Qt::LeftButton);
        break;
      default:
        Get<QAction>("Rechnen1")->trigger();
        break;
    }
    shadow_.MakeCalculations();
    dChangedByGraph_ = false;
    return "make calculations";
  }

  QString UndoLastEdit() {
    auto* edit = qobject_cast<QLineEdit*>(window_.focusWidget());
    if (edit && texts_.Pick(2) == 0) {
      QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
      return "Ctrl+Z in " + edit->objectName();
    }
    Get<QAction>("Undo1")->trigger();
    return "menu Undo1";
  }

  QString OpenWindow() {
    static const char* const kControls[] = {"VdbBtn",    "PhiBtn",
                                            "tgrBtn",    "htBtn",
                                            "InfoBtn",   "Schaltungsvorschlag1",
                                            "BitBtnOrd", "Filterordnungberechnen1",
                                            "Hilfe",     "Hilfe1",
                                            "About1"};
    const QString control = kControls[texts_.Pick(static_cast<int>(std::size(kControls)))];
    if (auto* action = window_.findChild<QAction*>(control)) {
      action->trigger();
    } else {
      QTest::mouseClick(Get<QAbstractButton>(control), Qt::LeftButton);
    }
    if (control == "About1") {
      // Modal to the whole program, though it returns at once: closed again before the
      // next action, as a user must.
      int open = 0;
      for (QWidget* top : QApplication::topLevelWidgets()) {
        if (qobject_cast<AboutBox*>(top) && top->isVisible()) {
          ++open;
          top->close();
        }
      }
      if (open != 1) return "About opened " + QString::number(open) + " boxes";
    }
    return "open by " + control;
  }

  // A graph that fills its curve first sets fo from fg and Q, as every frequency curve of
  // the program does, and the time curve stores D = 0.5/Q. The shadow follows these two and
  // nothing else; any other change shows as a difference.
  void FollowGraphFill() {
    const DesignState& s = window_.Session().State();
    DesignState& shadow = shadow_.MutableState();
    QString problem;
    if (!SameBits(s.fo, shadow.fo)) {
      if (!SameBits(s.fo, ResonanceFrequency(s.fg, s.Q, window_.Session().Type()))) {
        problem += QString(" [fo became %1]").arg(s.fo, 0, 'g', 17);
      }
      shadow.fo = s.fo;
    }
    if (!SameBits(s.D, shadow.D)) {
      if (!SameBits(s.D, 0.5 / s.Q)) problem += QString(" [D became %1]").arg(s.D, 0, 'g', 17);
      shadow.D = s.D;
      // Rise time and overshoot shown were figured with the D before.
      dChangedByGraph_ = true;
    }
    if (!problem.isEmpty()) graphProblem_ = "a graph changed the design:" + problem;
  }

  QList<QWidget*> SecondaryWidgets() {
    QList<QWidget*> all{&windows_.Order(), &windows_.Proposal(), &windows_.Help()};
    for (GraphKind kind : kGraphKinds) all << &windows_.Graphs().Window(kind);
    return all;
  }

  QString CloseWindow() {
    QList<QWidget*> open;
    for (QWidget* w : SecondaryWidgets()) {
      if (w->isVisible()) open << w;
    }
    if (open.isEmpty()) return "no window to close";
    QWidget* w = open[texts_.Pick(static_cast<int>(open.size()))];
    w->close();
    return "close " + w->windowTitle();
  }

  QString GraphCommand() {
    QList<GraphWindow*> open;
    for (GraphKind kind : kGraphKinds) {
      GraphWindow& graph = windows_.Graphs().Window(kind);
      if (graph.isVisible()) open << &graph;
    }
    if (open.isEmpty()) return OpenWindow();
    GraphWindow* graph = open[texts_.Pick(static_cast<int>(open.size()))];
    // Not the sweep mode, origin, save, print or copy: they open modal dialogs.
    static const char* const kCommands[] = {
        "Zeichnen1",        "Vergroessern1",    "Verkleinern1",    "Standardgroesse1",
        "xAutoskalierung1", "yAutoskalierung1", "Autoskalierung1", "xlog1",
        "ZoomInButton",     "ZoomOutButton",    "DotButton",       "AutoskButton",
        "xlogButton",       "RadioButtonst",    "RadioButtonht",   "Exit1",
        "CloseButton",      "Zeichnen1",        "ZoomInButton",    "Autoskalierung1"};
    QString command;
    do {
      command = kCommands[texts_.Pick(static_cast<int>(std::size(kCommands)))];
    } while (command.startsWith("RadioButton") && graph->Kind() != GraphKind::TimeResponse);
    if (auto* action = graph->findChild<QAction*>(command)) {
      if (action->isEnabled()) action->trigger();
    } else {
      auto* button = graph->findChild<QAbstractButton*>(command);
      if (!button) qFatal("graph window without %s", qPrintable(command));
      QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, button->height() / 2));
    }
    return "graph " + graph->windowTitle() + ": " + command;
  }

  void PrepareFiles() {
    const auto write = [this](const QString& name, const std::string& content) {
      std::ofstream(QDir(folder_).filePath(name).toStdString(), std::ios::binary) << content;
    };
    write("binary.ini", std::string("[Variablen]\nfg=\0\x01\x02", 17));
    write("empty.ini", "");
    write("latin1.ini", "[Variablen]\nfg=4\xB5\nQ=2\xE4\n");
    write("utf16.ini", std::string("\xFF\xFE[\0V\0]\0\n\0", 10));
    write("long.ini", "[Variablen]\nfg=" + std::string(70000, '9') + "\n");
    write("odd.ini", "[Variablen]\nfg=nan\nf=-1e999\nQ=inf\nZin=0\nVu=,\nSweep=1e-400\n");
    QDir(folder_).mkdir("folder.ini");
  }

  QString FileCommand() {
    static const char* const kOpenNames[] = {"saved.ini",  "binary.ini", "empty.ini",
                                             "latin1.ini", "utf16.ini",  "long.ini",
                                             "odd.ini",    "folder.ini", "missing.ini"};
    static const char* const kSaveNames[] = {"saved.ini", "folder.ini", "no/such/folder/x.ini"};
    const QDir folder(folder_);
    switch (texts_.Pick(5)) {
      case 0: {
        const QString name = kSaveNames[texts_.Pick(static_cast<int>(std::size(kSaveNames)))];
        services_.saveAnswer = texts_.Pick(4) == 0 ? QString() : folder.filePath(name);
        QTest::mouseClick(Get<QAbstractButton>("SpeedButtonINISave"), Qt::LeftButton);
        services_.saveAnswer.clear();
        return "save design as " + name;
      }
      case 1:
      case 2: {
        const QString name = kOpenNames[texts_.Pick(static_cast<int>(std::size(kOpenNames)))];
        const QString path = texts_.Pick(5) == 0 ? QString() : folder.filePath(name);
        services_.openAnswer = path;
        QTest::mouseClick(Get<QAbstractButton>("SpeedButtonINILaden"), Qt::LeftButton);
        services_.openAnswer.clear();
        if (!path.isEmpty()) {
          std::string error;
          if (shadow_.OpenDesign(path.toStdString(), error)) shadow_.Recalculate(ChangedEntry::Any);
        }
        return "open design " + (path.isEmpty() ? "(cancelled)" : name);
      }
      case 3: {
        auto* exportButton = Get<QAbstractButton>("SpeedButtonExport");
        if (!Usable(exportButton)) return "no circuit export on this page";
        services_.saveAnswer = folder.filePath(texts_.Pick(2) == 0 ? "circuit.ini" : "folder.ini");
        QTest::mouseClick(exportButton, Qt::LeftButton);
        services_.saveAnswer.clear();
        return "export circuit";
      }
      default:
        services_.saveAnswer = folder.filePath(texts_.Pick(2) == 0 ? "net.cir" : "folder.ini");
        Get<QAction>("SpiceExport1")->trigger();
        services_.saveAnswer.clear();
        return "export SPICE netlist";
    }
  }

  // Exactly one check mark in each menu group and one checked type button, each showing
  // the session's choice; the page controls show the session's inputs.
  QString CheckChoices() {
    const DesignSession& session = window_.Session();
    const DesignState& s = session.State();
    const std::pair<const char*, int> kGroups[] = {
        {"TopologyMenuGroup", static_cast<int>(s.topology)},
        {"FilterTypeMenuGroup", static_cast<int>(session.Type())},
        {"ResistorSeriesMenuGroup", s.ESeriesR},
        {"CapacitorSeriesMenuGroup", s.ESeriesC}};
    for (const auto& [name, value] : kGroups) {
      int checked = 0;
      for (QAction* action : groups_[name]->actions()) {
        if (!action->isChecked()) continue;
        ++checked;
        if (action->data().toInt() != value) {
          return QString("%1 checks %2, the session has %3")
              .arg(name, action->objectName())
              .arg(value);
        }
      }
      if (checked != 1) return QString("%1 has %2 check marks").arg(name).arg(checked);
    }
    auto* types = Get<QButtonGroup>("FilterTypeButtons");
    int checkedTypes = 0;
    for (QAbstractButton* button : types->buttons()) checkedTypes += button->isChecked();
    if (checkedTypes != 1 || types->checkedId() != static_cast<int>(session.Type())) {
      return QString("%1 type buttons checked, id %2").arg(checkedTypes).arg(types->checkedId());
    }
    const int page = static_cast<int>(s.topology) - 1;
    if (Get<QTabBar>("TabSet1")->currentIndex() != page ||
        Get<QStackedWidget>("Notebook1")->currentIndex() != page) {
      return "tab or page does not show the topology";
    }
    const DesignChoices& in = session.Choices();
    const std::pair<const char*, bool> kBoxes[] = {
        {"CCheckBox1", in.mfbEqualCapacitors},       {"CCheckBox2", in.pfbEqualCapacitors},
        {"RCheckBox2", in.offsetCompensation},       {"CCheckBox3", in.svf3AutomaticCapacitance},
        {"CCheckBox4", in.svf4AutomaticCapacitance}, {"CCheckBox5", in.fliegeAutomaticCapacitance}};
    for (const auto& [name, checked] : kBoxes) {
      if (Get<QCheckBox>(name)->isChecked() != checked) return QString(name) + " differs";
    }
    if (Get<QScrollBar>("ScrollBar1")->value() != s.LCOrder) return "order scroll bar differs";
    if (Get<QButtonGroup>("LadderApproximationButtons")->checkedId() != int(in.ladderChebyshev) ||
        Get<QButtonGroup>("DiplexerApproximationButtons")->checkedId() !=
            int(in.diplexerChebyshev) ||
        Get<QButtonGroup>("DiplexerOrderButtons")->checkedId() != in.diplexerOrder) {
      return "LC buttons differ";
    }
    auto* notice = Get<QLabel>("NoticeLabel");
    if (notice->toolTip() != QString::fromStdString(session.CurrentNotice()) ||
        notice->isVisible() == session.CurrentNotice().empty()) {
      return "notice differs";
    }
    return {};
  }

  QString CompareWithShadow() {
    if (!graphProblem_.isEmpty()) return graphProblem_;
    const DesignSession& session = window_.Session();
    if (session.Fields() != shadow_.Fields()) {
      for (const auto& [name, text] : session.Fields()) {
        if (shadow_.FieldText(name) != text) {
          return QString("%1: window session %2, second session %3")
              .arg(Q(name), Shown(QString::fromStdString(text)),
                   Shown(QString::fromStdString(shadow_.FieldText(name))));
        }
      }
      return "the field lists differ";
    }
    if (session.Grids() != shadow_.Grids()) return "grids differ from the second session";
    if (QString d = StateDifference(session.State(), shadow_.State()); !d.isEmpty()) {
      return "state differs from the second session: " + d;
    }
    if (QString d = InputsDifference(session.Choices(), shadow_.Choices()); !d.isEmpty()) {
      return "inputs differ from the second session: " + d;
    }
    if (session.BeepCount() != shadow_.BeepCount()) return "beeps differ";
    if (session.Messages() != shadow_.Messages()) return "messages differ";
    if (session.CurrentNotice() != shadow_.CurrentNotice()) return "notice differs";
    return {};
  }

  std::mt19937_64 random_;
  HostileTexts texts_;
  QString folder_;
  SessionServices services_;
  MainWindow window_;
  SecondaryWindows windows_;
  CascadeSession cascade_{window_, windows_, texts_, folder_};
  DesignSession shadow_;
  ToleranceSession tolerance_{window_, windows_, shadow_, texts_};
  QMap<QString, QActionGroup*> groups_;
  QHash<QString, QObject*> controls_;
  QMap<QString, QString> lastTyped_;
  std::deque<QString> recent_;
  QString graphProblem_;
  // A graph changed D since the last certain full recalculation.
  bool dChangedByGraph_ = false;
};

QString RandomSession::CompareWithCli(const QString& cli, bool& compared) {
  const DesignSession& session = window_.Session();
  // Values taken from the value search are the window's alone: no entries reproduce them.
  if (session.ValuesChosen()) return {};
  const DesignState& s = session.State();
  const DesignChoices& in = session.Choices();
  const Topology t = s.topology;
  static constexpr const char* kSeries[] = {"", "E6", "E12", "E24", "E48", "E96"};
  static constexpr const char* kTypes[] = {"lowpass",  "highpass", "bandpass",
                                           "bandstop", "allpass",  "elliptic"};
  QStringList args{"design",     "--json",
                   "--topology", QString::number(static_cast<int>(t)),
                   "--type",     kTypes[static_cast<int>(in.type)],
                   "--series-r", kSeries[s.ESeriesR],
                   "--series-c", kSeries[s.ESeriesC]};
  // The box of the page in force; the tool clears its group of boxes together.
  if ((t == Topology::Mfb && !in.mfbEqualCapacitors) ||
      (t == Topology::Pfb && !in.pfbEqualCapacitors)) {
    args << "--no-equal-capacitors";
  }
  if (t == Topology::Pfb && !in.offsetCompensation) args << "--no-offset-compensation";
  if ((t == Topology::Svf3 && !in.svf3AutomaticCapacitance) ||
      (t == Topology::Svf4 && !in.svf4AutomaticCapacitance) ||
      (t == Topology::Fliege && !in.fliegeAutomaticCapacitance)) {
    args << "--manual-capacitance";
  }
  args << "--order" << QString::number(s.LCOrder) << "--diplexer-order"
       << QString::number(in.diplexerOrder);
  if (in.ladderChebyshev) args << "--chebyshev";
  if (in.diplexerChebyshev) args << "--diplexer-chebyshev";

  // Values as texts that read back exactly; the texts the designs read themselves as they
  // stand in their fields.
  QString unreproducible;
  const auto value = [&](const char* name, double x) {
    if (const auto text = ExactEntryText(x)) {
      args << QString("%1=%2").arg(name, *text);
    } else {
      unreproducible += QString(" %1=%2").arg(name).arg(x, 0, 'g', 17);
    }
  };
  const auto text = [&](const char* name, std::string_view field) {
    args << QString(name) + "=" + QString::fromStdString(session.FieldText(field));
  };
  value("fg", s.fg);
  value("f", s.f);
  value("Zin", s.Zin);
  text("R3", field::R32Eingabe);
  text("fnfp", field::q2Eingabe);
  if (IsActiveTopology(t)) {
    value("Vu", s.Vu);
    // Q and D follow each other: whichever was set last holds the other as 0.5 / itself.
    // Neither, when a PFB band type raised Q to 0.5 and kept D: typing D makes its design
    // raise Q again.
    if (SameBits(s.D, 0.5 / s.Q)) {
      value("Q", s.Q);
    } else {
      value("D", s.D);
    }
  }
  if (t == Topology::Svf3) text("C1", field::C12Eingabe3);
  if (t == Topology::Svf4) text("C1", field::C12Eingabe4);
  if (t == Topology::Fliege) text("C1", field::C12Eingabe5);
  if (t == Topology::LcLadder) {
    value("RL", s.RL);
    value("Welligkeit", s.rippleDb);
  }
  if (!unreproducible.isEmpty()) {
    qInfo("no entry text reproduces%s; compared later", qPrintable(unreproducible));
    return {};
  }
  compared = true;

  QProcess process;
  process.start(cli, args);
  if (!process.waitForFinished(60000)) {
    return "morvane-cli did not finish: " + process.errorString() + " (" +
           args.join(' ').left(600) + ")";
  }
  const QByteArray out = process.readAllStandardOutput();
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    return "morvane-cli " + args.join(' ').left(400) +
           " failed: " + QString::fromUtf8(process.readAllStandardError());
  }
  const QJsonObject root = QJsonDocument::fromJson(out).object();
  const QJsonObject fields = root["fields"].toObject();
  const QJsonObject state = root["state"].toObject();
  if (IsActiveTopology(t) &&
      (!SameBits(state["Q"].toDouble(), s.Q) || !SameBits(state["D"].toDouble(), s.D))) {
    // The Q raised by a PFB band type stays when the page or type changes, with the D typed
    // before: no entry repeats that pair (see the report of this test).
    qInfo("Q=%.17g D=%.17g not reproduced; compared later", s.Q, s.D);
    compared = false;
    return {};
  }
  // Every entry value must come back: the window holds no value that typing cannot give.
  const std::pair<const char*, double> kEntryValues[] = {
      {"fg", s.fg}, {"f", s.f},   {"Zin", s.Zin},
      {"Vu", s.Vu}, {"RL", s.RL}, {"Welligkeit", s.rippleDb}};
  for (const auto& [name, mine] : kEntryValues) {
    const bool typed = args.contains(QString(name) + "=" + ExactEntryText(mine).value_or(""));
    if (typed && !SameBits(state[name].toDouble(), mine)) {
      return QString("%1: the window holds %2, typing it gives %3 (%4)")
          .arg(name)
          .arg(mine, 0, 'g', 17)
          .arg(state[name].toDouble(), 0, 'g', 17)
          .arg(args.join(' ').left(600));
    }
  }
  std::vector<std::string_view> fieldsCompared;
  // A type the page does not design (its button disabled, still checked) shows whatever
  // the state holds from earlier designs, with a beep.
  const bool designed = OffersType(t, in.type);
  if (designed) {
    for (const auto& row : PageResultFields(t)) fieldsCompared.push_back(row.field);
  }
  // Every page's readout and figures are its own, the LC pages' from their circuits.
  for (const auto& row : ReadoutFields()) fieldsCompared.push_back(row.field);
  for (const auto& row : InformationPanelFields()) fieldsCompared.push_back(row.field);
  if (t == Topology::LcLadder) fieldsCompared.push_back(field::NLCAusgabe);
  // A PFB circuit that cannot be built leaves the gain of the last one that could in the
  // state, and the readout and GBWP multiply by it: a history too.
  const bool staleGain =
      !designed || (t == Topology::Pfb && session.FieldText(field::R12Ausgabe) == "not realizable");
  for (std::string_view name : fieldsCompared) {
    if (staleGain &&
        (name == field::VufAusgabe || name == field::VufdBAusgabe || name == field::GBWPAusgabe)) {
      continue;
    }
    if (dChangedByGraph_ && (name == field::trAusgabe || name == field::OSAusgabe)) continue;
    const QString mine = QString::fromStdString(session.FieldText(name));
    const QString tools = fields[Q(name)].toString();
    if (mine != tools) {
      return QString("%1: window %2, morvane-cli %3 (%4)%5")
          .arg(Q(name), Shown(mine), Shown(tools), args.join(' ').left(600),
               StateDifferences(s, root["state"].toObject()));
    }
  }
  if (root["notice"].toString() != QString::fromStdString(session.CurrentNotice())) {
    return QString("notice: window %1, morvane-cli %2 (%3)")
        .arg(Shown(QString::fromStdString(session.CurrentNotice())),
             Shown(root["notice"].toString()), args.join(' ').left(600));
  }
  std::vector<std::string_view> grids;
  if (t == Topology::LcLadder) grids = {field::StringGridAlignPN, field::StringAlignGridLC};
  if (t == Topology::Diplexer) {
    grids = {field::StringAlignGridDiplexTP, field::StringAlignGridDiplexHP};
  }
  for (std::string_view name : grids) {
    const QJsonArray rows = root["grids"].toObject()[Q(name)].toArray();
    const Grid& cells = session.GridCells(name);
    for (std::size_t row = 0; row < cells.size(); ++row) {
      const QJsonArray columns = rows[static_cast<qsizetype>(row)].toArray();
      for (std::size_t column = 0; column < cells[row].size(); ++column) {
        if (QString::fromStdString(cells[row][column]) !=
            columns[static_cast<qsizetype>(column)].toString()) {
          return QString("%1 cell %2,%3 differs from morvane-cli (%4)")
              .arg(Q(name))
              .arg(column)
              .arg(row)
              .arg(args.join(' ').left(600));
        }
      }
    }
  }
  // Its results as text, not only those compared: the entry fields echo what was typed.
  for (auto it = fields.begin(); it != fields.end(); ++it) {
    if (!field::IsEntryField(it.key().toStdString()) && ShowsNanOrInf(it.value().toString())) {
      return "morvane-cli shows " + it.key() + " = " + Shown(it.value().toString());
    }
  }
  for (auto it = state.begin(); it != state.end(); ++it) {
    if (!it.value().isDouble()) return "morvane-cli's state member " + it.key() + " is no number";
  }
  return {};
}

class RandomSessionTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void longRandomSession() {
    const quint64 seed = EnvNumber("MORVANE_RANDOM_SEED", kDefaultSeed);
    const int actions = static_cast<int>(EnvNumber("MORVANE_RANDOM_ACTIONS", kDefaultActions));
    const QString cli = CliPath();
    QVERIFY2(QFileInfo(cli).isExecutable(),
             qPrintable("morvane-cli not found at " + cli + " (set MORVANE_CLI)"));
    qInfo("random session: seed %llu, %d actions (MORVANE_RANDOM_SEED, MORVANE_RANDOM_ACTIONS)",
          seed, actions);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    RandomSession session(seed, folder.path());
    QVERIFY(session.Exposed());
    QVERIFY2(session.Check().isEmpty(), qPrintable(session.Check()));
    QElapsedTimer clock;
    clock.start();
    int cliRuns = 0;
    int skippedCliRuns = 0;
    int cascadeCliRuns = 0;
    bool cliDue = false;
    for (int action = 1; action <= actions; ++action) {
      const QString done = session.Step();
      session.Remember(action, done);
      QString problem = session.Check();
      if (action % kCliEvery == 0 || action == actions) cliDue = true;
      if (problem.isEmpty() && cliDue) {
        bool compared = false;
        problem = session.CompareWithCli(cli, compared);
        // Now and then no text reads as exactly a value: compared after a later action.
        cliDue = !compared;
        cliRuns += compared;
        skippedCliRuns += !compared;
      }
      if (problem.isEmpty() && (action % kCliEvery == kCliEvery / 2 || action == actions)) {
        bool compared = false;
        problem = session.CompareCascadeWithCli(cli, compared);
        cascadeCliRuns += compared;
      }
      if (!problem.isEmpty()) {
        session.CloseEverything();
        QFAIL(qPrintable(session.Failure(seed, action, done, problem)));
      }
    }
    session.CloseEverything();
    qInfo(
        "%d actions, %d comparisons with morvane-cli (%d postponed), %d of the multi-stage "
        "window, %lld ms",
        actions, cliRuns, skippedCliRuns, cascadeCliRuns, static_cast<long long>(clock.elapsed()));
    QVERIFY2(cliRuns >= actions / kCliEvery, "too few comparisons with morvane-cli");
  }

  // Zooming out stops, with a beep, before the ends of a logarithmic axis pass the largest
  // numbers (after some 300 clicks they would): every sample stays finite.
  void graphZoomOutStopsWhereNumbersEnd() {
    SessionServices services;
    MainWindow window(services);
    SecondaryWindows windows(window, services);
    window.Initialize({}, {});
    window.show();
    GraphWindow& graph = windows.Graphs().Window(GraphKind::Gain);
    graph.Open();
    QVERIFY(graph.findChild<QAction*>("xlog1")->isChecked());
    for (int click = 0; click < 320; ++click) {
      QTest::mouseClick(graph.findChild<QToolButton*>("ZoomOutButton"), Qt::LeftButton);
    }
    graph.findChild<QAction*>("Zeichnen1")->trigger();
    QVERIFY(!graph.Picture().isNull());
    const CurveBuffer& buffer = graph.Buffer();
    int nonFinite = 0;
    for (int i = 0; i <= buffer.Count; ++i) {
      const auto at = static_cast<std::size_t>(i);
      nonFinite += !std::isfinite(buffer.X[at]) || !std::isfinite(buffer.Y[at]);
    }
    graph.close();
    QCOMPARE(nonFinite, 0);
    QVERIFY(services.beeps > 0);
  }
};

QTEST_MAIN(RandomSessionTest)
#include "random_session_test.moc"
