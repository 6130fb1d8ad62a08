#include "app/stage_pages.h"

#include <QEvent>

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <array>
#include <span>
#include <string_view>

#include "app/window_look.h"
#include "design/field_names.h"
#include "design/page_fields.h"
#include "design/selection_rules.h"
#include "opamp/opamp_choice.h"
#include "ui/circuit_pictures.h"

namespace morvane::gui {

namespace {

constexpr int kEntryWidth = 74;
constexpr int kResultWidth = 74;
constexpr QSize kDiagramSize(180, 140);
// The state-variable circuits have three or four op amps in a row: they get the width of the
// constraints column, which moves below them.
constexpr QSize kWideDiagramSize(390, 150);

enum class Kind { CheckBox, Entry };

struct Constraint {
  Kind kind;
  std::string_view name;
  std::string_view caption;
  std::string_view hint = {};
  std::string_view unit = {};
  std::string_view labelName = {};  // entries: the label above the field
};

struct StagePage {
  Topology topology;
  std::string_view diagram;  // name of the picture label
  std::string_view diagramHint;
  std::string_view characterisation;
  std::span<const Constraint> constraints;
};

constexpr std::array kMfb{
    Constraint{Kind::CheckBox, "CCheckBox1", "Try Equal Capacitors",
               "Not always realizable and may have disadvantages for high Q filters"},
};

constexpr std::array kPfb{
    Constraint{Kind::CheckBox, "CCheckBox2", "Try Equal Capacitors"},
    Constraint{Kind::CheckBox, "RCheckBox2", "Offset Compensation with R3 and R4 ",
               "R3·R4/(R3+R4)=R1·R2/(R1+R2)"},
    Constraint{Kind::Entry, field::R32Eingabe, "Resistance R3 ", {}, "Ω", "R32EingabeLabel"},
    Constraint{Kind::Entry,
               field::q2Eingabe,
               "Ratio fn/fo>1",
               "Via this additional zero the filter characteristic becomes steeper",
               {},
               "q2Label"},
};

constexpr std::array kSvf3{
    Constraint{Kind::CheckBox, "CCheckBox3", "Calculate Capacitances Automatically"},
    Constraint{
        Kind::Entry, field::C12Eingabe3, "Capacitances C1(=C2) ", {}, "F", "C12Eingabe3Label"},
};

constexpr std::array kSvf4{
    Constraint{Kind::CheckBox, "CCheckBox4", "Calculate Capacitances Automatically"},
    Constraint{
        Kind::Entry, field::C12Eingabe4, "Capacitance C1(=C2) ", {}, "F", "C12Eingabe4Label"},
};

constexpr std::array kFliege{
    Constraint{Kind::CheckBox, "CCheckBox5", "Calculate Capacitances Automatically"},
    Constraint{Kind::Entry, field::C12Eingabe5, "Capacitance C1(=C2)", {}, "F", "C12Eingabe5Label"},
};

constexpr std::array kPages{
    StagePage{Topology::Mfb, "Image1", "Simple filter",
              "Medium stability, good for low Q only, Zin not constant", kMfb},
    StagePage{Topology::Pfb, "Image2", "Simple filter, common mode signal may cause distortions",
              "Sallen-Key: medium stability, good for low Q only\nZin not constant", kPfb},
    StagePage{Topology::Svf3, "Image3",
              "Very universal, for bandstop filter a 4th op amp is needed.",
              "Very stable, well-suited for high Q filters, Zin not constant", kSvf3},
    StagePage{Topology::Svf4, "Image4", "Easy to calculate universal filter",
              "Very stable, well-suited for high Q filters, Zin constant", kSvf4},
    StagePage{Topology::Fliege, "Image5", "Universal filter with only 2 op amps",
              "High stability, well-suited for high Q filters, Zin not constant", kFliege},
};

// The label of a result field: "R11Ausgabe" is labelled by "R11Label".
QString ResultLabelName(std::string_view field) {
  return Text(field).replace("Ausgabe", "Label");
}

QString ResultLabelHint(std::string_view field) {
  if (field.starts_with("dVu")) return "Peaking due to resonance";
  if (field.starts_with("Vu")) return "May differ from selected gain";
  return {};
}

QWidget* MakeCircuitColumn(const StagePage& page, QSize diagramSize, QWidget* parent) {
  auto* column = new QWidget(parent);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);
  layout->addWidget(MakeHeading("Circuit", column));
  QLabel* diagram = MakeLabel(Text(page.diagram), {}, Text(page.diagramHint), column);
  KeepPictureFitted(diagram, diagramSize);
  diagram->setFrameStyle(QFrame::Box | QFrame::Plain);
  diagram->setAlignment(Qt::AlignCenter);
  const std::string_view fixed = FixedDiagram(page.topology);
  if (!fixed.empty()) {
    diagram->setPixmap(CircuitPicture(fixed, diagram->contentsRect().size()));
    diagram->setProperty(kPictureNameProperty, Text(fixed));
  }
  layout->addWidget(diagram, 1);
  QLabel* line = MakeLabel({}, Text(page.characterisation), {}, column);
  // With rounded resistors the line shows the stage as built (MainWindow::ShowAsBuilt).
  line->setObjectName(QString("Characterisation%1").arg(static_cast<int>(page.topology)));
  line->setProperty(kCharacterisationProperty, Text(page.characterisation));
  line->setWordWrap(true);
  line->setMinimumWidth(diagramSize.width());
  layout->addWidget(line);
  // With an op amp chosen, the stage with it (MainWindow::ShowAsBuilt); hidden otherwise.
  QLabel* real = MakeLabel({}, {}, {}, column);
  real->setObjectName(QString("RealAmplifier%1").arg(static_cast<int>(page.topology)));
  real->setWordWrap(true);
  real->setMinimumWidth(diagramSize.width());
  QPalette colours = real->palette();
  colours.setColor(QPalette::WindowText, kOpAmpTextColour);
  real->setPalette(colours);
  real->hide();
  layout->addWidget(real);
  return column;
}

QWidget* MakeConstraintColumn(const StagePage& page, QWidget* parent) {
  auto* column = new QWidget(parent);
  auto* layout = new QGridLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setHorizontalSpacing(4);
  layout->setVerticalSpacing(3);
  layout->addWidget(MakeHeading("Constraints", column), 0, 0, 1, 2);
  int row = 1;
  for (const Constraint& c : page.constraints) {
    if (c.kind == Kind::CheckBox) {
      auto* box = new QCheckBox(Text(c.caption), column);
      box->setObjectName(Text(c.name));
      box->setChecked(true);
      if (!c.hint.empty()) SetHint(box, Text(c.hint));
      layout->addWidget(box, row++, 0, 1, 2);
      continue;
    }
    layout->addWidget(MakeLabel(Text(c.labelName), Text(c.caption), Text(c.hint), column), row++, 0,
                      1, 2);
    layout->addWidget(MakeEntryField(c.name, kEntryWidth, column), row, 0);
    layout->addWidget(MakeLabel(Text(c.name) + "Einheit", Text(c.unit), {}, column), row++, 1);
  }
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(row, 1);
  return column;
}

QWidget* MakeOutputColumn(const StagePage& page, QWidget* parent) {
  auto* column = new QWidget(parent);
  auto* layout = new QGridLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setHorizontalSpacing(4);
  layout->setVerticalSpacing(1);
  layout->addWidget(MakeHeading("Output", column), 0, 0, 1, 3);
  int row = 1;
  for (const LabelledField& f : PageResultFields(page.topology)) {
    layout->addWidget(
        MakeLabel(ResultLabelName(f.field), Text(f.label), ResultLabelHint(f.field), column), row,
        0, Qt::AlignRight);
    layout->addWidget(MakeResultField(f.field, kResultWidth, column), row, 1);
    layout->addWidget(MakeLabel({}, Text(f.unit), {}, column), row, 2);
    ++row;
  }
  layout->setColumnMinimumWidth(2, 18);
  layout->setRowStretch(row, 1);
  return column;
}

// Draws the diagram anew to the label's size: the pictures are vectors, so they stay sharp.
class PictureFitter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Resize) return false;
    if (auto* diagram = qobject_cast<QLabel*>(watched)) {
      const QString name = diagram->property(kPictureNameProperty).toString();
      if (!name.isEmpty()) {
        diagram->setPixmap(CircuitPicture(name.toStdString(), diagram->contentsRect().size()));
      }
    }
    return false;
  }
};

}  // namespace

void KeepPictureFitted(QLabel* diagram, QSize smallest) {
  diagram->setMinimumSize(smallest);
  diagram->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  diagram->installEventFilter(new PictureFitter(diagram));
}

QWidget* MakeStagePage(Topology topology, QWidget* parent) {
  const StagePage* page = nullptr;
  for (const StagePage& p : kPages) {
    if (p.topology == topology) page = &p;
  }
  auto* widget = new QWidget(parent);
  if (!page) return widget;
  widget->setObjectName(QString("Page%1").arg(static_cast<int>(topology)));
  auto* layout = new QHBoxLayout(widget);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->setSpacing(10);
  if (FixedDiagram(topology).empty()) {
    layout->addWidget(MakeCircuitColumn(*page, kDiagramSize, widget), 2);
    layout->addWidget(MakeConstraintColumn(*page, widget), 1);
  } else {
    auto* left = new QWidget(widget);
    auto* stack = new QVBoxLayout(left);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(4);
    stack->addWidget(MakeCircuitColumn(*page, kWideDiagramSize, left), 1);
    stack->addWidget(MakeConstraintColumn(*page, left));
    layout->addWidget(left, 1);
  }
  layout->addWidget(MakeOutputColumn(*page, widget));
  return widget;
}

}  // namespace morvane::gui
