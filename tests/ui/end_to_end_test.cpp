// SPDX-License-Identifier: MIT
// A user's whole path through the window: a model built with the controls alone (list buttons,
// typed names, the type box, the parameter pages, the model information), run from the
// Generation tab to SQL, CSV and XML, and each file read back and checked value by value.
#include "core/generators/string_gens.h"
#include "core/output/xml_writer.h"
#include "ui/tabs/generation_tab.h"
#include "ui/ui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <functional>
#include <set>

namespace kelvast::ui::test {

namespace {

constexpr int kRecords = 300;
const QDate kFirstDay(1990, 1, 1);
const QDate kLastDay(1999, 12, 31);
const QString kSecret = QStringLiteral("K9");

// The trimmed lines of both first-name lists of the small dictionary, as single-byte text.
std::set<std::string> FirstNames() {
  std::set<std::string> names;
  for (const char* file : {"BoynamesUSA.txt", "GirlnamesUSA.txt"}) {
    QFile in(QString::fromStdString((SmallDictFolder() / file).string()));
    if (!in.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read the first names");
    for (const QByteArray& line : in.readAll().split('\n'))
      if (!line.trimmed().isEmpty()) names.insert(line.trimmed().toStdString());
  }
  return names;
}

// One written record: field name -> value, the empty text standing for NULL.
using TRecord = QMap<QString, QString>;

struct TParsedFile {
  QStringList Columns;
  QList<TRecord> Records;
};

QByteArrayList Lines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("missing output file");
  QByteArray all = file.readAll();
  if (!all.endsWith("\r\n")) throw std::runtime_error("the last line has no CR LF");
  all.chop(1);
  return all.split('\n');
}

// Every line ends with CR LF; returns the lines without it.
QStringList CrlfLines(const QString& path) {
  QStringList out;
  for (QByteArray line : Lines(path)) {
    if (!line.endsWith('\r')) throw std::runtime_error("a line without CR LF");
    line.chop(1);
    out << QString::fromLatin1(line);
  }
  return out;
}

// The items of "a, 'b''c', NULL" (SQL) or "a,\"b\"," (CSV): quoted items lose their quotes, a
// doubled quote inside a quoted SQL item stands for one.
QStringList SplitItems(const QString& text, const QString& separator, QChar quote, bool sqlNull) {
  QStringList items;
  qsizetype i = 0;
  while (i <= text.size()) {
    QString item;
    if (i < text.size() && text[i] == quote) {
      for (++i; i < text.size(); ++i) {
        if (text[i] != quote) item += text[i];
        else if (sqlNull && i + 1 < text.size() && text[i + 1] == quote) item += text[i++];
        else break;
      }
      ++i;
      if (i < text.size() && !text.mid(i).startsWith(separator))
        throw std::runtime_error("text after a closing quote");
    } else {
      const qsizetype end = text.indexOf(separator, i);
      item = text.mid(i, end < 0 ? -1 : end - i);
      if (sqlNull && item == u"NULL") item.clear();
      i = end < 0 ? text.size() : end;
    }
    items << item;
    i += separator.size();
  }
  return items;
}

TRecord Zip(const QStringList& columns, const QStringList& values) {
  if (columns.size() != values.size()) throw std::runtime_error("a row of the wrong width");
  TRecord record;
  for (qsizetype i = 0; i < columns.size(); ++i) record.insert(columns[i], values[i]);
  return record;
}

// Six comment lines, one INSERT per record, three comment lines.
TParsedFile ParseSql(const QString& path, const QString& table) {
  // Six comment lines, BEGIN;, the statements, COMMIT;, three comment lines.
  const QStringList lines = CrlfLines(path);
  if (lines.size() != 6 + 1 + kRecords + 1 + 3) throw std::runtime_error("wrong SQL line count");
  for (int i : {0, 1, 2, 3, 4, 5, 8 + kRecords, 9 + kRecords, 10 + kRecords})
    if (!lines[i].startsWith(u"/* ") || !lines[i].endsWith(u" */"))
      throw std::runtime_error("a header or footer line is not a comment");
  if (lines[6] != u"BEGIN;" || lines[7 + kRecords] != u"COMMIT;")
    throw std::runtime_error("the statements are not in a transaction");
  if (!lines[4].contains(QStringLiteral(": %1 */").arg(kRecords)))
    throw std::runtime_error("the header does not give the record count");
  static const QRegularExpression insert(
      QStringLiteral("^INSERT INTO '([^']*)' \\((.*)\\) VALUES \\((.*)\\);$"));
  TParsedFile parsed;
  for (int r = 0; r < kRecords; ++r) {
    const QRegularExpressionMatch m = insert.match(lines[7 + r]);
    if (!m.hasMatch() || m.captured(1) != table) throw std::runtime_error("not an INSERT line");
    const QStringList columns = SplitItems(m.captured(2), QStringLiteral(", "), u'\'', false);
    if (r == 0) parsed.Columns = columns;
    else if (columns != parsed.Columns) throw std::runtime_error("the column list changed");
    parsed.Records << Zip(columns, SplitItems(m.captured(3), QStringLiteral(", "), u'\'', true));
  }
  return parsed;
}

// A title line, then one line per record; no footer.
TParsedFile ParseCsv(const QString& path) {
  const QStringList lines = CrlfLines(path);
  if (lines.size() != 1 + kRecords) throw std::runtime_error("wrong CSV line count");
  TParsedFile parsed;
  parsed.Columns = SplitItems(lines[0], QStringLiteral(","), u'"', false);
  for (int r = 1; r <= kRecords; ++r)
    parsed.Records << Zip(parsed.Columns, SplitItems(lines[r], QStringLiteral(","), u'"', false));
  return parsed;
}

// The declaration, the comment, the metadata block, one RECORD line per record and the closing
// line. Values stay escaped as written.
TParsedFile ParseXml(const QString& path) {
  const QStringList lines = CrlfLines(path);
  TParsedFile parsed;
  if (!lines.value(0).startsWith(u"<?xml version=\"1.0\" encoding=\"windows-1252\""))
    throw std::runtime_error("no XML declaration");
  if (lines.value(2) != u"<RECORDS>" || lines.value(3) != u"<METADATA>" ||
      lines.value(4) != u" <FIELDS>" || lines.last() != u"</RECORDS>")
    throw std::runtime_error("the XML frame is wrong");
  static const QRegularExpression field(QStringLiteral("^ <FIELD attrname=\"(\\w*)\" fieldtype="));
  qsizetype i = 5;
  for (; i < lines.size() && field.match(lines[i]).hasMatch(); ++i)
    parsed.Columns << field.match(lines[i]).captured(1);
  if (lines.value(i) != u" </FIELDS>" || lines.value(i + 1) != u"</METADATA>")
    throw std::runtime_error("the field list is not closed");
  if (lines.size() != i + 2 + kRecords + 1) throw std::runtime_error("wrong XML line count");
  static const QRegularExpression attribute(QStringLiteral(" (\\w*)=\"([^\"]*)\""));
  for (qsizetype r = i + 2; r < lines.size() - 1; ++r) {
    const QString& line = lines[r];
    if (!line.startsWith(u"<RECORD><ROW") || !line.endsWith(u"/></RECORD>"))
      throw std::runtime_error("not a RECORD line");
    QStringList names, values;
    for (const QRegularExpressionMatch& m : attribute.globalMatch(line)) {
      names << m.captured(1);
      values << m.captured(2);
    }
    if (names != parsed.Columns) throw std::runtime_error("the attributes differ from the fields");
    parsed.Records << Zip(names, values);
  }
  return parsed;
}

// The window on the Generators tab, with the output going to the scratch folder.
struct TEndToEndFixture : TWindowFixture {
  TEndToEndFixture() {
    ClickTab(1);
    Find<TGenerationTab>("TabSheet3")->SetDictFolder(SmallDictFolder());
  }
  void ClickTab(int index) {
    QTabBar* bar = Find<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
  void Click(const char* name) {
    auto* button = Find<QAbstractButton>(name);
    if (!button->isEnabled() || !button->isVisible())
      throw std::runtime_error(std::string(name) + " cannot be clicked");
    // Near the left edge: a stretched check box or radio button takes clicks on its indicator
    // and caption only.
    const int middle = button->height() / 2;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(std::min(middle, button->width() / 2), middle));
  }
  // Replaces the text of a field the way a user does: select everything, type over it.
  void Type(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Delete);
    else QTest::keyClicks(field, text);
  }
  void Type(const char* name, const QString& text) { Type(Find<QWidget>(name), text); }
  void Check(const char* name) {
    Click(name);
    if (!Find<QCheckBox>(name)->isChecked())
      throw std::runtime_error(std::string(name) + " did not check");
  }
  // Picks an entry of a drop-down list as a keyboard user does: the list opened with a click,
  // the arrow keys up to the entry, Enter.
  void ChooseItem(const char* name, const QString& caption) {
    auto* box = Find<QComboBox>(name);
    const int row = box->findText(caption);
    if (row < 0) throw std::runtime_error(std::string(name) + " has no such entry");
    QTest::mouseClick(box, Qt::LeftButton);
    QAbstractItemView* view = box->view();
    QTRY_VERIFY_WITH_TIMEOUT(view->isVisible(), 5000);
    while (view->currentIndex().row() < row) QTest::keyClick(view, Qt::Key_Down);
    while (view->currentIndex().row() > row) QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!view->isVisible(), 5000);
    if (box->currentText() != caption)
      throw std::runtime_error(std::string(name) + ": the entry was not chosen");
  }
  // Add, type the name (applied with Enter) and the target field, choose the type.
  void AddGenerator(const QString& name, const QString& field, const QString& type) {
    Click("sbAddCol");
    Type("eColName", name);
    QTest::keyClick(Find<QWidget>("eColName"), Qt::Key_Return);
    Type(Find<QComboBox>("eTableField")->lineEdit(), field);
    ChooseItem("cbGenType", type);
  }
  void TypeDate(const char* name, QDate date) {
    auto* edit = Find<QDateEdit>(name);
    Type(edit, date.toString(edit->displayFormat()));
  }
  // Opens the combination's pop-up and clicks the entry of that generator.
  void AddToCombination(const QString& name) {
    Click("sbaddcombo");
    auto* menu = Find<QMenu>("ppcombo");
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 5000);
    for (QAction* entry : menu->actions())
      if (entry->text() == name)
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), 5000);
  }
  // The output file chosen with the field's browse button.
  void BrowseOutputFile(TFileDialogRecorder& dialogs, const QString& path) {
    dialogs.Answer = path;
    auto* browse = Find<QLineEdit>("eScriptName")->findChild<QToolButton*>();
    if (!browse) throw std::runtime_error("the output field has no browse button");
    QTest::mouseClick(browse, Qt::LeftButton);
  }
  QString Path(const QString& name) const { return QDir(Dir()).filePath(name); }
};

// The checks every value must pass, by field name, given the whole record.
using TValueCheck = std::function<bool(const QString& value, const TRecord& record)>;

// Every record of a run against the parameters set in the window.
void CheckRecords(const TParsedFile& parsed, bool xml) {
  QCOMPARE(parsed.Columns, (QStringList{"id", "code", "first_name", "birth_date", "tag"}));
  QCOMPARE(parsed.Records.size(), kRecords);
  const TCharSet letters = TCPString().Charset();
  std::set<std::string> names;
  for (const std::string& name : FirstNames()) names.insert(xml ? XmlEscape(name) : name);
  const QMap<QString, TValueCheck> checks{
      {"id",
       [](const QString& v, const TRecord&) {
         bool ok = false;
         const int n = v.toInt(&ok);
         return ok && n >= 10 && n <= 99;
       }},
      {"code",
       [&letters](const QString& v, const TRecord&) {
         if (v.size() < 3 || v.size() > 8 || v != v.toUpper()) return false;
         for (QChar c : v)
           if (!letters.Contains(static_cast<unsigned char>(c.toLatin1()))) return false;
         return true;
       }},
      {"first_name",
       [&names](const QString& v, const TRecord&) {
         return v.isEmpty() || names.count(v.toLatin1().toStdString()) > 0;
       }},
      {"birth_date",
       [](const QString& v, const TRecord&) {
         const QDate d = QDate::fromString(v, QStringLiteral("yyyy-MM-dd"));
         return d.isValid() && d >= kFirstDay && d <= kLastDay;
       }},
      // The combination shows the record's own id and the stealth constant.
      {"tag", [](const QString& v, const TRecord& r) { return v == r["id"] + kSecret; }},
  };
  int nulls = 0;
  for (const TRecord& record : parsed.Records) {
    for (auto c = checks.begin(); c != checks.end(); ++c)
      QVERIFY2(c.value()(record[c.key()], record),
               qPrintable(c.key() + QStringLiteral(" = ") + record[c.key()]));
    nulls += record["first_name"].isEmpty();
  }
  // A quarter of 300: none, or all of them, would take odds below 1e-30.
  QVERIFY2(nulls > 0 && nulls < kRecords, qPrintable(QString::number(nulls)));
}

}  // namespace

class TEndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void modelBuiltWithControlsRunsToEveryFileFormat() {
    // A control that cannot be found or driven throws; Qt Test would abort on it.
    try {
      BuildAndRun();
    } catch (const std::exception& e) {
      QFAIL(e.what());
    }
  }

 private:
  void BuildAndRun() {
    TMessageRecorder messages;
    TFileDialogRecorder dialogs;
    TEndToEndFixture f;

    f.Type("eModelDesc", QStringLiteral("People built by hand"));
    f.Type("eTableName", QStringLiteral("people"));
    f.BrowseOutputFile(dialogs, f.Path(QStringLiteral("people.sql")));
    f.Type("eRecsToGen", QString::number(kRecords));

    // An integer from 10 to 99 (the maximum first, so that no step crosses the minimum).
    f.AddGenerator(QStringLiteral("id"), QStringLiteral("id"), QStringLiteral("Integer"));
    f.Click("rgIntSign2");
    QVERIFY(f.Find<QRadioButton>("rgIntSign2")->isChecked());
    f.Type("seIntMaxi", QStringLiteral("99"));
    f.Type("seIntMini", QStringLiteral("10"));
    // Letters, 3 to 8 of them, upper-cased.
    f.AddGenerator(QStringLiteral("code"), QStringLiteral("code"), QStringLiteral("String"));
    f.Type("seStringLength", QStringLiteral("8"));
    f.Type("seStringmini", QStringLiteral("3"));
    f.ChooseItem("cbCase", QStringLiteral("Upper"));
    // A first name, a quarter of them null.
    f.AddGenerator(QStringLiteral("first"), QStringLiteral("first_name"),
                   QStringLiteral("First name"));
    f.Check("cbAllowNull");
    f.Type("eNullPercent", QStringLiteral("25"));
    // A date of the nineties.
    f.AddGenerator(QStringLiteral("born"), QStringLiteral("birth_date"), QStringLiteral("Date"));
    f.TypeDate("deDateMaxi", kLastDay);
    f.TypeDate("deDateMini", kFirstDay);
    f.Type("eDateFmt", QStringLiteral("yyyy-mm-dd"));
    // A stealth constant that only the combination below shows.
    f.AddGenerator(QStringLiteral("secret"), QStringLiteral("secret"), QStringLiteral("Const"));
    f.Type("eConst", kSecret);
    f.Check("cbStealth");
    f.AddGenerator(QStringLiteral("tag"), QStringLiteral("tag"), QStringLiteral("Combo"));
    f.AddToCombination(QStringLiteral("id"));
    f.AddToCombination(QStringLiteral("secret"));
    f.Click("rgntcombo1");
    QVERIFY(f.Find<QRadioButton>("rgntcombo1")->isChecked());
    QCOMPARE(f.Find<QListWidget>("lbcols")->count(), 6);
    QCOMPARE(dialogs.Requests.size(), 1);

    f.ClickTab(2);
    QVERIFY(f.Find<QRadioButton>("rgexportfmt_0")->isChecked());
    const struct {
      int Format;
      const char* File;
    } runs[] = {{0, "people.sql"}, {1, "people.csv"}, {2, "people.xml"}};
    for (const auto& run : runs) {
      const QString path = f.Path(QLatin1String(run.File));
      f.Click(QStringLiteral("rgexportfmt_%1").arg(run.Format).toLatin1().constData());
      f.Click("bbGenerate");
      QVERIFY2(messages.Shown.isEmpty(), qPrintable(messages.Texts().join(u'|')));
      QVERIFY2(QFileInfo::exists(path), run.File);
      CheckRecords(run.Format == 0   ? ParseSql(path, QStringLiteral("people"))
                   : run.Format == 1 ? ParseCsv(path)
                                     : ParseXml(path),
                   run.Format == 2);
      if (QTest::currentTestFailed()) return;
    }
  }
};

KELVAST_UI_TEST(TEndToEndTest)

}  // namespace kelvast::ui::test

#include "end_to_end_test.moc"
