#include "cascade/cascade_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMetaMethod>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/window_look.h"
#include "cascade/cascade_choices.h"
#include "cascade/cascade_entry_fields.h"
#include "cascade/cascade_texts.h"
#include "cascade/section_table.h"
#include "graphs/cascade_graphs.h"
#include "graphs/sweep_target.h"
#include "noise/noise_subjects.h"
#include "noise/noise_window.h"
#include "opamp/opamp_choice.h"
#include "opamp/real_response.h"
#include "schematic/section_pictures.h"
#include "tolerance/tolerance_window.h"
#include "ui/glyphs.h"
#include "ui/window_placement.h"

namespace morvane::gui {

namespace {

constexpr int kTextPixelSize = 11;  // as the main window's
constexpr int kStatusMessageMs = 10000;

struct MenuItem {
  const char* name;
  const char* caption;
  const char* shortcut;
  const char* hint;
};

constexpr std::array kFileItems{
    MenuItem{"CascadeSaveNetlist", "Save &Netlist…", "",
             "Write the whole filter as a SPICE netlist"},
    MenuItem{"CascadeSavePartsList", "Save &Parts List…", "",
             "Write every component of every section as CSV"},
    MenuItem{nullptr, nullptr, nullptr, nullptr},
    MenuItem{"CascadeSaveDesign", "&Save to Design File…", "Ctrl+S",
             "Write the multi-stage filter into a design file, keeping the file's other entries"},
    MenuItem{"CascadeOpenDesign", "&Open from Design File…", "Ctrl+O",
             "Read the multi-stage filter of a design file"},
    MenuItem{nullptr, nullptr, nullptr, nullptr},
    MenuItem{"CascadePrint", "&Print…", "Ctrl+P", "Print the window"},
    MenuItem{nullptr, nullptr, nullptr, nullptr},
    MenuItem{"CascadeClose", "&Close", "Ctrl+W", "Close the window; it keeps its design"},
};

struct GraphItem {
  const char* name;
  const char* caption;
  CascadeGraph graph;
};

constexpr std::array kGraphItems{
    GraphItem{"CascadeGainGraph", "&Gain", CascadeGraph::Gain},
    GraphItem{"CascadePhaseGraph", "&Phase", CascadeGraph::Phase},
    GraphItem{"CascadeGroupDelayGraph", "Group &Delay", CascadeGraph::GroupDelay},
    GraphItem{"CascadeStepGraph", "&Step Response", CascadeGraph::StepResponse},
    GraphItem{"CascadePoleZeroGraph", "Pole-&Zero Plot", CascadeGraph::PoleZero},
};

QString Capitalised(const std::string& text) {
  QString line = Text(text);
  if (!line.isEmpty()) line[0] = line[0].toUpper();
  return line;
}

}  // namespace

CascadeWindow::CascadeWindow(PlatformServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
  setObjectName("CascadeWindow");
  setWindowTitle("Multi-stage Filter");
  setWindowIcon(ProgramIcon());
  // The main window's close ends the program, whatever this window shows.
  setAttribute(Qt::WA_QuitOnClose, false);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kSilver);
  for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    colours.setColor(QPalette::Disabled, role, kDisabledText);
  }
  setPalette(colours);
  QFont text = font();
  text.setPixelSize(kTextPixelSize);
  setFont(text);

  BuildMenus();
  setCentralWidget(BuildClientArea());
  BuildStatusBar();
  ConnectControls();
  ConnectPicturesAndGraphs();
  ShowEntries();
  Recalculate();
}

// The sweep mode of the graph windows tunes the corner: fg, f1 of the scheme when the scheme
// sets the corner, or fm and B of a band filter.
void CascadeWindow::MakeSweepTarget() {
  struct Tuned {
    std::string_view field;
    const char* label;  // null: the graph's own label for the corner
  };
  const auto tuned = [this]() -> std::pair<Tuned, std::optional<Tuned>> {
    if (IsBandKind(entries_.request.kind)) {
      return {{cascade_field::fm, "fm="}, Tuned{cascade_field::bandwidth, "B="}};
    }
    if (entries_.useScheme) return {{cascade_field::f1, "f1="}, std::nullopt};
    return {{cascade_field::fg, nullptr}, std::nullopt};
  };
  const auto value = [this](const Tuned& t, const QString& graphLabel) {
    const CascadeEntryField& field = *CascadeEntryNamed(t.field);
    return SweepValue{t.label ? QString(t.label) : graphLabel, field.get(entries_), field.least,
                      field.most};
  };
  const auto store = [this](const Tuned& t, double x) {
    CascadeEntryNamed(t.field)->set(entries_, x);
    ShowEntryText(t.field);
  };
  sweep_ = std::make_unique<FunctionSweepTarget>();
  sweep_->values = [tuned, value](const QString& graphLabel) {
    const auto [first, second] = tuned();
    SweepValues values{value(first, graphLabel), std::nullopt};
    if (second) values.second = value(*second, graphLabel);
    return values;
  };
  sweep_->apply = [this, tuned, store](double x1, double x2) {
    const auto [first, second] = tuned();
    store(first, x1);
    if (second) store(*second, x2);
    Recalculate();
  };
}

void CascadeWindow::ConnectPicturesAndGraphs() {
  MakeSweepTarget();
  graphs_ = new CascadeGraphs(services_, sweep_.get(), this);
  connect(this, &CascadeWindow::graphRequested, graphs_, qOverload<int>(&CascadeGraphs::Open));
  connect(this, &CascadeWindow::designChanged, this, [this](const CascadeDesign& design) {
    graphs_->SetCascade(design);
    chain_->SetCascade(design);
    ShowSectionPicture(pictureSection_);
  });
  connect(this, &CascadeWindow::sectionSelected, this, &CascadeWindow::ShowSectionPicture);
}

void CascadeWindow::ShowSectionPicture(int index) {
  const std::vector<CascadeSection>& sections = shown_.design.sections;
  if (sections.empty()) {
    sectionPicture_->Clear();
    return;
  }
  pictureSection_ = std::clamp(index, 0, static_cast<int>(sections.size()) - 1);
  sectionPicture_->SetSection(sections[static_cast<std::size_t>(pictureSection_)],
                              pictureSection_ + 1);
}

CascadeWindow::~CascadeWindow() = default;

void CascadeWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("CascadeFileMenu");
  for (const MenuItem& item : kFileItems) {
    if (!item.name) {
      file->addSeparator();
      continue;
    }
    QAction* action = file->addAction(QString::fromUtf8(item.caption));
    action->setObjectName(item.name);
    if (*item.shortcut) action->setShortcut(QKeySequence(QString::fromUtf8(item.shortcut)));
    action->setStatusTip(QString::fromUtf8(item.hint));
  }
  connect(findChild<QAction*>("CascadeSaveNetlist"), &QAction::triggered, this,
          &CascadeWindow::SaveNetlist);
  connect(findChild<QAction*>("CascadeSavePartsList"), &QAction::triggered, this,
          &CascadeWindow::SavePartsList);
  connect(findChild<QAction*>("CascadeSaveDesign"), &QAction::triggered, this,
          &CascadeWindow::SaveToDesignFile);
  connect(findChild<QAction*>("CascadeOpenDesign"), &QAction::triggered, this,
          &CascadeWindow::OpenFromDesignFile);
  connect(findChild<QAction*>("CascadePrint"), &QAction::triggered, this, &CascadeWindow::Print);
  connect(findChild<QAction*>("CascadeClose"), &QAction::triggered, this, &QWidget::close);

  // The graph windows answer graphRequested; the menu only asks.
  QMenu* graphs = menuBar()->addMenu("&Graphs");
  graphs->setObjectName("CascadeGraphsMenu");
  for (const GraphItem& item : kGraphItems) {
    QAction* action = graphs->addAction(QString::fromUtf8(item.caption));
    action->setObjectName(item.name);
    action->setStatusTip("Graph of the whole filter: " + action->text().remove('&'));
    connect(action, &QAction::triggered, this,
            [this, what = static_cast<int>(item.graph)] { emit graphRequested(what); });
  }

  QMenu* tools = menuBar()->addMenu("&Tools");
  tools->setObjectName("CascadeToolsMenu");
  QAction* tolerance = tools->addAction("&Tolerance Analysis…");
  tolerance->setObjectName("CascadeToleranceAnalysis");
  tolerance->setShortcut(QKeySequence("Ctrl+T"));
  tolerance->setStatusTip("Monte Carlo of the parts' tolerances: spread, sensitivities and yield");
  connect(tolerance, &QAction::triggered, this, [this] { ShowInFront(&Tolerance()); });
  QAction* noise = tools->addAction("&Noise…");
  noise->setObjectName("CascadeNoise");
  noise->setStatusTip(
      "Output noise of the whole filter: density, RMS over a band and each "
      "section's and part's share");
  connect(noise, &QAction::triggered, this, [this] { ShowInFront(&Noise()); });
  QAction* opAmp = tools->addAction("&Op Amp…");
  opAmp->setObjectName("CascadeOpAmp");
  opAmp->setStatusTip(
      "The filter with a real op amp: its curves and section figures beside the ideal");
  predistort_ = tools->addAction("&Pre-distort for the Op Amp");
  predistort_->setObjectName("CascadePredistort");
  predistort_->setCheckable(true);
  predistort_->setStatusTip(
      "MFB and Sallen-Key sections designed so that with the chosen op amp they meet f0 and Q");
  opAmps_ = new OpAmpChoice(
      [this](std::optional<OpAmpModel> model) {
        if (predistort_->isChecked()) {
          Recalculate();  // the sections are designed for the new op amp
        } else {
          largeSignal_ = LargeSignalOfShown();
          table_->ShowDesign(shown_.design, entries_.request.circuit, model);
          ShowStatus();
        }
        graphs_->SetOpAmp(shown_.design, std::move(model));
      },
      [this](const QString& text) { statusBar()->showMessage(text, kStatusMessageMs); }, this);
  connect(opAmp, &QAction::triggered, opAmps_, &OpAmpChoice::Offer);
  connect(predistort_, &QAction::toggled, this, [this] {
    Recalculate();
    graphs_->SetOpAmp(shown_.design, opAmps_->Chosen());
  });
}

std::optional<LargeSignalSummary> CascadeWindow::LargeSignalOfShown() const {
  const auto& model = opAmps_->Chosen();
  if (!model || model->IsIdeal() || !shown_.design.problem.empty()) return std::nullopt;
  for (const auto& section : CascadeRealAmplifier(shown_.design, *model)) {
    if (section && section->unstable) return std::nullopt;
  }
  return CascadeLargeSignal(shown_.design, *model);
}

NoiseWindow& CascadeWindow::Noise() {
  if (!noise_) {
    noise_ = new NoiseWindow(
        [this] { return CascadeNoiseSubject(Design(), RequestOf(entries_), opAmps_->Chosen()); },
        services_, nullptr, this);
    connect(this, &CascadeWindow::designChanged, noise_,
            [this] { noise_->SubjectMayHaveChanged(); });
    // After the choice has taken the row (its own connection comes first).
    connect(opAmps_->List(), &QListWidget::currentRowChanged, noise_,
            [this] { noise_->SubjectMayHaveChanged(); });
  }
  return *noise_;
}

ToleranceWindow& CascadeWindow::Tolerance() {
  if (!tolerance_) {
    const auto subject = [this]() -> std::optional<ToleranceSubject> {
      const CascadeDesign& design = Design();
      if (!design.problem.empty() || design.sections.empty()) return std::nullopt;
      const ToleranceScheme& s = entries_.scheme;
      return ToleranceSubject{
          {CascadeToleranceFilter(design, entries_.request.kind)}, true, {s.f1, s.d1, s.f2, s.d2}};
    };
    tolerance_ = new ToleranceWindow(
        subject, [this](auto bands) { graphs_->SetToleranceBands(std::move(bands)); }, this);
    connect(this, &CascadeWindow::designChanged, tolerance_,
            [this] { tolerance_->SubjectMayHaveChanged(); });
  }
  return *tolerance_;
}

void CascadeWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("CascadeStatusBar");
  bar->setSizeGripEnabled(true);
  auto* lines = new QWidget(bar);
  auto* layout = new QVBoxLayout(lines);
  layout->setContentsMargins(2, 0, 2, 0);
  layout->setSpacing(0);
  problemLine_ = new QLabel(lines);
  problemLine_->setObjectName("CascadeProblemLine");
  problemLine_->setTextFormat(Qt::PlainText);
  QPalette colours = problemLine_->palette();
  colours.setColor(QPalette::WindowText, kMaroon);
  problemLine_->setPalette(colours);
  warningLine_ = new QLabel(lines);
  warningLine_->setObjectName("CascadeWarningLine");
  warningLine_->setTextFormat(Qt::PlainText);
  for (QLabel* line : {problemLine_, warningLine_}) {
    line->setMinimumWidth(1);  // a long line is cut at the edge, not widening the window
    line->hide();
    layout->addWidget(line);
  }
  bar->addWidget(lines, 1);
}

void CascadeWindow::ConnectControls() {
  for (const auto& [name, edit] : fields_) {
    connect(edit, &QLineEdit::textEdited, this,
            [this, field = name](const QString& text) { EntryTyped(field, text); });
  }
  connect(approximation_, &QComboBox::activated, this, [this](int index) {
    entries_.request.approximation =
        static_cast<Approximation>(approximation_->itemData(index).toInt());
    Recalculate();
  });
  connect(kind_, &QComboBox::activated, this, [this](int index) {
    entries_.request.kind = static_cast<FilterKind>(kind_->itemData(index).toInt());
    Recalculate();
  });
  connect(roundResistors_, &QCheckBox::clicked, this, [this](bool checked) {
    entries_.request.circuit.roundResistors = checked;
    Recalculate();
  });
  connect(useScheme_, &QCheckBox::clicked, this, [this](bool checked) {
    entries_.useScheme = checked;
    Recalculate();
  });
  connect(split_, &QComboBox::activated, this, [this](int index) {
    entries_.request.split = static_cast<GainSplit>(split_->itemData(index).toInt());
    Recalculate();
  });
  connect(allSections_, &QComboBox::activated, this, &CascadeWindow::AllSectionsTopologyChosen);
  connect(sectionOrder_, &QLineEdit::textEdited, this, &CascadeWindow::SectionOrderTyped);
  connect(seriesR_, &QComboBox::activated, this, [this](int index) {
    entries_.request.circuit.seriesR = seriesR_->itemData(index).toInt();
    Recalculate();
  });
  connect(seriesC_, &QComboBox::activated, this, [this](int index) {
    entries_.request.circuit.seriesC = seriesC_->itemData(index).toInt();
    Recalculate();
  });
  // Queued: the choice that was picked is refilled by the design that follows.
  connect(table_, &SectionTable::topologyChosen, this, &CascadeWindow::TopologyChosen,
          Qt::QueuedConnection);
  connect(table_, &SectionTable::sectionSelected, this, &CascadeWindow::sectionSelected);
}

void CascadeWindow::EntryTyped(std::string_view field, const QString& text) {
  // The text stays as typed; the entries take its value held within the field's range.
  StoreCascadeEntry(*CascadeEntryNamed(field), text.toStdString(), entries_);
  Recalculate();
}

void CascadeWindow::EntrySpun(std::string_view field, bool up) {
  StepCascadeEntry(*CascadeEntryNamed(field), up ? SpinDirection::Up : SpinDirection::Down,
                   entries_);
  ShowEntryText(field);
  Recalculate();
}

void CascadeWindow::SectionOrderTyped(const QString& text) {
  entries_.request.sectionOrder = ReadSectionOrder(text.toStdString());
  Recalculate(CascadeEdit::SectionOrder);
}

void CascadeWindow::TopologyChosen(int row, Topology topology) {
  std::vector<std::optional<Topology>>& chosen = entries_.request.sectionTopologies;
  if (row < 0) return;
  if (chosen.size() <= static_cast<std::size_t>(row))
    chosen.resize(static_cast<std::size_t>(row) + 1);
  chosen[static_cast<std::size_t>(row)] = topology;
  Recalculate();
}

void CascadeWindow::AllSectionsTopologyChosen(int index) {
  const int data = allSections_->itemData(index).toInt();
  if (data < 0) {
    entries_.request.topology.reset();
  } else {
    entries_.request.topology = static_cast<Topology>(data);
  }
  // One topology for all: the choices of single sections give way to it.
  entries_.request.sectionTopologies.clear();
  Recalculate();
}

void CascadeWindow::SetEntries(const CascadeEntries& entries) {
  entries_ = entries;
  ShowEntries();
  Recalculate();
}

void CascadeWindow::TakeToleranceScheme(Approximation approximation, const ToleranceScheme& scheme,
                                        int leastOrder) {
  entries_.request.approximation = approximation;
  entries_.request.kind = FilterKind::Lowpass;
  entries_.useScheme = true;
  entries_.scheme = scheme;
  // Kept for when the scheme is switched off again.
  if (leastOrder >= kMinPrototypeOrder && leastOrder <= kMaxPrototypeOrder) {
    entries_.request.order = leastOrder;
  }
  ShowEntries();
  Recalculate();
}

void CascadeWindow::Recalculate(CascadeEdit edit) {
  const std::vector<int> order = entries_.request.sectionOrder;
  const auto& model = opAmps_ ? opAmps_->Chosen() : std::nullopt;
  const bool predistort = predistort_ && predistort_->isChecked() && model && !model->IsIdeal();
  entries_.request.circuit.predistortFor = predistort ? model : std::nullopt;
  shown_ = DesignForWindow(entries_, edit);
  largeSignal_ = opAmps_ ? LargeSignalOfShown() : std::nullopt;
  // A section order dropped as no longer fitting leaves its field blank.
  if (entries_.request.sectionOrder != order) {
    sectionOrder_->setText(Text(SectionOrderText(entries_.request.sectionOrder)));
  }
  ShowDesign();
  emit designChanged(shown_.design);
}

void CascadeWindow::ShowDesign() {
  table_->ShowDesign(shown_.design, entries_.request.circuit, opAmps_->Chosen());
  ShowActiveRows();
  ShowAllSectionsChoice();
  ShowFigures();
  ShowStatus();
}

void CascadeWindow::ShowFigures() {
  for (const FigureRow& row : FigureRows()) {
    figures_.find(row.name)->second->setText(Text(FigureText(row.figure, shown_.design)));
  }
  const bool least = entries_.useScheme && shown_.design.problem.empty();
  leastOrder_->setText(least ? " " + QString::number(shown_.design.prototypeOrder) : QString());
}

void CascadeWindow::ShowStatus() {
  const bool problem = !shown_.problem.empty();
  problemLine_->setText(problem ? "Cannot be built: " + Text(shown_.problem) + "." : QString());
  problemLine_->setToolTip(problemLine_->text());
  problemLine_->setVisible(problem);
  QStringList warnings;
  for (const std::string& note : shown_.notes) warnings << Text(note);
  for (const std::string& w : shown_.design.warnings) warnings << Capitalised(w) + ".";
  if (largeSignal_) {
    for (const std::string& w : largeSignal_->headroom.warnings) {
      warnings << "With " + Text(largeSignal_->opAmp) + ", " + Text(w) + ".";
    }
  }
  // The first one on the line, all of them in its tooltip.
  QString line = warnings.value(0);
  if (warnings.size() > 1) {
    line = QString("(%1 notes; point here for all) ").arg(warnings.size()) + line;
  }
  warningLine_->setText(line);
  warningLine_->setToolTip(warnings.join('\n'));
  warningLine_->setVisible(!warnings.isEmpty());
}

void CascadeWindow::ShowActiveRows() {
  const CascadeRequest& r = entries_.request;
  const bool band = IsBandKind(r.kind);
  const auto show = [this](std::string_view field, bool visible, bool enabled) {
    for (QWidget* w : rows_.find(field)->second) {
      w->setVisible(visible);
      w->setEnabled(enabled);
    }
  };
  const bool scheme = entries_.useScheme;
  show(cascade_field::order, true, !scheme);
  for (auto field : {cascade_field::f1, cascade_field::d1, cascade_field::f2, cascade_field::d2}) {
    show(field, true, scheme);
  }
  // With a scheme the corner, the ripple and the stop band follow from it.
  show(cascade_field::fg, !band, !scheme);
  show(cascade_field::fm, band, true);
  show(cascade_field::bandwidth, band, true);
  show(cascade_field::ripple, UsesRipple(r.approximation), !scheme);
  show(cascade_field::stopband, UsesStopband(r.approximation), !scheme);
}

void CascadeWindow::ShowAllSectionsChoice() {
  const QSignalBlocker block(allSections_);
  allSections_->clear();
  allSections_->addItem(Text(kDefaultTopologyCaption), -1);
  const CascadeDesign& d = shown_.design;
  for (const auto& entry : SectionTopologyNames()) {
    const bool offered =
        d.sections.empty() || BuildsEverySection(entry.choice, d, entries_.request.circuit);
    if (offered || entries_.request.topology == entry.choice) {
      allSections_->addItem(Text(TopologyChoiceCaption(entry.choice)),
                            static_cast<int>(entry.choice));
    }
  }
  const int chosen = entries_.request.topology ? static_cast<int>(*entries_.request.topology) : -1;
  allSections_->setCurrentIndex(std::max(0, allSections_->findData(chosen)));
}

void CascadeWindow::ShowEntryText(std::string_view field) {
  QLineEdit* edit = fields_.find(field)->second;
  const QSignalBlocker block(edit);
  edit->setText(Text(CascadeEntryText(*CascadeEntryNamed(field), entries_)));
}

void CascadeWindow::ShowEntries() {
  for (const CascadeEntryField& field : CascadeEntryFields()) ShowEntryText(field.name);
  const CascadeRequest& r = entries_.request;
  const auto select = [](QComboBox* choice, int data) {
    const QSignalBlocker block(choice);
    choice->setCurrentIndex(std::max(0, choice->findData(data)));
  };
  select(approximation_, static_cast<int>(r.approximation));
  select(kind_, static_cast<int>(r.kind));
  select(split_, static_cast<int>(r.split));
  select(seriesR_, r.circuit.seriesR);
  select(seriesC_, r.circuit.seriesC);
  {
    const QSignalBlocker block(useScheme_);
    useScheme_->setChecked(entries_.useScheme);
  }
  {
    const QSignalBlocker block(roundResistors_);
    roundResistors_->setChecked(r.circuit.roundResistors);
  }
  const QSignalBlocker block(sectionOrder_);
  sectionOrder_->setText(Text(SectionOrderText(r.sectionOrder)));
}

void CascadeWindow::Print() {
  if (isSignalConnected(QMetaMethod::fromSignal(&CascadeWindow::printRequested))) {
    emit printRequested();
    return;
  }
  PrintOwnPicture();
}

}  // namespace morvane::gui
