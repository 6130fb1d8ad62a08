// morvane-seriesparallel: ladders of real inductors and capacitors between RG and RL.

#include "companions/companion_main.h"
#include "companions/seriesparallel/seriesparallel_window.h"

int main(int argc, char** argv) {
  using namespace morvane::gui;
  const CompanionProgram program{"morvane-seriesparallel", "Morvane Series and Parallel Circuits",
                                 "[FILE]\n  FILE  a circuit file, as the LC page exports it\n"};
  return RunCompanion(argc, argv, program, [](const QStringList& arguments, QString& error) {
    if (arguments.size() > 1) {
      error = "takes one circuit file, not " + QString::number(arguments.size());
      return std::unique_ptr<QWidget>();
    }
    auto window = std::make_unique<SeriesParallelWindow>();
    if (!arguments.isEmpty()) window->OpenFile(arguments.front());
    return std::unique_ptr<QWidget>(std::move(window));
  });
}
