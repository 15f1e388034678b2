// SPDX-License-Identifier: MIT
#pragma once
// TTextEditorTab, the "Text file editor" tab: a whole-file text editor for produced files, with
// a file field that loads on every change, saving through a dialog, line wrap, a fixed-pitch font
// switch and the caret read-out "L:%d C:%d". Files are Windows-1252 text; a file loaded and saved
// without edits keeps its bytes, line breaks becoming CR LF.

#include <QWidget>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kelvast::ui {

class TFileNameEdit;

class TTextEditorTab : public QWidget {
 public:
  explicit TTextEditorTab(QWidget* parent = nullptr);

  TFileNameEdit* FileField() const { return FFile; }
  // The save dialog's start folder (the stored property "sdtext_InitialDir").
  QString SaveDir() const { return FSaveDir; }
  void SetSaveDir(const QString& dir) { FSaveDir = dir; }

  // The caret's line (from 0, lines as laid out on screen) and its offset in that line.
  struct TCaret {
    int Line;
    int Offset;
  };
  TCaret CaretLineCol() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void feTextEditorChange(const QString& text);
  void bbSaveClick();
  void cblinewrapClick(bool checked);
  void cbFixedfontClick(bool checked);
  void memo1KeyUp();
  void LoadFile(const QString& fileName);

  QPlainTextEdit* FMemo;
  TFileNameEdit* FFile;
  QPushButton* FSave;
  QCheckBox* FLineWrap;
  QCheckBox* FFixedFont;
  QLabel* FCaret;
  QFont FNormalFont;
  QString FSaveDir;
  QString FSaveName;
};

}  // namespace kelvast::ui
