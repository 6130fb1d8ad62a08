#include "design/design_session.h"

#include <algorithm>

#include "design/field_names.h"
#include "design/recalculate.h"
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
    RefreshEntries();
  }
  Recalculate();
  if (error) *error = message;
  return opened;
}

bool DesignSession::OpenDesign(const std::string& path, std::string& error) {
  DesignState read = state_;
  if (!ReadDesignFile(path, read, error)) return false;
  HoldDesignValuesInRange(read);
  state_ = read;
  state_.C2 = state_.C1;
  state_.D = 0.5 / state_.Q;
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
  RunEntryHandler(name, true);
}

void DesignSession::WriteField(std::string_view name, const std::string& text) {
  auto it = fields_.find(name);
  if (it == fields_.end()) {
    it = fields_.emplace(std::string(name), text).first;
  } else if (it->second == text) {
    return;  // an unchanged text raises no change event
  }
  it->second = text;
  if (onFieldWritten) onFieldWritten(name, text);
  if (field::IsEntryField(name)) RunEntryHandler(name, false);
}

void DesignSession::RunEntryHandler(std::string_view name, bool byUser) {
  const auto rule = EntryRuleFor(name, state_.topology);
  if (!rule) return;
  if (rule->userEditsOnly && !byUser) return;
  StoreEntry(*rule, FieldText(name), state_);
  Recalculate(rule->code);
}

bool DesignSession::Spin(std::string_view button, SpinDirection direction) {
  const auto step = StepSpinButton(button, direction, state_);
  if (!step) return false;
  WriteField(step->field, step->text);
  Recalculate(step->code);
  return true;
}

void DesignSession::ShowActiveInputs() {
  WriteField(field::DEingabe, " " + FormatValue(6, 2, state_.D));
  // Rewriting the gain clamps it to the limits of the new topology, through the field's
  // handler when the text changes, and here when it does not (MFB to SVF to PFB with a gain
  // below 1 shows the same text twice).
  WriteField(field::VuEingabe, " " + FormatValue(7, 2, state_.Vu));
  const EntryRule gain = *EntryRuleFor(field::VuEingabe, state_.topology);
  state_.Vu = ClampEntry(state_.Vu, gain.min, gain.max);
}

void DesignSession::SelectTopology(Topology topology) {
  state_.topology = topology;
  if (IsActiveTopology(topology)) {
    ShowActiveInputs();
  } else if (topology == Topology::LcLadder) {
    if (inputs_.RadioButtonTscheb) {
      WriteField(field::VuEingabe, " " + FormatFixed(7, 2, state_.Welligkeit));
    }
    WriteField(field::DEingabe, " " + FormatValue(6, 2, state_.RL));
  }
  Recalculate();
}

void DesignSession::SelectFilterType(FilterType type) {
  inputs_.type = type;
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
  bool* flag = box == "CCheckBox1"   ? &inputs_.CCheckBox1
               : box == "CCheckBox2" ? &inputs_.CCheckBox2
               : box == "RCheckBox2" ? &inputs_.RCheckBox2
               : box == "CCheckBox3" ? &inputs_.CCheckBox3
               : box == "CCheckBox4" ? &inputs_.CCheckBox4
               : box == "CCheckBox5" ? &inputs_.CCheckBox5
                                     : nullptr;
  if (!flag) return false;
  *flag = checked;
  Recalculate();
  return true;
}

void DesignSession::SetLadderApproximation(bool chebyshev) {
  inputs_.RadioButtonTscheb = chebyshev;
  // The gain field turns into the ripple field; writing it reads the ripple back.
  if (chebyshev) WriteField(field::VuEingabe, " " + FormatFixed(6, 2, state_.Welligkeit));
  Recalculate();
}

void DesignSession::SetLadderOrder(int order) {
  state_.LCOrder = std::clamp(order, 2, 10);
  WriteField(field::NLCAusgabe, "  " + FormatInteger(state_.LCOrder));
  Recalculate();
}

void DesignSession::SetDiplexerOrder(int order) {
  inputs_.diplexerOrder = order <= 3 ? 3 : order <= 5 ? 5 : order <= 7 ? 7 : 9;
  Recalculate();
}

void DesignSession::SetDiplexerApproximation(bool chebyshev) {
  inputs_.RadioButtonTscheb2 = chebyshev;
  Recalculate();
}

void DesignSession::RefreshEntries() {
  const DesignState& s = state_;
  if (IsActiveTopology(s.topology)) {
    WriteField(field::VuEingabe, " " + FormatValue(7, 2, s.Vu));
    WriteField(field::DEingabe, " " + FormatValue(7, 2, s.D));
  } else if (s.topology == Topology::LcLadder) {
    if (inputs_.RadioButtonTscheb) {
      WriteField(field::VuEingabe, " " + FormatFixed(7, 2, s.Welligkeit));
    }
    WriteField(field::DEingabe, " " + FormatValue(6, 2, s.RL));
  }
  // Each write may run a handler that changes the state, so read the members afresh.
  WriteField(field::fgEingabe, " " + FormatValue(7, 2, state_.fg));
  WriteField(field::fEingabe, " " + FormatValue(6, 1, state_.f));
  WriteField(field::QEingabe, " " + FormatValue(7, 2, state_.Q));
  WriteField(field::ZinEingabe, " " + FormatValue(7, 2, state_.Zin));
  WriteField(field::R32Eingabe, " " + FormatValue(7, 2, state_.R3));
  WriteField(field::q2Eingabe, " " + FormatFixed(7, 3, state_.fnfp));
  const std::string capacitance = " " + FormatValue(7, 2, state_.C1);
  WriteField(field::C12Eingabe3, capacitance);
  WriteField(field::C12Eingabe4, capacitance);
  WriteField(field::C12Eingabe5, capacitance);
}

void DesignSession::MakeCalculations() {
  RefreshEntries();
  Recalculate();
}

void DesignSession::Recalculate(ChangedEntry code) {
  inputs_.R32Eingabe = FieldText(field::R32Eingabe);
  inputs_.q2Eingabe = FieldText(field::q2Eingabe);
  inputs_.C12Eingabe3 = FieldText(field::C12Eingabe3);
  inputs_.C12Eingabe4 = FieldText(field::C12Eingabe4);
  inputs_.C12Eingabe5 = FieldText(field::C12Eingabe5);
  const RecalcInputs snapshot = inputs_;
  morvane::Recalculate(code, state_.topology, state_, snapshot, *this);
}

void DesignSession::Write(std::string_view name, const std::string& text) {
  WriteField(name, text);
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
  messages_.push_back(text);
  if (onMessage) onMessage(text);
}

void DesignSession::Notice(const std::string& text) {
  notice_ = text;
  if (onNotice) onNotice(text);
}

}  // namespace morvane
