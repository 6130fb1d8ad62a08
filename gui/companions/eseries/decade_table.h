#pragma once

// One decade of a series of preferred values as a grid of up to twelve columns (E192 in 16
// rows), each value to the digits of its series, with the entry's neighbours marked.

#include <QTableWidget>
#include <cstdint>
#include <optional>

#include "eseries/preferred_series.h"

namespace morvane::gui {

// Global indices of the values around the entry (see PreferredValueAt): the nearest is marked
// strongly, the other neighbour lightly.
struct DecadeMarks {
  std::int64_t below = 0;
  std::int64_t above = 0;
  std::int64_t nearest = 0;
};

class DecadeTable : public QTableWidget {
  Q_OBJECT

 public:
  explicit DecadeTable(QWidget* parent = nullptr);

  // Fills the grid with the series, sized to show every cell; no marks without an entry.
  void Show(PreferredSeries series, const std::optional<DecadeMarks>& marks);

 signals:
  // A value was clicked: its place in the decade, 0 .. N - 1.
  void valueClicked(int place);

 private:
  int places_ = 0;
};

}  // namespace morvane::gui
