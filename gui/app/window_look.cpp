#include "app/window_look.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

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

}  // namespace morvane::gui
