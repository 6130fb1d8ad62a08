// morvane-rc: the RC filters window of the Tools menu.

#include "companions/companion_main.h"
#include "companions/rc/rc_window.h"

int main(int argc, char** argv) {
  using namespace morvane::gui;
  return RunCompanion(argc, argv, {"morvane-rc", "Morvane RC Filters", ""},
                      [](const QStringList& arguments, QString& error) -> std::unique_ptr<QWidget> {
                        if (!arguments.isEmpty()) {
                          error = "unexpected argument " + arguments.first();
                          return nullptr;
                        }
                        return std::make_unique<RcWindow>();
                      });
}
