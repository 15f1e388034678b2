// SPDX-License-Identifier: MIT
// The window from the keyboard and at the desktop's font size: mnemonics that never clash on a
// screen, the model and run shortcuts, the plan tab's tab order, icon buttons that name
// themselves, and layouts that grow with a larger font instead of clipping.
#include "core/output/output_fixture.h"
#include "ui/dialogs/assign_dialog.h"
#include "ui/hint_switch.h"
#include "ui/mnemonics.h"
#include "ui/tabs/generation_tab.h"
#include "ui/tabs/generators_tab.h"
#include "ui/ui_test_support.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <algorithm>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QToolTip>

namespace kelvast::ui::test {

namespace {

using kelvast::test::AddConst;

// The caption of a control that a mnemonic can reach (a label with a field, a button worded with
// letters), or an empty text for other widgets.
// A group of radio buttons is one stop, reached by its title; its buttons by the arrow keys.
bool IsRadioGroup(QWidget* w) {
  auto* group = qobject_cast<QGroupBox*>(w);
  return group && group->findChild<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

QString CaptionOf(QWidget* w) {
  QString text;
  if (auto* label = qobject_cast<QLabel*>(w)) text = label->buddy() ? label->text() : QString();
  if (IsRadioGroup(w)) text = static_cast<QGroupBox*>(w)->title();
  if (qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w) ||
      (qobject_cast<QRadioButton*>(w) && !IsRadioGroup(w->parentWidget())))
    text = static_cast<QAbstractButton*>(w)->text();
  const bool worded = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
  return worded ? text : QString();
}

// Every captioned control shown in the window, with its caption; `except` and what it holds left
// out.
QList<QPair<QWidget*, QString>> ShownCaptions(QWidget* window, QWidget* except = nullptr) {
  QList<QPair<QWidget*, QString>> out;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const QString caption = CaptionOf(w);
    if (except && (except == w || except->isAncestorOf(w))) continue;
    if (!caption.isEmpty() && w->isVisible()) out.append({w, caption});
  }
  return out;
}

// The controls that take the keyboard focus, in the order of the focus chain from `first`.
QList<QWidget*> FocusChain(QWidget* first, QWidget* scope) {
  QList<QWidget*> chain;
  QWidget* w = first;
  do {
    if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
        scope->isAncestorOf(w) && !w->focusProxy())
      chain << w;
    w = w->nextInFocusChain();
  } while (w != first);
  return chain;
}

struct TKeyboardFixture : TWindowFixture {
  TKeyboardFixture() {
    Window().activateWindow();
    if (!QTest::qWaitForWindowActive(&Window())) throw std::runtime_error("no active window");
    Find<TGenerationTab>("TabSheet3")->SetDictFolder(SmallDictFolder());
  }
  QTabWidget* Tabs() { return Find<QTabWidget>("PageControl1"); }
  QString Path(const QString& name) const { return QDir(Dir()).filePath(name); }
  void Key(QKeySequence keys) { QTest::keySequence(&Window(), keys); }
};

}  // namespace

class TKeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  // On every tab, and on the Generators tab with every parameter page, each captioned control
  // shown has a mnemonic of its own, except that the model information may go without.
  void mnemonicsNeverClash() {
    TKeyboardFixture f;
    f.Find<QAbstractButton>("sbAddCol")->click();
    auto* types = f.Find<QComboBox>("cbGenType");
    const auto check = [&](const QString& where) {
      QMap<QChar, QString> owners;
      const auto shown = ShownCaptions(&f.Window());
      QStringList all;
      for (const auto& [widget, caption] : shown) all << caption;
      for (const auto& [widget, caption] : shown) {
        const QChar letter = MnemonicOf(caption);
        const QString who = widget->objectName() + u' ' + PlainCaption(caption);
        const bool mayGoWithout = f.Find<QWidget>("gbModelInfo")->isAncestorOf(widget);
        QVERIFY2(!letter.isNull() || mayGoWithout,
                 qPrintable(where + QStringLiteral(": no mnemonic on ") + who +
                            QStringLiteral("; shown: ") + all.join(u", ")));
        if (letter.isNull()) continue;
        QVERIFY2(!owners.contains(letter),
                 qPrintable(where + QStringLiteral(": ") + owners.value(letter) +
                           QStringLiteral(" and ") + who));
        owners.insert(letter, who);
      }
    };
    for (int tab = 0; tab < f.Tabs()->count(); ++tab) {
      f.Tabs()->setCurrentIndex(tab);
      if (tab != 1) {
        check(f.Tabs()->tabText(tab));
        continue;
      }
      for (int type = 0; type < types->count(); ++type) {
        types->setCurrentIndex(type);
        check(types->currentText());
        if (QTest::currentTestFailed()) return;
      }
    }
  }

  // Alt and a page label's letter moves the focus to the label's field.
  void mnemonicFocusesTheField() {
    TKeyboardFixture f;
    f.Tabs()->setCurrentIndex(1);
    f.Find<QAbstractButton>("sbAddCol")->click();
    QLabel* label = nullptr;
    for (QLabel* l : f.Find<QWidget>("String")->findChildren<QLabel*>())
      if (l->buddy() && l->buddy()->objectName() == u"seStringmini") label = l;
    QVERIFY(label);
    const QChar letter = MnemonicOf(label->text());
    QVERIFY(!letter.isNull());
    QTest::keyClick(&f.Window(), letter.toLatin1(), Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), label->buddy());
  }

  void shortcuts_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<bool>("duringPlan");
    QTest::addColumn<int>("dialogs");       // file dialogs run
    QTest::addColumn<int>("generators");    // generators left
    QTest::addColumn<bool>("fileWritten");  // the run's output exists
    QTest::newRow("Ctrl+O opens a model") << QKeySequence(QKeySequence::Open) << false << 1 << 2
                                          << false;
    QTest::newRow("Ctrl+S saves the model") << QKeySequence(QKeySequence::Save) << false << 1 << 2
                                            << false;
    QTest::newRow("F9 runs") << QKeySequence(Qt::Key_F9) << false << 0 << 2 << true;
    QTest::newRow("Delete in the list") << QKeySequence(QKeySequence::Delete) << false << 0 << 1
                                        << false;
    QTest::newRow("Ctrl+O while the tabs are disabled")
        << QKeySequence(QKeySequence::Open) << true << 0 << 2 << false;
    QTest::newRow("F9 while the tabs are disabled") << QKeySequence(Qt::Key_F9) << true << 0 << 2
                                                    << false;
  }
  void shortcuts() {
    QFETCH(QKeySequence, keys);
    QFETCH(bool, duringPlan);
    QFETCH(int, dialogs);
    QFETCH(int, generators);
    QFETCH(bool, fileWritten);
    TMessageRecorder messages;
    TFileDialogRecorder files;
    TKeyboardFixture f;
    TGenModel& model = *f.Window().State().Model;
    AddConst(model, "A", "a");
    AddConst(model, "B", "b");
    model.SetRecNumber(3);
    model.SetSQLFile(f.Path(QStringLiteral("out.sql")).toStdString());
    // The tab change chooses the SQL format from the output file's extension.
    f.Tabs()->setCurrentIndex(1);
    f.Window().GeneratorsTab()->ShowModel();
    auto* list = f.Find<QListWidget>("lbcols");
    list->setFocus();
    // A plan disables the tabs while it runs.
    if (duringPlan) f.Tabs()->setEnabled(false);
    f.Key(keys);
    QCOMPARE(files.Requests.size(), dialogs);
    QCOMPARE(f.Window().State().Model->Cols().Count(), generators);
    QCOMPARE(QFile::exists(f.Path(QStringLiteral("out.sql"))), fileWritten);
    QCOMPARE(messages.Texts(), QStringList());
  }

  // Tab moves through the plan tab as it reads: top to bottom, left to right.
  void planTabOrderFollowsTheScreen() {
    TKeyboardFixture f;
    f.Tabs()->setCurrentIndex(4);
    QWidget* tab = f.Find<QWidget>("TabSheet5");
    const QList<QWidget*> chain = FocusChain(f.Find<QWidget>("jvFNPlan"), tab);
    QList<QWidget*> reading = chain;
    const auto at = [tab](QWidget* w) { return w->mapTo(tab, QPoint(0, 0)); };
    std::stable_sort(reading.begin(), reading.end(), [&](QWidget* a, QWidget* b) {
      const QPoint pa = at(a), pb = at(b);
      // Controls of one row share their vertical centre within a few pixels.
      const int ya = pa.y() + a->height() / 2, yb = pb.y() + b->height() / 2;
      if (std::abs(ya - yb) > 4) return ya < yb;
      return pa.x() < pb.x();
    });
    QStringList names, expected;
    for (QWidget* w : chain) names << w->objectName();
    for (QWidget* w : reading) expected << w->objectName();
    QCOMPARE(names, expected);
    QVERIFY(names.contains(QStringLiteral("lbPlan")));
    QVERIFY(names.contains(QStringLiteral("sbaddtoplan")));
  }

  // Icon buttons carry a hint and a name for screen readers, and their hint shows even with
  // "Show hint" off; other controls' hints follow the switch.
  void iconButtonsNameThemselves() {
    TKeyboardFixture f;
    f.Find<QAbstractButton>("sbAddCol")->click();
    int seen = 0;
    for (QAbstractButton* b : f.Window().findChildren<QAbstractButton*>()) {
      // Only the window's own buttons: not the corner of a grid or the scroll arrows of a tab bar.
      if (!qobject_cast<QToolButton*>(b) && !qobject_cast<QPushButton*>(b)) continue;
      if (qobject_cast<QTabBar*>(b->parentWidget()) || !IsIconButton(b)) continue;
      ++seen;
      QVERIFY2(!b->toolTip().isEmpty(), qPrintable(b->objectName()));
      QAccessibleInterface* named = QAccessible::queryAccessibleInterface(b);
      QVERIFY2(named && !named->text(QAccessible::Name).isEmpty(), qPrintable(b->objectName()));
    }
    QVERIFY(seen >= 10);

    QVERIFY(!f.Find<QCheckBox>("cbHint")->isChecked());
    f.Tabs()->setCurrentIndex(4);
    const auto hintShown = [](QWidget* w) {
      QToolTip::hideText();
      QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
      QApplication::sendEvent(w, &help);
      return QToolTip::isVisible() && QToolTip::text() == w->toolTip();
    };
    QVERIFY(hintShown(f.Find<QWidget>("sbaddtoplan")));
    QVERIFY(!hintShown(f.Find<QWidget>("bbPlanGo")));
    f.Find<QCheckBox>("cbHint")->click();
    QVERIFY(hintShown(f.Find<QWidget>("bbPlanGo")));
    QToolTip::hideText();
  }

  // With a large desktop font every tab's captions fit their controls, and the field assignment
  // shows all its columns.
  void largeFontGrowsTheLayouts() {
    const QFont saved = QApplication::font();
    QFont big = saved;
    big.setPointSize(16);
    QApplication::setFont(big);
    {
      TKeyboardFixture f;
      f.Tabs()->setCurrentIndex(1);
      f.Find<QAbstractButton>("sbAddCol")->click();
      for (int tab = 0; tab < f.Tabs()->count(); ++tab) {
        f.Tabs()->setCurrentIndex(tab);
        QApplication::processEvents();
        for (const auto& [w, caption] : ShownCaptions(&f.Window())) {
          const QSize need = w->minimumSizeHint();
          QVERIFY2(w->width() >= need.width() && w->height() >= need.height(),
                   qPrintable(f.Tabs()->tabText(tab) + QStringLiteral(": ") + PlainCaption(caption)));
        }
      }
      QVERIFY(f.Window().font().pointSize() == 16);
    }
    {
      TGenModel model;
      TColToGenItem& gen = model.Cols().Add();
      gen.SetColName("customer reference");
      gen.SetDBColName("customer_reference");
      TFAssign dialog;
      dialog.ShowAssignment({QStringLiteral("customer_reference"), QStringLiteral("other_field")},
                            model.Cols());
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      auto* grid = dialog.findChild<QTableWidget*>(QStringLiteral("sg1"));
      const QHeaderView* titles = grid->horizontalHeader();
      const int last = grid->columnCount() - 1;
      QVERIFY(titles->sectionViewportPosition(last) + titles->sectionSize(last) <=
              grid->viewport()->width());
      QVERIFY(titles->sectionSize(last) >=
              grid->fontMetrics().horizontalAdvance(grid->item(0, last)->text()));
    }
    QApplication::setFont(saved);
  }
};

KELVAST_UI_TEST(TKeyboardTest)

}  // namespace kelvast::ui::test

#include "keyboard_test.moc"
