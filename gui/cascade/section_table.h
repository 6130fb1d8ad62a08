#pragma once

// The section table of the Multi-stage Filter window: one row a section with its kind, f0, Q,
// zero, gain (with its sign), topology, the peaking at its output, the GBWP it needs, with an
// op amp chosen its f0, Q and peaking with that op amp, and its parts. The topology cell is a
// choice offering only the topologies that build the section.

#include <QTableWidget>
#include <optional>

#include "cascade/cascade_design.h"
#include "opamp/opamp_model.h"

class QComboBox;

namespace morvane::gui {

class SectionTable : public QTableWidget {
  Q_OBJECT

 public:
  enum Column {
    Number,
    Kind,
    F0,
    Q,
    Fz,
    Gain,
    TopologyColumn,
    Peaking,
    Gbwp,
    OpAmpColumn,
    Parts,
    ColumnCount
  };

  explicit SectionTable(QWidget* parent = nullptr);

  // Shows the design's sections (none when it has a problem); the selected row stays selected
  // while it exists. With an op amp (not `ideal`) the op-amp column shows each section with it.
  void ShowDesign(const CascadeDesign& design, const SectionDesignOptions& options,
                  const std::optional<OpAmpModel>& opAmp = std::nullopt);

  // The topology choice of a row ("SectionTopology1" for the first), or null.
  QComboBox* TopologyChoice(int row) const;
  // The selected section, or -1.
  int SelectedSection() const;

 signals:
  // The user picked a topology for the section in that row.
  void topologyChosen(int row, Topology topology);
  // The user selected the row of a section (click or keys).
  void sectionSelected(int row);

 private:
  void ShowRow(int row, const CascadeSection& section, const SectionDesignOptions& options);
  void ShowOpAmpColumn(const CascadeDesign& design, const std::optional<OpAmpModel>& opAmp);
  void ShowTopologyChoice(int row, const CascadeSection& section,
                          const SectionDesignOptions& options);

  bool showing_ = false;  // the program is filling the table: selections are not the user's
};

}  // namespace morvane::gui
