#pragma once

// The op-amp choice of the main window and the multi-stage window: `ideal` and the parts of
// the built-in table, with those the user's opamps.ini (in the program's config folder) adds
// or changes. The file is read each time the choice opens, so an edit shows at the next
// opening; a faulty file leaves the built-in parts and says why in the status line once per
// reading, never in a message box.
//
// The dialog is modeless: a row picked (click or arrow keys) is taken at once, so the curves
// and figures change while the user looks along the list.

#include <QColor>
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "opamp/opamp_model.h"

class QListWidget;

namespace morvane::gui {

// The texts that give figures with the op amp: a darker shade of its curve's colour.
inline const QColor kOpAmpTextColour(150, 70, 0);

// The user's op-amp file: opamps.ini in the program's config folder.
QString UserOpAmpFilePath();

struct OpAmpParts {
  std::vector<OpAmpModel> table;  // `ideal` first
  QString error;                  // empty: the file was read whole, or there is none
};
// The built-in table with the file at `path` applied when it exists.
OpAmpParts ReadOpAmpParts(const QString& path);

// A row of the list: "TL072   GBW 3.00 MHz, SR 13.0 V/µs, en 18.00 nV/√Hz".
QString OpAmpRowText(const OpAmpModel& model);

class OpAmpChoice : public QDialog {
  Q_OBJECT

 public:
  // `choose` takes the part picked (none for `ideal`), `status` a line for the owner's status
  // bar.
  OpAmpChoice(std::function<void(std::optional<OpAmpModel>)> choose,
              std::function<void(const QString&)> status, QWidget* parent);

  // Reads the file, fills the list with the current choice selected and shows the dialog.
  void Offer();
  // The part chosen; none while the amplifiers are ideal.
  const std::optional<OpAmpModel>& Chosen() const { return chosen_; }
  // Picks the part of that name from the table of the last reading (as a click on its row);
  // false when there is none of that name.
  bool Choose(const QString& name);
  QListWidget* List() const { return list_; }

 private:
  void Take(int row);

  std::function<void(std::optional<OpAmpModel>)> choose_;
  std::function<void(const QString&)> status_;
  std::vector<OpAmpModel> table_;
  std::optional<OpAmpModel> chosen_;
  QListWidget* list_ = nullptr;
};

}  // namespace morvane::gui
