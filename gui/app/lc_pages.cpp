#include "app/lc_pages.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <initializer_list>

#include "app/stage_pages.h"
#include "app/window_look.h"
#include "design/field_names.h"
#include "design/selection_rules.h"
#include "ui/aligned_grid.h"
#include "ui/circuit_pictures.h"

namespace morvane::gui {

namespace {

// Wide enough for the heading "Element" in the sans-serif fonts of a Linux desktop.
constexpr int kElementColumn = 53;

struct Choice {
  const char* name;
  const char* caption;
  const char* hint;
};

QRadioButton* AddChoice(const Choice& c, QButtonGroup* group, int id, QWidget* parent) {
  auto* radio = new QRadioButton(c.caption, parent);
  radio->setObjectName(c.name);
  if (*c.hint) SetHint(radio, c.hint);
  group->addButton(radio, id);
  return radio;
}

QButtonGroup* MakeButtonGroup(const char* name, QWidget* parent) {
  auto* group = new QButtonGroup(parent);
  group->setObjectName(name);
  group->setExclusive(true);
  return group;
}

// Every column centred, as the design's tables are read.
AlignedGrid* MakeGrid(std::string_view name, int columns, int rows,
                      std::initializer_list<int> widths, QWidget* parent) {
  auto* grid = new AlignedGrid(columns, rows, parent);
  grid->setObjectName(Text(name));
  for (int column = 0; column < columns; ++column) {
    grid->SetColumnAlignment(column, Qt::AlignCenter);
  }
  grid->SetColumnWidths(widths);
  grid->GrowWithRoom();
  return grid;
}

QLabel* MakeDiagram(const QString& name, std::string_view picture, QSize size, QWidget* parent) {
  QLabel* diagram = MakeLabel(name, {}, {}, parent);
  diagram->setFrameStyle(QFrame::Box | QFrame::Plain);
  diagram->setAlignment(Qt::AlignCenter);
  KeepPictureFitted(diagram, size);
  diagram->setPixmap(CircuitPicture(picture, diagram->contentsRect().size()));
  diagram->setProperty(kPictureNameProperty, Text(picture));
  return diagram;
}

QWidget* GridWithCaption(const QString& caption, QWidget* grid, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(MakeHeading(caption, box));
  layout->addWidget(grid, 1);
  return box;
}

}  // namespace

QWidget* MakeLadderPage(QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName("Page6");
  auto* layout = new QGridLayout(page);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->setHorizontalSpacing(12);
  layout->setVerticalSpacing(4);

  // Order, approximation and export in one block above the pole table.
  auto* controls = new QWidget(page);
  auto* c = new QGridLayout(controls);
  c->setContentsMargins(0, 0, 0, 0);
  c->setHorizontalSpacing(6);
  c->setVerticalSpacing(2);
  c->addWidget(MakeHeading("Filter Order", controls), 0, 0, 1, 2);
  auto* order = new QScrollBar(Qt::Horizontal, controls);
  order->setObjectName("ScrollBar1");
  order->setRange(2, 10);
  order->setPageStep(1);
  order->setFixedSize(110, 17);
  c->addWidget(order, 1, 0);
  c->addWidget(MakeResultField(field::NLCAusgabe, 34, controls), 1, 1);
  QButtonGroup* approximation = MakeButtonGroup("LadderApproximationButtons", controls);
  c->addWidget(AddChoice({"RadioButtonBW", "Butterworth", "Maximum flat frequency response"},
                         approximation, 0, controls),
               2, 0);
  c->addWidget(AddChoice({"RadioButtonTscheb", "Chebyshev", "The pass-band ripple can be set"},
                         approximation, 1, controls),
               2, 1, 1, 2);
  auto* exportButton = new QToolButton(controls);
  exportButton->setObjectName("SpeedButtonExport");
  exportButton->setText("Export");
  exportButton->setFixedSize(60, 24);
  SetHint(exportButton, "Export circuit");
  c->addWidget(exportButton, 1, 3, 2, 1, Qt::AlignVCenter);
  c->setColumnStretch(4, 1);

  // Both ladders, the odd and the even order, side by side in one picture that carries the
  // captions "odd n" and "even n".
  auto* circuit = new QWidget(page);
  auto* d = new QVBoxLayout(circuit);
  d->setContentsMargins(0, 0, 0, 0);
  d->setSpacing(1);
  d->addWidget(MakeHeading("Circuit", circuit));
  d->addWidget(MakeDiagram("ImageLC", DiagramFor(DiagramPlace::LcLadder, FilterType::Lowpass),
                           QSize(290, 64), circuit));
  auto* top = new QHBoxLayout;
  top->setSpacing(10);
  top->addWidget(controls);
  top->addWidget(circuit, 1);
  layout->addLayout(top, 0, 0, 1, 2);

  AlignedGrid* poles = MakeGrid(field::StringGridAlignPN, 6, 11, {30, 63, 63, 63, 63}, page);
  layout->addWidget(
      GridWithCaption("Poles, Coefficients, Quality Factors (for Lowpass)", poles, page), 1, 0);
  AlignedGrid* elements = MakeGrid(field::StringAlignGridLC, 2, 11, {53, 66}, page);
  layout->addWidget(GridWithCaption("Elements", elements, page), 1, 1);
  // Extra room goes to both tables in proportion to their widths.
  layout->setRowStretch(1, 1);
  layout->setColumnStretch(0, 5);
  layout->setColumnStretch(1, 2);
  return page;
}

QWidget* MakeDiplexerPage(QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName("Page7");
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->setSpacing(10);

  auto* circuit = new QWidget(page);
  auto* left = new QVBoxLayout(circuit);
  left->setContentsMargins(0, 0, 0, 0);
  left->setSpacing(3);
  left->addWidget(MakeHeading("Circuit", circuit));
  left->addWidget(
      MakeDiagram("ImageDiplexer", FixedDiagram(Topology::Diplexer), QSize(180, 130), circuit), 1);
  left->addWidget(MakeLabel({}, "Here shown for 3rd order", {}, circuit));
  layout->addWidget(circuit, 2);

  auto* constraints = new QWidget(page);
  auto* middle = new QVBoxLayout(constraints);
  middle->setContentsMargins(0, 0, 0, 0);
  middle->setSpacing(2);
  middle->addWidget(MakeHeading("Constraints", constraints));
  QButtonGroup* approximation = MakeButtonGroup("DiplexerApproximationButtons", constraints);
  middle->addWidget(
      AddChoice({"RadioButtonButt2", "Butterworth", "Maximum flat frequency response"},
                approximation, 0, constraints));
  middle->addWidget(AddChoice({"RadioButtonTscheb2", "Chebyshev", "With 0.1 dB ripple"},
                              approximation, 1, constraints));
  middle->addSpacing(8);
  // The button's id is the order it selects.
  QButtonGroup* order = MakeButtonGroup("DiplexerOrderButtons", constraints);
  int n = 3;
  for (const Choice& c :
       {Choice{"RadioButton3Ord", "3rd Order", ""}, Choice{"RadioButton5Ord", "5th Order", ""},
        Choice{"RadioButton7Ord", "7th Order", ""}, Choice{"RadioButton9Ord", "9th Order", ""}}) {
    middle->addWidget(AddChoice(c, order, n, constraints));
    n += 2;
  }
  middle->addStretch(1);
  layout->addWidget(constraints);

  layout->addWidget(GridWithCaption(
      "Lowpass Part", MakeGrid(field::StringAlignGridDiplexTP, 2, 10, {kElementColumn, 66}, page),
      page));
  layout->addWidget(GridWithCaption(
      "Highpass Part", MakeGrid(field::StringAlignGridDiplexHP, 2, 10, {kElementColumn, 66}, page),
      page));
  return page;
}

}  // namespace morvane::gui
