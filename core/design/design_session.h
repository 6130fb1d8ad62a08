#pragma once

// The main window without widgets: the design state, the choices, the text of every field
// and grid, and the handlers that tie them together (typing, spinning, switching topology,
// type and series, check boxes, Make calculations, start-up). The command-line tool drives
// it directly; the window mirrors its field texts.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design/design_choices.h"
#include "design/design_state.h"
#include "design/entry_table.h"
#include "design/field_sink.h"
#include "design/stage_as_built.h"
#include "opamp/large_signal_summary.h"
#include "opamp/predistortion.h"
#include "opamp/real_response.h"

namespace morvane {

using Grid = std::vector<std::vector<std::string>>;  // rows of cell texts

class DesignSession : private FieldSink {
 public:
  DesignSession();

  // Start-up of the window: MFB page, lowpass (highpass for the argument "H", bandpass for
  // "B"), the default design file opened (none when empty; a missing file keeps the initial
  // values), every entry field filled, one full recalculation. Returns false with a message
  // when the design file exists but cannot be read; the start-up still completes.
  bool Start(std::string_view firstArgument = {}, const std::string& defaultDesignFile = {},
             std::string* error = nullptr);

  // Opens a design file: its entries replace those of the state (held within the entry
  // limits), and what the program's own section stores replaces the page, type, series, check
  // boxes, options and LC orders; every entry field is refilled. Does not recalculate. False
  // with a message, and nothing changed, for a file that cannot be read.
  bool OpenDesign(const std::string& path, std::string& error);

  // The user types `text` into an entry field (its whole new text). The design raises no
  // message box then (its notices say the same in the status line): a box only follows an
  // explicit action.
  void TypeEntry(std::string_view field, std::string_view text);
  // A spin button click; returns false for an unknown button.
  bool Spin(std::string_view button, SpinDirection direction);
  // A type the topology does not design gives way to its first one (the lowpass).
  void SelectTopology(Topology topology);
  void SelectFilterType(FilterType type);
  void SelectResistorSeries(int series);
  void SelectCapacitorSeries(int series);
  // A check box click; returns false for an unknown box.
  bool SetCheckBox(std::string_view box, bool checked);
  // The approximation buttons of the LC page (Butterworth or Chebyshev).
  void SetLadderApproximation(bool chebyshev);
  // The order scroll bar of the LC page (2..10).
  void SetLadderOrder(int order);
  // The order buttons of the diplexer page (3, 5, 7, 9).
  void SetDiplexerOrder(int order);
  // The approximation buttons of the diplexer page.
  void SetDiplexerApproximation(bool chebyshev);
  // Options > Round Resistors: every resistor of an active stage to the nearest series value.
  void SetResistorRounding(bool round);
  // A choice of the value search (StageValueChoices) taken: Zin, or the page's capacitance,
  // set to the level that gives its capacitors, and its parts shown and built for as long
  // as the design asks for the same parts.
  void TakeChosenValues(const StageParts& parts, double level, bool levelIsCapacitance);
  // Make calculations: every entry rewritten from the state, then a full recalculation.
  void MakeCalculations();
  // Every entry field rewritten from the state.
  void RefreshEntries();

  const DesignState& State() const { return state_; }
  // The state a design file keeps: the entries of every page as the user left them (the PFB
  // page's R3 and fn/fo, not another page's results).
  DesignState SavedState() const;
  DesignState& MutableState() { return state_; }
  const DesignChoices& Choices() const { return choices_; }
  FilterType Type() const { return choices_.type; }

  const std::string& FieldText(std::string_view field) const;
  const std::map<std::string, std::string, std::less<>>& Fields() const { return fields_; }
  const Grid& GridCells(std::string_view grid) const;
  const std::map<std::string, Grid, std::less<>>& Grids() const { return grids_; }
  int BeepCount() const { return beeps_; }
  const std::vector<std::string>& Messages() const { return messages_; }
  const std::string& CurrentNotice() const { return notice_; }
  // With rounded resistors, the active stage's figures as designed and as built; else none.
  const std::optional<StageAsBuilt>& AsBuilt() const { return asBuilt_; }
  // With an op amp chosen, the active stage's figures and response with it; else none.
  const std::optional<RealAmplifierFigures>& RealAmplifier() const { return realAmplifier_; }
  // With a real op amp on a stage it keeps stable, the largest undistorted output and the
  // headroom of its op amps; else none.
  const std::optional<LargeSignalSummary>& LargeSignal() const { return largeSignal_; }
  // Chooses the op amp (none: the ideal one only) and recalculates.
  void SelectOpAmp(std::optional<OpAmpModel> model);
  // Pre-distortion for the chosen op amp on or off (DesignChoices::predistort); recalculates.
  void SetPredistortion(bool on);
  // With pre-distortion on and a real op amp on an MFB or PFB lowpass, highpass or bandpass:
  // the f0 and Q designed for and those with the op amp, or why the plain design is kept
  // (PredistortionLine gives the text); else none.
  const std::optional<Predistortion>& PredistortionOutcome() const { return predistortion_; }
  // Whether the stage is built with values taken from the value search.
  bool ValuesChosen() const;
  // The components of the current design that cannot be bought, each with the field or grid
  // cell that shows it; renewed by every recalculation, empty when all can be bought.
  const std::vector<ComponentWarning>& ComponentWarnings() const { return componentWarnings_; }

  // Called after every change of a field's text by the program (not by TypeEntry). A text
  // the program writes never runs an entry's handler.
  std::function<void(std::string_view field, const std::string& text)> onFieldWritten;
  std::function<void(std::string_view grid, int column, int row, const std::string& text)>
      onCellWritten;
  std::function<void()> onBeep;
  std::function<void(const std::string&)> onMessage;
  std::function<void(const std::string&)> onNotice;
  // After every design, with the list ComponentWarnings() now gives.
  std::function<void(const std::vector<ComponentWarning>&)> onComponentWarnings;
  // After every recalculation, the figures as built among its results.
  std::function<void()> onRecalculated;

  // Full recalculation, or the one the code asks for.
  void Recalculate(ChangedEntry code = ChangedEntry::Any);

 private:
  using PendingRecalculation = std::optional<ChangedEntry>;

  // The handler of an entry the user edited: its value stored, the recalculation it asks for.
  void RunEntryHandler(std::string_view field);
  // A text the program shows; true when it changed.
  bool ShowField(std::string_view field, const std::string& text);
  // An entry's text shown by the program. An entry whose value follows every change of its
  // text (the entry table says which) takes the value as shown, and `pending` gathers the
  // recalculation that needs; the caller runs it.
  bool ShowEntry(std::string_view field, const std::string& text, PendingRecalculation& pending);
  void RecalculatePending(PendingRecalculation& pending);
  void ShowActiveInputs();
  // A page entry's text changed: the designs take its value from now on.
  void TakePageEntryValue(std::string_view field);
  // The value an entry shows, held within its limits.
  double ShownEntryValue(std::string_view field) const;

  // FieldSink
  void Write(std::string_view field, const std::string& text) override;
  void WriteCell(std::string_view grid, int column, int row, const std::string& text) override;
  void Beep() override;
  void Message(const std::string& text) override;
  void Notice(const std::string& text) override;
  void UnbuildableComponents(const std::vector<ComponentWarning>& warnings) override;

  DesignState state_;
  DesignChoices choices_;
  std::map<std::string, std::string, std::less<>> fields_;
  std::map<std::string, Grid, std::less<>> grids_;
  int beeps_ = 0;
  std::vector<std::string> messages_;
  std::string notice_;
  // While an entry's handler runs for typed text: a message box would block the typing.
  bool typing_ = false;
  std::optional<StageAsBuilt> asBuilt_;
  std::optional<RealAmplifierFigures> realAmplifier_;
  std::optional<LargeSignalSummary> largeSignal_;
  std::optional<Predistortion> predistortion_;
  std::vector<ComponentWarning> componentWarnings_;
};

}  // namespace morvane
