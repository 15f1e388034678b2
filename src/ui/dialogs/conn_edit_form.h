// SPDX-License-Identifier: MIT
#pragma once
// The connection editor: a connection string given either as a file data source (".dsn" file,
// "FILEDSN=...") or as a string typed or built in the connection builder.
//
//   TConnEditForm form(parent);
//   const QString edited = form.Edit(QStringLiteral("FILEDSN=/etc/ODBCDataSources/sales.dsn"));

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kelvast {
class TOdbcConnection;
}

namespace kelvast::ui {

// The attribute that names a file data source, at the very start of an edited string.
inline constexpr const char* kFileDsnPrefix = "FILEDSN=";

// unixODBC's folder of file data sources, as the editor and its file dialog use it.
QString DataLinkFolder();

class TConnEditForm : public QDialog {
 public:
  // `dataLinkFolder`: where the ".dsn" files listed in the combo live.
  explicit TConnEditForm(QWidget* parent = nullptr,
                         const QString& dataLinkFolder = DataLinkFolder());

  // Shows the string: a "FILEDSN=" string in the file mode (the file's name alone when it lies
  // in the data source folder), anything else in the connection string mode. The result starts as
  // the string.
  void SetConnectionString(const QString& text);
  // What the dialog gives back: the string it was started with until OK sets the edited one.
  QString Result() const { return FResult; }

  // Runs the dialog on the string; the edited string on OK, the string itself on Cancel.
  QString Edit(const QString& text);

  // Enables, colours and focuses the controls of the chosen source.
  void SourceButtonClick();
  void BrowseClick();
  void BuildClick();
  void OkButtonClick();

 private:
  QString FDataLinkFolder;
  QString FResult;
  QRadioButton* FUseDataLinkFile;
  QComboBox* FDataLinkFile;
  QPushButton* FBrowse;
  QRadioButton* FUseConnectionString;
  QLineEdit* FConnectionString;
  QPushButton* FBuild;
};

// Runs the editor on the connection's string; when it gives back another string, the connection
// takes it and the result is true.
bool EditConnection(TOdbcConnection& connection, QWidget* parent = nullptr);

}  // namespace kelvast::ui
