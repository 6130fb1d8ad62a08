#pragma once

// Where the recalculation sends what it shows: texts addressed by field name, grid cells,
// and the events a window would raise (beep, message box, a non-blocking notice).

#include <string>
#include <string_view>

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
};

}  // namespace morvane
