// SPDX-License-Identifier: MIT
#include "ui/dialogs/list_editor.h"

#include "ui/ansi_text.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvast::ui {

TFMemo::TFMemo(QWidget* parent) : QDialog(parent), FMemo(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("FMemo"));
  setWindowTitle(QStringLiteral("Text editor"));
  resize(439, 427);

  FMemo->setObjectName(QStringLiteral("Memo1"));
  FMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FMemo->setLineWrapMode(QPlainTextEdit::NoWrap);

  auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
  ok->setObjectName(QStringLiteral("BitBtn2"));
  auto* cancel = new QPushButton(QStringLiteral("cancel"), this);
  cancel->setObjectName(QStringLiteral("BitBtn1"));
  // Enter inserts a line in the text area; it must not close the dialog.
  ok->setAutoDefault(false);
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* strip = new QWidget(this);
  strip->setFixedHeight(32);
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(4, 2, 4, 2);
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(FMemo, 1);
  column->addWidget(strip);
}

void TFMemo::SetLines(const std::vector<std::string>& lines) {
  QStringList text;
  text.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines)
    text << FromAnsi(line);
  FMemo->setPlainText(text.join(QLatin1Char('\n')));
}

std::vector<std::string> TFMemo::Lines() const {
  QStringList text = FMemo->toPlainText().split(QLatin1Char('\n'));
  if (!text.isEmpty() && text.last().isEmpty()) text.removeLast();
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(text.size()));
  for (const QString& line : text)
    lines.push_back(ToAnsi(line));
  return lines;
}

bool EditStrings(std::vector<std::string>& list, QWidget* parent) {
  TFMemo editor(parent);
  editor.SetLines(list);
  if (editor.exec() != QDialog::Accepted) return false;
  list = editor.Lines();
  return true;
}

}  // namespace kelvast::ui
