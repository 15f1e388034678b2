// SPDX-License-Identifier: MIT
#pragma once
// The connection builder: an ODBC connection string put together from an installed driver, the
// server, port, database, user and password, with a button that tries the connection.
//
//   const QString built = PromptConnectionString(parent, QStringLiteral("/tmp/shop.db"));

#include "core/database/connection_string.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;

namespace kelvast::ui {

class TConnBuildForm : public QDialog {
 public:
  explicit TConnBuildForm(QWidget* parent = nullptr);

  // Fills the fields from the string's DRIVER, SERVER, PORT, DATABASE, UID and PWD (a bare path
  // is an SQLite file); its other attributes are kept for the built string.
  void SetConnectionString(const QString& text);
  // The string of the fields; the string given to SetConnectionString, as it was written, while
  // the fields still say the same.
  QString ConnectionString() const;

  // Opens and closes a connection with the built string and says whether that worked.
  void btnTestClick();

 private:
  TConnectionParts Parts() const;

  QString FInitial;
  TConnectionParts FInitialParts;
  QComboBox* FDriver;
  QLineEdit* FServer;
  QLineEdit* FPort;
  QLineEdit* FDatabase;
  QLineEdit* FUser;
  QLineEdit* FPassword;
};

// Runs the builder on the string: the built string on OK, the string itself on Cancel.
QString PromptConnectionString(QWidget* parent, const QString& initial);

}  // namespace kelvast::ui
