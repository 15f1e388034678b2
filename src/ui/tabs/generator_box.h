// SPDX-License-Identifier: MIT
#pragma once
// TGeneratorBox, the group "Selected generator information" of the Generators tab: the shown
// generator's name (applied with Enter), target field, type, the options every type shares, and
// below them the parameter pages of its type.

#include "core/database/schema.h"
#include "ui/ui_state.h"

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace kelvast::ui {

class TFileNameEdit;
class TParamPageSet;

class TGeneratorBox : public QGroupBox {
  Q_OBJECT

 public:
  TGeneratorBox(TUiState& state, QWidget* parent = nullptr);

  // Fills the group from a generator, or clears and disables it when there is none.
  void ShowGenerator(TColToGenItem* item);
  // Shows the page of the generator's type and loads the shared options from its parameter
  // object; with none, page 0, disabled, and the shared options reset.
  void ShowParameters(TColToGenItem* item);

  // Refills the target-field list of eTableField: the names in order, each entry carrying its
  // maximum character length (item data). The box keeps showing the generator's field.
  void SetTargetFields(const std::vector<TTargetField>& fields);
  // The target-field list's names, in order.
  QStringList TargetFieldNames() const;

  TFileNameEdit* ExtFileField() const { return FExtFile; }

 signals:
  // The shown generator took a new name.
  void Renamed(const QString& newName);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillGenTypes();
  bool CanEdit() const { return FState.FCurrentItem && FState.FUpdating == 0; }
  void ApplyName();
  void CopyFieldToName();

  void cbGenTypeClick(int index);
  void cbStealthClick(bool checked);
  void cbUseExtFileClick(bool checked);
  void eExtFileChange(const QString& text);
  void cbAllowNullClick(bool checked);
  void eNullPercentChange(int value);
  void cbCaseChange(int index);
  void eTableFieldChange();
  // Shows the list entry equal (case ignored) to the current generator's field, or an empty
  // box when none is.
  void ResetTableField();

  TUiState& FState;
  QLineEdit* FColName;
  QComboBox* FTableField;
  QComboBox* FGenType;
  QCheckBox* FUseExtFile;
  TFileNameEdit* FExtFile;
  QCheckBox* FAllowNull;
  QSpinBox* FNullPercent;
  QCheckBox* FStealth;
  QComboBox* FCase;
  TParamPageSet* FPages;
};

}  // namespace kelvast::ui
