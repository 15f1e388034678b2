// SPDX-License-Identifier: MIT
#pragma once
// The page set below the generator type box: one page per generator type (page index = type
// ordinal), each editing the shown generator's parameter object.

#include "ui/ui_state.h"

#include <QStackedWidget>
#include <QStringList>
#include <functional>

namespace kelvast::ui {

class TParamPageSet : public QStackedWidget {
  Q_OBJECT

 public:
  // objectName "ntbtype"; the 26 pages are created here.
  TParamPageSet(TUiState& state, QWidget* parent = nullptr);
  ~TParamPageSet() override;

  // Selects the page of the item's type and loads its controls from the item's parameter object
  // (under FUpdating); with no item the page set is disabled.
  void ShowParameters(TColToGenItem* item);

  // Where the column-reference page takes the items of its two boxes from: the table names
  // listed on the Connection tab, and the field names of a named table. Unset, both boxes stay
  // empty.
  std::function<QStringList()> TableNames;
  std::function<QStringList(const QString& table)> ListTableFields;

  // Empties the item lists of the column-reference page's table and field boxes.
  void ClearReferenceLists();

 private:
  class TImpl;
  TImpl* FImpl;
};

}  // namespace kelvast::ui
