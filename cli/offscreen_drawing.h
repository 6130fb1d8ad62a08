#pragma once

// What `morvane-cli plot` needs to paint a bitmap without a display: a Qt application object
// that always draws off screen, and the PNG bytes of a picture.

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>

namespace morvane::cli {

// The application object Qt's painter needs, on the offscreen platform whatever
// QT_QPA_PLATFORM the environment holds (an ssh session or cron job may pass "xcb" without a
// display, or "wayland", which would end the program). Null when one exists already.
std::unique_ptr<QGuiApplication> OffscreenApplication();

// The picture encoded as PNG, in memory; empty when it cannot be encoded.
std::string PngBytes(const QImage& image);

}  // namespace morvane::cli
