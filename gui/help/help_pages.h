#pragma once

// The pages of the help window: HTML carried inside the program as resources under
// ":/help/", one per topology and one per concept, with an index linking them all.

#include <QString>
#include <QStringList>

#include "design/design_state.h"

namespace morvane::gui {

// The resource folder of the pages and the URL scheme the browser reads them with.
inline constexpr char kHelpFolder[] = ":/help/";
inline constexpr char kHelpIndexPage[] = "index.html";

// The file name (in kHelpFolder) of the page that explains a topology's tab.
QString HelpPageFor(Topology topology);

// Every page the help window ships, the index first: the topologies in tab order, then the
// concepts.
QStringList HelpPages();

// The URL the help window's browser shows a page under ("qrc:/help/NAME").
QString HelpPageUrl(const QString& page);

}  // namespace morvane::gui
