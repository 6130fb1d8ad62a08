#pragma once

// The pictures of the graph windows' buttons that carry no text, drawn rather than loaded.

#include <QIcon>
#include <string_view>

namespace morvane::gui {

// Glyph of a button bar button by the button's name; a null icon for an unknown name.
QIcon GraphButtonGlyph(std::string_view button);

}  // namespace morvane::gui
