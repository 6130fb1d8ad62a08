#pragma once

// What the window asks of the desktop beyond its own widgets. Tests replace it, so no real
// beep sounds, no modal box or file dialog blocks a test and no program is really started.
//
// Apart from the beep and the message box, the base class answers as a desktop without
// dialogs, printers or programs would: every file dialog is cancelled, nothing prints and
// nothing starts. A replacement overrides what it looks at; DesktopServices overrides all.

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QImage;
class QWidget;

namespace morvane::gui {

struct FileFilter {
  QString description;   // "INI Files"
  QStringList patterns;  // "*.ini"
  // Shows only files the user may run (what "*.exe" is on Windows).
  bool executablesOnly = false;
};

struct FileDialogRequest {
  QString title;
  QList<FileFilter> filters;  // the first is selected
  QString defaultSuffix;      // added to a typed name without one
  QString initialName;
};

// "INI Files (*.ini)", as file dialogs take a filter.
QString NameFilter(const FileFilter& filter);

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;
  // The system's warning beep.
  virtual void Beep() = 0;
  // A modal message box over `parent`; returns when the user closed it.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;

  // The file dialogs; neither asks before overwriting nor insists that the file exists.
  // Empty when the user cancelled.
  virtual QString AskOpenFile(QWidget* parent, const FileDialogRequest& request);
  virtual QString AskSaveFile(QWidget* parent, const FileDialogRequest& request);

  // Starts the program and returns at once; false when it could not be started.
  virtual bool StartProgram(const QString& path, const QStringList& arguments = {});
  // Where programs are looked for, in order: the folder of this program, then the search path.
  virtual QStringList ProgramFolders() const;

  // Name of the printer the next print goes to; empty when no printer is installed.
  virtual QString PrinterName();
  // The printer setup dialog; the user may pick another printer or cancel.
  virtual void SetUpPrinter(QWidget* parent);
  // The print dialog before printing: printer, PDF file, pages and copies. False when the user
  // cancelled, and nothing is to be printed.
  virtual bool AskPrint(QWidget* parent);
  // One page on the current printer with the picture scaled to it. False with a message
  // when nothing was printed.
  virtual bool PrintPicture(const QImage& picture, QString& error);
  // Replaces the clipboard's content by the picture.
  virtual void CopyPicture(const QImage& picture);
};

// The real desktop.
class DesktopServices : public PlatformServices {
 public:
  DesktopServices();
  ~DesktopServices() override;

  void Beep() override;
  void ShowMessage(QWidget* parent, const QString& text) override;
  QString AskOpenFile(QWidget* parent, const FileDialogRequest& request) override;
  QString AskSaveFile(QWidget* parent, const FileDialogRequest& request) override;
  bool StartProgram(const QString& path, const QStringList& arguments) override;
  QStringList ProgramFolders() const override;
  QString PrinterName() override;
  void SetUpPrinter(QWidget* parent) override;
  bool AskPrint(QWidget* parent) override;
  bool PrintPicture(const QImage& picture, QString& error) override;
  void CopyPicture(const QImage& picture) override;

 private:
  // The printer chosen in printer setup; the system's default printer until then.
  struct Printer;
  std::unique_ptr<Printer> printer_;
};

}  // namespace morvane::gui
