// SPDX-License-Identifier: MIT
#include "ui/tabs/text_editor_tab.h"

#include "ui/ansi_text.h"
#include "ui/file_name_edit.h"
#include "ui/message_box.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>

namespace kelvast::ui {

namespace {

constexpr int kStripHeight = 27;

// Whole-file read; false with the reason when the file cannot be read.
bool ReadBytes(const QString& fileName, QByteArray& bytes, QString& error) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString());
    return false;
  }
  bytes = file.readAll();
  return true;
}

bool WriteBytes(const QString& fileName, const QByteArray& bytes, QString& error) {
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
    error = QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString());
    return false;
  }
  return true;
}

}  // namespace

TTextEditorTab::TTextEditorTab(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet4"));

  FMemo = new QPlainTextEdit(this);
  FMemo->setObjectName(QStringLiteral("memo1"));
  FNormalFont = FMemo->font();

  auto* strip = new QWidget(this);
  FFile = new TFileNameEdit(strip);
  FFile->setObjectName(QStringLiteral("feTextEditor"));
  FFile->SetFilter(QStringLiteral(
      "Text (*.txt)|*.txt|SQL (*.sql)|*.sql|CSV (*.csv)|*.csv|XML (*.xml)|*.xml|All (*.*)|*.*"));
  FFile->SetDefaultExt(QStringLiteral("txt"));
  FFile->SetMustExist(true);
  FSave = new QPushButton(QStringLiteral("Save"), strip);
  FSave->setObjectName(QStringLiteral("bbSave"));
  FLineWrap = new QCheckBox(QStringLiteral("Line wrap"), strip);
  FLineWrap->setObjectName(QStringLiteral("cblinewrap"));
  FFixedFont = new QCheckBox(QStringLiteral("Fixed font"), strip);
  FFixedFont->setObjectName(QStringLiteral("cbFixedfont"));
  FCaret = new QLabel(QStringLiteral("L:0 C:0"), strip);
  FCaret->setObjectName(QStringLiteral("lCaret"));
  FCaret->setToolTip(QStringLiteral("Caret position (line / column)"));
  FCaret->setFixedWidth(
      FCaret->fontMetrics().horizontalAdvance(QStringLiteral("L:000000 C:00000")));
  FCaret->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(FFile, 1);
  row->addWidget(FSave);
  row->addWidget(FLineWrap);
  row->addWidget(FFixedFont);
  row->addWidget(FCaret);
  // The designed height, or more for a larger desktop font.
  strip->setMinimumHeight(std::max(kStripHeight, strip->minimumSizeHint().height()));

  auto* column = new QVBoxLayout(this);
  column->addWidget(FMemo, 1);
  column->addWidget(strip);

  FLineWrap->setChecked(true);
  cblinewrapClick(true);

  connect(FFile, &QLineEdit::textChanged, this, &TTextEditorTab::feTextEditorChange);
  connect(FSave, &QPushButton::clicked, this, &TTextEditorTab::bbSaveClick);
  connect(FLineWrap, &QCheckBox::toggled, this, &TTextEditorTab::cblinewrapClick);
  connect(FFixedFont, &QCheckBox::toggled, this, &TTextEditorTab::cbFixedfontClick);
  FMemo->installEventFilter(this);
  FMemo->viewport()->installEventFilter(this);
}

void TTextEditorTab::feTextEditorChange(const QString& text) {
  // Runs at every keystroke: a name that is not (yet) an existing file loads nothing.
  if (QFileInfo(text).isFile()) LoadFile(text);
  FFile->SetInitialDir(FolderPart(text));
  FSaveDir = FFile->InitialDir();
  FSaveName = text;
}

void TTextEditorTab::LoadFile(const QString& fileName) {
  QByteArray bytes;
  QString error;
  if (!ReadBytes(fileName, bytes, error)) {
    ShowMessage(this, error, TMsgIcon::Error);
    return;
  }
  QString text = FromAnsi(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  FMemo->setPlainText(text);
}

void TTextEditorTab::bbSaveClick() {
  if (!FFile->text().isEmpty()) FSaveDir = FolderPart(FFile->text());
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::Save;
  request.Title = QStringLiteral("Save file");
  request.Filter = QStringLiteral(
      "Text (*.txt)|*.txt|SQL (*.sql)|*.sql|XML (*.xml)|*.xml|CSV (*.csv)|*.csv|All (*.*)|*.*");
  request.DefaultExt = QStringLiteral("txt");
  request.Folder = FSaveDir;
  request.FileName = FSaveName;
  const QString chosen = RunFileDialog(this, request);
  if (chosen.isEmpty()) return;
  FSaveDir = FolderPart(chosen);

  // The raw text keeps no-break spaces, which the plain-text view of a document turns into blanks.
  QString text = FMemo->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  const std::string ansi = ToAnsi(text);
  QString error;
  if (!WriteBytes(chosen, QByteArray(ansi.data(), static_cast<qsizetype>(ansi.size())), error))
    ShowMessage(this, error, TMsgIcon::Error);
}

void TTextEditorTab::cblinewrapClick(bool checked) {
  FMemo->setLineWrapMode(checked ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  FMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FMemo->setHorizontalScrollBarPolicy(checked ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

void TTextEditorTab::cbFixedfontClick(bool checked) {
  QFont font = checked ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : FNormalFont;
  font.setPointSizeF(FMemo->font().pointSizeF());
  FMemo->setFont(font);
}

TTextEditorTab::TCaret TTextEditorTab::CaretLineCol() const {
  const QTextDocument* doc = FMemo->document();
  const int p = FMemo->textCursor().selectionStart();
  const QTextBlock block = doc->findBlock(p);
  const int inBlock = p - block.position();
  if (FMemo->lineWrapMode() == QPlainTextEdit::NoWrap) return {block.blockNumber(), inBlock};

  // With wrapping, a block is as many lines as it takes on screen. Blocks that were never shown
  // have no layout yet; asking for their bounds lays them out.
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  int line = 0;
  for (QTextBlock b = doc->begin(); b.isValid() && b != block; b = b.next()) {
    layout->blockBoundingRect(b);
    line += qMax(1, b.layout()->lineCount());
  }
  layout->blockBoundingRect(block);
  const QTextLine textLine = block.layout()->lineForTextPosition(inBlock);
  if (!textLine.isValid()) return {line, inBlock};
  return {line + textLine.lineNumber(), inBlock - textLine.textStart()};
}

void TTextEditorTab::memo1KeyUp() {
  const TCaret caret = CaretLineCol();
  FCaret->setText(QStringLiteral("L:%1 C:%2").arg(caret.Line + 1).arg(caret.Offset));
}

bool TTextEditorTab::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == FMemo && event->type() == QEvent::KeyRelease) ||
      (watched == FMemo->viewport() && event->type() == QEvent::MouseButtonRelease))
    memo1KeyUp();
  return QWidget::eventFilter(watched, event);
}

}  // namespace kelvast::ui
