#pragma once

// A FieldSink that keeps what the recalculation wrote, for assertions.

#include <map>
#include <string>
#include <vector>

#include "design/field_sink.h"

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

}  // namespace morvane::testing
