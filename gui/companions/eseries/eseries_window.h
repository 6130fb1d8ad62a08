#pragma once

// The standard-value program's window: a series (E3 to E192) and a value; the series values
// below and above it and the nearer by ratio with their errors; the best two parts of the
// series in series and in parallel; the pair a, b whose ratio a / b comes nearest to a given
// ratio; and the table of the series, one decade, with the values around the entry marked.
// Every keystroke recalculates; a bad entry shows its message in the window.

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>

#include "companions/eseries/decade_table.h"
#include "eseries/preferred_series.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace morvane::gui {

class ESeriesWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit ESeriesWindow(QWidget* parent = nullptr);

  void SetSeries(PreferredSeries series);
  PreferredSeries Series() const;
  void SetValueText(const QString& text);
  void SetRatioText(const QString& text);
  // The messages of the bad entries, one a line; empty when both entries are taken.
  QString Message() const;

 private:
  // Three result fields of a two-part row: a, b and what they make, and its error.
  struct PairFields {
    QLineEdit* a = nullptr;
    QLineEdit* b = nullptr;
    QLineEdit* value = nullptr;
    QLineEdit* error = nullptr;
  };

  QWidget* BuildEntryRegion();
  QWidget* BuildBracketRegion();
  QWidget* BuildPairRegion();
  QWidget* BuildRatioRegion();
  QWidget* BuildDecadeRegion();
  PairFields MakePairRow(const char* name, const QString& label, const QString& operation,
                         const QString& hint, QWidget* region, QGridLayout* grid, int row);
  void Recalculate();
  void TakeDecadeValue(int place);

  QComboBox* series_ = nullptr;
  QLineEdit* value_ = nullptr;
  QLineEdit* ratio_ = nullptr;
  QLabel* message_ = nullptr;
  std::array<QLineEdit*, 3> bracket_{};       // below, above, nearest
  std::array<QLineEdit*, 3> bracketError_{};  // their errors
  PairFields inSeries_;
  PairFields inParallel_;
  PairFields ratioPair_;
  QLabel* decadeHeading_ = nullptr;
  DecadeTable* decade_ = nullptr;
};

}  // namespace morvane::gui
