// SPDX-License-Identifier: MIT
// The "Unique" row of the parameter pages: on the pages of the types that can keep their values
// unique, it sets the generator's key number, which the model file keeps.

#include "core/files/model_file.h"
#include "core/model/gen_model.h"
#include "pages_test_support.h"
#include "ui/param_pages/param_page_set.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QStackedWidget>
#include <QtTest>

using namespace kelvast;
using namespace kelvast::ui;
using namespace kelvast::ui::test;

class TUniquePageTest : public QObject {
  Q_OBJECT

 private:
  TUiState FState;
  std::unique_ptr<TParamPageSet> FPages;

  void Show(TColToGenItem& item) {
    FState.FCurrentItem = &item;
    FPages->ShowParameters(&item);
  }

  template <class T>
  T* OnShownPage(const char* name) const {
    return FPages->currentWidget()->findChild<T*>(QString::fromLatin1(name));
  }

 private slots:
  void init() {
    FState.Model = std::make_unique<TGenModel>();
    FState.FCurrentItem = nullptr;
    FPages = std::make_unique<TParamPageSet>(FState);
    FPages->show();
  }

  void cleanup() {
    FPages.reset();
    FState.FCurrentItem = nullptr;
    FState.Model.reset();
  }

  void uniqueRowSetsTheKeyNumber_data() {
    QTest::addColumn<int>("type");
    for (const TColType type :
         {ctInteger, ctIncremental, ctstring, ctZip, ctFormatted, ctDate, ctColRef})
      QTest::newRow(kColTypeIdents[static_cast<size_t>(type)].data()) << static_cast<int>(type);
  }

  void uniqueRowSetsTheKeyNumber() {
    QFETCH(int, type);
    TColToGenItem& item = FState.Model->Cols().Add();
    item.SetColName("key");
    item.SetColType(static_cast<TColType>(type));
    Show(item);
    auto* check = OnShownPage<QCheckBox>("cbUnique");
    auto* key = OnShownPage<QSpinBox>("seUniqueKey");
    QVERIFY(check && key);
    QVERIFY(!check->isChecked());
    QVERIFY(!key->isEnabled());

    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(4, check->height() / 2));
    QCOMPARE(item.Param().Unique(), 1);
    QVERIFY(key->isEnabled());
    key->setValue(4);
    QCOMPARE(item.Param().Unique(), 4);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(4, check->height() / 2));
    QCOMPARE(item.Param().Unique(), 0);
    QVERIFY(!key->isEnabled());
    check->setChecked(true);
    QCOMPARE(item.Param().Unique(), 4);

    // Saved and read back, the page shows the key again.
    std::unique_ptr<TGenModel> loaded = LoadModelFromBytes(SaveModelToBytes(*FState.Model));
    QCOMPARE(loaded->Cols()[0].Param().Unique(), 4);
    TColToGenItem& other = FState.Model->Cols().Add();
    other.SetColType(static_cast<TColType>(type));
    Show(other);
    QVERIFY(!check->isChecked());
    Show(item);
    QVERIFY(check->isChecked());
    QCOMPARE(key->value(), 4);
    QCOMPARE(item.Param().Unique(), 4);
  }

  // Types without a space of values to enumerate have no such row.
  void otherPagesHaveNoUniqueRow() {
    for (const TColType type : {ctFloat, ctFirstName, ctMemo, ctCombo, ctTime, ctBit}) {
      TColToGenItem& item = FState.Model->Cols().Add();
      item.SetColType(type);
      Show(item);
      QVERIFY2(!OnShownPage<QCheckBox>("cbUnique"),
               kColTypeIdents[static_cast<size_t>(type)].data());
    }
  }
};

std::unique_ptr<QObject> NewUniquePageTest() { return std::make_unique<TUniquePageTest>(); }

#include "unique_page_test.moc"
