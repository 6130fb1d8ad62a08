#pragma once

// Circuit diagrams by resource name ("mfbtp", "pfbelltp", "lchp", ...). Every picture of the
// window is loaded here, so the diagrams can be supplied in one place.

#include <QPixmap>
#include <string_view>

namespace morvane::gui {

// The diagram drawn to fit `size`, or a null pixmap while the program carries no picture
// of that name.
QPixmap CircuitPicture(std::string_view name, QSize size);

}  // namespace morvane::gui
