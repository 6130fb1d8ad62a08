#include "design/design_session.h"

#include <algorithm>

#include "design/field_names.h"
#include "design/recalculate.h"
#include "design/selection_rules.h"
#include "files/design_file.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

Grid MakeGrid(int columns, int rows) {
  return Grid(static_cast<std::size_t>(rows), std::vector<std::string>(columns));
}

Grid PoleGrid() {
  Grid g = MakeGrid(6, 11);
  g[0] = {"  N", "   Re(sn)", "   Im(sn)", "      an", "      bn", "      Qn"};
  for (int row = 1; row <= 10; ++row) g[row][0] = "   " + FormatInteger(row);
  return g;
}

// The value a page's own entry shows: what that page's design keeps in the state while the
// page is shown, else the entry's own value, which another page's design never touches.
double PageEntryShown(std::string_view name, const DesignState& s, const DesignChoices& c) {
  for (const field::PageEntry& entry : field::PageEntries()) {
    if (entry.name == name) return s.topology == entry.page ? s.*entry.shown : c.*entry.value;
  }
  return 0.0;
}

// A start or an opened file: the state's R3, fn/fo and capacitance become the entries of the
// pages that have them.
void AdoptPageEntries(const DesignState& s, DesignChoices& c) {
  for (const field::PageEntry& entry : field::PageEntries()) c.*entry.value = s.*entry.shown;
}

// The first type the topology offers (every topology offers the lowpass).
FilterType FirstOfferedType(Topology topology) {
  for (FilterType type : {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass,
                          FilterType::Bandstop, FilterType::Allpass, FilterType::EllipticLowpass}) {
    if (OffersType(topology, type)) return type;
  }
  return FilterType::Lowpass;
}

Grid ElementGrid(int rows) {
  Grid g = MakeGrid(2, rows);
  g[0] = {"Element", "     Value"};
  return g;
}

}  // namespace

DesignSession::DesignSession() {
  for (auto name : field::EntryFields()) fields_.emplace(name, "");
  for (auto name : field::ResultFields()) fields_.emplace(name, field::kUnwritten);
  grids_.emplace(field::StringGridAlignPN, PoleGrid());
  grids_.emplace(field::StringAlignGridLC, ElementGrid(11));
  grids_.emplace(field::StringAlignGridDiplexTP, ElementGrid(10));
  grids_.emplace(field::StringAlignGridDiplexHP, ElementGrid(10));
  fields_[std::string(field::NLCAusgabe)] = "  " + FormatInteger(state_.LCOrder);
  for (const field::PageEntry& entry : field::PageEntries()) TakePageEntryValue(entry.name);
}

bool DesignSession::Start(std::string_view firstArgument, const std::string& defaultDesignFile,
                          std::string* error) {
  SelectTopology(Topology::Mfb);  // filling the tabs selects the first page
  state_.topology = Topology::Mfb;
  SelectFilterType(FilterType::Lowpass);
  if (firstArgument == "H") SelectFilterType(FilterType::Highpass);
  if (firstArgument == "B") SelectFilterType(FilterType::Bandpass);
  bool opened = true;
  std::string message;
  if (!defaultDesignFile.empty()) opened = OpenDesign(defaultDesignFile, message);
  if (defaultDesignFile.empty() || !opened) {
    state_.C2 = state_.C1;
    state_.D = 0.5 / state_.Q;
    AdoptPageEntries(state_, choices_);
    RefreshEntries();
  }
  Recalculate();
  if (error) *error = message;
  return opened;
}

bool DesignSession::OpenDesign(const std::string& path, std::string& error) {
  DesignState read = state_;
  DesignChoices readChoices = choices_;
  if (!ReadDesignFile(path, read, error, nullptr, &readChoices)) return false;
  HoldDesignValuesInRange(read);
  state_ = read;
  choices_ = readChoices;
  // A file may pair a page with a type it does not design.
  if (!OffersType(state_.topology, choices_.type))
    choices_.type = FirstOfferedType(state_.topology);
  AdoptPageEntries(state_, choices_);
  state_.C2 = state_.C1;
  state_.D = 0.5 / state_.Q;
  ShowField(field::NLCAusgabe, "  " + FormatInteger(state_.LCOrder));
  RefreshEntries();
  return true;
}

const std::string& DesignSession::FieldText(std::string_view name) const {
  static const std::string empty;
  auto it = fields_.find(name);
  return it == fields_.end() ? empty : it->second;
}

const Grid& DesignSession::GridCells(std::string_view grid) const {
  static const Grid empty;
  auto it = grids_.find(grid);
  return it == grids_.end() ? empty : it->second;
}

void DesignSession::TypeEntry(std::string_view name, std::string_view text) {
  auto it = fields_.find(name);
  if (it == fields_.end()) return;
  it->second = std::string(text);
  TakePageEntryValue(name);
  // Every keystroke recalculates: what the design has to say then goes to the status line.
  typing_ = true;
  RunEntryHandler(name);
  typing_ = false;
}

bool DesignSession::ShowField(std::string_view name, const std::string& text) {
  auto it = fields_.find(name);
  if (it == fields_.end()) {
    it = fields_.emplace(std::string(name), text).first;
  } else if (it->second == text) {
    return false;  // an unchanged text raises no change event
  }
  it->second = text;
  TakePageEntryValue(name);
  if (onFieldWritten) onFieldWritten(name, text);
  return true;
}

bool DesignSession::ShowEntry(std::string_view name, const std::string& text,
                              PendingRecalculation& pending) {
  if (!ShowField(name, text)) return false;
  const auto rule = EntryRuleFor(name, state_.topology);
  if (!rule || rule->userEditsOnly) return false;
  StoreEntry(*rule, text, state_);
  // A full recalculation covers the readout too.
  if (pending != ChangedEntry::Any) pending = rule->code;
  return true;
}

void DesignSession::RecalculatePending(PendingRecalculation& pending) {
  if (!pending) return;
  Recalculate(*pending);
  pending.reset();
}

void DesignSession::RunEntryHandler(std::string_view name) {
  const auto rule = EntryRuleFor(name, state_.topology);
  if (!rule) return;
  StoreEntry(*rule, FieldText(name), state_);
  Recalculate(rule->code);
}

bool DesignSession::Spin(std::string_view button, SpinDirection direction) {
  const auto step = StepSpinButton(button, direction, state_);
  if (!step) return false;
  PendingRecalculation pending;
  ShowEntry(step->field, step->text, pending);
  Recalculate(step->code);
  return true;
}

void DesignSession::ShowActiveInputs() {
  PendingRecalculation pending;
  ShowEntry(field::DEingabe, " " + FormatValue(6, 2, state_.D), pending);
  // The gain as shown, held within the limits of the new topology.
  ShowEntry(field::VuEingabe, " " + FormatValue(7, 2, state_.Vu), pending);
  const EntryRule gain = *EntryRuleFor(field::VuEingabe, state_.topology);
  state_.Vu = ClampEntry(state_.Vu, gain.min, gain.max);
}

void DesignSession::SelectTopology(Topology topology) {
  state_.topology = topology;
  // A page never keeps a type it cannot design: it takes its first one.
  if (!OffersType(topology, choices_.type)) choices_.type = FirstOfferedType(topology);
  PendingRecalculation pending;
  if (IsActiveTopology(topology)) {
    ShowActiveInputs();
  } else if (topology == Topology::LcLadder) {
    if (choices_.ladderChebyshev) {
      ShowEntry(field::VuEingabe, " " + FormatFixed(7, 2, state_.rippleDb), pending);
    }
    ShowEntry(field::DEingabe, " " + FormatValue(6, 2, state_.RL), pending);
  }
  Recalculate();
}

void DesignSession::SelectFilterType(FilterType type) {
  choices_.type = type;
  Recalculate();
}

void DesignSession::SelectResistorSeries(int series) {
  state_.ESeriesR = series;
  Recalculate();
}

void DesignSession::SelectCapacitorSeries(int series) {
  state_.ESeriesC = series;
  Recalculate();
}

bool DesignSession::SetCheckBox(std::string_view box, bool checked) {
  bool* option = field::CheckBoxOption(box, choices_);
  if (!option) return false;
  *option = checked;
  Recalculate();
  return true;
}

void DesignSession::SetLadderApproximation(bool chebyshev) {
  choices_.ladderChebyshev = chebyshev;
  // The gain field turns into the ripple field and takes the ripple as its value.
  PendingRecalculation pending;
  if (chebyshev) ShowEntry(field::VuEingabe, " " + FormatFixed(6, 2, state_.rippleDb), pending);
  Recalculate();
}

void DesignSession::SelectOpAmp(std::optional<OpAmpModel> model) {
  choices_.opAmp = std::move(model);
  Recalculate();
}

void DesignSession::SetPredistortion(bool on) {
  choices_.predistort = on;
  Recalculate();
}

void DesignSession::SetResistorRounding(bool round) {
  choices_.roundResistors = round;
  Recalculate();
}

void DesignSession::TakeChosenValues(const StageParts& parts, double level,
                                     bool levelIsCapacitance) {
  const Topology topology = state_.topology;
  if (!IsActiveTopology(topology)) return;
  const std::string_view entry = !levelIsCapacitance          ? field::ZinEingabe
                                 : topology == Topology::Svf3 ? field::C12Eingabe3
                                 : topology == Topology::Svf4 ? field::C12Eingabe4
                                                              : field::C12Eingabe5;
  // The entry shows the level and the design follows it, as if the user had typed it.
  ShowField(entry, " " + FormatValue(7, 2, level));
  RunEntryHandler(entry);
  const StageDesign design = DesignStageOf(topology, state_, choices_);
  if (!design.Realizable()) return;
  choices_.chosenValues = ChosenValues{topology, choices_.type, design.parts, parts};
  Recalculate();
}

bool DesignSession::ValuesChosen() const {
  return ChosenValuesInForce(state_, choices_);
}

void DesignSession::SetLadderOrder(int order) {
  state_.LCOrder = std::clamp(order, 2, 10);
  ShowField(field::NLCAusgabe, "  " + FormatInteger(state_.LCOrder));
  Recalculate();
}

void DesignSession::SetDiplexerOrder(int order) {
  choices_.diplexerOrder = order <= 3 ? 3 : order <= 5 ? 5 : order <= 7 ? 7 : 9;
  Recalculate();
}

void DesignSession::SetDiplexerApproximation(bool chebyshev) {
  choices_.diplexerChebyshev = chebyshev;
  Recalculate();
}

void DesignSession::RefreshEntries() {
  // Each entry shows its value and takes the value as shown. The entries of single pages
  // show values the designs also compute (R3, C1), so the design follows the general entries
  // before they are shown, and the capacitance follows R3 and fn/fo.
  PendingRecalculation pending;
  const DesignState& s = state_;
  if (IsActiveTopology(s.topology)) {
    ShowEntry(field::VuEingabe, " " + FormatValue(7, 2, s.Vu), pending);
    ShowEntry(field::DEingabe, " " + FormatValue(7, 2, s.D), pending);
  } else if (s.topology == Topology::LcLadder) {
    if (choices_.ladderChebyshev) {
      ShowEntry(field::VuEingabe, " " + FormatFixed(7, 2, s.rippleDb), pending);
    }
    ShowEntry(field::DEingabe, " " + FormatValue(6, 2, s.RL), pending);
  }
  ShowEntry(field::fgEingabe, " " + FormatValue(7, 2, s.fg), pending);
  ShowEntry(field::fEingabe, " " + FormatValue(6, 1, s.f), pending);
  ShowEntry(field::QEingabe, " " + FormatValue(7, 2, s.Q), pending);
  ShowEntry(field::ZinEingabe, " " + FormatValue(7, 2, s.Zin), pending);
  RecalculatePending(pending);
  const auto shown = [this](std::string_view name) {
    return PageEntryShown(name, state_, choices_);
  };
  ShowEntry(field::R32Eingabe, " " + FormatValue(7, 2, shown(field::R32Eingabe)), pending);
  ShowEntry(field::q2Eingabe, " " + FormatFixed(7, 3, shown(field::q2Eingabe)), pending);
  RecalculatePending(pending);
  for (auto name : {field::C12Eingabe3, field::C12Eingabe4, field::C12Eingabe5}) {
    ShowEntry(name, " " + FormatValue(7, 2, shown(name)), pending);
  }
  RecalculatePending(pending);
}

DesignState DesignSession::SavedState() const {
  DesignState saved = state_;
  // The PFB page's entries as typed, whichever page's design last wrote R3.
  saved.R3 = choices_.pfbR3;
  saved.fnfp = choices_.pfbZeroRatio;
  return saved;
}

void DesignSession::MakeCalculations() {
  RefreshEntries();
  Recalculate();
}

void DesignSession::TakePageEntryValue(std::string_view name) {
  for (const field::PageEntry& entry : field::PageEntries()) {
    if (entry.name == name) choices_.*entry.value = ShownEntryValue(name);
  }
}

double DesignSession::ShownEntryValue(std::string_view name) const {
  const auto rule = EntryRuleFor(name, state_.topology);
  return ClampEntry(ReadValue(FieldText(name)), rule->min, rule->max);
}

void DesignSession::Recalculate(ChangedEntry code) {
  morvane::Recalculate(code, state_.topology, state_, choices_, *this);
  asBuilt_.reset();
  if (choices_.roundResistors || ChosenValuesInForce(state_, choices_)) {
    asBuilt_ = StageAsBuiltOf(state_, choices_);
  }
  predistortion_.reset();
  if (IsActiveTopology(state_.topology)) {
    predistortion_ = PredistortedStageOf(state_.topology, state_, choices_).outcome;
  }
  realAmplifier_.reset();
  largeSignal_.reset();
  if (choices_.opAmp && !choices_.opAmp->IsIdeal()) {
    realAmplifier_ = StageRealAmplifier(state_, choices_.type, *choices_.opAmp);
    // A pre-distorted stage is judged against the f0 and Q asked for, not against the ideal
    // figures of the circuit designed for other ones.
    if (realAmplifier_ && predistortion_ && predistortion_->Achieved()) {
      realAmplifier_->ideal.f0 = state_.fo;
      realAmplifier_->ideal.q = state_.Q;
    }
    if (realAmplifier_ && !realAmplifier_->unstable) {
      largeSignal_ = StageLargeSignal(state_, choices_.type, *choices_.opAmp);
    }
  }
  if (onRecalculated) onRecalculated();
}

void DesignSession::Write(std::string_view name, const std::string& text) {
  ShowField(name, text);
}

void DesignSession::WriteCell(std::string_view grid, int column, int row, const std::string& text) {
  auto it = grids_.find(grid);
  if (it == grids_.end() || row < 0 || column < 0) return;
  Grid& g = it->second;
  if (static_cast<std::size_t>(row) >= g.size()) return;
  auto& cells = g[static_cast<std::size_t>(row)];
  if (static_cast<std::size_t>(column) >= cells.size()) return;
  cells[static_cast<std::size_t>(column)] = text;
  if (onCellWritten) onCellWritten(grid, column, row, text);
}

void DesignSession::Beep() {
  ++beeps_;
  if (onBeep) onBeep();
}

void DesignSession::Message(const std::string& text) {
  if (typing_) return;  // the notice of the status line says it
  messages_.push_back(text);
  if (onMessage) onMessage(text);
}

void DesignSession::Notice(const std::string& text) {
  notice_ = text;
  if (onNotice) onNotice(text);
}

void DesignSession::UnbuildableComponents(const std::vector<ComponentWarning>& warnings) {
  componentWarnings_ = warnings;
  if (onComponentWarnings) onComponentWarnings(componentWarnings_);
}

}  // namespace morvane
