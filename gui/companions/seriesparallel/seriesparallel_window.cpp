#include "companions/seriesparallel/seriesparallel_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "app/window_look.h"
#include "graphs/graph_image.h"
#include "graphs/ladder_sketch.h"
#include "graphs/qpainter_canvas.h"
#include "network/element_edit.h"
#include "network/example_ladder.h"
#include "network/network_file.h"
#include "network/network_response.h"
#include "numerics/value_text.h"

namespace morvane::gui {

namespace {

constexpr int kDefaultPoints = 401;
constexpr int kMostPoints = 20000;
const QColor kRefused(255, 200, 200);

const char* const kFileFilter = "Circuit files (*.kdr *.KDR *.ini);;All files (*)";

QString Shown(double x) {
  std::string text = FormatValue(7, 2, x);
  text.erase(0, text.find_first_not_of(' '));
  return QString::fromStdString(text);
}

QString Quantity(double x, std::string_view unit) {
  return QString::fromStdString(FormatQuantity(x, unit));
}

QString Decibels(double db) {
  return QString::fromStdString(FormatFixedTrimmed(2, db)) + " dB";
}

// A value field's number, or nullopt with the message.
std::optional<double> ReadEntry(const QLineEdit* field, const QString& name, bool positive,
                                QString& problem) {
  const std::string text = field->text().trimmed().toStdString();
  const ValueReading reading = ReadValueInDetail(text);
  if (!reading.readable || text.find_first_not_of(" \t", reading.used) != std::string::npos) {
    problem = name + ": \"" + field->text() + "\" is not a number.";
    return std::nullopt;
  }
  if (reading.beyondLimit || !std::isfinite(reading.value)) {
    problem = name + " is too large.";
    return std::nullopt;
  }
  if (positive && !(reading.value > 0.0)) {
    problem = name + " must be above zero.";
    return std::nullopt;
  }
  return reading.value;
}

ElementField FieldOf(int column) {
  switch (column) {
    case SeriesParallelWindow::kLx:
      return ElementField::Lx;
    case SeriesParallelWindow::kRx:
      return ElementField::Rx;
    case SeriesParallelWindow::kCx:
      return ElementField::Cx;
    case SeriesParallelWindow::kSelfResonance:
      return ElementField::SelfResonance;
    case SeriesParallelWindow::kQuality:
      return ElementField::Quality;
    default:
      return ElementField::Value;
  }
}

}  // namespace

SeriesParallelWindow::SeriesParallelWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("SeriesParallelWindow");
  BuildMenus();
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  auto* splitter = new QSplitter(Qt::Vertical, central);
  splitter->addWidget(BuildEntries());
  splitter->addWidget(BuildGraph());
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  layout->addWidget(splitter);
  setCentralWidget(central);
  resize(980, 880);

  network_ = ExampleLadder();
  hasNetwork_ = true;
  ShowNetwork();
  SetDefaultBand();
  // From a decade below the pass band's edge to where the parasitics have undone the stop band.
  from_->setText(Shown(network_.f / 10.0));
  to_->setText(Shown(network_.f * 100.0));
  Recalculate();
}

void SeriesParallelWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  QAction* open = file->addAction("&Open…", this, &SeriesParallelWindow::AskOpen);
  open->setShortcut(QKeySequence::Open);
  open->setObjectName("SeriesParallelOpen");
  QAction* save = file->addAction("&Save", this, [this] {
    if (path_.isEmpty()) {
      AskSaveAs();
    } else {
      SaveFile(path_);
    }
  });
  save->setShortcut(QKeySequence::Save);
  save->setObjectName("SeriesParallelSave");
  QAction* saveAs = file->addAction("Save &As…", this, &SeriesParallelWindow::AskSaveAs);
  saveAs->setObjectName("SeriesParallelSaveAs");
  file->addSeparator();
  QAction* quit = file->addAction("&Quit", this, &QWidget::close);
  quit->setShortcut(QKeySequence::Quit);
}

QWidget* SeriesParallelWindow::BuildEntries() {
  auto* panel = new QWidget(this);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* circuit = new QGroupBox("Circuit", panel);
  auto* circuitForm = new QFormLayout(circuit);
  rg_ = MakeEntryField("SeriesParallelRG", 90, circuit);
  rl_ = MakeEntryField("SeriesParallelRL", 90, circuit);
  f_ = MakeEntryField("SeriesParallelF", 90, circuit);
  SetHint(f_, "The frequency at which the table states each element's Q");
  turnedRound_ = new QCheckBox("Elements listed from the load", circuit);
  turnedRound_->setObjectName("SeriesParallelTurnedRound");
  circuitForm->addRow("R&G (Ω)", rg_);
  circuitForm->addRow("R&L (Ω)", rl_);
  circuitForm->addRow("&f for Q (Hz)", f_);
  circuitForm->addRow(turnedRound_);

  auto* band = new QGroupBox("Frequency range", panel);
  auto* bandForm = new QFormLayout(band);
  from_ = MakeEntryField("SeriesParallelFrom", 90, band);
  to_ = MakeEntryField("SeriesParallelTo", 90, band);
  points_ = new QSpinBox(band);
  points_->setObjectName("SeriesParallelPoints");
  points_->setRange(2, kMostPoints);
  points_->setValue(kDefaultPoints);
  points_->setGroupSeparatorShown(false);
  logarithmic_ = new QCheckBox("Logarithmic", band);
  logarithmic_->setObjectName("SeriesParallelLog");
  logarithmic_->setChecked(true);
  bandForm->addRow("Fr&om (Hz)", from_);
  bandForm->addRow("&To (Hz)", to_);
  bandForm->addRow("&Points", points_);
  bandForm->addRow(logarithmic_);

  summary_ = new QLabel(panel);
  summary_->setObjectName("SeriesParallelSummary");
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  summary_->setWordWrap(true);
  message_ = new QLabel(panel);
  message_->setObjectName("SeriesParallelMessage");
  message_->setWordWrap(true);
  message_->setTextFormat(Qt::PlainText);
  QPalette colours = message_->palette();
  colours.setColor(QPalette::WindowText, Qt::red);
  message_->setPalette(colours);
  auto* side = new QVBoxLayout;
  side->addWidget(summary_);
  side->addWidget(message_);
  side->addStretch(1);

  auto* top = new QHBoxLayout;
  top->addWidget(circuit);
  top->addWidget(band);
  top->addLayout(side, 1);
  layout->addLayout(top);

  sketch_ = new GraphImage(panel);
  sketch_->setObjectName("SeriesParallelSketch");
  sketch_->setFixedHeight(120);
  layout->addWidget(sketch_);
  connect(sketch_, &GraphImage::resized, this, [this] { DrawSketch(); });

  table_ = new QTableWidget(0, kColumns, panel);
  table_->setObjectName("SeriesParallelElements");
  table_->setHorizontalHeaderLabels({"Element", "Arrangement", "Value", "Lx (H)", "Rx (Ω)",
                                     "Cx (F)", "Self-resonance (Hz)", "Q at f"});
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->setToolTip(
      "A capacitor is Lx, Rx and Cx in series; an inductor is Lx in series with Rx, with Cx "
      "across both. Setting the self-resonance sets Cx of an inductor or Lx of a capacitor; "
      "setting Q sets Rx. \"–\" clears them.");
  layout->addWidget(table_);

  for (QLineEdit* field : {rg_, rl_, f_}) {
    connect(field, &QLineEdit::textEdited, this, &SeriesParallelWindow::TerminationEdited);
  }
  connect(turnedRound_, &QCheckBox::toggled, this, [this](bool on) {
    if (filling_) return;
    network_.turnedRound = on;
    modified_ = true;
    UpdateTitle();
    Recalculate();
  });
  for (QLineEdit* field : {from_, to_}) {
    connect(field, &QLineEdit::textEdited, this, &SeriesParallelWindow::Recalculate);
  }
  connect(points_, &QSpinBox::valueChanged, this, &SeriesParallelWindow::Recalculate);
  connect(logarithmic_, &QCheckBox::toggled, this, &SeriesParallelWindow::Recalculate);
  connect(table_, &QTableWidget::itemChanged, this, &SeriesParallelWindow::CellEdited);
  return panel;
}

QWidget* SeriesParallelWindow::BuildGraph() {
  auto* panel = new QWidget(this);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  quantity_ = new QComboBox(panel);
  quantity_->setObjectName("SeriesParallelQuantity");
  quantity_->addItems({"Gain", "Phase", "Group delay", "Input impedance", "Return loss"});
  auto* row = new QHBoxLayout;
  auto* label = new QLabel("&Show", panel);
  label->setBuddy(quantity_);
  row->addWidget(label);
  row->addWidget(quantity_);
  row->addStretch(1);
  layout->addLayout(row);
  image_ = new GraphImage(panel);
  image_->setObjectName("SeriesParallelGraph");
  image_->setMinimumSize(400, 260);
  layout->addWidget(image_, 1);
  connect(image_, &GraphImage::resized, this, [this] { Draw(); });
  connect(quantity_, &QComboBox::currentIndexChanged, this, [this] { Draw(); });
  return panel;
}

QString SeriesParallelWindow::Message() const {
  return message_->text();
}

void SeriesParallelWindow::ShowNetwork() {
  filling_ = true;
  rg_->setText(hasNetwork_ ? Shown(network_.rg) : QString());
  rl_->setText(hasNetwork_ ? Shown(network_.rl) : QString());
  f_->setText(hasNetwork_ ? Shown(network_.f) : QString());
  turnedRound_->setChecked(hasNetwork_ && network_.turnedRound);
  const int rows = hasNetwork_ ? static_cast<int>(network_.elements.size()) : 0;
  table_->setRowCount(rows);
  for (int row = 0; row < rows; ++row) FillRow(row);
  for (QWidget* w : std::initializer_list<QWidget*>{rg_, rl_, f_, turnedRound_, table_}) {
    w->setEnabled(hasNetwork_);
  }
  filling_ = false;
  UpdateTitle();
}

void SeriesParallelWindow::FillRow(int row) {
  const bool wasFilling = filling_;
  filling_ = true;
  const NetworkElement& e = network_.elements[static_cast<std::size_t>(row)];
  const auto text = [&](ElementField field) {
    return QString::fromStdString(ElementFieldText(e, field, network_.f));
  };
  const QString cells[kColumns] = {
      QString::fromStdString(ElementName(network_, static_cast<std::size_t>(row))) +
          (e.kind == ElementKind::Inductor ? "  inductor" : "  capacitor"),
      e.shunt ? "shunt" : "series",
      text(ElementField::Value),
      text(ElementField::Lx),
      text(ElementField::Rx),
      text(ElementField::Cx),
      text(ElementField::SelfResonance),
      text(ElementField::Quality)};
  for (int column = 0; column < kColumns; ++column) {
    auto* item = new QTableWidgetItem(cells[column]);
    if (column >= kValue) {
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      item->setBackground(kLightYellow);
    } else {
      item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    }
    table_->setItem(row, column, item);
  }
  filling_ = wasFilling;
}

void SeriesParallelWindow::CellEdited(QTableWidgetItem* item) {
  if (filling_ || !hasNetwork_) return;
  const int row = item->row();
  const int column = item->column();
  if (row < 0 || row >= static_cast<int>(network_.elements.size()) || column < kValue) return;
  NetworkElement& e = network_.elements[static_cast<std::size_t>(row)];
  const std::string problem =
      EditElement(e, FieldOf(column), item->text().toStdString(), network_.f);
  if (!problem.empty()) {
    filling_ = true;
    item->setBackground(kRefused);
    filling_ = false;
    entryMessage_ = QString::fromStdString(ElementName(network_, static_cast<std::size_t>(row))) +
                    ", " + table_->horizontalHeaderItem(column)->text() + ": " +
                    QString::fromStdString(problem);
    SetMessage(entryMessage_);
    return;
  }
  entryMessage_.clear();
  for (int r = 0; r < table_->rowCount(); ++r) FillRow(r);
  modified_ = true;
  UpdateTitle();
  Recalculate();
}

void SeriesParallelWindow::TerminationEdited() {
  if (filling_ || !hasNetwork_) return;
  QString problem;
  const auto rg = ReadEntry(rg_, "RG", true, problem);
  const auto rl = rg ? ReadEntry(rl_, "RL", true, problem) : std::nullopt;
  const auto f = rl ? ReadEntry(f_, "f", true, problem) : std::nullopt;
  entryMessage_ = problem;
  if (f) {
    network_.rg = *rg;
    network_.rl = *rl;
    if (network_.f != *f) {
      network_.f = *f;
      for (int row = 0; row < table_->rowCount(); ++row) FillRow(row);
    }
    modified_ = true;
    UpdateTitle();
  }
  Recalculate();
}

void SeriesParallelWindow::SetDefaultBand() {
  from_->setText(Shown(network_.f / 100.0));
  to_->setText(Shown(network_.f * 100.0));
}

void SeriesParallelWindow::Recalculate() {
  curves_ = {};
  curves_.logarithmic = logarithmic_->isChecked();
  // A refused entry leaves the ladder as it was: its curves stay, the message says why.
  QString problem = fileMessage_;
  if (!hasNetwork_ && problem.isEmpty()) problem = "No circuit: open a circuit file.";
  std::optional<double> from, to;
  if (problem.isEmpty()) {
    from = ReadEntry(from_, "From", true, problem);
    to = from ? ReadEntry(to_, "To", true, problem) : std::nullopt;
    if (to && !(*to > *from)) problem = "To must lie above From.";
  }
  if (problem.isEmpty()) problem = QString::fromStdString(NetworkProblem(network_));
  if (problem.isEmpty()) {
    const std::vector<double> f =
        SweepFrequencies(*from, *to, points_->value(), logarithmic_->isChecked());
    curves_.real = AnalyseNetwork(network_, f);
    curves_.ideal = AnalyseNetwork(IdealNetwork(network_), f);
    const NetworkPoint at = AnalyseNetwork(network_, network_.f);
    const NetworkPoint ideal = AnalyseNetwork(IdealNetwork(network_), network_.f);
    summary_->setText("At f = " + Quantity(network_.f, "Hz") + ":  gain " + Decibels(at.gainDb) +
                      " (ideal " + Decibels(ideal.gainDb) + "),  |Zin| " +
                      Quantity(at.inputOhms, "Ω") + " at " +
                      QString::fromStdString(FormatFixedTrimmed(1, at.inputPhaseDegrees)) +
                      "°,  return loss " + Decibels(at.returnLossDb));
  } else {
    curves_.problem = problem.toStdString();
    summary_->clear();
  }
  SetMessage(entryMessage_.isEmpty() ? problem : entryMessage_);
  DrawSketch();
  Draw();
}

void SeriesParallelWindow::DrawSketch() {
  sketch_->FitBitmap();
  if (hasNetwork_) {
    render::QPainterCanvas canvas(sketch_->Bitmap());
    DrawLadderSketch(network_, canvas);
  }
  sketch_->update();
}

void SeriesParallelWindow::Draw() {
  image_->FitBitmap();
  {
    render::QPainterCanvas canvas(image_->Bitmap());
    DrawNetworkPicture(curves_, static_cast<NetworkQuantity>(quantity_->currentIndex()), axes_,
                       canvas);
  }
  image_->update();
}

void SeriesParallelWindow::SetMessage(const QString& text) {
  message_->setText(text);
  message_->setVisible(!text.isEmpty());
}

void SeriesParallelWindow::UpdateTitle() {
  const QString name = path_.isEmpty() ? QString("Example ladder") : QFileInfo(path_).fileName();
  setWindowTitle(name + (modified_ ? "*" : ""));
}

bool SeriesParallelWindow::OpenFile(const QString& path) {
  LadderNetwork network;
  std::string error;
  path_ = path;
  modified_ = false;
  entryMessage_.clear();
  if (LoadNetworkFile(path.toStdString(), network, error)) {
    network_ = network;
    hasNetwork_ = true;
    fileMessage_.clear();
  } else {
    network_ = {};
    hasNetwork_ = false;
    fileMessage_ = QString::fromStdString(error);
  }
  ShowNetwork();
  if (hasNetwork_) SetDefaultBand();
  Recalculate();
  return hasNetwork_;
}

bool SeriesParallelWindow::SaveFile(const QString& path) {
  if (!hasNetwork_) {
    SetMessage("There is no circuit to save: " + fileMessage_);
    return false;
  }
  std::string error;
  if (!SaveNetworkFile(path.toStdString(), network_, error)) {
    SetMessage("The circuit was not saved: " + QString::fromStdString(error));
    return false;
  }
  path_ = path;
  modified_ = false;
  UpdateTitle();
  return true;
}

void SeriesParallelWindow::AskOpen() {
  if (!MaySetAside()) return;
  const QString path =
      QFileDialog::getOpenFileName(this, "Open Circuit", QFileInfo(path_).path(), kFileFilter);
  if (!path.isEmpty()) OpenFile(path);
}

bool SeriesParallelWindow::AskSaveAs() {
  if (!hasNetwork_) return SaveFile(QString());
  const QString path = QFileDialog::getSaveFileName(
      this, "Save Circuit", path_.isEmpty() ? QString("circuit.kdr") : path_, kFileFilter);
  return !path.isEmpty() && SaveFile(path);
}

bool SeriesParallelWindow::MaySetAside() {
  if (!modified_ || !hasNetwork_) return true;
  const auto answer = QMessageBox::question(
      this, windowTitle(), "Save the changed circuit?",
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Discard) return true;
  if (answer != QMessageBox::Save) return false;
  return path_.isEmpty() ? AskSaveAs() : SaveFile(path_);
}

void SeriesParallelWindow::closeEvent(QCloseEvent* event) {
  if (MaySetAside()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace morvane::gui
