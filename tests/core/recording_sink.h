#pragma once

// What the stage tests share: a FieldSink that keeps what the recalculation wrote, a stage
// recalculated into one, and the value a page entry takes from a text.

#include <map>
#include <string>
#include <vector>

#include "design/entry_table.h"
#include "design/field_sink.h"
#include "design/recalculate.h"
#include "numerics/value_text.h"

namespace morvane::testing {

class RecordingSink : public FieldSink {
 public:
  void Write(std::string_view field, const std::string& text) override {
    fields[std::string(field)] = text;
    order.emplace_back(field);
  }
  void WriteCell(std::string_view grid, int column, int row, const std::string& text) override {
    cells[std::string(grid) + "[" + std::to_string(row) + "][" + std::to_string(column) + "]"] =
        text;
  }
  void Beep() override { ++beeps; }
  void Message(const std::string& text) override { messages.push_back(text); }
  void Notice(const std::string& text) override { notice = text; }

  bool Has(const std::string& field) const { return fields.count(field) != 0; }
  const std::string& At(const std::string& field) const { return fields.at(field); }

  std::map<std::string, std::string> fields;
  std::map<std::string, std::string> cells;
  std::vector<std::string> order;
  std::vector<std::string> messages;
  std::string notice;
  int beeps = 0;
};

struct Designed {
  DesignState state;
  RecordingSink sink;
};

// One full recalculation of `topology` from `start`.
inline Designed DesignStage(Topology topology, const DesignChoices& in, DesignState start) {
  Designed d{start, {}};
  Recalculate(ChangedEntry::Any, topology, d.state, in, d.sink);
  return d;
}

// The value an entry field holds for `text`, as the session reads it.
inline double EntryValue(std::string_view field, std::string_view text) {
  const auto rule = EntryRuleFor(field, Topology::Pfb);
  return ClampEntry(ReadValue(text), rule->min, rule->max);
}

}  // namespace morvane::testing
