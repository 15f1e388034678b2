// SPDX-License-Identifier: MIT
#pragma once
// TGeneratorsTab, the Generators tab: the generator list with its add, delete, clear-model and
// field-assignment buttons, the group "Model information" and the group "Selected generator
// information".

#include "ui/ui_state.h"

#include <QWidget>

class QListWidget;
class QListWidgetItem;
class QToolButton;

namespace kelvast::ui {

class TGeneratorBox;
class TModelInfoBox;

class TGeneratorsTab : public QWidget {
 public:
  TGeneratorsTab(TUiState& state, QWidget* parent = nullptr);

  // Loads the model information and the generator list from the current model.
  void ShowModel();
  // Rebuilds the list in model order and shows the first generator, if any.
  void RefreshGeneratorList();

  TModelInfoBox* ModelInfo() const { return FModelInfo; }
  TGeneratorBox* GeneratorBox() const { return FGenerator; }

 private:
  void sbAddColClick();
  void sbDelColClick();
  void lbcolsClick();
  void sbClearColsClick();
  void sbAssignClick();
  void SelectRow(int row);
  QListWidgetItem* SelectedEntry() const;
  // The generator an entry carries.
  static TColToGenItem* ItemOf(const QListWidgetItem* entry);

  TUiState& FState;
  QListWidget* FCols;
  TModelInfoBox* FModelInfo;
  TGeneratorBox* FGenerator;
};

}  // namespace kelvast::ui
