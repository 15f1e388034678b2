// SPDX-License-Identifier: MIT
// The text file editor: loading on every change of the file field, saving with the bytes kept,
// the caret read-out.
#include "ui/file_name_edit.h"
#include "ui/ui_test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace kelvast::ui::test {

namespace {

struct TEditorFixture : TWindowFixture {
  explicit TEditorFixture(const QByteArray& ini = {}) : TWindowFixture(ini) {
    QTabBar* bar = Find<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
  }
  QPlainTextEdit* Memo() { return Find<QPlainTextEdit>("memo1"); }
  TFileNameEdit* FileField() { return Find<TFileNameEdit>("feTextEditor"); }
  QString Caret() { return Find<QLabel>("lCaret")->text(); }
  QString Path(const QString& name) const { return QDir(Dir()).filePath(name); }
};

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write the test file");
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class TTextEditorTabTest : public QObject {
  Q_OBJECT

 private slots:
  void loadedFileIsSavedWithItsBytes_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("saved");
    const QByteArray latin("caf\xE9 \x80 5\r\nna\xEFve\xA0text\r\n");
    QTest::newRow("Windows-1252 letters, no-break space, CR LF") << latin << latin;
    QTest::newRow("no final line break") << QByteArray("a\r\nb") << QByteArray("a\r\nb");
    QTest::newRow("lone LF and CR become CR LF")
        << QByteArray("a\nb\rc\n") << QByteArray("a\r\nb\r\nc\r\n");
    const QByteArray undefined("\x81\x8D\x8F\x90\x9D\tx\r\n");
    QTest::newRow("bytes the code page leaves undefined, a tab") << undefined << undefined;
  }
  void loadedFileIsSavedWithItsBytes() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, saved);
    TFileDialogRecorder dialogs;
    TEditorFixture f;
    const QString in = f.Path(QStringLiteral("in.sql"));
    WriteBytes(in, file);
    f.FileField()->setText(in);

    dialogs.Answer = f.Path(QStringLiteral("out.txt"));
    f.Find<QPushButton>("bbSave")->click();
    QCOMPARE(ReadBytes(dialogs.Answer), saved);
    QCOMPARE(dialogs.Requests.size(), 1);
    const TFileDialogRequest& asked = dialogs.Requests[0];
    QCOMPARE(asked.Kind, TFileDialogRequest::Save);
    QCOMPARE(asked.Title, QStringLiteral("Save file"));
    QCOMPARE(asked.FileName, in);
    QCOMPARE(asked.Folder, f.Dir());
    // Saving goes through the dialog only; the field keeps its file.
    QCOMPARE(f.FileField()->text(), in);
  }

  void saveWithEmptyFieldStartsInTheStoredFolder() {
    TFileDialogRecorder dialogs;
    TEditorFixture f("[FMain]\nsdtext_InitialDir=/srv/exports\n");
    f.Memo()->setPlainText(QStringLiteral("kept"));
    f.Find<QPushButton>("bbSave")->click();
    QCOMPARE(dialogs.Requests.size(), 1);
    QCOMPARE(dialogs.Requests[0].Folder, QStringLiteral("/srv/exports"));
    QVERIFY(dialogs.Requests[0].FileName.isEmpty());
    QVERIFY(QDir(f.Dir()).entryList({QStringLiteral("*.txt")}).isEmpty());
  }

  void saveFailureIsReportedAndTextKept() {
    TMessageRecorder messages;
    TFileDialogRecorder dialogs;
    TEditorFixture f;
    f.Memo()->setPlainText(QStringLiteral("precious"));
    dialogs.Answer = f.Path(QStringLiteral("no-such-folder/out.txt"));
    f.Find<QPushButton>("bbSave")->click();
    QCOMPARE(messages.Shown.size(), 1);
    QCOMPARE(messages.Shown[0].Icon, TMsgIcon::Error);
    QVERIFY(messages.Shown[0].Text.contains(dialogs.Answer));
    QCOMPARE(f.Memo()->toPlainText(), QStringLiteral("precious"));
  }

  void typingAPathLoadsEachExistingFileOnTheWay() {
    TMessageRecorder messages;
    TEditorFixture f;
    WriteBytes(f.Path(QStringLiteral("data")), "short");
    WriteBytes(f.Path(QStringLiteral("data.txt")), "long");
    QTest::keyClicks(f.FileField(), f.Path(QStringLiteral("data")));
    QCOMPARE(f.Memo()->toPlainText(), QStringLiteral("short"));
    QTest::keyClicks(f.FileField(), QStringLiteral(".txt"));
    QCOMPARE(f.Memo()->toPlainText(), QStringLiteral("long"));
    QTest::keyClicks(f.FileField(), QStringLiteral("x"));
    QCOMPARE(f.Memo()->toPlainText(), QStringLiteral("long"));
    QVERIFY(messages.Shown.isEmpty());
    QCOMPARE(f.Caret(), QStringLiteral("L:0 C:0"));
  }

  void caretReadOut_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("down");
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("label");
    QTest::newRow("start of the text") << "first\nsecond" << 0 << 0 << "L:1 C:0";
    QTest::newRow("after the third character of the second line")
        << "first\nsecond" << 1 << 3 << "L:2 C:3";
    QTest::newRow("end of a short last line") << "a\nb\nxy" << 2 << 2 << "L:3 C:2";
  }
  void caretReadOut() {
    QFETCH(QString, text);
    QFETCH(int, down);
    QFETCH(int, right);
    QFETCH(QString, label);
    TEditorFixture f;
    QPlainTextEdit* memo = f.Memo();
    memo->setPlainText(text);
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < down; ++i)
      QTest::keyClick(memo, Qt::Key_Down);
    for (int i = 0; i < right; ++i)
      QTest::keyClick(memo, Qt::Key_Right);
    QCOMPARE(f.Caret(), label);
  }

  void caretCountsWrappedLinesAsShown() {
    TEditorFixture f;
    QPlainTextEdit* memo = f.Memo();
    memo->setPlainText(QStringLiteral("word ").repeated(200) + QStringLiteral("\nxy"));
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    const QString wrapped = f.Caret();
    QVERIFY2(wrapped.endsWith(QStringLiteral(" C:2")) && wrapped != QStringLiteral("L:2 C:2"),
             qPrintable(wrapped));

    f.Find<QCheckBox>("cblinewrap")->click();
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f.Caret(), QStringLiteral("L:2 C:2"));
  }
};

KELVAST_UI_TEST(TTextEditorTabTest)

}  // namespace kelvast::ui::test

#include "text_editor_tab_test.moc"
