#include "app/hint_times.h"

#include <QApplication>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>

namespace morvane::gui {

namespace {

class HintDelayStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return kHintDelayMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// Qt keeps a tooltip up for a time that grows with its length; the hint time is fixed.
class HintDuration : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->toolTip().isEmpty()) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), widget->toolTip(), widget, {}, kHintShownMs);
    return true;
  }
};

}  // namespace

void InstallHintTimes(QApplication& app) {
  QApplication::setStyle(new HintDelayStyle(QApplication::style()->name()));
  app.installEventFilter(new HintDuration(&app));
}

}  // namespace morvane::gui
