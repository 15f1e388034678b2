#pragma once
// TGenerationTab, the Generation tab: the export format, the run of the current model with its
// progress, the ten-row sample preview and the panel of direct-insert errors. The run itself is
// the core's RunGeneration; this tab only turns its callbacks into controls.

#include "core/output/generation_run.h"
#include "ui/ui_state.h"

#include <QElapsedTimer>
#include <QWidget>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kelvast::ui {

class TGenerationTab;

// The observer of one run: progress label and bars, the questions and messages through the
// message seam, the error panel. A plan wraps it to drive the same controls.
class TGenerationObserver : public TRunObserver {
 public:
  explicit TGenerationObserver(TGenerationTab& tab);
  // The controls of a running run (shown bar, disabled button); called at the first report.
  void Started();
  // Back to idle: "Done - 100%", the bar hidden, the button enabled, the error panel shown when
  // its memo holds anything. Does nothing when the run never started.
  void Finished();

  bool ConfirmReplace(const std::string& caption, const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  void Progress(int64_t record, int64_t total) override;
  // Small, so the window can be repainted often; Progress itself limits how often it updates
  // the controls and processes events.
  int64_t ProgressStep() const override { return 16; }
  bool ConfirmRollback(const std::string& question, int errors) override;
  void DatabaseErrors(const std::string& memo) override;
  void InsertProgress(int64_t statement, int64_t total) override;

 private:
  void SetBars(int64_t position, int64_t total);

  TGenerationTab& FTab;
  bool FStarted = false;
  QElapsedTimer FSinceEvents;
};

class TGenerationTab : public QWidget {
 public:
  explicit TGenerationTab(TUiState& state, QWidget* parent = nullptr);

  // The chosen export format (0 "SQL Script" to 3 "OleDB").
  TOutputMode ExportFormat() const;
  void SetExportFormat(TOutputMode mode);
  // The encoding of SQL, CSV and XML files: the "cbEncoding" box, kept in the settings.
  TTextEncoding Encoding() const;
  void SetEncoding(TTextEncoding encoding);
  // Chooses the format from an output file's extension: SQL, CSV, XML, else OleDB.
  void SelectFormatForFile(const std::string& fileName);

  // The folder of the reference word lists that runs and samples load.
  const std::filesystem::path& DictFolder() const { return FDictFolder; }
  void SetDictFolder(const std::filesystem::path& folder) { FDictFolder = folder; }

  // The record progress bar of the plan tab, which every run moves too.
  void SetPlanRecordBar(QProgressBar* bar) { FPlanBar = bar; }

  // Runs the current model once; userStarted shows the two validation messages. Errors are
  // reported here in a message box.
  void bbGenerateClick(bool userStarted = true);
  // Fills the sample grid with ten records of the current model.
  void sbSampleClick();
  void Label74DblClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TGenerationObserver;

  TUiState& FState;
  std::filesystem::path FDictFolder = DefaultDictFolder();
  QComboBox* FEncoding = nullptr;
  QButtonGroup* FFormat;
  QPushButton* FGenerate;
  QProgressBar* FBar;
  QProgressBar* FPlanBar = nullptr;
  QLabel* FProgressLabel;
  QPushButton* FSample;
  QTableWidget* FGrid;
  QWidget* FErrorPanel;
  QLabel* FErrorTitle;
  QPlainTextEdit* FErrors;
};

// The progress label of record r of total: "37/200 (18.50)", with the locale's decimal separator.
QString ProgressText(int64_t record, int64_t total);

}  // namespace kelvast::ui
