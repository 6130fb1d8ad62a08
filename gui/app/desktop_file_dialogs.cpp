// The desktop's file dialogs for the window's open and save commands.

#include <QFileDialog>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <QStringList>

#include "app/platform_services.h"

namespace morvane::gui {

namespace {

// Folders, and files only when they may be run. (The dialog's own QDir::Executable filter
// does not sort out anything.)
class ExecutablesOnly : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  void SetOn(bool on) {
    on_ = on;
    invalidateFilter();
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    if (!on_) return true;
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files) return true;
    const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
    return info.isDir() || info.isExecutable();
  }

 private:
  bool on_ = false;
};

QString Ask(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, request.title);
  dialog.setAcceptMode(mode);
  // The window's dialogs neither ask before overwriting nor insist on an existing file: a
  // missing design file opens as one without keys, a missing program beeps.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);

  QStringList names;
  QStringList executableFilters;
  for (const FileFilter& f : request.filters) {
    names << NameFilter(f);
    if (f.executablesOnly) executableFilters << names.back();
  }
  dialog.setNameFilters(names);
  if (!executableFilters.isEmpty()) {
    // Only Qt's own dialog can list just the files that may be run.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* executables = new ExecutablesOnly(&dialog);
    dialog.setProxyModel(executables);  // the dialog owns it from here
    auto apply = [executables, executableFilters](const QString& selected) {
      executables->SetOn(executableFilters.contains(selected));
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, executables, apply);
    apply(names.value(0));
  }
  if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.initialName.isEmpty()) dialog.selectFile(request.initialName);

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString DesktopServices::AskOpenFile(QWidget* parent, const FileDialogRequest& request) {
  return Ask(parent, request, QFileDialog::AcceptOpen);
}

QString DesktopServices::AskSaveFile(QWidget* parent, const FileDialogRequest& request) {
  return Ask(parent, request, QFileDialog::AcceptSave);
}

}  // namespace morvane::gui
