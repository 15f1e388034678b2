// SPDX-License-Identifier: MIT
#include "ui/file_dialogs.h"

#include <QFileDialog>

namespace kelvast::ui {

namespace {

class TQtFileDialogs : public TFileDialogSeam {
 public:
  QString Run(QWidget* parent, const TFileDialogRequest& request) override {
    QFileDialog dialog(parent, request.Title, request.Folder);
    dialog.setNameFilters(QtNameFilters(request.Filter));
    dialog.setDefaultSuffix(request.DefaultExt);
    if (request.Kind == TFileDialogRequest::ChooseFolder) {
      dialog.setFileMode(QFileDialog::Directory);
      dialog.setOption(QFileDialog::ShowDirsOnly);
    } else if (request.Kind == TFileDialogRequest::Save) {
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setFileMode(QFileDialog::AnyFile);
    } else {
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(request.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
  }
};

TFileDialogSeam* gSeam = nullptr;

}  // namespace

QString RunFileDialog(QWidget* parent, const TFileDialogRequest& request) {
  static TQtFileDialogs real;
  return (gSeam ? gSeam : &real)->Run(parent, request);
}

void SetFileDialogSeam(TFileDialogSeam* seam) { gSeam = seam; }

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // Qt reads the patterns from the parentheses; the description keeps its own text, and the
    // patterns of the second item are appended when the description does not show them.
    const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
    out << (parts[i].contains(u'(') ? parts[i] : parts[i] + QStringLiteral(" (") + patterns + u')');
  }
  return out;
}

QString FolderPart(const QString& fileName) {
  const qsizetype slash = fileName.lastIndexOf(u'/');
  if (slash < 0) return {};
  return slash == 0 ? QStringLiteral("/") : fileName.left(slash);
}

}  // namespace kelvast::ui
