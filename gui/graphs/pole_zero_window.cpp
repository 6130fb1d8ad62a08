#include "graphs/pole_zero_window.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/platform_services.h"
#include "app/whole_file_writes.h"
#include "graphs/graph_controls.h"
#include "graphs/graph_image.h"
#include "graphs/graph_window.h"
#include "graphs/graph_window_sizes.h"
#include "graphs/plot_mapping.h"
#include "graphs/qpainter_canvas.h"
#include "graphs/svg_canvas.h"

namespace morvane::gui {

namespace {

// Zooming out stops this far beyond the roots' own extent, long before the axes lose their
// numbers.
constexpr double kZoomOutReach = 1e6;

double Extent(const PlaneView& v) {
  return std::max(v.reMax - v.reMin, v.imMax - v.imMin);
}

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

PoleZeroWindow::PoleZeroWindow(PlatformServices& platform, GraphOutputServices& output,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform), output_(output) {
  setObjectName("CascadeFormPoleZero");
  setWindowTitle("Multi-stage Filter: Pole-Zero Plot");
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* menuBar = new QMenuBar(this);
  layout->setMenuBar(menuBar);
  BuildMenus(menuBar);

  QHBoxLayout* bar = nullptr;
  buttonBar_ = AddButtonBar(this, GraphWindow::kButtonBarHeight, bar);
  BuildButtonBar(bar);
  layout->addWidget(buttonBar_);

  image_ = new GraphImage(this);
  layout->addWidget(image_, 1);

  currentPanel_ = MakeCurrentPanel(this, GraphWindow::kPanelHeight);
  layout->addWidget(currentPanel_);

  connect(image_, &GraphImage::resized, this, &PoleZeroWindow::ImageResized);
  connect(image_, &GraphImage::mouseMoved, this, &PoleZeroWindow::ImageMouseMove);
  connect(image_, &GraphImage::rightPressed, this, &PoleZeroWindow::ImageRightDown);
  connect(image_, &GraphImage::rightReleased, this, &PoleZeroWindow::ImageRightUp);

  setMinimumSize(GraphWindow::kMinimumSize);
  resize(GraphWindow::kClientSize.width(),
         GraphWindow::kClientSize.height() + menuBar->sizeHint().height());
}

PoleZeroWindow::~PoleZeroWindow() = default;

void PoleZeroWindow::BuildMenus(QMenuBar* menuBar) {
  using Command = MenuCommand<PoleZeroWindow>;
  static constexpr Command kCommands[] = {
      {"&File", "SavePng1", "Save as P&NG…", "", &PoleZeroWindow::SavePngClick},
      {"&File", "SaveSvg1", "Save as S&VG…", "", &PoleZeroWindow::SaveSvgClick},
      {"&File", "ExportCsv1", "&Export CSV…", "", &PoleZeroWindow::ExportCsvClick},
      {"&File", "Print1", "&Print", "Ctrl+P", &PoleZeroWindow::PrintClick},
      {"&File", "Exit1", "E&xit", "Ctrl+F4", nullptr},
      {"&Graphic", "Copy1", "&Copy", "Ctrl+C", &PoleZeroWindow::CopyClick},
      {"&Graphic", "Vergroessern1", "&Increase Window Size", "", &PoleZeroWindow::IncreaseClick},
      {"&Graphic", "Verkleinern1", "&Decrease Window Size", "", &PoleZeroWindow::DecreaseClick},
      {"&Graphic", "Standardgroesse1", "&Standard Size", "Ctrl+N",
       &PoleZeroWindow::StandardSizeClick},
      {"&Scales", "FitToRoots1", "&Fit to Poles and Zeros", "Ctrl+A", &PoleZeroWindow::FitToRoots},
      {"&Scales", "ZoomIn1", "Zoom &In", "+", &PoleZeroWindow::ZoomIn},
      {"&Scales", "ZoomOut1", "Zoom &Out", "-", &PoleZeroWindow::ZoomOut},
  };
  AddMenuCommands<PoleZeroWindow>(this, menuBar, kCommands);
}

void PoleZeroWindow::BuildButtonBar(QHBoxLayout* bar) {
  using Button = BarButton<PoleZeroWindow>;
  static constexpr Button kButtons[] = {
      {"CloseButton", "", "Close graphic", nullptr},
      {"VergroessernButton", "", "Increase", &PoleZeroWindow::IncreaseClick},
      {"VerkleinernButton", "", "Decrease", &PoleZeroWindow::DecreaseClick},
      {"StandardgrButton", "", "Standard size", &PoleZeroWindow::StandardSizeClick},
      {"AutoskButton", "Auto", "Fit to the poles and zeros", &PoleZeroWindow::FitToRoots},
      {"ZoomInButton", "+", "Zoom in", &PoleZeroWindow::ZoomIn},
      {"ZoomOutButton", "-", "Zoom out", &PoleZeroWindow::ZoomOut},
  };
  AddBarButtons<PoleZeroWindow>(this, buttonBar_, bar, kButtons);
  bar->addStretch(1);
}

const QImage& PoleZeroWindow::Picture() const {
  return image_->Bitmap();
}

void PoleZeroWindow::Open() {
  if (isVisible()) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    return;
  }
  followsRoots_ = true;
  view_ = FitRoots(roots_);
  layout()->activate();
  Draw();
  show();
  activateWindow();
}

void PoleZeroWindow::SetRoots(const PoleZeroGain& roots) {
  roots_ = roots;
  if (followsRoots_) view_ = FitRoots(roots_);
  if (isVisible()) Draw();
}

void PoleZeroWindow::ZoomIn() {
  followsRoots_ = false;
  view_ = ScaledView(view_, kZoomFactor);
  Draw();
}

void PoleZeroWindow::ZoomOut() {
  const PlaneView wider = ScaledView(view_, 1.0 / kZoomFactor);
  if (!(Extent(wider) <= kZoomOutReach * Extent(FitRoots(roots_)))) {
    platform_.Beep();
    return;
  }
  followsRoots_ = false;
  view_ = wider;
  Draw();
}

void PoleZeroWindow::FitToRoots() {
  followsRoots_ = true;
  view_ = FitRoots(roots_);
  Draw();
}

void PoleZeroWindow::Draw() {
  image_->FitBitmap();
  {
    render::QPainterCanvas canvas(image_->Bitmap());
    DrawPoleZeroPicture(roots_, view_, axes_, canvas);
  }
  drawn_ = true;
  image_->update();
}

void PoleZeroWindow::ImageResized() {
  image_->FitBitmap();
  if (drawn_) Draw();
}

void PoleZeroWindow::ImageMouseMove(QPoint pixel) {
  currentPanel_->setText(
      ToQString(PoleZeroReadout(ToWorldX(axes_, pixel.x()), ToWorldY(axes_, pixel.y()))));
  if (rightDrag_) image_->ShowRubberBand(rightDragFrom_, pixel);
}

void PoleZeroWindow::ImageRightDown(QPoint pixel) {
  if (!InPlotArea(axes_, pixel.x(), pixel.y())) return;
  rightDrag_ = true;
  rightDragFrom_ = pixel;
}

void PoleZeroWindow::ImageRightUp(QPoint pixel) {
  if (!rightDrag_) return;
  rightDrag_ = false;
  image_->HideRubberBand();
  ZoomToPixels(rightDragFrom_, pixel);
}

bool PoleZeroWindow::ZoomToPixels(QPoint from, QPoint to) {
  if (from.x() == to.x() || from.y() == to.y()) return false;
  const double re0 = ToWorldX(axes_, from.x());
  const double re1 = ToWorldX(axes_, to.x());
  const double im0 = ToWorldY(axes_, from.y());
  const double im1 = ToWorldY(axes_, to.y());
  // Both corners held inside the plot may still meet at its edge.
  if (re0 == re1 || im0 == im1) return false;
  followsRoots_ = false;
  view_ = {std::min(re0, re1), std::max(re0, re1), std::min(im0, im1), std::max(im0, im1)};
  Draw();
  return true;
}

std::string PoleZeroWindow::SvgPicture() const {
  SvgCanvas canvas(Picture().width(), Picture().height());
  AxisState axes;
  DrawPoleZeroPicture(roots_, view_, axes, canvas);
  return canvas.Document();
}

std::string PoleZeroWindow::Csv() const {
  return PoleZeroCsv(roots_);
}

// As in the graph windows: each format offers the name it was last saved under, a name
// without a suffix gets the format's, and a file is written whole or not at all.
void PoleZeroWindow::ExportAs(GraphFileFormat format) {
  if (!drawn_) return;
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
  const QString what = format == GraphFileFormat::Csv ? "The poles and zeros" : "The graphic";
  platform_.ShowMessage(this, what + " could not be saved: " + error + ".");
}

void PoleZeroWindow::SavePngClick() {
  ExportAs(GraphFileFormat::Png);
}

void PoleZeroWindow::SaveSvgClick() {
  ExportAs(GraphFileFormat::Svg);
}

void PoleZeroWindow::ExportCsvClick() {
  ExportAs(GraphFileFormat::Csv);
}

void PoleZeroWindow::PrintClick() {
  output_.PrintPicture(this, Picture());
}

void PoleZeroWindow::CopyClick() {
  QGuiApplication::clipboard()->setImage(Picture());
}

void PoleZeroWindow::IncreaseClick() {
  resize(ScaledWindowSize(size(), 4.0 / 3.0));
}

void PoleZeroWindow::DecreaseClick() {
  resize(ScaledWindowSize(size(), 0.75));
}

void PoleZeroWindow::StandardSizeClick() {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  resize(StandardWindowSize(s ? s->geometry().width() : 0));
}

}  // namespace morvane::gui
