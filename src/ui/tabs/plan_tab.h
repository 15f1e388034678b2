// SPDX-License-Identifier: MIT
#pragma once
// TPlanTab, the Generation plan tab: the ordered list of model files kept in a .plan file, its
// editing, the information about one model, and the execution of the whole plan through the
// core's RunPlan with the Generation tab's progress controls.

#include "ui/ui_state.h"

#include <QWidget>
#include <functional>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace kelvast::ui {

class TFileNameEdit;
class TGenerationTab;

// What the plan needs from the main window.
struct TPlanHooks {
  // Enables or disables the whole tab control.
  std::function<void(bool)> SetTabsEnabled;
  // Shows the current model on the Generators tab.
  std::function<void()> ShowModel;
  // Makes the model read from the file the current one, with its connection and table, as the
  // model Open command does.
  std::function<void(const QString& fileName)> LoadModel;
  // Reopens the current model's connection and reselects its table; errors are ignored.
  std::function<void()> ReconnectModel;
  // Brings the Generators tab to the front.
  std::function<void()> ShowGeneratorsTab;
  // Start folders kept by the window: the plan save dialog's, and the model open dialog's,
  // which adding a model shares with the Open command.
  QString* SaveDir = nullptr;
  QString* ModelOpenDir = nullptr;
};

class TPlanTab : public QWidget {
 public:
  TPlanTab(TUiState& state, TGenerationTab& generation, TPlanHooks hooks,
           QWidget* parent = nullptr);

  TFileNameEdit* PlanFileField() const { return FPlanFile; }
  // The record progress bar, which every run moves.
  QProgressBar* RecordBar() const { return FFileBar; }
  // Enables the "Execute plan" button (disabled while a run is going).
  void SetExecuteEnabled(bool on);

  void jvFNPlanChange();
  void sbSavePlanClick();
  void sbaddtoplanClick();
  void sbdropfromplanClick();
  void sbplanmodelinfoClick();
  void sbupplanClick();
  void sbdownplanClick();
  void sbloadplanmodelClick();
  void bbPlanGoClick();

 private:
  std::vector<std::string> Entries() const;
  std::string PlanFileName() const;
  // Exchanges the selected entry with the one `offset` rows away, when there is one.
  void MoveSelected(int offset);

  TUiState& FState;
  TGenerationTab& FGeneration;
  TPlanHooks FHooks;
  TFileNameEdit* FPlanFile;
  QListWidget* FList;
  QPushButton* FGo;
  QLabel* FCurModel;
  QProgressBar* FModelsBar;
  QProgressBar* FFileBar;
};

}  // namespace kelvast::ui
