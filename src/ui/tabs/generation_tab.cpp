// SPDX-License-Identifier: MIT
#include "ui/tabs/generation_tab.h"

#include "core/database/odbc_connection.h"
#include "core/model/model_copy.h"
#include "ui/ansi_text.h"
#include "ui/message_box.h"
#include "ui/title_grid.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvast::ui {

namespace {

// The window stays responsive without spending the run in the event loop.
constexpr qint64 kEventsEveryMs = 50;

int BarValue(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, INT32_MAX)); }

}  // namespace

QString ProgressText(int64_t record, int64_t total) {
  const double percent = total > 0 ? static_cast<double>(record) / total * 100.0 : 0.0;
  QString number = QString::number(percent, 'f', 2);
  number.replace(QLatin1Char('.'), QLocale().decimalPoint());
  return QStringLiteral("%1/%2 (%3)").arg(record).arg(total).arg(number);
}

TGenerationObserver::TGenerationObserver(TGenerationTab& tab) : FTab(tab) {}

void TGenerationObserver::Started() {
  if (FStarted) return;
  FStarted = true;
  FTab.FBar->show();
  FSinceEvents.start();
}

void TGenerationObserver::Finished(TRunEnd end) {
  if (!FStarted) return;
  FStarted = false;
  FInserting = false;
  FTab.FBar->hide();
  if (FTab.FPlanBar) FTab.FPlanBar->setValue(FTab.FPlanBar->minimum());
  FTab.FProgressLabel->setText(end == reDone     ? QStringLiteral("Done - 100%")
                               : end == reFailed ? QStringLiteral("Failed")
                                                 : QStringLiteral("Rolled back"));
  FTab.FErrorPanel->setVisible(!FTab.FErrors->toPlainText().isEmpty());
}

void TGenerationObserver::Ended(const TRunResult& result) {
  switch (result.Outcome) {
    case roDone:
      // A run of no record reports no progress: it is shown as ended all the same.
      Started();
      Finished(result.RolledBack ? reRolledBack : reDone);
      break;
    case roNoConnection:
    case roInterrupted:
      Started();
      Finished(reFailed);
      break;
    case roNoColumns:
    case roNoFileName:
    case roNotReplaced:
      break;
  }
}

void TGenerationObserver::ProcessEvents() { QApplication::processEvents(); }

bool TGenerationObserver::ConfirmReplace(const std::string& caption, const std::string& text) {
  return AskYesNo(&FTab, FromAnsi(caption), FromAnsi(text), TMsgIcon::Question);
}

void TGenerationObserver::ShowMessage(const std::string& text) {
  ::kelvast::ui::ShowMessage(&FTab, FromAnsi(text));
}

void TGenerationObserver::SetBars(int64_t position, int64_t total) {
  for (QProgressBar* bar : {FTab.FBar, FTab.FPlanBar}) {
    if (!bar) continue;
    bar->setRange(1, std::max(1, BarValue(total)));
    bar->setValue(BarValue(position));
  }
}

void TGenerationObserver::Progress(int64_t record, int64_t total) {
  Started();
  // The controls are drawn only when events are processed, so they are set just before: text
  // formatted and bars moved for every report cost the run a tenth of its time, and a bar's
  // setValue may even repaint at once.
  if (record < total && FSinceEvents.elapsed() < FTab.FEventInterval) return;
  if (!FInserting) FTab.FProgressLabel->setText(ProgressText(record, total));
  SetBars(record, total);
  ProcessEvents();
  FSinceEvents.restart();
}

bool TGenerationObserver::ConfirmRollback(const std::string& question, int) {
  return AskYesNo(&FTab, AppTitle(), FromAnsi(question), TMsgIcon::Question);
}

void TGenerationObserver::DatabaseErrors(const std::string& memo) {
  FTab.FErrors->setPlainText(FromAnsi(memo));
}

void TGenerationObserver::InsertProgress(int64_t statement, int64_t total) {
  Started();
  if (statement == 0) {
    // The memo belongs to the previous run until the statements start.
    FTab.FErrors->clear();
    FTab.FProgressLabel->setText(QStringLiteral("Writing to table..."));
    FInserting = true;
    FInsertClock.start();
    ProcessEvents();
    FSinceEvents.restart();
    return;
  }
  // The rows stream into the table while they are made: their rate and the time left.
  const double seconds = static_cast<double>(FInsertClock.elapsed()) / 1000.0;
  const double rate = seconds > 0 ? static_cast<double>(statement) / seconds : 0.0;
  const double left = rate > 0 ? static_cast<double>(total - statement) / rate : 0.0;
  FTab.FProgressLabel->setText(QStringLiteral("Writing to table... %1  %2 rows/s  %3 s left")
                                   .arg(ProgressText(statement, total))
                                   .arg(QLocale().toString(rate, 'f', 0))
                                   .arg(QLocale().toString(left, 'f', 0)));
  SetBars(statement, total);
}

TGenerationTab::TGenerationTab(TUiState& state, QWidget* parent)
    : QWidget(parent), FState(state), FEventInterval(kEventsEveryMs) {
  setObjectName(QStringLiteral("TabSheet3"));

  auto* formatBox = new QGroupBox(QStringLiteral("Export file format"), this);
  formatBox->setObjectName(QStringLiteral("rgexportfmt"));
  FFormat = new QButtonGroup(formatBox);
  auto* formats = new QVBoxLayout(formatBox);
  for (const TOutputFormat& format : OutputFormats()) {
    auto* button = new QRadioButton(FromAnsi(format.Caption), formatBox);
    button->setObjectName(QStringLiteral("rgexportfmt_%1").arg(format.Mode));
    FFormat->addButton(button, format.Mode);
    formats->addWidget(button);
  }
  FFormat->button(omSqlScript)->setChecked(true);
  auto* encodingLabel = new QLabel(QStringLiteral("&Encoding:"), formatBox);
  FEncoding = new QComboBox(formatBox);
  FEncoding->setObjectName(QStringLiteral("cbEncoding"));
  FEncoding->addItem(QStringLiteral("Windows-1252"), int{teWindows1252});
  FEncoding->addItem(QStringLiteral("UTF-8"), int{teUtf8});
  FEncoding->setToolTip(QStringLiteral("Character encoding of SQL, CSV and XML files"));
  encodingLabel->setBuddy(FEncoding);
  formats->addWidget(encodingLabel);
  formats->addWidget(FEncoding);
  FTransaction = new QCheckBox(QStringLiteral("Wrap the script in a &transaction"), formatBox);
  FTransaction->setObjectName(QStringLiteral("cbTransaction"));
  FTransaction->setChecked(true);
  FTransaction->setToolTip(
      QStringLiteral("BEGIN; and COMMIT; around an SQL script's statements, so that it loads fast"));
  formats->addWidget(FTransaction);

  FGenerate = new QPushButton(QStringLiteral("Go !"), this);
  FGenerate->setObjectName(QStringLiteral("bbGenerate"));
  FBar = new QProgressBar(this);
  FBar->setObjectName(QStringLiteral("jvsp"));
  FBar->setAlignment(Qt::AlignCenter);
  FBar->hide();
  FProgressLabel = new QLabel(this);
  FProgressLabel->setObjectName(QStringLiteral("lprog"));

  FSample = new QPushButton(QStringLiteral("Sample"), this);
  FSample->setObjectName(QStringLiteral("sbSample"));
  FGrid = new QTableWidget(this);
  FGrid->setObjectName(QStringLiteral("sgSamp"));
  SetUpTitleGrid(FGrid);
  FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);

  FErrorPanel = new QWidget(this);
  FErrorPanel->setObjectName(QStringLiteral("pDBError"));
  FErrorTitle = new QLabel(QStringLiteral("ODBC errors during export"), FErrorPanel);
  FErrorTitle->setObjectName(QStringLiteral("Label74"));
  FErrorTitle->installEventFilter(this);
  FErrors = new QPlainTextEdit(FErrorPanel);
  FErrors->setObjectName(QStringLiteral("mDBErrors"));
  FErrors->setReadOnly(true);
  auto* panelColumn = new QVBoxLayout(FErrorPanel);
  panelColumn->setContentsMargins(0, 0, 0, 0);
  panelColumn->addWidget(FErrorTitle);
  panelColumn->addWidget(FErrors);
  FErrorPanel->hide();

  auto* runRow = new QHBoxLayout;
  runRow->addWidget(formatBox);
  auto* runColumn = new QVBoxLayout;
  runColumn->addWidget(FGenerate);
  runColumn->addWidget(FBar);
  runColumn->addWidget(FProgressLabel);
  runColumn->addStretch();
  runRow->addLayout(runColumn, 1);
  auto* column = new QVBoxLayout(this);
  column->addLayout(runRow);
  column->addWidget(FSample, 0, Qt::AlignLeft);
  column->addWidget(FGrid, 1);
  column->addWidget(FErrorPanel);

  connect(FGenerate, &QPushButton::clicked, this, [this] { bbGenerateClick(true); });
  connect(FSample, &QPushButton::clicked, this, &TGenerationTab::sbSampleClick);
}

TOutputMode TGenerationTab::ExportFormat() const {
  return static_cast<TOutputMode>(std::max(0, FFormat->checkedId()));
}

void TGenerationTab::SetExportFormat(TOutputMode mode) { FFormat->button(mode)->setChecked(true); }

TTextEncoding TGenerationTab::Encoding() const {
  return static_cast<TTextEncoding>(FEncoding->currentData().toInt());
}

void TGenerationTab::SetEncoding(TTextEncoding encoding) {
  FEncoding->setCurrentIndex(std::max(0, FEncoding->findData(int{encoding})));
}

bool TGenerationTab::Transaction() const { return FTransaction->isChecked(); }

void TGenerationTab::SetTransaction(bool on) { FTransaction->setChecked(on); }

void TGenerationTab::SelectFormatForFile(const std::string& fileName) {
  SetExportFormat(FormatForFile(fileName));
}

void TGenerationTab::SetBusy(bool busy) {
  FBusy = busy;
  FGenerate->setEnabled(!busy);
  FSample->setEnabled(!busy);
  if (BusyChanged) BusyChanged(busy);
}

void TGenerationTab::bbGenerateClick(bool userStarted) {
  if (FBusy) return;
  const TBusy busy(*this);
  TRunOptions options;
  options.Mode = ExportFormat();
  options.Encoding = Encoding();
  options.Transaction = Transaction();
  options.UserStarted = userStarted;
  options.DictFolder = FDictFolder;
  TGenerationObserver observer(*this);
  try {
    // The run generates from a copy: the window's model stays editable, and nothing done in the
    // window while the run lets it work (deleting, clearing, opening) can change or free what
    // the run writes. The direct insert likewise gets a connection of its own, which the
    // connection commands and the reconnection of an opened model leave alone.
    const std::unique_ptr<TGenModel> running = CopyModel(*FState.Model);
    std::unique_ptr<TOdbcConnection> connection;
    // Column references of a file run read through the window's connection, at the start only.
    if (FState.Connection->Connected()) options.Connection = FState.Connection.get();
    if (options.Mode == omDatabase) {
      connection = std::make_unique<TOdbcConnection>(FState.Connection->ConnectionString());
      connection->SetFromFile(FState.Connection->FromFile());
      // Without an open window connection the run reports that there is none.
      if (FState.Connection->Connected()) connection->Open();
      options.Connection = connection.get();
    }
    const TRunResult result = RunGeneration(*running, options, observer);
    observer.Ended(result);
  } catch (const std::exception& e) {
    observer.Started();
    observer.Finished(reFailed);
    ReportError(this, e);
  }
}

void TGenerationTab::sbSampleClick() {
  if (FBusy) return;
  std::vector<std::vector<std::string>> grid;
  try {
    TDataAccess* connection = FState.Connection->Connected() ? FState.Connection.get() : nullptr;
    grid = SampleModel(*FState.Model, FDictFolder, connection);
  } catch (const std::exception& e) {
    ReportError(this, e);
    return;
  }
  ShowTitleGrid(FGrid, grid);
}

void TGenerationTab::Label74DblClick() { FErrorPanel->hide(); }

bool TGenerationTab::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FErrorTitle && event->type() == QEvent::MouseButtonDblClick) {
    Label74DblClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kelvast::ui
