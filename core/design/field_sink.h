#pragma once

// Where the recalculation sends what it shows: texts addressed by field name, grid cells,
// the events a window would raise (beep, message box, a non-blocking notice) and the
// components that cannot be bought.

#include <string>
#include <string_view>
#include <vector>

#include "design/buildable_range.h"

namespace morvane {

class FieldSink {
 public:
  virtual ~FieldSink() = default;
  // Text of a field (entry or result), named as in field_names.h.
  virtual void Write(std::string_view field, const std::string& text) = 0;
  // Text of one cell of a grid; column and row count from 0, row 0 is the header.
  virtual void WriteCell(std::string_view grid, int column, int row, const std::string& text) = 0;
  // The system beep for a choice the topology does not design.
  virtual void Beep() = 0;
  // A modal message box.
  virtual void Message(const std::string& text) = 0;
  // A one-line notice that must not block typing (shown in a status line); empty clears it.
  virtual void Notice(const std::string& text) = 0;
  // The components of the design just made that cannot be bought (empty: all can), sent
  // after every design. The texts of their fields stay as they are.
  virtual void UnbuildableComponents(const std::vector<ComponentWarning>& /*warnings*/) {}
};

}  // namespace morvane
