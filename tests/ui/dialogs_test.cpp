// SPDX-License-Identifier: MIT
// The character set editor and the list editor, driven through their controls.

#include "core/generators/charset.h"
#include "pages_test_support.h"
#include "ui/ansi_text.h"
#include "ui/dialogs/charset_editor.h"
#include "ui/dialogs/list_editor.h"

#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace kelvast;
using namespace kelvast::ui;
using kelvast::ui::test::OnNextModal;

namespace {

const QColor kShaded(185, 185, 255);

// Which of the 256 cells are painted light blue, read from the rendered grid.
QList<int> ShadedCells(QTableWidget& grid) {
  const QImage image = grid.viewport()->grab().toImage();
  QList<int> shaded;
  for (int n = 0; n < 256; ++n) {
    const QRect cell = grid.visualRect(grid.model()->index(n / 16, n % 16));
    // Low in the cell's left part: clear of the corner number, the main text and the frame.
    if (image.pixelColor(cell.left() + 3, cell.top() + 24) == kShaded) shaded << n;
  }
  return shaded;
}

void DoubleClickCell(QTableWidget& grid, int code) {
  const QPoint centre = grid.visualRect(grid.model()->index(code / 16, code % 16)).center();
  kelvast::ui::test::DoubleClick(grid.viewport(), centre);
}

void Click(QWidget& parent, const char* name) {
  auto* button = parent.findChild<QPushButton*>(QString::fromLatin1(name));
  if (button) button->click();
}

QStringList ToList(const std::vector<std::string>& lines) {
  QStringList out;
  for (const std::string& line : lines)
    out << FromAnsi(line);
  return out;
}

}  // namespace

class TDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  // An empty set shows every cell unshaded; Invert shades all 256; Clear unshades them all.
  void charsetInvertAndClear() {
    TFcseditor editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    auto* grid = editor.findChild<QTableWidget*>(QStringLiteral("sg"));
    QVERIFY(grid);
    QCOMPARE(ShadedCells(*grid).size(), 0);

    Click(editor, "SpeedButton1");
    QCOMPARE(ShadedCells(*grid).size(), 256);
    QVERIFY(editor.WorkingSet() == TCharSet::Range(0, 255));

    Click(editor, "SpeedButton2");
    QCOMPARE(ShadedCells(*grid).size(), 0);
    QVERIFY(editor.WorkingSet().Empty());
  }

  // The shading follows the set cell by cell, and a double-click switches the cell under it.
  void charsetDoubleClickToggles() {
    TFcseditor editor;
    editor.SetWorkingSet(TCharSet::FromText("A\t"));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    auto* grid = editor.findChild<QTableWidget*>(QStringLiteral("sg"));
    QCOMPARE(ShadedCells(*grid), (QList<int>{9, 65}));

    DoubleClickCell(*grid, 65);
    DoubleClickCell(*grid, 255);
    QCOMPARE(ShadedCells(*grid), (QList<int>{9, 255}));
    QVERIFY(editor.WorkingSet() == TCharSet::FromText("\t\xFF"));
  }

  void charsetCellText_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("control code in brackets") << 9 << QStringLiteral("(9)");
    QTest::newRow("last control code") << 31 << QStringLiteral("(31)");
    QTest::newRow("letter") << 65 << QStringLiteral("A");
    QTest::newRow("euro sign of the code page") << 128 << QStringLiteral("\u20AC");
    QTest::newRow("accented letter") << 233 << QStringLiteral("\u00E9");
  }
  void charsetCellText() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(TFcseditor::CellMainText(code), text);
  }

  // The caller's set changes only when the dialog closes with OK.
  void editCharsetResult_data() {
    QTest::addColumn<QString>("closeWith");
    QTest::addColumn<bool>("stored");
    QTest::newRow("ok") << QStringLiteral("BitBtn2") << true;
    QTest::newRow("cancel") << QStringLiteral("BitBtn1") << false;
    QTest::newRow("window closed") << QString() << false;
  }
  void editCharsetResult() {
    QFETCH(QString, closeWith);
    QFETCH(bool, stored);
    const TCharSet before = TCharSet::Range('A', 'Z');
    TCharSet set = before;
    bool unshadedInDialog = false;
    OnNextModal([&](QDialog* dialog) {
      auto* grid = dialog->findChild<QTableWidget*>(QStringLiteral("sg"));
      DoubleClickCell(*grid, 'A');
      unshadedInDialog = !ShadedCells(*grid).contains('A');
      if (closeWith.isEmpty())
        dialog->close();
      else
        Click(*dialog, closeWith.toLatin1().constData());
    });
    const bool ok = EditCharset(set, nullptr);

    QVERIFY(unshadedInDialog);
    QCOMPARE(ok, stored);
    TCharSet edited = before;
    edited.Exclude('A');
    QVERIFY(set == (stored ? edited : before));
  }

  void editStrings_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("typed");  // the text area's whole text; null keeps it as loaded
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("expected");
    const QStringList three{QStringLiteral("ab"), QStringLiteral("\u00E9t\u00E9"),
                            QStringLiteral("cd")};
    QTest::newRow("ok without changes keeps entries and order")
        << three << QString() << true << three;
    QTest::newRow("added line becomes an entry at its position")
        << three << QStringLiteral("ab\nxy\n\u00E9t\u00E9\ncd") << true
        << QStringList{"ab", "xy", "\u00E9t\u00E9", "cd"};
    QTest::newRow("final empty line gives no entry")
        << three << QStringLiteral("ab\ncd\n") << true << QStringList{"ab", "cd"};
    QTest::newRow("empty line inside stays an entry")
        << three << QStringLiteral("ab\n\ncd") << true << QStringList{"ab", "", "cd"};
    QTest::newRow("empty text gives an empty list")
        << three << QStringLiteral("") << true << QStringList{};
    QTest::newRow("cancel leaves the list untouched")
        << three << QStringLiteral("zz") << false << three;
  }
  void editStrings() {
    QFETCH(QStringList, entries);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QStringList, expected);
    std::vector<std::string> list;
    for (const QString& entry : entries)
      list.push_back(ToAnsi(entry));

    QString shown;
    OnNextModal([&](QDialog* dialog) {
      auto* memo = dialog->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
      shown = memo->toPlainText();
      if (!typed.isNull()) memo->setPlainText(typed);
      Click(*dialog, ok ? "BitBtn2" : "BitBtn1");
    });
    QCOMPARE(EditStrings(list, nullptr), ok);

    QCOMPARE(shown, entries.join('\n'));
    QCOMPARE(ToList(list), expected);
  }
};

std::unique_ptr<QObject> NewDialogsTest() { return std::make_unique<TDialogsTest>(); }

#include "dialogs_test.moc"
