#include "companions/eseries/eseries_arguments.h"

#include "companions/eseries/eseries_window.h"
#include "eseries/preferred_series.h"
#include "eseries/preferred_texts.h"

namespace morvane::gui {

std::unique_ptr<QWidget> MakeESeriesWindow(const QStringList& arguments, QString& error) {
  std::optional<PreferredSeries> series;
  std::optional<QString> value;
  for (const QString& argument : arguments) {
    const auto named = PreferredSeriesNamed(argument.toStdString());
    if (named && !series) {
      series = named;
    } else if (!named && !value) {
      const EntryReading reading = ReadTargetEntry(argument.toStdString());
      if (!reading.problem.empty()) {
        error = QString::fromStdString(reading.problem);
        return nullptr;
      }
      value = argument;
    } else {
      error = "unexpected argument " + argument;
      return nullptr;
    }
  }
  auto window = std::make_unique<ESeriesWindow>();
  if (series) window->SetSeries(*series);
  if (value) window->SetValueText(*value);
  return window;
}

}  // namespace morvane::gui
