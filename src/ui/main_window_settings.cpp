// SPDX-License-Identifier: MIT
// TFMain's settings: the window's state saved at exit and restored at its first showing.
#include "core/database/connection_secrets.h"
#include "ui/ansi_text.h"
#include "ui/file_name_edit.h"
#include "ui/hint_switch.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/tabs/about_tab.h"
#include "ui/tabs/connection_tab.h"
#include "ui/tabs/generation_tab.h"
#include "ui/tabs/generator_box.h"
#include "ui/tabs/generators_tab.h"
#include "ui/tabs/model_info_box.h"
#include "ui/tabs/text_editor_tab.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>

namespace kelvast::ui {

namespace {

// Window show states as the settings file stores them.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

QString FourInts(int a, int b, int c, int d) {
  return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

bool ParseFourInts(const QString& text, int out[4]) {
  const QStringList parts = text.split(u',');
  if (parts.size() != 4) return false;
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    out[i] = parts[i].trimmed().toInt(&ok);
    if (!ok) return false;
  }
  return true;
}

int PixelsPerInch(const QWidget* window) {
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

}  // namespace

std::vector<TFMain::TStoredProperty> TFMain::StoredProperties() {
  auto folder = [](QString& field) {
    return std::pair{[&field] { return field; }, [&field](const QString& v) { field = v; }};
  };
  auto field = [](TFileNameEdit* edit) {
    return std::pair{[edit] { return edit->InitialDir(); },
                     [edit](const QString& v) { edit->SetInitialDir(v); }};
  };
  std::vector<TStoredProperty> props;
  auto add = [&props](const char* key, auto accessors) {
    props.push_back({QLatin1String(key), accessors.first, accessors.second});
  };
  add("sd1_InitialDir", folder(FConnectionSaveDir));
  props.push_back({QStringLiteral("cbEncoding_ItemIndex"),
                   [this] { return QString::number(int{FGenerationTab->Encoding()}); },
                   [this](const QString& v) {
                     FGenerationTab->SetEncoding(v.toInt() == int{teUtf8} ? teUtf8 : teWindows1252);
                   }});
  props.push_back({QStringLiteral("cbRememberPassword_Checked"),
                   [this] { return BoolText(FConnectionTab->RememberPasswordBox()->isChecked()); },
                   [this](const QString& v) {
                     QCheckBox* box = FConnectionTab->RememberPasswordBox();
                     box->setChecked(ParseBool(v, box->isChecked()));
                   }});
  props.push_back({QStringLiteral("cbTransaction_Checked"),
                   [this] { return BoolText(FGenerationTab->Transaction()); },
                   [this](const QString& v) {
                     FGenerationTab->SetTransaction(ParseBool(v, FGenerationTab->Transaction()));
                   }});
  props.push_back(
      {QStringLiteral("cbHint_Checked"), [this] { return BoolText(FHint->isChecked()); },
       [this](const QString& v) { FHint->setChecked(ParseBool(v, FHint->isChecked())); }});
  add("sdModel_InitialDir", folder(FModelSaveDir));
  add("opModel_InitialDir", folder(FModelOpenDir));
  add("sdplan_InitialDir", folder(FPlanSaveDir));
  add("jvFNPlan_InitialDir", field(FPlanTab->PlanFileField()));
  props.push_back({QStringLiteral("sdtext_InitialDir"),
                   [this] { return FTextEditorTab->SaveDir(); },
                   [this](const QString& v) { FTextEditorTab->SetSaveDir(v); }});
  add("feTextEditor_InitialDir", field(FTextEditorTab->FileField()));
  add("eScriptName_InitialDir", field(FGeneratorsTab->ModelInfo()->ScriptNameField()));
  add("eExtFile_InitialDir", field(FGeneratorsTab->GeneratorBox()->ExtFileField()));
  return props;
}

void TFMain::SaveState() {
  FStateSaved = true;
  FSettings.WriteInteger(QStringLiteral("FormVersion"), 0);
  // The connection's current string is the one remembered for the next start, without its
  // password unless the user asked to keep it; the driver then finds the password in its own
  // sources (PostgreSQL: PGPASSWORD, ~/.pgpass) or the connection reports that it needs one.
  if (FState.Connection) FConnectionString = FromAnsi(FState.Connection->ConnectionString());
  const bool keepPassword = FConnectionTab->RememberPasswordBox()->isChecked();
  FSettings.WriteString(QStringLiteral("CONNECTION"),
                        keepPassword ? FConnectionString
                                     : FromAnsi(StripPassword(ToAnsi(FConnectionString))));
  // A string that came from a model, plan or connection file stays one after a restart.
  const bool fromFile = FState.Connection && FState.Connection->FromFile();
  FSettings.WriteString(QStringLiteral("CONNECTION_FROM_FILE"),
                        fromFile ? QStringLiteral("1") : QStringLiteral("0"));

  int showCmd = kShowNormal;
  if (isMinimized())
    showCmd = kShowMinimized;
  else if (isMaximized())
    showCmd = kShowMaximized;
  // The normal-position rectangle is the outer frame, as the restore moves the frame.
  const QPoint frameOffset = geometry().topLeft() - pos();
  const QRect normal = (isMinimized() || isMaximized()) ? normalGeometry() : geometry();
  const QRect outer(normal.topLeft() - frameOffset,
                    normal.size() + (frameGeometry().size() - geometry().size()));
  FSettings.WriteInteger(QStringLiteral("ShowCmd"), showCmd);
  FSettings.WriteInteger(QStringLiteral("Flags"), 0);
  FSettings.WriteInteger(QStringLiteral("PixelsPerInch"), PixelsPerInch(this));
  FSettings.WriteString(QStringLiteral("MinMaxPos"), FourInts(-1, -1, -1, -1));
  FSettings.WriteString(QStringLiteral("NormPos"),
                        FourInts(outer.left(), outer.top(), outer.left() + outer.width(),
                                 outer.top() + outer.height()));

  for (const TStoredProperty& prop : StoredProperties())
    FSettings.WriteString(prop.Key, prop.Get());
}

void TFMain::RestoreState() {
  if (FSettings.ReadInteger(QStringLiteral("FormVersion"), 0) < 0) return;

  // The position only, and only on a screen of the same resolution; the size stays as designed.
  int norm[4];
  const bool placed = FSettings.ValueExists(QStringLiteral("MinMaxPos")) ||
                      FSettings.ValueExists(QStringLiteral("NormPos"));
  if (placed && FSettings.ReadInteger(QStringLiteral("PixelsPerInch"), -1) == PixelsPerInch(this) &&
      ParseFourInts(FSettings.ReadString(QStringLiteral("NormPos")), norm))
    move(norm[0], norm[1]);
  switch (FSettings.ReadInteger(QStringLiteral("ShowCmd"), kShowNormal)) {
    case 3:
      setWindowState(Qt::WindowMaximized);
      break;
    case 2:
    case 6:
    case 7:
      setWindowState(Qt::WindowMinimized);
      break;
    default:
      setWindowState(Qt::WindowNoState);
      break;
  }

  for (const TStoredProperty& prop : StoredProperties())
    if (FSettings.ValueExists(prop.Key)) prop.Set(FSettings.ReadString(prop.Key));

  // The remembered connection is applied again; when it cannot be opened the error is shown and
  // start-up goes on with the string applied but no table list.
  FConnectionString = FSettings.ReadString(QStringLiteral("CONNECTION")).trimmed();
  try {
    const bool fromFile =
        FSettings.ReadString(QStringLiteral("CONNECTION_FROM_FILE")) == QStringLiteral("1");
    FConnectionTab->ApplyConnectionString(FConnectionString, fromFile);
  } catch (const std::exception& e) {
    ShowMessage(this, FromAnsi(e.what()), TMsgIcon::Error);
  }

  FHints->SetEnabled(FHint->isChecked());
  FAboutTab->FrenchHelpBox()->setChecked(IsFrenchHelp());
}

}  // namespace kelvast::ui
