// SPDX-License-Identifier: MIT
#pragma once
// TGenerationTab, the Generation tab: the export format, the run of the current model with its
// progress, the ten-row sample preview and the panel of direct-insert errors. The run itself is
// the core's RunGeneration; this tab only turns its callbacks into controls.

#include "core/output/generation_run.h"
#include "ui/ui_state.h"

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

class QButtonGroup;
class QComboBox;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kelvast::ui {

class TGenerationTab;

// How a run that got under way ended, as the progress label tells it.
enum TRunEnd { reDone, reFailed, reRolledBack };

// The observer of one run: progress label and bars, the questions and messages through the
// message seam, the error panel. A plan wraps it to drive the same controls. While the window
// processes events or waits for an answer, the window's model is the current model, so that its
// handlers never reach the copy the run generates from.
class TGenerationObserver : public TRunObserver {
 public:
  explicit TGenerationObserver(TGenerationTab& tab);
  // The controls of a running run (the bar shown); called at the first report.
  void Started();
  // Back to idle: the bar hidden, the error panel shown when its memo holds anything, and the
  // label saying how the run ended: "Done - 100%", "Failed" or "Rolled back". Does nothing when
  // the run never started.
  void Finished(TRunEnd end = reDone);
  // Finished as the result says; a run stopped before it wrote anything changes nothing.
  void Ended(const TRunResult& result);

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
  void ProcessEvents();

  TGenerationTab& FTab;
  bool FStarted = false;
  QElapsedTimer FSinceEvents;
  // A direct insert: the label shows the rows in the table, their rate and the time left.
  bool FInserting = false;
  QElapsedTimer FInsertClock;
};

class TGenerationTab : public QWidget {
 public:
  explicit TGenerationTab(TUiState& state, QWidget* parent = nullptr);

  // The chosen export format (0 "SQL Script" to 3 "Database (ODBC)").
  TOutputMode ExportFormat() const;
  void SetExportFormat(TOutputMode mode);
  // The encoding of SQL, CSV and XML files: the "cbEncoding" box, kept in the settings.
  TTextEncoding Encoding() const;
  void SetEncoding(TTextEncoding encoding);
  // An SQL script wrapped in BEGIN; and COMMIT;: the "cbTransaction" box, kept in the settings.
  bool Transaction() const;
  void SetTransaction(bool on);
  // Chooses the format from an output file's extension: SQL, CSV, XML, else the database.
  void SelectFormatForFile(const std::string& fileName);

  // The folder of the reference word lists that runs and samples load.
  const std::filesystem::path& DictFolder() const { return FDictFolder; }
  void SetDictFolder(const std::filesystem::path& folder) { FDictFolder = folder; }

  // At most how often a run lets the window process events and updates the progress controls,
  // in milliseconds (50 by default; 0 at every report, which tests use to act in mid-run).
  void SetEventInterval(qint64 ms) { FEventInterval = ms; }

  // The record progress bar of the plan tab, which every run moves too.
  void SetPlanRecordBar(QProgressBar* bar) { FPlanBar = bar; }

  // Runs a copy of the current model once; userStarted shows the two validation messages. Errors
  // are reported here in a message box. A direct insert goes through a connection of its own,
  // opened on the window's connection string. Refused while a run or plan is going.
  void bbGenerateClick(bool userStarted = true);
  // Fills the sample grid with ten records of the current model. Refused while a run or plan is
  // going, since it loads and empties the word lists that run is using.
  void sbSampleClick();

  // True while a run or a plan is going: one at a time, since they share the word lists.
  bool Busy() const { return FBusy; }
  // Marks the tab busy for the guard's lifetime: Go and Sample are disabled and refused.
  class TBusy {
   public:
    explicit TBusy(TGenerationTab& tab) : FTab(tab) { FTab.SetBusy(true); }
    ~TBusy() { FTab.SetBusy(false); }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

   private:
    TGenerationTab& FTab;
  };
  // Told each time the tab becomes busy or idle (the plan's Execute button follows it).
  std::function<void(bool busy)> BusyChanged;
  void Label74DblClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TGenerationObserver;
  void SetBusy(bool busy);

  TUiState& FState;
  bool FBusy = false;
  qint64 FEventInterval;
  std::filesystem::path FDictFolder = DefaultDictFolder();
  QComboBox* FEncoding = nullptr;
  QCheckBox* FTransaction = nullptr;
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
