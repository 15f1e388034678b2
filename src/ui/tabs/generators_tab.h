#pragma once
// TGeneratorsTab, the Generators tab: the generator list with its add, delete, clear-model and
// field-assignment buttons, the group "Model information" and the group "Selected generator
// information".

#include <QWidget>

#include "ui/ui_state.h"

class QListWidget;
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
  void SelectRow(int row);
  TColToGenItem* ItemOf(int row) const;

  TUiState& FState;
  QListWidget* FCols;
  TModelInfoBox* FModelInfo;
  TGeneratorBox* FGenerator;
};

}  // namespace kelvast::ui
