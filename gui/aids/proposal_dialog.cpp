#include "aids/proposal_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "app/window_look.h"
#include "ui/window_placement.h"

namespace morvane::gui {

namespace {

constexpr const char* kCriteria[4] = {
    "Few op amps, if possible",
    "Simple design",
    "Use low performance op amps",
    "TP, HP, BP etc. at the same time",
};

QPushButton* MakeButton(const char* name, const char* caption, int top, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(300, top, 88, 27);
  return button;
}

}  // namespace

ProposalDialog::ProposalDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("TInfoDlg");
  setWindowTitle("Circuit Topology Proposal");
  setFixedSize(kClientSize);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kSilver);
  setPalette(colours);

  MakeHeading("Criteria", this)->setGeometry(16, 10, 260, 18);
  for (int i = 0; i < 4; ++i) {
    boxes_[i] = new QCheckBox(kCriteria[i], this);
    boxes_[i]->setObjectName(QString("CheckBox%1").arg(i + 1));
    // Only as wide as its caption: a click beside the caption would not toggle the box.
    boxes_[i]->move(24, 34 + 24 * i);
    boxes_[i]->adjustSize();
  }

  MakeHeading("Output", this)->setGeometry(16, 138, 260, 18);
  answer_ = new QLabel(Text(proposal_text::kPrompt), this);
  answer_->setObjectName("AusgabeLabel");
  answer_->setTextFormat(Qt::PlainText);
  answer_->setWordWrap(true);
  answer_->setGeometry(24, 162, 364, 48);
  answer_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont bold = answer_->font();
  bold.setBold(true);
  answer_->setFont(bold);
  QPalette red = answer_->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  answer_->setPalette(red);

  QPushButton* proposal = MakeButton("OKBtn", "Proposal", 16, this);
  proposal->setDefault(true);
  connect(proposal, &QPushButton::clicked, this, &ProposalDialog::OKBtnClick);
  QPushButton* back = MakeButton("CancelBtn", "Back", 52, this);
  connect(back, &QPushButton::clicked, this, &QDialog::reject);

  CentreOnScreen(this);
}

ProposalCriteria ProposalDialog::Criteria() const {
  return {boxes_[0]->isChecked(), boxes_[1]->isChecked(), boxes_[2]->isChecked(),
          boxes_[3]->isChecked()};
}

void ProposalDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // "Back" keeps the focus from the last closing; Enter must ask for a proposal again.
  boxes_[0]->setFocus();
}

void ProposalDialog::OKBtnClick() {
  answer_->setText(Text(ProposeTopology(Criteria())));
}

}  // namespace morvane::gui
