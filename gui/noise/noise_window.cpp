#include "noise/noise_window.h"

#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/platform_services.h"
#include "app/whole_file_writes.h"
#include "app/window_look.h"
#include "graphs/graph_image.h"
#include "graphs/noise_picture.h"
#include "graphs/qpainter_canvas.h"
#include "graphs/svg_canvas.h"
#include "numerics/number_text.h"
#include "numerics/value_text.h"
#include "opamp/opamp_model.h"

namespace morvane::gui {

namespace {

constexpr int kDefaultPoints = 400;
constexpr int kMostPoints = 100000;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

QString BandText(double hz) {
  std::string text = FormatValue(7, 2, hz);
  text.erase(0, text.find_first_not_of(' '));
  return Text(text);
}

// A field's value as the entry fields read it; the message when it is no number.
std::optional<double> ReadField(const QLineEdit* field, const QString& name, QString& problem) {
  const std::string text = field->text().trimmed().toStdString();
  const ValueReading reading = ReadValueInDetail(text);
  if (!reading.readable) {
    problem = name + ": \"" + field->text() + "\" is not a number.";
    return std::nullopt;
  }
  if (reading.beyondLimit) {
    problem = name + " is too large.";
    return std::nullopt;
  }
  return reading.value;
}

QString PercentText(double percent) {
  return Text(FormatFixedTrimmed(1, percent) + " %");
}

QTableWidget* ShareTable(const QString& name, QWidget* parent) {
  auto* table = new QTableWidget(0, 3, parent);
  table->setObjectName(name);
  table->setHorizontalHeaderLabels({"Source", "RMS", "Share"});
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  return table;
}

}  // namespace

NoiseWindow::NoiseWindow(Subject subject, PlatformServices& platform, GraphOutputServices* output,
                         QWidget* parent)
    : QDialog(parent),
      subject_(std::move(subject)),
      platform_(platform),
      ownOutput_(output ? nullptr : std::make_unique<DesktopGraphOutput>()),
      output_(output ? *output : *ownOutput_) {
  setObjectName("NoiseWindow");
  setWindowTitle("Noise");
  setSizeGripEnabled(true);
  BuildControls();
  resize(920, 560);
}

NoiseWindow::~NoiseWindow() = default;

void NoiseWindow::BuildControls() {
  auto* form = new QFormLayout;
  from_ = new QLineEdit(this);
  from_->setObjectName("NoiseFrom");
  to_ = new QLineEdit(this);
  to_->setObjectName("NoiseTo");
  points_ = new QSpinBox(this);
  points_->setObjectName("NoisePoints");
  points_->setRange(2, kMostPoints);
  points_->setValue(kDefaultPoints);
  points_->setGroupSeparatorShown(false);
  celsius_ = new QLineEdit("25", this);
  celsius_->setObjectName("NoiseCelsius");
  opAmp_ = new QComboBox(this);
  opAmp_->setObjectName("NoiseOpAmp");
  opAmp_->addItem("As the design");
  for (const OpAmpModel& model : BuiltInOpAmps()) opAmp_->addItem(Text(model.name));
  opAmp_->setToolTip(
      "The amplifier whose voltage and current noise count; ideal: the resistors "
      "alone");
  auto* filterBand = new QPushButton("&Filter's Band", this);
  filterBand->setObjectName("NoiseFilterBand");
  filterBand->setToolTip("A decade below to a decade above the filter's frequencies");
  auto* fromRow = new QHBoxLayout;
  fromRow->addWidget(from_, 1);
  fromRow->addWidget(filterBand);
  auto* fromLabel = new QLabel("F&rom (Hz)", this);
  fromLabel->setBuddy(from_);
  form->addRow(fromLabel, fromRow);
  form->addRow("&To (Hz)", to_);
  form->addRow("&Points", points_);
  form->addRow("T&emperature (°C)", celsius_);
  form->addRow("&Op amp", opAmp_);

  messageLine_ = new QLabel(this);
  messageLine_->setObjectName("NoiseMessage");
  messageLine_->setWordWrap(true);
  messageLine_->setTextFormat(Qt::PlainText);
  QPalette colours = messageLine_->palette();
  colours.setColor(QPalette::WindowText, kMaroon);
  messageLine_->setPalette(colours);

  auto* left = new QVBoxLayout;
  left->addLayout(form);
  left->addWidget(messageLine_);
  left->addWidget(BuildResults(), 1);
  auto* whole = new QHBoxLayout(this);
  whole->addLayout(left, 2);
  whole->addWidget(BuildGraph(), 3);

  for (QLineEdit* band : {from_, to_}) {
    connect(band, &QLineEdit::textEdited, this, [this] {
      followBand_ = false;
      Recalculate();
    });
  }
  connect(celsius_, &QLineEdit::textEdited, this, &NoiseWindow::Recalculate);
  connect(points_, &QSpinBox::valueChanged, this, &NoiseWindow::Recalculate);
  connect(opAmp_, &QComboBox::currentIndexChanged, this, &NoiseWindow::Recalculate);
  connect(filterBand, &QPushButton::clicked, this, [this] {
    followBand_ = true;
    Recalculate();
  });
}

QWidget* NoiseWindow::BuildResults() {
  auto* box = new QGroupBox("Noise over the band", this);
  auto* layout = new QVBoxLayout(box);
  auto* figures = new QFormLayout;
  rms_ = new QLabel(box);
  rms_->setObjectName("NoiseRms");
  inputRms_ = new QLabel(box);
  inputRms_->setObjectName("NoiseInputRms");
  inputRms_->setToolTip("The output noise divided by the largest gain over the band");
  for (QLabel* label : {rms_, inputRms_}) label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  figures->addRow("At the output:", rms_);
  figures->addRow("Referred to the input:", inputRms_);
  layout->addLayout(figures);
  parts_ = ShareTable("NoiseParts", box);
  layout->addWidget(new QLabel("Parts and op amps, largest first:", box));
  layout->addWidget(parts_, 2);
  sectionsHeading_ = new QLabel("Sections, largest first:", box);
  sections_ = ShareTable("NoiseSections", box);
  layout->addWidget(sectionsHeading_);
  layout->addWidget(sections_, 1);
  return box;
}

QWidget* NoiseWindow::BuildGraph() {
  auto* panel = new QWidget(this);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  image_ = new GraphImage(panel);
  image_->setObjectName("NoiseGraph");
  image_->setMinimumSize(400, 300);
  layout->addWidget(image_, 1);
  connect(image_, &GraphImage::resized, this, [this] { Draw(); });

  struct Button {
    const char* name;
    const char* caption;
    std::function<void()> act;
  };
  const Button buttons[] = {
      {"NoiseSavePng", "Save &PNG…", [this] { ExportAs(GraphFileFormat::Png); }},
      {"NoiseSaveSvg", "Save &SVG…", [this] { ExportAs(GraphFileFormat::Svg); }},
      {"NoiseExportCsv", "Export &CSV…", [this] { ExportAs(GraphFileFormat::Csv); }},
      {"NoisePrint", "Pr&int…", [this] { output_.PrintPicture(this, Picture()); }},
      {"NoiseCopy", "Cop&y", [this] { QGuiApplication::clipboard()->setImage(Picture()); }},
  };
  auto* row = new QHBoxLayout;
  for (const Button& b : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(b.caption), panel);
    button->setObjectName(b.name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, b.act);
    row->addWidget(button);
  }
  row->addStretch(1);
  auto* close = new QPushButton("Close", panel);
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  row->addWidget(close);
  layout->addLayout(row);
  return panel;
}

void NoiseWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (stale_) Recalculate();
}

void NoiseWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) Recalculate();
}

void NoiseWindow::SubjectMayHaveChanged() {
  stale_ = true;
  if (isVisible()) Recalculate();
}

void NoiseWindow::ShowBand(const NoiseRequest& band) {
  from_->setText(BandText(band.fFrom));
  to_->setText(BandText(band.fTo));
}

std::optional<NoiseRequest> NoiseWindow::RequestFromFields(QString& problem) const {
  const auto from = ReadField(from_, "From", problem);
  const auto to = from ? ReadField(to_, "To", problem) : std::nullopt;
  const auto celsius = to ? ReadField(celsius_, "Temperature", problem) : std::nullopt;
  if (!celsius) return std::nullopt;
  const NoiseRequest request{*from, *to, points_->value(), *celsius};
  const std::string why = NoiseRequestProblem(request);
  if (!why.empty()) {
    QString line = Text(why);
    line[0] = line[0].toUpper();
    problem = line + ".";
    return std::nullopt;
  }
  return request;
}

std::optional<OpAmpModel> NoiseWindow::ChosenOpAmp(const NoiseSubject& subject) const {
  const int index = opAmp_->currentIndex();
  const auto& table = BuiltInOpAmps();
  if (index <= 0 || index > static_cast<int>(table.size())) return subject.opAmp;
  return table[static_cast<std::size_t>(index - 1)];
}

void NoiseWindow::Recalculate() {
  stale_ = false;
  NoiseSubject subject = subject_();
  opAmp_->setItemText(0, "As the design: " + Text(subject.opAmp ? subject.opAmp->name
                                                                : std::string(kIdealOpAmpName)));
  if (followBand_) ShowBand(DefaultNoiseBand(subject.fLowest, subject.fHighest));
  message_.clear();
  analysis_ = {};
  if (!subject.unavailable.empty()) {
    message_ = Text(subject.unavailable);
  } else if (const auto request = RequestFromFields(message_)) {
    subject.circuit.opAmpModel = ChosenOpAmp(subject);
    analysis_ = AnalyseNoise(subject.circuit, *request);
    if (!analysis_.problem.empty()) {
      message_ = Text(analysis_.problem);
      message_[0] = message_[0].toUpper();
    }
  }
  if (!message_.isEmpty() && analysis_.problem.empty()) {
    analysis_.problem = message_.toStdString();
  }
  summary_ = SummariseNoise(analysis_);
  ShowResults();
  Draw();
}

void NoiseWindow::ShowResults() {
  messageLine_->setText(message_);
  messageLine_->setVisible(!message_.isEmpty());
  const bool shown = analysis_.problem.empty();
  rms_->setText(shown ? Text(MicrovoltText(summary_.rms) + "   (" + DbvText(summary_.rms) + ")")
                      : QString("–"));
  inputRms_->setText(
      shown && summary_.peakGain > 0.0
          ? Text(MicrovoltText(summary_.inputRms) + "   (" + DbvText(summary_.inputRms) + ")")
          : QString("–"));
  ShowShares(parts_, summary_.parts);
  ShowShares(sections_, summary_.sections);
  const bool sections = !summary_.sections.empty();
  sectionsHeading_->setVisible(sections);
  sections_->setVisible(sections);
}

void NoiseWindow::ShowShares(QTableWidget* table, const std::vector<NoiseShare>& shares) {
  table->setRowCount(static_cast<int>(shares.size()));
  for (int row = 0; row < table->rowCount(); ++row) {
    const NoiseShare& share = shares[static_cast<std::size_t>(row)];
    const QString cells[] = {Text(share.name), Text(MicrovoltText(share.rms)),
                             PercentText(share.percent)};
    for (int column = 0; column < 3; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table->setItem(row, column, item);
    }
  }
}

const QImage& NoiseWindow::Picture() const {
  return image_->Bitmap();
}

void NoiseWindow::Draw() {
  image_->FitBitmap();
  {
    render::QPainterCanvas canvas(image_->Bitmap());
    DrawNoisePicture(analysis_, axes_, canvas);
  }
  image_->update();
}

std::string NoiseWindow::SvgPicture() const {
  SvgCanvas canvas(image_->width(), image_->height());
  AxisState axes;
  DrawNoisePicture(analysis_, axes, canvas);
  return canvas.Document();
}

std::string NoiseWindow::Csv() const {
  return NoiseDensityCsv(analysis_);
}

// As in the graph windows: each format offers the name it was last saved under, a name
// without a suffix gets the format's, and a file is written whole or not at all.
void NoiseWindow::ExportAs(GraphFileFormat format) {
  if (!analysis_.problem.empty()) {
    platform_.Beep();
    return;
  }
  QString& last = lastExportNames_[static_cast<std::size_t>(format)];
  QString name = output_.AskExportFileName(this, format, last);
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty()) name += "." + SuffixOf(format);
  last = name;
  QString error;
  bool written = false;
  switch (format) {
    case GraphFileFormat::Png:
      written = WritePictureFile(Picture(), name, "PNG", error);
      break;
    case GraphFileFormat::Svg:
      written = WriteWholeFile(name, SvgPicture(), error);
      break;
    case GraphFileFormat::Csv:
      written = WriteWholeFile(name, Csv(), error);
      break;
  }
  if (written) return;
  const QString what = format == GraphFileFormat::Csv ? "The noise densities" : "The graphic";
  platform_.ShowMessage(this, what + " could not be saved: " + error + ".");
}

}  // namespace morvane::gui
