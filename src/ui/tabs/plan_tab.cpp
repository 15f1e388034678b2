// SPDX-License-Identifier: MIT
#include "ui/tabs/plan_tab.h"

#include "core/files/model_file.h"
#include "core/files/plan_file.h"
#include "core/output/plan_run.h"
#include "ui/ansi_text.h"
#include "ui/file_dialogs.h"
#include "ui/model_dialogs.h"
#include "ui/file_name_edit.h"
#include "ui/message_box.h"
#include "ui/tabs/generation_tab.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelvast::ui {

namespace {

// The plan's run: each model shown and connected before it runs, its run shown by the
// Generation tab's controls.
class TPlanRunObserver : public TPlanObserver {
 public:
  TPlanRunObserver(TUiState& state, TGenerationTab& generation, const TPlanHooks& hooks,
                   QProgressBar* models, QLabel* curModel)
      : FState(state), FRun(generation), FHooks(hooks), FModels(models), FCurModel(curModel) {}

  TGenerationObserver& Run() { return FRun; }

  void ModelStarting(int index, int, const std::string& entry) override {
    FModels->setValue(index + 1);
    FCurModel->setText(FromAnsi(entry));
  }
  void ModelFinished(int, const std::string&, const TRunResult& result) override {
    FRun.Ended(result);
  }
  void ModelSkipped(int index, const std::string&, const std::string&) override {
    FModels->setValue(index + 1);
    FState.FCurrentItem = nullptr;
    FHooks.ShowModel();
  }
  // The step's model is the current one: its connection and table are reopened and it is
  // shown unmodified before it runs.
  TDataAccess* ApplyConnection(TGenModel&) override {
    FState.FCurrentItem = nullptr;
    FHooks.ReconnectModel();
    FState.Model->SetModified(false);
    FHooks.ShowModel();
    QApplication::processEvents();
    return FState.Connection.get();
  }

  bool ConfirmReplace(const std::string& caption, const std::string& text) override {
    return FRun.ConfirmReplace(caption, text);
  }
  void ShowMessage(const std::string& text) override { FRun.ShowMessage(text); }
  void Progress(int64_t record, int64_t total) override { FRun.Progress(record, total); }
  int64_t ProgressStep() const override { return FRun.ProgressStep(); }
  bool ConfirmRollback(const std::string& question, int errors) override {
    return FRun.ConfirmRollback(question, errors);
  }
  void DatabaseErrors(const std::string& memo) override { FRun.DatabaseErrors(memo); }
  void InsertProgress(int64_t statement, int64_t total) override {
    FRun.InsertProgress(statement, total);
  }

 private:
  TUiState& FState;
  TGenerationObserver FRun;
  const TPlanHooks& FHooks;
  QProgressBar* FModels;
  QLabel* FCurModel;
};

// An icon button: the theme's icon of that name, else the glyph when one is given, else the
// style's own icon; its hint as tooltip and as the name screen readers read.
QToolButton* SpeedButton(QWidget* parent, const char* name, const QString& hint,
                         const char* themeIcon, QStyle::StandardPixmap icon, const char* glyph) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setToolTip(hint);
  button->setAccessibleName(hint);
  if (QIcon::hasThemeIcon(QLatin1String(themeIcon)))
    button->setIcon(QIcon::fromTheme(QLatin1String(themeIcon)));
  else if (glyph)
    button->setText(QString::fromUtf8(glyph));
  else
    button->setIcon(parent->style()->standardIcon(icon));
  return button;
}

QProgressBar* PercentBar(QWidget* parent, const char* name) {
  auto* bar = new QProgressBar(parent);
  bar->setObjectName(QLatin1String(name));
  bar->setFormat(QStringLiteral("%p%"));
  bar->setRange(0, 1);
  bar->setValue(0);
  return bar;
}

}  // namespace

TPlanTab::TPlanTab(TUiState& state, TGenerationTab& generation, TPlanHooks hooks, QWidget* parent)
    : QWidget(parent), FState(state), FGeneration(generation), FHooks(std::move(hooks)) {
  setObjectName(QStringLiteral("TabSheet5"));

  FPlanFile = new TFileNameEdit(this);
  FPlanFile->setObjectName(QStringLiteral("jvFNPlan"));
  FPlanFile->SetFilter(QStringLiteral("Data generation plan (*.plan)|*.plan|All files (*.*)|*.*"));
  FPlanFile->SetDefaultExt(QStringLiteral("plan"));
  FPlanFile->SetMustExist(true);
  FList = new QListWidget(this);
  FList->setObjectName(QStringLiteral("lbPlan"));

  auto* buttons = new QHBoxLayout;
  const struct {
    const char* Name;
    const char* Hint;
    const char* ThemeIcon;
    QStyle::StandardPixmap Icon;
    const char* Glyph;
    void (TPlanTab::*Click)();
  } speedButtons[] = {
      {"sbSavePlan", "Save current plan", "document-save", QStyle::SP_DialogSaveButton, nullptr,
       &TPlanTab::sbSavePlanClick},
      {"sbaddtoplan", "Add a model to current plan", "list-add", QStyle::SP_CustomBase, "+",
       &TPlanTab::sbaddtoplanClick},
      {"sbdropfromplan", "Suppress model from plan", "list-remove", QStyle::SP_CustomBase,
       "\u2212", &TPlanTab::sbdropfromplanClick},
      {"sbplanmodelinfo", "Selected model information", "dialog-information",
       QStyle::SP_MessageBoxInformation, nullptr, &TPlanTab::sbplanmodelinfoClick},
      {"sbupplan", "Kick upstairs model", "go-up", QStyle::SP_ArrowUp, nullptr,
       &TPlanTab::sbupplanClick},
      {"sbdownplan", "Kick downstairs model", "go-down", QStyle::SP_ArrowDown, nullptr,
       &TPlanTab::sbdownplanClick},
      {"sbloadplanmodel", "Load selected model", "document-open", QStyle::SP_DialogOpenButton,
       nullptr, &TPlanTab::sbloadplanmodelClick},
  };
  QWidget* previous = FPlanFile;
  for (const auto& b : speedButtons) {
    QToolButton* button =
        SpeedButton(this, b.Name, QLatin1String(b.Hint), b.ThemeIcon, b.Icon, b.Glyph);
    connect(button, &QToolButton::clicked, this, b.Click);
    buttons->addWidget(button);
    setTabOrder(previous, button);
    previous = button;
  }
  buttons->addStretch();

  auto* execution = new QGroupBox(QStringLiteral("Plan execution"), this);
  FGo = new QPushButton(QStringLiteral("Execute plan"), execution);
  FGo->setObjectName(QStringLiteral("bbPlanGo"));
  FGo->setToolTip(QStringLiteral("Execute the current plan"));
  FCurModel = new QLabel(QStringLiteral("<none>"), execution);
  FCurModel->setObjectName(QStringLiteral("lcurmodel"));
  FCurModel->setTextFormat(Qt::PlainText);
  FModelsBar = PercentBar(execution, "planprog1");
  FFileBar = PercentBar(execution, "planprog2");
  auto* grid = new QGridLayout(execution);
  grid->addWidget(FGo, 0, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Current model"), execution), 1, 0);
  grid->addWidget(FCurModel, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Models"), execution), 2, 0);
  grid->addWidget(FModelsBar, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("File"), execution), 3, 0);
  grid->addWidget(FFileBar, 3, 1);

  auto* column = new QVBoxLayout(this);
  column->addWidget(FPlanFile);
  column->addLayout(buttons);
  column->addWidget(FList, 1);
  column->addWidget(execution);
  // The keyboard goes through the tab as it reads: the file, its buttons, the list, the run.
  setTabOrder(previous, FList);
  setTabOrder(FList, FGo);

  connect(FPlanFile, &QLineEdit::textChanged, this, &TPlanTab::jvFNPlanChange);
  connect(FList, &QListWidget::itemDoubleClicked, this, &TPlanTab::sbplanmodelinfoClick);
  connect(FGo, &QPushButton::clicked, this, &TPlanTab::bbPlanGoClick);
}

void TPlanTab::SetExecuteEnabled(bool on) { FGo->setEnabled(on); }

std::vector<std::string> TPlanTab::Entries() const {
  std::vector<std::string> entries;
  for (int i = 0; i < FList->count(); ++i) entries.push_back(ToAnsi(FList->item(i)->text()));
  return entries;
}

std::string TPlanTab::PlanFileName() const { return FileSystemName(FPlanFile->text()); }

void TPlanTab::jvFNPlanChange() {
  FCurModel->clear();
  for (QProgressBar* bar : {FModelsBar, FFileBar}) bar->setValue(bar->minimum());
  // A cleared field names no file to read.
  if (FPlanFile->text().isEmpty()) return;
  TPlanFileContent plan;
  try {
    plan = ReadPlanFile(PlanFileName());
  } catch (const std::exception& e) {
    ReportError(this, e);
    return;
  }
  if (plan.Status == TPlanFileContent::psEmpty) return;
  if (plan.Status == TPlanFileContent::psNotAPlan) {
    ShowMessage(this, FromAnsi(kNotAPlanMessage));
    return;
  }
  FList->clear();
  for (const std::string& entry : plan.Entries) FList->addItem(FromAnsi(entry));
}

void TPlanTab::sbSavePlanClick() {
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::Save;
  request.Title = QStringLiteral("Save plan");
  request.Filter = QStringLiteral("Data generation plan (*.plan)|*.plan|All (*.*)|*.*");
  request.DefaultExt = QStringLiteral("plan");
  request.Folder = *FHooks.SaveDir;
  const QString chosen = RunFileDialog(this, request);
  if (chosen.isEmpty()) return;
  *FHooks.SaveDir = FolderPart(chosen);
  try {
    WritePlanFile(FileSystemName(chosen), Entries());
  } catch (const std::exception& e) {
    ReportError(this, e);
    return;
  }
  if (FPlanFile->text() == chosen) jvFNPlanChange();
  else FPlanFile->setText(chosen);
}

void TPlanTab::sbaddtoplanClick() {
  const QString chosen = RunFileDialog(this, OpenModelRequest(*FHooks.ModelOpenDir));
  if (chosen.isEmpty()) return;
  *FHooks.ModelOpenDir = FolderPart(chosen);
  FList->addItem(QFileInfo(chosen).fileName());
}

void TPlanTab::sbdropfromplanClick() {
  const int row = FList->currentRow();
  if (row >= 0 && FList->currentItem()->isSelected()) delete FList->takeItem(row);
}

void TPlanTab::MoveSelected(int offset) {
  const int row = FList->currentRow();
  if (row < 0 || !FList->currentItem()->isSelected()) return;
  const int other = row + offset;
  if (other < 0 || other >= FList->count()) return;
  QListWidgetItem* item = FList->takeItem(row);
  FList->insertItem(other, item);
  FList->setCurrentRow(other);
}

void TPlanTab::sbupplanClick() { MoveSelected(-1); }
void TPlanTab::sbdownplanClick() { MoveSelected(1); }

void TPlanTab::sbplanmodelinfoClick() {
  QListWidgetItem* item = FList->currentItem();
  if (!item || !item->isSelected()) return;
  const std::string entry = ToAnsi(item->text());
  std::unique_ptr<TGenModel> model;
  try {
    model = LoadModelFile(PlanEntryPath(PlanFileName(), entry));
  } catch (const std::exception& e) {
    ReportError(this, e);
    return;
  }
  QString text = QStringLiteral("Model: %1\nDatabase: %2\nDescription: %3\nTable: %4\n")
                     .arg(QFileInfo(item->text()).fileName(), FromAnsi(model->Database()),
                          FromAnsi(model->Description()), FromAnsi(model->TableName()));
  if (!FromAnsi(model->SQLFile()).trimmed().isEmpty())
    text += QStringLiteral("Output: ") + FromAnsi(model->SQLFile());
  ShowMessage(this, text);
}

void TPlanTab::sbloadplanmodelClick() {
  QListWidgetItem* item = FList->currentItem();
  if (!item || !item->isSelected()) return;
  const std::string path = PlanEntryPath(PlanFileName(), ToAnsi(item->text()));
  if (!QFileInfo(FromFileSystemName(path)).isFile()) return;
  if (FState.Model->Modified() &&
      !AskYesNo(this, QStringLiteral("Clear current model ?"),
                QStringLiteral("Current model has been modified.\nYou will lose changes !\n"
                               "Continue ?")))
    return;
  FHooks.LoadModel(FromFileSystemName(path));
  FHooks.ShowGeneratorsTab();
}

void TPlanTab::bbPlanGoClick() {
  // One run at a time: a plan never starts while the Generation tab runs.
  if (FGeneration.Busy()) return;
  if (FState.Model->Modified() &&
      !AskYesNo(this, QStringLiteral("Erase current model ?"),
                QStringLiteral("Current model has been modified.\nLaunching a data generation "
                               "plan will erase current model.\nDo you want to erase current "
                               "model and launch plan now ?"),
                TMsgIcon::None))
    return;
  const TGenerationTab::TBusy busy(FGeneration);
  FHooks.SetTabsEnabled(false);
  const std::vector<std::string> entries = Entries();
  FModelsBar->setRange(1, std::max<int>(1, static_cast<int>(entries.size())));
  TRunOptions options;
  options.Mode = FGeneration.ExportFormat();
  options.Encoding = FGeneration.Encoding();
  options.Transaction = FGeneration.Transaction();
  options.DictFolder = FGeneration.DictFolder();
  options.Connection = FState.Connection.get();
  TPlanRunObserver observer(FState, FGeneration, FHooks, FModelsBar, FCurModel);
  // The plan replaces the current model; the shown generator belongs to the one it replaces.
  FState.FCurrentItem = nullptr;
  try {
    RunPlan(PlanFileName(), entries, options, observer, FState.Model);
  } catch (const std::exception& e) {
    observer.Run().Started();
    observer.Run().Finished(reFailed);
    FHooks.ShowModel();
    FHooks.SetTabsEnabled(true);
    FCurModel->setText(QStringLiteral("Done."));
    ReportError(this, e);
    return;
  }
  FHooks.ShowModel();
  FHooks.SetTabsEnabled(true);
  FCurModel->setText(QStringLiteral("Done."));
}

}  // namespace kelvast::ui
