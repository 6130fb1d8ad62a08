#include "opamp/opamp_choice.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

#include "app/window_look.h"
#include "numerics/value_text.h"
#include "opamp/opamp_file.h"

namespace morvane::gui {

namespace {

constexpr std::string_view kFileName = "opamps.ini";
// The longest names of the table and of a user's file still line up.
constexpr int kNameWidth = 10;

}  // namespace

QString UserOpAmpFilePath() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  return QDir(folder).filePath(Text(kFileName));
}

OpAmpParts ReadOpAmpParts(const QString& path) {
  OpAmpParts parts{BuiltInOpAmps(), {}};
  if (!QFileInfo::exists(path)) return parts;
  const QString name = QFileInfo(path).fileName();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    parts.error = name + " could not be read: " + file.errorString() + "; built-in parts only.";
    return parts;
  }
  const QByteArray text = file.readAll();
  if (const auto error =
          ApplyOpAmpFile(std::string_view(text.constData(), text.size()), parts.table)) {
    parts.error = QString("%1, line %2: %3; built-in parts only.")
                      .arg(name)
                      .arg(error->line)
                      .arg(Text(error->message));
  }
  return parts;
}

QString OpAmpRowText(const OpAmpModel& model) {
  const QString name = Text(model.name).leftJustified(kNameWidth);
  if (model.IsIdeal()) return name + " infinite gain and bandwidth, no noise";
  return name + " GBW " + Text(FormatQuantity(model.gainBandwidth, "Hz")) + ", SR " +
         Text(FormatFixedTrimmed(1, model.slewRate * 1e-6)) + " V/µs, en " +
         Text(FormatQuantity(model.voltageNoiseDensity, "V/√Hz"));
}

OpAmpChoice::OpAmpChoice(std::function<void(std::optional<OpAmpModel>)> choose,
                         std::function<void(const QString&)> status, QWidget* parent)
    : QDialog(parent),
      choose_(std::move(choose)),
      status_(std::move(status)),
      table_(BuiltInOpAmps()) {
  setObjectName("OpAmpChoice");
  setWindowTitle("Op Amp");
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  auto* note = new QLabel(
      "The curves and figures with this op amp are shown beside the ideal ones. Parts of "
      "your own: " +
          QDir::toNativeSeparators(UserOpAmpFilePath()),
      this);
  note->setWordWrap(true);
  note->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(note);
  list_ = new QListWidget(this);
  list_->setObjectName("OpAmpList");
  list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  list_->setMinimumSize(480, 320);
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  // The program fills the list with its signals blocked: every change here is the user's.
  connect(list_, &QListWidget::currentRowChanged, this, &OpAmpChoice::Take);
}

void OpAmpChoice::Offer() {
  OpAmpParts parts = ReadOpAmpParts(UserOpAmpFilePath());
  table_ = std::move(parts.table);
  if (!parts.error.isEmpty() && status_) status_(parts.error);
  {
    const QSignalBlocker block(list_);
    list_->clear();
    int current = 0;
    for (std::size_t i = 0; i < table_.size(); ++i) {
      list_->addItem(OpAmpRowText(table_[i]));
      if (chosen_ && SameOpAmpName(table_[i].name, chosen_->name)) current = static_cast<int>(i);
    }
    list_->setCurrentRow(current);
  }
  show();
  raise();
  activateWindow();
}

bool OpAmpChoice::Choose(const QString& name) {
  const auto found = std::ranges::find_if(
      table_, [&name](const OpAmpModel& m) { return SameOpAmpName(m.name, name.toStdString()); });
  if (found == table_.end()) return false;
  const int row = static_cast<int>(found - table_.begin());
  if (list_->count() == static_cast<int>(table_.size()) && list_->currentRow() != row) {
    list_->setCurrentRow(row);  // takes it
  } else {
    Take(row);
  }
  return true;
}

void OpAmpChoice::Take(int row) {
  if (row < 0 || row >= static_cast<int>(table_.size())) return;
  const OpAmpModel& model = table_[static_cast<std::size_t>(row)];
  chosen_ = model.IsIdeal() ? std::nullopt : std::optional<OpAmpModel>(model);
  if (choose_) choose_(chosen_);
}

}  // namespace morvane::gui
