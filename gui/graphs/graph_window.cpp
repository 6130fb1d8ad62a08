#include "graphs/graph_window.h"

#include <QAction>
#include <QClipboard>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "app/platform_services.h"
#include "app/whole_file_writes.h"
#include "graphs/axis_operations.h"
#include "graphs/graph_axis_rules.h"
#include "graphs/graph_context.h"
#include "graphs/graph_controls.h"
#include "graphs/graph_help_box.h"
#include "graphs/graph_image.h"
#include "graphs/graph_output_services.h"
#include "graphs/graph_picture.h"
#include "graphs/graph_profile.h"
#include "graphs/graph_window_sizes.h"
#include "graphs/plot_mapping.h"
#include "graphs/qpainter_canvas.h"
#include "graphs/response_source.h"
#include "graphs/sweep_mode_dialog.h"
#include "graphs/sweep_target.h"

namespace morvane::gui {

namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

GraphWindow::GraphWindow(GraphKind kind, GraphContext& context)
    : kind_(kind), profile_(context.source.Profile(kind)), context_(context) {
  setObjectName(ToQString(profile_.formName));
  setWindowTitle(ToQString(profile_.caption));
  // The main window's close ends the program, whichever graph windows are open.
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menuBar_ = new QMenuBar(this);
  layout->setMenuBar(menuBar_);
  BuildMenus(menuBar_);

  QHBoxLayout* bar = nullptr;
  buttonBar_ = AddButtonBar(this, kButtonBarHeight, bar);
  BuildButtonBar(bar);
  layout->addWidget(buttonBar_);

  image_ = new GraphImage(this);
  layout->addWidget(image_, 1);

  currentPanel_ = MakeCurrentPanel(this, kPanelHeight);
  layout->addWidget(currentPanel_);

  connect(image_, &GraphImage::resized, this, &GraphWindow::FormResize);
  connect(image_, &GraphImage::entered, this, &GraphWindow::BecomeCurrent);
  connect(image_, &GraphImage::mouseMoved, this, &GraphWindow::ImageMouseMove);
  connect(image_, &GraphImage::leftPressed, this, &GraphWindow::ImageMouseDown);
  connect(image_, &GraphImage::rightPressed, this, &GraphWindow::ImageRightDown);
  connect(image_, &GraphImage::rightReleased, this, &GraphWindow::ImageRightUp);
  connect(image_, &GraphImage::doubleClicked, this, &GraphWindow::Ursprungfestlegen1Click);

  ApplyCurveStyle(context_.style, axes_);
  setMinimumSize(kMinimumSize);
  resize(kClientSize.width(), kClientSize.height() + menuBar_->sizeHint().height());
}

GraphWindow::~GraphWindow() {
  if (context_.current == this) context_.current = nullptr;
}

const QImage& GraphWindow::Picture() const {
  return image_->Bitmap();
}

bool GraphWindow::PulseSelected() const {
  return radioButtonht_ && radioButtonht_->isChecked();
}

void GraphWindow::Open() {
  if (isVisible()) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    return;
  }
  FormShow();
  PlaceBesideAnchor();
  show();
  activateWindow();
}

// The first showing only: afterwards the window stays where the user left it.
void GraphWindow::PlaceBesideAnchor() {
  if (placed_ || !context_.anchor || !context_.anchor->isVisible()) return;
  placed_ = true;
  const QScreen* s =
      context_.anchor->screen() ? context_.anchor->screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  const int index = static_cast<int>(kind_) - 1;
  move(BesideWindowPosition(context_.anchor->frameGeometry(), frameGeometry().size(),
                            s->availableGeometry(), index));
}

void GraphWindow::FormShow() {
  context_.source.Start(kind_, axes_, buffer_);
  // The image takes its size from the layout before the window is first on the screen.
  layout()->activate();
  Refill();
  RaiseTopToPeak(axes_, buffer_.Y, LastScannedSample(kind_, buffer_));
  DrawGraph();
}

void GraphWindow::RefillAndDraw() {
  Refill();
  DrawGraph();
}

void GraphWindow::Refill() {
  FitBitmap();
  // The x range snapped to what will be drawn, so the fill samples the range that is shown.
  SnapToDrawnRange(axes_);
  context_.source.Fill(kind_, axes_, PulseSelected(), buffer_);
  FillSectionCurves();
}

void GraphWindow::FillSectionCurves() {
  if (SectionsShown()) {
    context_.source.FillSections(kind_, axes_, PulseSelected(), sectionBuffers_);
  } else {
    sectionBuffers_.clear();
  }
  asBuiltShown_ = context_.source.OffersAsBuilt();
  if (asBuiltShown_) context_.source.FillAsBuilt(kind_, axes_, PulseSelected(), asBuiltBuffer_);
  opAmpName_.clear();
  if (context_.source.OffersRealAmplifier()) {
    context_.source.FillRealAmplifier(kind_, axes_, PulseSelected(), opAmpBuffer_);
    opAmpName_ = context_.source.RealAmplifierName();
  }
  if (kind_ == GraphKind::Phase) {
    if (asBuiltShown_) AlignPhaseBranch(buffer_, asBuiltBuffer_);
    if (!opAmpName_.empty()) AlignPhaseBranch(buffer_, opAmpBuffer_);
  }
  TakeBand();
}

void GraphWindow::TakeBand() {
  spread_.reset();
  if (const ToleranceBands* bands = context_.source.Bands()) {
    const ResponseSource& source = context_.source;
    spread_ = SpreadCurveFor(*bands, kind_, [&source](double f) { return source.PhaseDegrees(f); });
  }
}

const CurveBuffer* GraphWindow::AsBuiltCurve() const {
  return asBuiltShown_ ? &asBuiltBuffer_ : nullptr;
}

const CurveBuffer* GraphWindow::OpAmpSamples() const {
  return opAmpName_.empty() ? nullptr : &opAmpBuffer_;
}

std::optional<OpAmpCurve> GraphWindow::OpAmpCurveShown() const {
  if (opAmpName_.empty()) return std::nullopt;
  return OpAmpCurve{opAmpBuffer_, opAmpName_};
}

bool GraphWindow::SectionsShown() const {
  return showSections1_ && showSections1_->isChecked();
}

void GraphWindow::ShowSections(bool shown) {
  if (!showSections1_ || shown == SectionsShown()) return;
  showSections1_->setChecked(shown);
  ShowSections1Click();
}

void GraphWindow::SourceChanged() {
  if (!isVisible() || !drawn_) return;
  RefillAndDraw();
}

void GraphWindow::BandsChanged() {
  TakeBand();
  if (!isVisible() || !drawn_) return;
  DrawGraph();
}

void GraphWindow::DrawGraph() {
  FitBitmap();
  ApplyCurveStyle(context_.style, axes_);
  {
    render::QPainterCanvas canvas(image_->Bitmap());
    const std::optional<OpAmpCurve> opAmp = OpAmpCurveShown();
    DrawGraphPicture(profile_, kind_, PulseSelected(), axes_, canvas, buffer_, sectionBuffers_,
                     AsBuiltCurve(), spread_ ? &*spread_ : nullptr, opAmp ? &*opAmp : nullptr);
  }
  drawnAxes_ = axes_;
  drawn_ = true;
  context_.current = this;
  xlog1_->setChecked(axes_.xMode == AxisMode::Logarithmic);
  image_->update();
}

void GraphWindow::FitBitmap() {
  image_->FitBitmap();
}

// The bitmap follows the image's size and is drawn again from the stored samples.
void GraphWindow::FormResize() {
  FitBitmap();
  if (drawn_) DrawGraph();
}

void GraphWindow::BecomeCurrent() {
  if (drawn_) context_.current = this;
}

void GraphWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) BecomeCurrent();
  QWidget::changeEvent(event);
}

void GraphWindow::ApplyTuning(double first, double second) {
  if (!context_.sweepTarget) return;
  context_.sweepTarget->Apply(first, second);
  RefillAndDraw();
  emit designTuned();
}

void GraphWindow::Save1Click() {
  QString name = context_.output.AskBitmapFileName(this, lastFileName_);
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty()) name += ".bmp";
  lastFileName_ = name;
  // Encoded in memory first: a failed write keeps the old file whole.
  QString error;
  if (!WritePictureFile(Picture(), name, "BMP", error)) {
    context_.platform.ShowMessage(this, "The graphic could not be saved: " + error + ".");
  }
}

void GraphWindow::Print1Click() {
  context_.output.PrintPicture(this, Picture());
}

void GraphWindow::Copy1Click() {
  QGuiApplication::clipboard()->setImage(Picture());
}

void GraphWindow::Zeichnen1Click() {
  RefillAndDraw();
}

void GraphWindow::Vergroessern1Click() {
  resize(ScaledWindowSize(size(), 4.0 / 3.0));
}

void GraphWindow::Verkleinern1Click() {
  resize(ScaledWindowSize(size(), 0.75));
}

void GraphWindow::Standardgroesse1Click() {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  resize(StandardWindowSize(s ? s->geometry().width() : 0));
}

void GraphWindow::xAutoskalierung1Click() {
  AutoscaleX(axes_, buffer_.X, LastScannedSample(kind_, buffer_));
  DrawGraph();
}

void GraphWindow::yAutoskalierung1Click() {
  AutoscaleY(axes_, buffer_.Y, LastScannedSample(kind_, buffer_));
  DrawGraph();
}

void GraphWindow::Autoskalierung1Click() {
  Autoscale(axes_, buffer_.X, buffer_.Y, LastScannedSample(kind_, buffer_));
  DrawGraph();
}

// Switches this window's x axis; the check mark shows the mode its axes are in.
void GraphWindow::xlog1Click() {
  if (!profile_.xLogAvailable) return;
  const bool logarithmic = axes_.xMode != AxisMode::Logarithmic;
  xlog1_->setChecked(logarithmic);
  SetAxisModes(axes_, logarithmic ? AxisMode::Logarithmic : AxisMode::Linear, AxisMode::Linear);
  AutoscaleX(axes_, buffer_.X, LastScannedSample(kind_, buffer_));
  DrawGraph();
}

void GraphWindow::Abstimmodus1Click() {
  if (!context_.sweepTarget || !context_.sweepMode) return;
  const QRect frame = frameGeometry();
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  const int screenWidth = s ? s->geometry().width() : frame.right();
  const QPoint at(std::min(frame.left() + frame.width() - 72, screenWidth - 260), frame.top() + 48);
  context_.sweepMode->Run(kind_, context_.sweepTarget->Values(ToQString(profile_.sweepLabel)), at);
  ApplyTuning(context_.sweepMode->X1(), context_.sweepMode->X2());
}

void GraphWindow::HilfezumProgramm1Click() {
  context_.helpBox.show();
  context_.helpBox.raise();
  context_.helpBox.activateWindow();
}

void GraphWindow::ZoomInButtonClick() {
  ZoomIn(axes_);
  DrawGraph();
}

void GraphWindow::ZoomOutButtonClick() {
  AxisState zoomed = axes_;
  ZoomOut(zoomed);
  if (!WithinZoomOutReach(context_.source, kind_, zoomed)) {
    context_.platform.Beep();
    return;
  }
  axes_ = zoomed;
  DrawGraph();
}

void GraphWindow::DotButtonClick() {
  NextCurveStyle(axes_);
  context_.style = CurveStyleOf(axes_);
  DrawGraph();
}

void GraphWindow::RadioButtonClick() {
  RefillAndDraw();
}

// The sections are sampled together with the curve, on the same x values.
void GraphWindow::ShowSections1Click() {
  if (drawn_) RefillAndDraw();
}

}  // namespace morvane::gui
