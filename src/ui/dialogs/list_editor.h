// SPDX-License-Identifier: MIT
#pragma once
// The list editor: a string list edited as the lines of a text area.

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace kelvast::ui {

class TFMemo : public QDialog {
  Q_OBJECT

 public:
  // objectName "FMemo"; the text area is "Memo1".
  explicit TFMemo(QWidget* parent = nullptr);

  // One entry per line.
  void SetLines(const std::vector<std::string>& lines);
  // The text area's lines in order; a final empty line gives no entry.
  std::vector<std::string> Lines() const;

 private:
  QPlainTextEdit* FMemo;
};

// Edits a list in the dialog: on OK its entries are replaced in place by the dialog's lines,
// otherwise it is untouched. Returns true on OK.
bool EditStrings(std::vector<std::string>& list, QWidget* parent);

}  // namespace kelvast::ui
