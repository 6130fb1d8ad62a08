#pragma once

// The window of morvane-eseries from its arguments: a value to start with and a series name,
// in either order, each at most once.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

namespace morvane::gui {

std::unique_ptr<QWidget> MakeESeriesWindow(const QStringList& arguments, QString& error);

}  // namespace morvane::gui
