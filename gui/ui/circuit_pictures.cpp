#include "ui/circuit_pictures.h"

#include <QString>

namespace morvane::gui {

QPixmap CircuitPicture(std::string_view name, QSize size) {
  if (name.empty()) return {};
  // Compiled-in resources; none are bundled yet, so this gives a null pixmap.
  const QPixmap picture(
      QStringLiteral(":/circuits/%1.png")
          .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
  return picture.isNull() ? picture
                          : picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace morvane::gui
