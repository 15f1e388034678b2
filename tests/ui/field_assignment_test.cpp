// SPDX-License-Identifier: MIT
// Field assignment: the target-field list of eTableField, connecting a generator to a field,
// the assignment overview and the column-reference page's table and field boxes.
#include "core/generators/composite_gens.h"
#include "core/model/gen_model.h"
#include "pages_test_support.h"
#include "ui/tabs/connection_tab.h"
#include "ui/tabs/generator_box.h"
#include "ui/tabs/generators_tab.h"
#include "ui/ui_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

namespace kelvast::ui::test {

namespace {

// A window connected to a SQLite file with two tables, "people" shown, on the Generators tab.
struct TAssignFixture : TWindowFixture {
  TAssignFixture() {
    Db = Dir() + QStringLiteral("/shop.db");
    RunSql(Db, {"CREATE TABLE people (id INTEGER, name VARCHAR(40), nick VARCHAR(12))",
                "CREATE TABLE cities (code INTEGER, title VARCHAR(20))"});
    auto* tab = dynamic_cast<TConnectionTab*>(Find<QWidget>("TabSheet1"));
    tab->ApplyConnectionString(Db);
    tab->ShowTableFields(QStringLiteral("people"));
    QTabBar* bar = Find<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  }
  TGenModel& Model() { return *Window().State().Model; }
  QComboBox* Field() { return Find<QComboBox>("eTableField"); }

  // Generators made in the model, then shown with the one at `current` selected.
  TColToGenItem& Gen(const std::string& name, TColType type, const std::string& field) {
    TColToGenItem& gen = Model().Cols().Add();
    gen.SetColName(name);
    gen.SetColType(type);
    gen.SetDBColName(field);
    return gen;
  }
  void Show(int current) {
    Window().GeneratorsTab()->ShowModel();
    QListWidget* list = Find<QListWidget>("lbcols");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(current)).center());
  }

  // The user picks an entry of the drop-down list.
  void Pick(const QString& name) {
    QComboBox* box = Field();
    box->showPopup();
    QAbstractItemView* view = box->view();
    const QRect cell = view->visualRect(view->model()->index(box->findText(name), 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
  }
  // The user replaces the box's text by typing, key by key.
  void Type(const QString& text) {
    QLineEdit* edit = Field()->lineEdit();
    edit->selectAll();
    if (text.isEmpty())
      QTest::keyClick(edit, Qt::Key_Backspace);
    else
      QTest::keyClicks(edit, text);
  }

  QString Db;
};

const QString kRefused = QStringLiteral("This field is already connected to a generator!");

}  // namespace

class TFieldAssignmentTest : public QObject {
  Q_OBJECT

 private slots:
  // The list follows the table shown on the Connection tab, each entry with its length, while
  // the box goes on showing the generator's field.
  void targetFieldListFollowsTheShownTable() {
    TAssignFixture f;
    f.Gen("G", ctstring, "elsewhere");
    f.Show(0);
    QComboBox* box = f.Field();
    QCOMPARE(f.Window().GeneratorsTab()->GeneratorBox()->TargetFieldNames(),
             (QStringList{"id", "name", "nick"}));
    QCOMPARE(box->itemData(0).toLongLong(), 0);
    QCOMPARE(box->itemData(1).toLongLong(), 40);
    QCOMPARE(box->itemData(2).toLongLong(), 12);
    f.Find<QComboBox>("cbtables")->setCurrentIndex(0);
    QCOMPARE(f.Window().GeneratorsTab()->GeneratorBox()->TargetFieldNames(),
             (QStringList{"code", "title"}));
    QCOMPARE(box->currentText(), QStringLiteral("elsewhere"));
    QCOMPARE(f.Model().Cols()[0].DBColName(), std::string("elsewhere"));
  }

  // A field held by any generator, the shown one included and case ignored, is refused; the box
  // returns to the shown generator's own field entry, or empties when it has none listed.
  void heldFieldIsRefused_data() {
    QTest::addColumn<QString>("shownField");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addColumn<QString>("boxAfter");
    QTest::newRow("other generator holds it, picked") << "" << false << ""
                                                      << "";
    // Each keystroke connects the text so far: "n", "na", "nam", then "name" is refused.
    QTest::newRow("other generator holds it, typed") << "" << true << "nam"
                                                     << "";
    QTest::newRow("the shown generator holds it") << "name" << false << "name"
                                                  << "name";
    QTest::newRow("shown generator on another entry") << "nick" << false << "nick"
                                                      << "nick";
    QTest::newRow("shown generator on an unlisted field") << "free" << false << "free"
                                                          << "";
  }
  void heldFieldIsRefused() {
    QFETCH(QString, shownField);
    QFETCH(bool, typed);
    QFETCH(QString, fieldAfter);
    QFETCH(QString, boxAfter);
    TMessageRecorder messages;
    TAssignFixture f;
    // The holder spells the field in other letters when it is not the shown generator.
    const bool selfHeld = shownField == u"name";
    f.Gen("Holder", ctstring, selfHeld ? "x" : "NAME");
    TColToGenItem& shown = f.Gen("Shown", ctstring, shownField.toStdString());
    f.Show(1);
    f.Model().SetModified(false);
    if (typed)
      f.Type(QStringLiteral("name"));
    else
      f.Pick(QStringLiteral("name"));
    QCOMPARE(messages.Texts(), QStringList{kRefused});
    QCOMPARE(QString::fromStdString(shown.DBColName()), fieldAfter);
    QCOMPARE(f.Field()->currentText(), boxAfter);
    QCOMPARE(f.Model().Modified(), typed);
  }

  // Emptying the box disconnects the generator; empty names never collide.
  void emptyingDisconnects() {
    TMessageRecorder messages;
    TAssignFixture f;
    f.Gen("A", ctstring, "");
    TColToGenItem& b = f.Gen("B", ctstring, "");
    f.Show(1);
    f.Pick(QStringLiteral("name"));
    QCOMPARE(b.DBColName(), std::string("name"));
    f.Type(QString());
    QCOMPARE(b.DBColName(), std::string());
    f.Type(QStringLiteral("x"));
    f.Type(QString());
    QCOMPARE(messages.Texts(), QStringList());
    QCOMPARE(b.DBColName(), std::string());
  }

  // A generator without a length of its own takes the picked field's; any other keeps its own.
  void dataLengthFromThePickedField_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("length");
    QTest::newRow("dictionary word, picked") << int(ctDictWord) << "name" << false << 40;
    QTest::newRow("dictionary word, typed entry") << int(ctDictWord) << "nick" << true << 12;
    QTest::newRow("dictionary word, typed non-entry") << int(ctDictWord) << "alias" << true << 0;
    QTest::newRow("string keeps 1") << int(ctstring) << "name" << false << 1;
  }
  void dataLengthFromThePickedField() {
    QFETCH(int, type);
    QFETCH(QString, field);
    QFETCH(bool, typed);
    QFETCH(int, length);
    TMessageRecorder messages;
    TAssignFixture f;
    TColToGenItem& gen = f.Gen("G", static_cast<TColType>(type), "");
    f.Show(0);
    if (typed)
      f.Type(field);
    else
      f.Pick(field);
    QCOMPARE(QString::fromStdString(gen.DBColName()), field);
    QCOMPARE(gen.Param().DataLength(), length);
    QCOMPARE(f.Field()->currentText(), field);
    if (type == ctDictWord && length > 0) QCOMPARE(f.Find<QSpinBox>("seDWLength")->value(), length);
    QCOMPARE(messages.Texts(), QStringList());
  }

  // The overview lists the table's fields with the generator of each; a generator connected to a
  // field the table does not have is not listed.
  void overviewListsEveryField() {
    TAssignFixture f;
    f.Gen("Key", ctIncremental, "ID");
    f.Gen("Person", ctLastName, "name");
    f.Gen("Lost", ctstring, "elsewhere");
    f.Show(0);
    QList<QStringList> rows;
    QStringList titles;
    QString caption;
    QSize size;
    OnNextModal([&](QDialog* dialog) {
      caption = dialog->windowTitle();
      size = dialog->size();
      auto* grid = dialog->findChild<QTableWidget*>(QStringLiteral("sg1"));
      for (int c = 0; c < grid->columnCount(); ++c)
        titles << grid->horizontalHeaderItem(c)->text();
      for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < grid->columnCount(); ++c)
          row << grid->item(r, c)->text();
        rows << row;
      }
      dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    });
    f.Find<QToolButton>("sbAssign")->click();
    QCOMPARE(caption, QStringLiteral("Field assignment"));
    QCOMPARE(size, QSize(388, 258));
    QCOMPARE(titles, (QStringList{"Field", "is generated by", "kind"}));
    QCOMPARE(rows, (QList<QStringList>{{"id", "Key", "Incremental"},
                                       {"name", "Person", "Last name"},
                                       {"nick", "<not assigned>", ""}}));
    QVERIFY(!QApplication::activeModalWidget());
  }

  // Typing a table name stores it at each keystroke and reads its fields again; the stored field
  // stays until a field is typed.
  void referenceTableAndFieldBoxes() {
    TAssignFixture f;
    TColToGenItem& gen = f.Gen("Ref", ctColRef, "");
    auto& ref = static_cast<TCPColRef&>(gen.Param());
    ref.SetField("kept");
    f.Show(0);
    auto* table = f.Find<QComboBox>("cbCRTable");
    auto* field = f.Find<QComboBox>("cbCRField");
    QCOMPARE(table->count(), 2);

    table->lineEdit()->selectAll();
    QTest::keyClicks(table->lineEdit(), QStringLiteral("cities"));
    QCOMPARE(ref.Table(), std::string("cities"));
    QCOMPARE(ref.Field(), std::string("kept"));
    QStringList fields;
    for (int i = 0; i < field->count(); ++i)
      fields << field->itemText(i);
    QCOMPARE(fields, (QStringList{"code", "title"}));

    QTest::keyClick(table->lineEdit(), Qt::Key_X);
    QCOMPARE(ref.Table(), std::string("citiesx"));
    QCOMPARE(field->count(), 0);

    field->lineEdit()->selectAll();
    QTest::keyClicks(field->lineEdit(), QStringLiteral("title"));
    QCOMPARE(ref.Field(), std::string("title"));
  }
};

KELVAST_UI_TEST(TFieldAssignmentTest)

}  // namespace kelvast::ui::test

#include "field_assignment_test.moc"
