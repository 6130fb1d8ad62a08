// Wiring of the main window's controls to the session's handlers.

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>
#include <array>

#include "app/entry_stepping.h"
#include "app/main_window.h"
#include "app/platform_services.h"
#include "app/window_look.h"
#include "design/field_names.h"
#include "design/selection_rules.h"
#include "opamp/opamp_choice.h"
#include "ui/aligned_grid.h"
#include "ui/spin_button.h"

namespace morvane::gui {

namespace {

struct WindowCommand {
  std::string_view control;  // a button or a menu item
  SecondaryWindow window;
};

constexpr std::array kWindowCommands{
    WindowCommand{"SweepButton", SecondaryWindow::SweepFactor},
    WindowCommand{"SweepFaktor1", SecondaryWindow::SweepFactor},
    WindowCommand{"InfoBtn", SecondaryWindow::TopologyProposal},
    WindowCommand{"Schaltungsvorschlag1", SecondaryWindow::TopologyProposal},
    WindowCommand{"VdbBtn", SecondaryWindow::GainGraph},
    WindowCommand{"PhiBtn", SecondaryWindow::PhaseGraph},
    WindowCommand{"tgrBtn", SecondaryWindow::GroupDelayGraph},
    WindowCommand{"htBtn", SecondaryWindow::TimeResponseGraph},
    WindowCommand{"BitBtnOrd", SecondaryWindow::FilterOrder},
    WindowCommand{"Filterordnungberechnen1", SecondaryWindow::FilterOrder},
    WindowCommand{"Hilfe", SecondaryWindow::Help},
    WindowCommand{"Hilfe1", SecondaryWindow::Help},
    WindowCommand{"About1", SecondaryWindow::About},
};

// Every field and element cell marked as the warnings say: amber with the message where a
// component cannot be bought, its own look everywhere else.
void MarkUnbuildableComponents(const std::vector<ComponentWarning>& warnings,
                               const std::map<std::string, QLineEdit*, std::less<>>& fields,
                               const std::map<std::string, AlignedGrid*, std::less<>>& grids) {
  const auto messageFor = [&warnings](std::string_view field, int row) {
    for (const ComponentWarning& w : warnings) {
      if (w.field == field && w.row == row) return Text(w.message);
    }
    return QString();
  };
  for (const auto& [name, edit] : fields) MarkUnbuildable(edit, messageFor(name, 0));
  // The element grids show each value in column 1.
  for (const auto& [name, grid] : grids) {
    for (int row = 1; row < grid->rowCount(); ++row) {
      if (QTableWidgetItem* cell = grid->item(row, 1)) MarkUnbuildable(cell, messageFor(name, row));
    }
  }
}

}  // namespace

void MainWindow::ConnectSession() {
  session_.onFieldWritten = [this](std::string_view field, const std::string& text) {
    ShowField(field, text);
  };
  session_.onCellWritten = [this](std::string_view grid, int column, int row,
                                  const std::string& text) { ShowCell(grid, column, row, text); };
  session_.onBeep = [this] { services_.Beep(); };
  session_.onMessage = [this](const std::string& text) { QueueMessage(text); };
  session_.onNotice = [this](const std::string& text) { ShowNotice(text); };
  session_.onComponentWarnings = [this](const std::vector<ComponentWarning>& warnings) {
    MarkUnbuildableComponents(warnings, fields_, grids_);
  };
  session_.onRecalculated = [this] {
    ShowAsBuilt();
    emit recalculated();
  };
}

void MainWindow::ConnectEntries() {
  for (auto name : field::EntryFields()) {
    // textEdited: the user's own edits (and Undo), never the program's writes.
    connect(fields_.find(name)->second, &QLineEdit::textEdited, this,
            [this, name](const QString& text) {
              session_.TypeEntry(name, text.toStdString());
              emit entryTyped(Text(name), text);
            });
  }
}

void MainWindow::ConnectSpinButtons() {
  for (SpinButton* spin : findChildren<SpinButton*>()) {
    const std::string name = spin->objectName().toStdString();
    connect(spin, &SpinButton::up, this, [this, name] { session_.Spin(name, SpinDirection::Up); });
    connect(spin, &SpinButton::down, this,
            [this, name] { session_.Spin(name, SpinDirection::Down); });
    const QString entry = spin->property(kSteppedEntryProperty).toString();
    if (entry.isEmpty()) continue;
    StepWithKeysAndWheel(Find<QLineEdit>(entry.toStdString()), [this, name](bool up) {
      session_.Spin(name, up ? SpinDirection::Up : SpinDirection::Down);
    });
  }
}

void MainWindow::ConnectCommands() {
  connect(Find<QToolButton>("RechenButton"), &QToolButton::clicked, this,
          &MainWindow::MakeCalculations);
  connect(Find<QToolButton>("ExitBtn"), &QToolButton::clicked, this, &MainWindow::close);
  connect(Find<QPushButton>("OK"), &QPushButton::clicked, this, &MainWindow::MakeCalculations);
  connect(Find<QPushButton>("Abbruch"), &QPushButton::clicked, this, &MainWindow::close);
  connect(Find<QAction>("Rechnen1"), &QAction::triggered, this, &MainWindow::MakeCalculations);
  connect(Find<QAction>("ExitItem"), &QAction::triggered, this, &MainWindow::close);
  connect(Find<QAction>("Undo1"), &QAction::triggered, this, &MainWindow::Undo);
  QAction* rounding = Find<QAction>("RoundResistors1");
  rounding->setCheckable(true);
  connect(rounding, &QAction::toggled, this, [this](bool on) { session_.SetResistorRounding(on); });
  auto* opAmps = new OpAmpChoice(
      [this](std::optional<OpAmpModel> model) {
        session_.SelectOpAmp(std::move(model));
        emit opAmpChosen();
      },
      [this](const QString& text) { ShowStatus(text); }, this);
  connect(Find<QAction>("OpAmp1"), &QAction::triggered, opAmps, &OpAmpChoice::Offer);
  QAction* predistort = Find<QAction>("Predistort1");
  predistort->setCheckable(true);
  connect(predistort, &QAction::toggled, this, [this](bool on) { session_.SetPredistortion(on); });
  QAction* inFront = Find<QAction>("ImVordergrundbleiben1");
  inFront->setCheckable(true);
  connect(inFront, &QAction::toggled, this, &MainWindow::SetStayInFront);
}

void MainWindow::ConnectSelection() {
  connect(Find<QTabBar>("TabSet1"), &QTabBar::currentChanged, this,
          [this](int index) { SelectTopology(static_cast<Topology>(index + 1)); });
  connect(menus_.topology, &QActionGroup::triggered, this, [this](QAction* action) {
    SelectTopology(static_cast<Topology>(action->data().toInt()));
  });
  connect(Find<QButtonGroup>("FilterTypeButtons"), &QButtonGroup::idClicked, this,
          [this](int id) { SelectFilterType(static_cast<FilterType>(id)); });
  connect(menus_.filterType, &QActionGroup::triggered, this, [this](QAction* action) {
    SelectFilterType(static_cast<FilterType>(action->data().toInt()));
  });
  connect(menus_.resistorSeries, &QActionGroup::triggered, this,
          [this](QAction* action) { SelectResistorSeries(action->data().toInt()); });
  connect(menus_.capacitorSeries, &QActionGroup::triggered, this,
          [this](QAction* action) { SelectCapacitorSeries(action->data().toInt()); });
}

void MainWindow::ConnectPageControls() {
  const DesignChoices& inputs = session_.Choices();
  for (const field::CheckBox& c : field::CheckBoxes()) {
    QCheckBox* box = Find<QCheckBox>(c.name);
    box->setChecked(inputs.*c.option);
    connect(box, &QCheckBox::clicked, this,
            [this, name = c.name](bool checked) { session_.SetCheckBox(name, checked); });
  }

  QScrollBar* order = Find<QScrollBar>("ScrollBar1");
  {
    const QSignalBlocker block(order);
    order->setValue(session_.State().LCOrder);
  }
  connect(order, &QScrollBar::valueChanged, this,
          [this](int value) { session_.SetLadderOrder(value); });

  auto* ladder = Find<QButtonGroup>("LadderApproximationButtons");
  ladder->button(inputs.ladderChebyshev ? 1 : 0)->setChecked(true);
  connect(ladder, &QButtonGroup::idClicked, this, [this](int id) {
    session_.SetLadderApproximation(id == 1);
    ShowInputRows(session_.State().topology);
    Find<QLabel>("LabelVu")->setText(
        QString::fromUtf8(kRippleCaptionAfterSwitch.data(),
                          static_cast<qsizetype>(kRippleCaptionAfterSwitch.size())));
  });

  auto* diplexer = Find<QButtonGroup>("DiplexerApproximationButtons");
  diplexer->button(inputs.diplexerChebyshev ? 1 : 0)->setChecked(true);
  connect(diplexer, &QButtonGroup::idClicked, this,
          [this](int id) { session_.SetDiplexerApproximation(id == 1); });

  auto* diplexerOrder = Find<QButtonGroup>("DiplexerOrderButtons");
  if (QAbstractButton* checked = diplexerOrder->button(inputs.diplexerOrder)) {
    checked->setChecked(true);
  }
  connect(diplexerOrder, &QButtonGroup::idClicked, this,
          [this](int n) { session_.SetDiplexerOrder(n); });
}

void MainWindow::ConnectWindowCommands() {
  for (const WindowCommand& c : kWindowCommands) {
    auto open = [this, window = c.window] { emit windowRequested(window); };
    if (auto* action = findChild<QAction*>(Text(c.control))) {
      connect(action, &QAction::triggered, this, open);
    } else {
      connect(Find<QAbstractButton>(c.control), &QAbstractButton::clicked, this, open);
    }
  }
}

}  // namespace morvane::gui
