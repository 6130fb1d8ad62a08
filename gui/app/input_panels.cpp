#include "app/input_panels.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <array>
#include <string_view>

#include "app/entry_stepping.h"
#include "app/window_look.h"
#include "design/field_names.h"
#include "design/page_fields.h"
#include "ui/glyphs.h"
#include "ui/spin_button.h"

namespace morvane::gui {

namespace {

constexpr int kEntryWidth = 74;
constexpr int kResultWidth = 74;
const char* const kInputHint = "Input for information needed to perform calculations";

struct InputRow {
  std::string_view label;
  std::string_view caption;
  std::string_view labelHint;
  std::string_view entry;
  std::string_view spin;
  std::string_view spinHint;
  std::string_view unitLabel;
  std::string_view unit;
};

// Captions of the initial state; switching topology and type relabels several rows.
constexpr std::array kInputRows{
    InputRow{"Labelfg", "Cut-Off Frequency fc", "3dB drop", field::fgEingabe, "SpinButtonfg",
             "Increase or decrease f", "LabelfgEinheit", "Hz"},
    InputRow{"LabelQ", "Quality Factor Q=1/2D", "Sets the peaking near the resonance frequency",
             field::QEingabe, "SpinButtonQ", "Increase or decrease Q", "", ""},
    InputRow{"LabelVu", "Gain |Vo|", "Partly tied to Q, above all for the bandpass",
             field::VuEingabe, "SpinButtonVu", "Increase or decrease V", "LabelWellEinheit", " "},
    InputRow{
        "Label24", "Input Impedance Zin",
        "For the lowpass filters Zin is the input impedance at high frequencies, and it is met "
        "only approximately",
        field::ZinEingabe, "SpinButtonZin", "Increase or decrease Zin", "LabelZinEinheit", "Ω"},
    InputRow{"LabelD_RL", "Damping D=1/2Q", "", field::DEingabe, "SpinButtonD",
             "Increase or decrease D", "LabelRLEinheit", "Ω"},
};

struct PanelHint {
  std::string_view field;
  std::string_view label;  // objectName of the row's label
  std::string_view hint;
};

constexpr std::array kPanelHints{
    PanelHint{field::foAusgabe, "Labelfo", "Resonance frequency is often different from fc"},
    PanelHint{field::woAusgabe, "Labelwo", ""},
    PanelHint{field::BrAusgabe, "LabelBr", "For constant voltage noise density"},
    PanelHint{field::GBWPAusgabe, "LabelGBWP",
              "As minimum value for low accuracy. Should be higher especially for highpass, "
              "allpass, bandpass and bandstop filters."},
    PanelHint{field::tgrAusgabe, "Labeltgr",
              "At low frequencies (LP, HP, AP, BS) or at center frequency (BP)"},
    PanelHint{field::trAusgabe, "Labeltr", "Valid for lowpass filters"},
    PanelHint{field::OSAusgabe, "LabelOS", "Valid for lowpass filters"},
};

const PanelHint* HintFor(std::string_view field) {
  for (const PanelHint& h : kPanelHints) {
    if (h.field == field) return &h;
  }
  return nullptr;
}

QGridLayout* RegionLayout(QFrame* region, const QString& heading) {
  auto* layout = new QGridLayout(region);
  layout->setContentsMargins(6, 3, 6, 4);
  layout->setHorizontalSpacing(4);
  layout->setVerticalSpacing(1);
  QLabel* title = MakeHeading(heading, region);
  title->setStatusTip(region->statusTip());
  layout->addWidget(title, 0, 0, 1, -1);
  return layout;
}

QString UnitName(std::string_view field) {
  QString name = Text(field);
  name.remove("Ausgabe");
  return "Label" + name + "Einheit";
}

}  // namespace

QFrame* MakeInputGroup(QWidget* parent) {
  QFrame* region = MakeRegion("InputGroup", kInputHint, parent);
  QGridLayout* layout = RegionLayout(region, "Input");
  int row = 1;
  // A row hidden for a topology leaves no gap: the rows below it move up.
  auto add = [&](QWidget* widget, int column) { layout->addWidget(widget, row, column); };
  for (const InputRow& r : kInputRows) {
    add(MakeLabel(Text(r.label), Text(r.caption), Text(r.labelHint), region), 0);
    auto* spin = new SpinButton(Text(r.spin), Text(r.spinHint), region);
    spin->setProperty(kSteppedEntryProperty, Text(r.entry));
    add(spin, 1);
    add(MakeEntryField(r.entry, kEntryWidth, region), 2);
    if (!r.unitLabel.empty()) add(MakeLabel(Text(r.unitLabel), Text(r.unit), {}, region), 3);
    ++row;
  }
  layout->setColumnStretch(0, 1);
  layout->setColumnMinimumWidth(3, 18);
  layout->setRowStretch(row, 1);
  return region;
}

QFrame* MakeInformationPanel(QWidget* parent) {
  QFrame* region = MakeRegion("Informationen", kInputHint, parent);
  QGridLayout* layout = RegionLayout(region, "Information");
  int row = 1;
  for (const LabelledField& f : InformationPanelFields()) {
    const PanelHint* hint = HintFor(f.field);
    const QString labelName = hint ? Text(hint->label) : QString();
    const QString hintText = hint ? Text(hint->hint) : QString();
    layout->addWidget(MakeLabel(labelName, Text(f.label), hintText, region), row, 0);
    if (f.field == field::trAusgabe) {
      QLabel* note = MakeLabel("Label10bis90", "10..90%", "Valid for lowpass filters", region);
      QFont small = note->font();
      small.setBold(true);
      small.setPixelSize(9);
      note->setFont(small);
      layout->addWidget(note, row, 0, Qt::AlignRight);
    }
    layout->addWidget(MakeResultField(f.field, kResultWidth, region), row, 1);
    layout->addWidget(MakeLabel(UnitName(f.field), Text(f.unit), {}, region), row, 2);
    ++row;
  }
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(row, 1);
  return region;
}

QFrame* MakeFrequencyResponsePanel(QWidget* parent) {
  QFrame* region = MakeRegion("FrequencyResponse", {}, parent);
  QGridLayout* layout = RegionLayout(region, "Frequency Response");
  layout->addWidget(MakeLabel("Labelf", "f", {}, region), 1, 1);
  auto* spin = new SpinButton("SpinButtonf", "Increase or decrease f", region);
  spin->setProperty(kSteppedEntryProperty, Text(field::fEingabe));
  layout->addWidget(spin, 1, 2);
  layout->addWidget(MakeEntryField(field::fEingabe, kEntryWidth, region), 1, 3);
  layout->addWidget(MakeLabel("LabelfEinheit", "Hz", {}, region), 1, 4);
  int row = 2;
  for (const LabelledField& f : ReadoutFields()) {
    QLabel* icon = MakeLabel(Text(f.field).replace("Ausgabe", "Image"), {}, {}, region);
    icon->setPixmap(ReadoutIcon(row - 2));
    layout->addWidget(icon, row, 0);
    layout->addWidget(MakeLabel({}, Text(f.label), {}, region), row, 1);
    layout->addWidget(MakeResultField(f.field, kResultWidth, region), row, 3);
    layout->addWidget(MakeLabel(UnitName(f.field), Text(f.unit), {}, region), row, 4);
    ++row;
  }
  layout->setColumnStretch(1, 1);
  layout->setColumnMinimumWidth(4, 18);
  layout->setRowStretch(row, 1);
  return region;
}

}  // namespace morvane::gui
