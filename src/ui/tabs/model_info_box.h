// SPDX-License-Identifier: MIT
#pragma once
// TModelInfoBox, the group "Model information" of the Generators tab: description, database
// description, target table, output file, record count and the two delimiters. Every change of
// a field's text writes into the current model, changes made by the program included.

#include "ui/ui_state.h"

#include <QGroupBox>

class QLineEdit;
class QSpinBox;

namespace kelvast::ui {

class TFileNameEdit;

class TModelInfoBox : public QGroupBox {
 public:
  TModelInfoBox(TUiState& state, QWidget* parent = nullptr);

  // Shows the current model's information. A field whose text changes writes it back (so a
  // stored delimiter that is not two characters long becomes two blanks); the record count is
  // shown clamped to 1..10,000,000 and the model always takes the shown count.
  void LoadFromModel();

  TFileNameEdit* ScriptNameField() const { return FScriptName; }

  static constexpr int kMinRecords = 1;
  static constexpr int kMaxRecords = 10'000'000;

 private:
  void eModelDescChange(const QString& text);
  void eDBDescChange(const QString& text);
  void eTableNameChange(const QString& text);
  void eScriptNameChange(const QString& text);
  void eRecsToGenChange(int value);
  void eDelimiterChange(const QString& text);
  void eSDelimiterChange(const QString& text);

  TUiState& FState;
  QLineEdit* FModelDesc;
  QLineEdit* FDBDesc;
  QLineEdit* FTableName;
  TFileNameEdit* FScriptName;
  QSpinBox* FRecsToGen;
  QLineEdit* FDelimiter;
  QLineEdit* FSDelimiter;
};

}  // namespace kelvast::ui
