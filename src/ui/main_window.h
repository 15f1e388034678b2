// SPDX-License-Identifier: MIT
#pragma once
// TFMain, the main window: the six tabs above the bottom panel (model Open/Save, the model-state
// light, the hints switch, Help, Exit). It owns the current model and the word lists for its
// whole life, keeps its settings in the INI store, and asks before closing when generators
// changed.

#include "ui/app_paths.h"
#include "ui/app_settings.h"
#include "ui/tabs/plan_tab.h"
#include "ui/ui_state.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QPushButton;
class QTabWidget;

namespace kelvast::ui {

class TAboutTab;
class TConnectionTab;
class TFsplash;
class TGenerationTab;
class TGeneratorsTab;
class THintSwitch;
class TModelStateLed;
class TPlanTab;
class TTextEditorTab;

class TFMain : public QMainWindow {
 public:
  explicit TFMain(const TAppPaths& paths, QWidget* parent = nullptr);
  ~TFMain() override;

  TUiState& State() { return FState; }
  TGeneratorsTab* GeneratorsTab() const { return FGeneratorsTab; }

  // The splash window to close and release when this window is first shown.
  void SetSplash(TFsplash* splash) { FSplash = splash; }

  // Makes a tab active without running the tab-change handler (plans show the Generators tab
  // this way).
  void ShowTabByProgram(int index);

  // The help language: "FrenchHelp" from the settings, by default French only when the Help
  // button is captioned otherwise than "Help".
  bool IsFrenchHelp() const;
  void SetFrenchHelp(bool french);

  // Runs when the application has no more events to process: the light follows the model.
  void AppIdle();

  void setVisible(bool visible) override;

  // Opens a file named on the command line: a plan (.plan) on the plan tab, else a model (.model,
  // or its JSON form .json) as the Open command does.
  void OpenFile(const QString& fileName);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildBottomPanel(QWidget* panel);
  // Ctrl+O and Ctrl+S for models, F9 for "Go !".
  void AddShortcuts();
  void GenerateShortcut();
  void AssignWindowMnemonics(QWidget* panel);
  void FormCreate();
  void RestoreState();
  void SaveState();
  bool FormCloseQuery();
  void PageControl1Change(int index);
  void bbHelpClick();
  // The window's services the plan tab calls.
  TPlanHooks PlanHooks();
  // Shows the current model on the Generators tab, with its first generator selected.
  void ShowModel();

  // ---- Model files (main_window_model.cpp) ----
  void bbModelSaveClick();
  void bbModelOpenClick();
  // Makes the model read from the file the current one (an empty one, after "Can't load this
  // file!", when it cannot be read), reopens its connection and reselects its table (a
  // connection error is shown), then shows it unmodified.
  void LoadModel(const QString& fileName);
  // Applies the current model's connection string and selects the model's own target table
  // again (the model is left without one when the reopened database does not list it).
  // Connection errors are shown when showErrors is set, else ignored; errors while showing
  // the table's fields are always ignored.
  void ReconnectModel(bool showErrors);

  // A folder or switch kept in the settings under "<component>_<property>".
  struct TStoredProperty {
    QString Key;
    std::function<QString()> Get;
    std::function<void(const QString&)> Set;
  };
  std::vector<TStoredProperty> StoredProperties();

  TUiState FState;
  TAppPaths FPaths;
  TAppSettings FSettings;
  bool FShownOnce = false;
  bool FStateSaved = false;
  TFsplash* FSplash = nullptr;
  // The connection string restored at start and written back at exit.
  QString FConnectionString;
  // Start folders of the connection, model and plan dialogs.
  QString FConnectionSaveDir, FConnectionOpenDir, FModelSaveDir, FModelOpenDir, FPlanSaveDir;
  // The file name the "Save model" dialog proposes: the model opened last.
  QString FModelFileName;

  THintSwitch* FHints;
  QTabWidget* FPageControl;
  TConnectionTab* FConnectionTab;
  TGeneratorsTab* FGeneratorsTab;
  TGenerationTab* FGenerationTab;
  TTextEditorTab* FTextEditorTab;
  TPlanTab* FPlanTab;
  TAboutTab* FAboutTab;
  QPushButton* FModelOpen;
  QPushButton* FModelSave;
  TModelStateLed* FLed;
  QCheckBox* FHint;
  QPushButton* FHelp;
  QPushButton* FExit;
};

}  // namespace kelvast::ui
