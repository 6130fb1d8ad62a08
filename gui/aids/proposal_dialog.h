#pragma once

// The topology proposal dialog: four criteria, and one sentence of advice when "Proposal" is
// pressed. Made once, so its boxes and its answer last from one opening to the next.

#include <QDialog>

#include "aids/topology_proposal.h"

class QCheckBox;
class QLabel;

namespace morvane::gui {

class ProposalDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr QSize kClientSize{403, 226};

  explicit ProposalDialog(QWidget* parent = nullptr);

  ProposalCriteria Criteria() const;
  // Writes the answer for the checked criteria into AusgabeLabel.
  void OKBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QCheckBox* boxes_[4] = {};
  QLabel* answer_ = nullptr;
};

}  // namespace morvane::gui
