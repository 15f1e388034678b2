// SPDX-License-Identifier: MIT
#include "ui/dialogs/conn_build_form.h"

#include "core/database/odbc_connection.h"
#include "ui/ansi_text.h"
#include "ui/dialog_runner.h"
#include "ui/message_box.h"
#include "ui/wait_cursor.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvast::ui {

namespace {

QLineEdit* Field(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  return edit;
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  return button;
}

}  // namespace

TConnBuildForm::TConnBuildForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ConnBuildForm"));
  setWindowTitle(QStringLiteral("Connection properties"));

  FDriver = new QComboBox(this);
  FDriver->setObjectName(QStringLiteral("cbDriver"));
  // The first entry names no driver: the string then opens an SQLite 3 file.
  FDriver->addItem(QStringLiteral("SQLite 3 database file (default)"), QString());
  try {
    for (const std::string& driver : InstalledOdbcDrivers())
      FDriver->addItem(FromAnsi(driver), FromAnsi(driver));
  } catch (const std::exception&) {
    // Without a driver manager the list keeps the default; the test button will say more.
  }
  FServer = Field("eServer", this);
  FPort = Field("ePort", this);
  FDatabase = Field("eDatabase", this);
  FDatabase->setToolTip(QStringLiteral("The database name, or the file of an SQLite database"));
  FUser = Field("eUser", this);
  FPassword = Field("ePassword", this);
  FPassword->setEchoMode(QLineEdit::Password);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Driver"), FDriver);
  form->addRow(QStringLiteral("&Server"), FServer);
  form->addRow(QStringLiteral("P&ort"), FPort);
  form->addRow(QStringLiteral("D&atabase"), FDatabase);
  form->addRow(QStringLiteral("&User"), FUser);
  form->addRow(QStringLiteral("&Password"), FPassword);

  auto* test = Button("btnTest", QStringLiteral("&Test"), this);
  auto* ok = Button("OkButton", QStringLiteral("OK"), this);
  ok->setDefault(true);
  auto* cancel = Button("CancelButton", QStringLiteral("Cancel"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(test);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* column = new QVBoxLayout(this);
  column->addLayout(form);
  column->addLayout(buttons);
  setMinimumWidth(420);

  connect(test, &QPushButton::clicked, this, &TConnBuildForm::btnTestClick);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TConnBuildForm::SetConnectionString(const QString& text) {
  FInitial = text;
  FInitialParts = ParseConnectionParts(ToAnsi(text));
  const QString driver = FromAnsi(FInitialParts.Driver);
  int at = FDriver->findData(driver);
  // A driver the driver manager does not list stays the string's choice.
  if (at < 0) {
    FDriver->addItem(driver, driver);
    at = FDriver->count() - 1;
  }
  FDriver->setCurrentIndex(at);
  FServer->setText(FromAnsi(FInitialParts.Server));
  FPort->setText(FromAnsi(FInitialParts.Port));
  FDatabase->setText(FromAnsi(FInitialParts.Database));
  FUser->setText(FromAnsi(FInitialParts.User));
  FPassword->setText(FromAnsi(FInitialParts.Password));
}

TConnectionParts TConnBuildForm::Parts() const {
  TConnectionParts parts;
  parts.Driver = ToAnsi(FDriver->currentData().toString());
  parts.Server = ToAnsi(FServer->text().trimmed());
  parts.Port = ToAnsi(FPort->text().trimmed());
  parts.Database = ToAnsi(FDatabase->text().trimmed());
  parts.User = ToAnsi(FUser->text());
  // A password is taken exactly as typed, blanks included.
  parts.Password = ToAnsi(FPassword->text());
  parts.Others = FInitialParts.Others;
  return parts;
}

QString TConnBuildForm::ConnectionString() const {
  const TConnectionParts parts = Parts();
  // An unchanged string keeps its own spelling (key case, order, attributes).
  if (parts == FInitialParts) return FInitial;
  return FromAnsi(BuildConnectionString(parts));
}

void TConnBuildForm::btnTestClick() {
  QString outcome;
  bool worked = false;
  {
    TWaitCursor wait;
    try {
      TOdbcConnection connection(ToAnsi(ConnectionString()));
      connection.Open();
      connection.Close();
      worked = true;
    } catch (const std::exception& e) {
      outcome = FromAnsi(e.what());
    }
  }
  if (worked)
    ShowMessage(this, QStringLiteral("The connection works."), TMsgIcon::Information);
  else
    ShowMessage(this, QStringLiteral("The connection failed:\r\n") + outcome, TMsgIcon::Warning);
}

QString PromptConnectionString(QWidget* parent, const QString& initial) {
  TConnBuildForm form(parent);
  form.SetConnectionString(initial);
  return ExecDialog(form) == QDialog::Accepted ? form.ConnectionString() : initial;
}

}  // namespace kelvast::ui
