#include "app/platform_services.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QProcess>

namespace morvane::gui {

QString NameFilter(const FileFilter& filter) {
  return filter.description + " (" + filter.patterns.join(' ') + ")";
}

QString PlatformServices::AskOpenFile(QWidget*, const FileDialogRequest&) {
  return {};
}

QString PlatformServices::AskSaveFile(QWidget*, const FileDialogRequest&) {
  return {};
}

bool PlatformServices::StartProgram(const QString&, const QStringList&) {
  return false;
}

QStringList PlatformServices::ProgramFolders() const {
  return {};
}

QString PlatformServices::PrinterName() {
  return {};
}

void PlatformServices::SetUpPrinter(QWidget*) {}

bool PlatformServices::AskPrint(QWidget*) {
  return true;
}

bool PlatformServices::PrintPicture(const QImage&, QString& error) {
  error = "No printer is installed, so nothing was printed.";
  return false;
}

void PlatformServices::CopyPicture(const QImage&) {}

void DesktopServices::Beep() {
  QApplication::beep();
}

void DesktopServices::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QApplication::applicationDisplayName(), text);
}

bool DesktopServices::StartProgram(const QString& path, const QStringList& arguments) {
  // Detached: the program runs on its own and outlives this one.
  return QProcess::startDetached(path, arguments);
}

QStringList DesktopServices::ProgramFolders() const {
  QStringList folders{QCoreApplication::applicationDirPath()};
  folders += qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
  return folders;
}

void DesktopServices::CopyPicture(const QImage& picture) {
  QApplication::clipboard()->setImage(picture);
}

}  // namespace morvane::gui
