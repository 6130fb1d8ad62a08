#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStringList>
#include <QStyle>
#include <QTabBar>
#include <QTimer>

#include "app/client_area.h"
#include "app/design_file_io.h"
#include "app/filter_type_panel.h"
#include "app/input_panels.h"
#include "app/lc_pages.h"
#include "app/platform_services.h"
#include "app/speed_bar.h"
#include "app/stage_pages.h"
#include "app/status_notice.h"
#include "app/timed_notice.h"
#include "app/window_look.h"
#include "design/field_names.h"
#include "design/page_fields.h"
#include "ui/aligned_grid.h"
#include "ui/glyphs.h"

namespace morvane::gui {

namespace {

constexpr int kStatusBarHeight = 22;
constexpr int kTextPixelSize = 11;
// While a mouse button is held (a spin or scroll button repeating) a message waits.
constexpr int kMessageRetryMs = 100;

constexpr Topology kTopologies[] = {Topology::Mfb,     Topology::Pfb,    Topology::Svf3,
                                    Topology::Svf4,    Topology::Fliege, Topology::LcLadder,
                                    Topology::Diplexer};

QPushButton* MakeLargeButton(const char* name, const QString& caption, const QString& hint,
                             QStyle::StandardPixmap icon, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setIcon(parent->style()->standardIcon(icon));
  SetHint(button, hint);
  return button;
}

}  // namespace

MainWindow::MainWindow(PlatformServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
  setObjectName("TSDIAppForm");
  setWindowTitle("Morvane");
  setWindowIcon(ProgramIcon());
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kSilver);
  // The default grey of disabled captions vanishes on silver.
  for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    colours.setColor(QPalette::Disabled, role, kDisabledText);
  }
  setPalette(colours);
  QFont text = font();
  text.setPixelSize(kTextPixelSize);  // the regions are laid out in pixels: so is the text
  setFont(text);

  menus_ = BuildMainMenu(this);
  BuildRegions();
  BuildStatusBar();
  // Opens at the designed size, and gets no smaller; larger sizes give the circuit room.
  const QSize designed(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height());
  setMinimumSize(designed);
  resize(designed);

  for (auto name : field::EntryFields()) fields_.emplace(name, Find<QLineEdit>(name));
  for (auto name : field::ResultFields()) fields_.emplace(name, Find<QLineEdit>(name));
  for (auto name : field::Grids()) grids_.emplace(name, Find<AlignedGrid>(name));

  ConnectSession();
  ConnectEntries();
  ConnectSpinButtons();
  ConnectCommands();
  ConnectSelection();
  ConnectPageControls();
  ConnectWindowCommands();
  ConnectFileCommands();
  ConnectOutputCommands();
  ConnectPrograms();
  MirrorSession();
  ShowTopology(session_.State().topology);
  ShowFilterType(session_.Type());
  ShowSeriesChecks();
}

MainWindow::~MainWindow() {
  // The session outlives no widget: stop it from writing into them while they go.
  session_.onFieldWritten = nullptr;
  session_.onCellWritten = nullptr;
  session_.onBeep = nullptr;
  session_.onMessage = nullptr;
  session_.onNotice = nullptr;
  session_.onComponentWarnings = nullptr;
}

void MainWindow::BuildRegions() {
  auto* client = new ClientArea(this);
  setCentralWidget(client);
  ClientArea::Regions regions;
  regions.speedBar = MakeSpeedBar(client);
  regions.input = MakeInputGroup(client);
  regions.information = MakeInformationPanel(client);
  regions.frequencyResponse = MakeFrequencyResponsePanel(client);

  auto* notebook = new QStackedWidget(client);
  notebook->setObjectName("Notebook1");
  notebook->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* tabs = new QTabBar(client);
  tabs->setObjectName("TabSet1");
  tabs->setShape(QTabBar::RoundedSouth);
  tabs->setDrawBase(false);
  tabs->setExpanding(false);
  tabs->setUsesScrollButtons(false);
  for (Topology t : kTopologies) {
    notebook->addWidget(t == Topology::LcLadder   ? MakeLadderPage(notebook)
                        : t == Topology::Diplexer ? MakeDiplexerPage(notebook)
                                                  : MakeStagePage(t, notebook));
    tabs->addTab(Text(TopologyCaption(t)));
  }
  regions.notebook = notebook;
  regions.tabs = tabs;

  regions.filterTypes = MakeFilterTypePanel(client);
  regions.buttons = {
      MakeLargeButton("OK", "OK", "Make calculations", QStyle::SP_DialogOkButton, client),
      MakeLargeButton("Abbruch", "Exit", "Exit program", QStyle::SP_DialogCancelButton, client),
      // Alt+H is the Help menu's.
      MakeLargeButton("Hilfe", "He&lp", "Help for program usage", QStyle::SP_DialogHelpButton,
                      client)};
  client->SetRegions(regions);
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar1");
  bar->setFixedHeight(kStatusBarHeight);
  bar->setSizeGripEnabled(false);
  programNotice_ = new TimedNotice(bar);
  programNotice_->setObjectName("ProgramNotice");
  bar->addPermanentWidget(programNotice_);
  connect(programNotice_, &TimedNotice::shownOrHidden, this, &MainWindow::ShareStatusBar);
  notice_ = new StatusNotice(bar);
  notice_->setObjectName("NoticeLabel");
  QPalette colours = notice_->palette();
  colours.setColor(QPalette::WindowText, kMaroon);
  notice_->setPalette(colours);
  notice_->hide();
  bar->addPermanentWidget(notice_);
}

void MainWindow::Initialize(const QString& firstArgument, const QString& designFile) {
  designFile_ = designFile;
  std::string error;
  const bool opened =
      session_.Start(firstArgument.toStdString(), LocalFileName(designFile), &error);
  ShowTopology(session_.State().topology);
  ShowFilterType(session_.Type());
  // Asking the print system for its default printer can take longer than the whole start;
  // the hint follows as soon as the window is up.
  QTimer::singleShot(0, this, &MainWindow::RenewPrintHint);
  // Reported once the window shows, so the user knows the file's design did not come back.
  if (!opened) QueueMessage(error + KeepUnreadableFile());
}

// The design file exists but cannot be read: kept aside under a new name, so the close writes
// a fresh file; one that cannot be moved is never written over.
std::string MainWindow::KeepUnreadableFile() {
  const KeptDesignFile kept = KeepUnreadableDesignFile(designFile_, QDateTime::currentDateTime());
  if (!kept.problem.isEmpty()) designFile_.clear();
  const QString note = KeptDesignFileNote(kept);
  return note.isEmpty() ? std::string() : "\n\n" + note.toStdString();
}

void MainWindow::MakeCalculations() {
  session_.MakeCalculations();
}

void MainWindow::Undo() {
  // The focus stays on the entry while the menu is open, so the menu item reaches it too.
  auto* edit = qobject_cast<QLineEdit*>(focusWidget());
  if (edit && !edit->isReadOnly()) edit->undo();  // emits textEdited: handled as typing
}

void MainWindow::closeEvent(QCloseEvent* event) {
  QString error;
  if (!designFile_.isEmpty() && !SaveDesignFile(session_, designFile_, error)) {
    services_.ShowMessage(this, error + "\n\nThe program closes without saving the design.");
  }
  event->accept();
}

void MainWindow::ShowField(std::string_view field, const std::string& text) {
  auto it = fields_.find(field);
  if (it == fields_.end()) return;
  const QSignalBlocker block(it->second);
  it->second->setText(QString::fromStdString(text));
}

void MainWindow::ShowCell(std::string_view grid, int column, int row, const std::string& text) {
  auto it = grids_.find(grid);
  if (it != grids_.end()) it->second->SetCell(column, row, QString::fromStdString(text));
}

void MainWindow::ShowNotice(const std::string& text) {
  notice_->SetNotice(QString::fromStdString(text));
  ShareStatusBar();
}

void MainWindow::ShareStatusBar() {
  const NoticeWidths widths =
      NoticeRoom(statusBar()->width(), !programNotice_->isHidden(), !notice_->isHidden());
  programNotice_->setMaximumWidth(widths.program);
  notice_->setMaximumWidth(widths.design);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ShareStatusBar();
}

void MainWindow::QueueMessage(const std::string& text) {
  if (!pendingMessages_.empty() && pendingMessages_.back() == text) return;
  pendingMessages_.push_back(text);
  // Shown after the handler that raised it has returned: no modal loop runs inside the
  // session's recalculation.
  if (pendingMessages_.size() == 1) QTimer::singleShot(0, this, &MainWindow::ShowPendingMessages);
}

void MainWindow::ShowPendingMessages() {
  if (pendingMessages_.empty() || !isVisible()) return;  // showEvent comes back here
  if (QApplication::mouseButtons() != Qt::NoButton) {
    QTimer::singleShot(kMessageRetryMs, this, &MainWindow::ShowPendingMessages);
    return;
  }
  const std::vector<std::string> messages = std::move(pendingMessages_);
  pendingMessages_.clear();
  for (const std::string& m : messages) services_.ShowMessage(this, QString::fromStdString(m));
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!pendingMessages_.empty()) QTimer::singleShot(0, this, &MainWindow::ShowPendingMessages);
}

void MainWindow::MirrorSession() {
  for (const auto& [name, edit] : fields_) {
    const QSignalBlocker block(edit);
    edit->setText(QString::fromStdString(session_.FieldText(name)));
  }
  for (const auto& [name, grid] : grids_) {
    const Grid& cells = session_.GridCells(name);
    for (std::size_t row = 0; row < cells.size(); ++row) {
      for (std::size_t column = 0; column < cells[row].size(); ++column) {
        grid->SetCell(static_cast<int>(column), static_cast<int>(row),
                      QString::fromStdString(cells[row][column]));
      }
    }
  }
}

void MainWindow::ShowAsBuilt() {
  for (auto* line : findChildren<QLabel*>(QRegularExpression("^Characterisation\\d$"))) {
    const QString own = line->property(kCharacterisationProperty).toString();
    const auto& asBuilt = session_.AsBuilt();
    const bool shown = asBuilt && line->objectName().endsWith(
                                      QString::number(static_cast<int>(session_.State().topology)));
    line->setText(shown ? QString::fromStdString(AsBuiltLine(*asBuilt)) : own);
    line->setToolTip(shown ? own : QString());
  }
  const auto& real = session_.RealAmplifier();
  const QString active = QString::number(static_cast<int>(session_.State().topology));
  for (auto* line : findChildren<QLabel*>(QRegularExpression("^RealAmplifier\\d$"))) {
    const bool shown = real && line->objectName().endsWith(active);
    line->setText(shown ? RealAmplifierLines(false).join('\n') : QString());
    line->setToolTip(shown ? RealAmplifierLines(true).join('\n') : QString());
    line->setVisible(shown);
  }
}

QStringList MainWindow::RealAmplifierLines(bool whole) const {
  QStringList lines{QString::fromStdString(RealAmplifierLine(*session_.RealAmplifier()))};
  // A design that cannot be pre-distorted says so in a notice of its own.
  const auto& p = session_.PredistortionOutcome();
  if (whole && p && p->Achieved() && session_.Choices().opAmp) {
    lines << QString::fromStdString(PredistortionLine(*p, *session_.Choices().opAmp, false));
  }
  if (const auto& large = session_.LargeSignal()) {
    if (const std::string line = LargeSignalLine(*large); !line.empty()) {
      lines << QString::fromStdString(line);
    }
    for (const std::string& warning : large->headroom.warnings) {
      lines << QString::fromStdString(warning) + ".";
    }
  }
  return lines;
}

void MainWindow::SetStayInFront(bool on) {
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (visible) show();  // changing the flags hides the window
}

}  // namespace morvane::gui
