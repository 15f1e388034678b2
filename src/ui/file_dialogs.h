// SPDX-License-Identifier: MIT
#pragma once
// Every file dialog of the program goes through this seam, so tests can answer them.

#include <QString>
#include <QStringList>

class QWidget;

namespace kelvast::ui {

struct TFileDialogRequest {
  // ChooseFolder: an existing folder is chosen; Filter and DefaultExt do not apply.
  enum TKind { Open, Save, ChooseFolder };
  TKind Kind = Open;
  QString Title;
  // Filter in "Description|*.ext|Description|*.ext" form.
  QString Filter;
  // Added to a typed name that has no extension ("txt").
  QString DefaultExt;
  // The folder the dialog opens in, and the name it proposes (may be a full path).
  QString Folder;
  QString FileName;
  // Open: only an existing file is accepted. Save: an existing file is replaced only after the
  // user agreed.
  bool MustExist = false;
};

class TFileDialogSeam {
 public:
  virtual ~TFileDialogSeam() = default;
  // The chosen file's full path; empty when the user cancelled.
  virtual QString Run(QWidget* parent, const TFileDialogRequest& request) = 0;
};

// Runs the dialog through the seam in use: real dialogs unless a test installed its own
// (nullptr restores them).
QString RunFileDialog(QWidget* parent, const TFileDialogRequest& request);
void SetFileDialogSeam(TFileDialogSeam* seam);

// Qt's name filters of a "Description|*.ext|..." filter: "SQL (*.sql)|*.sql|All (*.*)|*.*"
// gives {"SQL (*.sql)", "All (*.*)"}; the patterns come from the second item of each pair.
QStringList QtNameFilters(const QString& filter);

// The folder part of a file name: "/data/out.sql" gives "/data", "out.sql" gives "".
QString FolderPart(const QString& fileName);

}  // namespace kelvast::ui
