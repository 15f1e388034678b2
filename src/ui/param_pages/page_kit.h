// SPDX-License-Identifier: MIT
#pragma once
// Building blocks of the parameter pages: the page base with its header strip, the radio group
// and the field factories.

#include "core/model/col_to_gens.h"
#include "ui/ansi_text.h"
#include "ui/ui_state.h"

#include <QGroupBox>
#include <QStringList>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QPushButton;
class QButtonGroup;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace kelvast::ui {

class TParamPageSet;

// What every page needs from the page set: the window state and the message parent.
struct TPageContext {
  TUiState& State;
  TParamPageSet& Set;
};

// A titled box of radio buttons laid out in columns; Click reports the checked item's position
// whenever it changes, by the user or by SetItemIndex.
class TRadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  TRadioGroup(const QString& name, const QString& caption, const QStringList& items, int columns,
              QWidget* parent = nullptr);

  // -1 when no item is checked.
  int ItemIndex() const;
  // A position outside the items unchecks them all.
  void SetItemIndex(int index);
  QList<QAbstractButton*> Buttons() const;

 signals:
  void Click(int index);

 private:
  QButtonGroup* FButtons;
};

// One page of the page set: a header strip with a colour gradient and a white caption above a
// grid of labelled controls.
class TParamPage : public QWidget {
  Q_OBJECT

 public:
  TParamPage(TPageContext& ctx, const QString& name, const QString& header);

  // Loads the controls from the parameter object; runs under FUpdating.
  virtual void Load(TColParams& param);
  // Loads the "Unique" row, on the pages that have one; runs under FUpdating.
  void LoadUnique(const TColParams& param);

 protected:
  // The parameter object of the shown generator cast to the page's class, or nullptr while
  // FUpdating is raised, when no generator is shown, or when its class is another one.
  template <class T>
  T* Target() const {
    if (FCtx.State.FUpdating > 0 || !FCtx.State.FCurrentItem) return nullptr;
    return dynamic_cast<T*>(&FCtx.State.FCurrentItem->Param());
  }

  // The range-check advisory: a plain message box with the application title.
  void Warn(const QString& text);

  // Controls added to the grid below the header: a label in column 0, the field in column 1, an
  // optional third widget in column 2. Each returns the field.
  QGridLayout* Grid() const { return FGrid; }
  QWidget* AddRow(const QString& label, QWidget* field, QWidget* extra = nullptr);
  // A row spanning the label and field columns (check boxes, radio groups, notes).
  QWidget* AddWide(QWidget* widget);

  QSpinBox* NewSpin(const QString& name, int min, int max, int step = 1, bool grouped = false);
  QLineEdit* NewEdit(const QString& name);
  QCheckBox* NewCheck(const QString& name, const QString& caption);
  // A small "..." button that opens an editor dialog.
  QPushButton* NewEllipsis(const QString& name);
  // A text field masked to two-digit hours, minutes and seconds.
  QLineEdit* NewTimeEdit(const QString& name);
  // The "Export as" group, "Num" and "Text"; its position is the ExportType.
  TRadioGroup* AddExportGroup(const QString& name);
  // The "Unique" check box, for the types whose values can be kept unique, and beside it the
  // number of the key the generator belongs to (generators sharing a number are unique
  // together), enabled while the box is checked.
  void AddUniqueRow();

  TPageContext& FCtx;

 private:
  // The handler of every "Export as" group: ExportType <- item position.
  void ExportTypeClick(int index);

  // The handlers of the "Unique" row: Unique <- the key number while checked, else 0.
  void UniqueChanged();

  QGridLayout* FGrid;
  int FNextRow = 0;
  QCheckBox* FUnique = nullptr;
  QSpinBox* FUniqueKey = nullptr;
};

// The pages of each family, created in page order by the page set.
TParamPage* NewNonePage(TPageContext& ctx);
TParamPage* NewStringPage(TPageContext& ctx);
TParamPage* NewFirstNamePage(TPageContext& ctx);
TParamPage* NewLastNamePage(TPageContext& ctx);
TParamPage* NewFirstLastNamePage(TPageContext& ctx);
TParamPage* NewDictWordPage(TPageContext& ctx);
TParamPage* NewMemoPage(TPageContext& ctx);
TParamPage* NewZipPage(TPageContext& ctx);
TParamPage* NewCityPage(TPageContext& ctx);
TParamPage* NewAddressPage(TPageContext& ctx);
TParamPage* NewCountryPage(TPageContext& ctx);
TParamPage* NewUSStatesPage(TPageContext& ctx);
TParamPage* NewMaskPage(TPageContext& ctx);
TParamPage* NewIntegerPage(TPageContext& ctx);
TParamPage* NewBitPage(TPageContext& ctx);
TParamPage* NewIncrementalPage(TPageContext& ctx);
TParamPage* NewFloatPage(TPageContext& ctx);
TParamPage* NewDatePage(TPageContext& ctx);
TParamPage* NewTimePage(TPageContext& ctx);
TParamPage* NewDateTimePage(TPageContext& ctx);
TParamPage* NewColRefPage(TPageContext& ctx);
TParamPage* NewConstPage(TPageContext& ctx);
TParamPage* NewComboPage(TPageContext& ctx);
TParamPage* NewEmailPage(TPageContext& ctx);
TParamPage* NewWebSitePage(TPageContext& ctx);
TParamPage* NewSexPage(TPageContext& ctx);

// The message shown when a minimum exceeds its maximum.
inline const char* const kMinAboveMaxMessage = "Minimum size can't be greater than data length...";

}  // namespace kelvast::ui
