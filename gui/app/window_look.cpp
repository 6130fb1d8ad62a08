#include "app/window_look.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidgetItem>

namespace morvane::gui {

namespace {

QLineEdit* MakeField(std::string_view name, int width, const QColor& background, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(Text(name));
  edit->setFixedSize(width, kFieldHeight);
  edit->setTextMargins(0, 0, 0, 0);
  QPalette colours = edit->palette();
  colours.setColor(QPalette::Base, background);
  edit->setPalette(colours);
  return edit;
}

// What a marked field keeps: its message, and the colour and hint it had before.
constexpr const char* kMarkProperty = "unbuildableMark";
constexpr const char* kOwnBaseProperty = "unbuildableOwnBase";
constexpr const char* kOwnHintProperty = "unbuildableOwnHint";
// The same for a grid cell.
constexpr int kMarkRole = Qt::UserRole + 1;
constexpr int kOwnBackgroundRole = Qt::UserRole + 2;

}  // namespace

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
}

QLabel* MakeHeading(const QString& text, QWidget* parent) {
  auto* heading = new QLabel(text, parent);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  QPalette colours = heading->palette();
  colours.setColor(QPalette::WindowText, kMaroon);
  heading->setPalette(colours);
  return heading;
}

QLabel* MakeLabel(const QString& name, const QString& text, const QString& hint, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  if (!hint.isEmpty()) SetHint(label, hint);
  return label;
}

QLineEdit* MakeEntryField(std::string_view name, int width, QWidget* parent) {
  return MakeField(name, width, kLightYellow, parent);
}

QLineEdit* MakeResultField(std::string_view name, int width, QWidget* parent) {
  QLineEdit* edit = MakeField(name, width, kSilver, parent);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::ClickFocus);  // Tab walks the entries only
  return edit;
}

QFrame* MakeRegion(const QString& name, const QString& hint, QWidget* parent) {
  auto* region = new QFrame(parent);
  region->setObjectName(name);
  region->setFrameStyle(QFrame::Panel | QFrame::Raised);
  if (!hint.isEmpty()) SetHint(region, hint);
  return region;
}

QString UnbuildableMark(const QLineEdit* field) {
  return field->property(kMarkProperty).toString();
}

QString UnbuildableMark(const QTableWidgetItem* cell) {
  return cell->data(kMarkRole).toString();
}

void MarkUnbuildable(QLineEdit* field, const QString& message) {
  const QString shown = UnbuildableMark(field);
  if (shown == message) return;
  if (shown.isEmpty()) {
    field->setProperty(kOwnBaseProperty, field->palette().color(QPalette::Base));
    field->setProperty(kOwnHintProperty, field->toolTip());
  }
  QPalette colours = field->palette();
  colours.setColor(QPalette::Base,
                   message.isEmpty() ? field->property(kOwnBaseProperty).value<QColor>() : kAmber);
  field->setPalette(colours);
  SetHint(field, message.isEmpty() ? field->property(kOwnHintProperty).toString() : message);
  field->setProperty(kMarkProperty, message);
}

void MarkUnbuildable(QTableWidgetItem* cell, const QString& message) {
  const QString shown = UnbuildableMark(cell);
  if (shown == message) return;
  if (shown.isEmpty()) cell->setData(kOwnBackgroundRole, cell->data(Qt::BackgroundRole));
  cell->setData(Qt::BackgroundRole,
                message.isEmpty() ? cell->data(kOwnBackgroundRole) : QVariant(QBrush(kAmber)));
  cell->setToolTip(message);
  cell->setData(kMarkRole, message);
}

}  // namespace morvane::gui
