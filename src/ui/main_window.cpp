// SPDX-License-Identifier: MIT
#include "ui/main_window.h"

#include "core/generators/word_lists.h"
#include "core/model/gen_model.h"
#include "core/platform/random.h"
#include "ui/current_model.h"
#include "ui/file_dialogs.h"
#include "ui/file_name_edit.h"
#include "ui/hint_switch.h"
#include "ui/logo.h"
#include "ui/message_box.h"
#include "ui/mnemonics.h"
#include "ui/model_state_led.h"
#include "ui/param_pages/param_page_set.h"
#include "ui/splash_window.h"
#include "ui/tabs/about_tab.h"
#include "ui/tabs/connection_tab.h"
#include "ui/tabs/generation_tab.h"
#include "ui/tabs/generator_box.h"
#include "ui/tabs/generators_tab.h"
#include "ui/tabs/model_info_box.h"
#include "ui/tabs/plan_tab.h"
#include "ui/tabs/text_editor_tab.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace kelvast::ui {

namespace {

constexpr int kClientWidth = 716;
constexpr int kClientHeight = 530;
constexpr int kPanelHeight = 35;
constexpr int kGeneratorsTab = 1;

QPushButton* PanelButton(QWidget* parent, const char* name, const QString& caption,
                         const QString& hint, QStyle::StandardPixmap icon) {
  auto* button = new QPushButton(parent->style()->standardIcon(icon), caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setToolTip(hint);
  return button;
}

}  // namespace

TFMain::TFMain(const TAppPaths& paths, QWidget* parent)
    : QMainWindow(parent), FPaths(paths), FSettings(paths.SettingsFile) {
  setObjectName(QStringLiteral("FMain"));
  setWindowTitle(AppTitle());
  FHints = new THintSwitch(this);

  // The model exists before the tabs, which read it from the start.
  ReplaceCurrentModel(FState, std::make_unique<TGenModel>());

  auto* central = new QWidget(this);
  FPageControl = new QTabWidget(central);
  FPageControl->setObjectName(QStringLiteral("PageControl1"));
  TConnectionHooks connectionHooks;
  connectionHooks.RefreshGeneratorList = [this] { FGeneratorsTab->RefreshGeneratorList(); };
  connectionHooks.OpenDir = &FConnectionOpenDir;
  connectionHooks.SaveDir = &FConnectionSaveDir;
  connectionHooks.OpenPlan = [this](const QString& planFile) {
    FPlanTab->PlanFileField()->setText(planFile);
    FPageControl->setCurrentWidget(FPlanTab);
  };
  FConnectionTab = new TConnectionTab(FState, connectionHooks);
  FGeneratorsTab = new TGeneratorsTab(FState);
  // The fields of the table shown on the Connection tab are the generators' target fields.
  FConnectionTab->TargetFieldsShown = [this](const std::vector<TTargetField>& fields) {
    FGeneratorsTab->GeneratorBox()->SetTargetFields(fields);
  };
  FGenerationTab = new TGenerationTab(FState);
  FTextEditorTab = new TTextEditorTab;
  FPlanTab = new TPlanTab(FState, *FGenerationTab, PlanHooks());
  FGenerationTab->SetPlanRecordBar(FPlanTab->RecordBar());
  FGenerationTab->BusyChanged = [this](bool busy) { FPlanTab->SetExecuteEnabled(!busy); };
  FAboutTab = new TAboutTab;
  const std::pair<QWidget*, QString> tabs[] = {{FConnectionTab, QStringLiteral("Connection")},
                                               {FGeneratorsTab, QStringLiteral("Generators")},
                                               {FGenerationTab, QStringLiteral("Generation")},
                                               {FTextEditorTab, QStringLiteral("Text file editor")},
                                               {FPlanTab, QStringLiteral("Generation plan")},
                                               {FAboutTab, QStringLiteral("About...")}};
  for (const auto& [page, caption] : tabs)
    FPageControl->addTab(page, TabIcon(FPageControl->count()), caption);

  auto* panel = new QWidget(central);
  panel->setObjectName(QStringLiteral("Panel1"));
  BuildBottomPanel(panel);
  // The designed height, or more for a larger desktop font.
  panel->setMinimumHeight(std::max(kPanelHeight, panel->minimumSizeHint().height()));

  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(4, 4, 4, 0);
  column->setSpacing(2);
  column->addWidget(FPageControl, 1);
  column->addWidget(panel);
  setCentralWidget(central);

  // The designed size, or more when the tabs' controls need it.
  setMinimumSize(minimumSizeHint().expandedTo(QSize(kClientWidth, kClientHeight)));
  resize(minimumSize());

  FormCreate();
  AddShortcuts();
  AssignWindowMnemonics(panel);

  connect(FPageControl, &QTabWidget::currentChanged, this, &TFMain::PageControl1Change);
  connect(FHint, &QCheckBox::toggled, this, [this](bool on) { FHints->SetEnabled(on); });
  connect(FAboutTab->FrenchHelpBox(), &QCheckBox::toggled, this, &TFMain::SetFrenchHelp);
  connect(FModelOpen, &QPushButton::clicked, this, &TFMain::bbModelOpenClick);
  connect(FModelSave, &QPushButton::clicked, this, &TFMain::bbModelSaveClick);
  connect(FHelp, &QPushButton::clicked, this, &TFMain::bbHelpClick);
  connect(FExit, &QPushButton::clicked, this, &TFMain::close);
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &TFMain::AppIdle);
}

// ---- Generation plan: what the plan tab needs from the window ----
TPlanHooks TFMain::PlanHooks() {
  TPlanHooks hooks;
  hooks.SetTabsEnabled = [this](bool on) { FPageControl->setEnabled(on); };
  hooks.ShowModel = [this] { ShowModel(); };
  hooks.LoadModel = [this](const QString& fileName) {
    // A later Save proposes the loaded file.
    FModelSaveDir = FolderPart(fileName);
    FModelFileName = QFileInfo(fileName).fileName();
    LoadModel(fileName);
  };
  // A plan step goes on whatever the connection's fate.
  hooks.ReconnectModel = [this] { ReconnectModel(false); };
  hooks.ShowGeneratorsTab = [this] { ShowTabByProgram(kGeneratorsTab); };
  hooks.SaveDir = &FPlanSaveDir;
  hooks.ModelOpenDir = &FModelOpenDir;
  return hooks;
}

void TFMain::ShowModel() {
  FGeneratorsTab->GeneratorBox()->ShowGenerator(nullptr);
  FGeneratorsTab->ShowModel();
}

void TFMain::BuildBottomPanel(QWidget* panel) {
  FModelOpen = PanelButton(panel, "bbModelOpen", QStringLiteral("&Open"),
                           QStringLiteral("Open a generation model"), QStyle::SP_DialogOpenButton);
  FModelSave = PanelButton(panel, "bbModelSave", QStringLiteral("&Save"),
                           QStringLiteral("Save current model"), QStyle::SP_DialogSaveButton);
  FModelOpen->hide();
  FModelSave->hide();

  const QString stateHint = QStringLiteral("Model state. Red light when modified else green");
  FLed = new TModelStateLed(panel);
  FLed->setObjectName(QStringLiteral("LedModelState"));
  FLed->setToolTip(stateHint);
  auto* stateLabel = new QLabel(QStringLiteral("Model state"), panel);
  stateLabel->setToolTip(stateHint);

  FHint = new QCheckBox(QStringLiteral("Show hint"), panel);
  FHint->setObjectName(QStringLiteral("cbHint"));
  FHelp =
      PanelButton(panel, "bbHelp", QStringLiteral("&Help"), QString(), QStyle::SP_DialogHelpButton);
  FExit = PanelButton(panel, "BitBtn1", QStringLiteral("E&xit"), QStringLiteral("Exit application"),
                      QStyle::SP_DialogCloseButton);

  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 2, 0, 4);
  row->addWidget(FModelOpen);
  row->addWidget(FModelSave);
  row->addStretch();
  row->addWidget(FLed);
  row->addWidget(stateLabel);
  row->addSpacing(16);
  row->addWidget(FHint);
  row->addSpacing(16);
  row->addWidget(FHelp);
  row->addWidget(FExit);
}

void TFMain::AddShortcuts() {
  // Window-wide, whatever tab is shown; nothing while a plan runs, when the tabs are disabled.
  const auto add = [this](const QKeySequence& keys, const char* name, void (TFMain::*action)()) {
    auto* shortcut = new QAction(this);
    shortcut->setObjectName(QLatin1String(name));
    shortcut->setShortcut(keys);
    connect(shortcut, &QAction::triggered, this, [this, action] {
      if (FPageControl->isEnabled()) (this->*action)();
    });
    addAction(shortcut);
  };
  add(QKeySequence::Open, "acModelOpen", &TFMain::bbModelOpenClick);
  add(QKeySequence::Save, "acModelSave", &TFMain::bbModelSaveClick);
  add(QKeySequence(Qt::Key_F9), "acGenerate", &TFMain::GenerateShortcut);
}

void TFMain::GenerateShortcut() { FGenerationTab->bbGenerateClick(true); }

void TFMain::AssignWindowMnemonics(QWidget* panel) {
  // The bottom panel shows with every tab; each tab's controls, and each parameter page's, take
  // letters the panel and their tab leave free. The Generators tab holds more captions than the
  // alphabet has letters: its model information takes its letters last, from those that no page
  // uses, and a caption left without one is still reached by Tab.
  QString panelLetters;
  AssignMnemonics(panel, panelLetters);
  for (int i = 0; i < FPageControl->count(); ++i) {
    QWidget* tab = FPageControl->widget(i);
    QString taken = panelLetters;
    QList<QWidget*> pages;
    auto* pageSet = tab->findChild<TParamPageSet*>();
    if (pageSet) pages = pageSet->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    auto* modelInfo = tab->findChild<QWidget*>(QStringLiteral("gbModelInfo"));
    QList<QWidget*> later;
    if (modelInfo) later.append(modelInfo);
    AssignMnemonics(tab, taken, later, pages);
    if (!modelInfo) continue;
    if (pageSet) taken += MnemonicsUnder(pageSet);
    AssignMnemonics(modelInfo, taken);
  }
}

void TFMain::FormCreate() {
  FPageControl->setCurrentIndex(0);
  // The lists start empty; each run and sample loads them and empties them again.
  ClearWordLists();
  Randomize();
  FConnectionSaveDir = FPaths.AppDir;
  FConnectionOpenDir = FPaths.AppDir;
  FGeneratorsTab->GeneratorBox()->ShowGenerator(nullptr);
  FState.Model->SetModified(false);
}

TFMain::~TFMain() {
  if (!FStateSaved) SaveState();
  disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
  // The tabs go first, while the model they show still exists.
  delete takeCentralWidget();
  FState.FCurrentItem = nullptr;
  FState.Model.reset();
  FState.Connection.reset();
  ClearWordLists();
}

void TFMain::setVisible(bool visible) {
  const bool first = visible && !FShownOnce;
  if (first) {
    FShownOnce = true;
    RestoreState();
  }
  QMainWindow::setVisible(visible);
  if (first && FSplash) {
    FSplash->close();
    FSplash->deleteLater();
    FSplash = nullptr;
  }
}

void TFMain::ShowTabByProgram(int index) {
  const QSignalBlocker quiet(FPageControl);
  FPageControl->setCurrentIndex(index);
}

void TFMain::PageControl1Change(int index) {
  FGeneratorsTab->ModelInfo()->LoadFromModel();
  FModelSave->setVisible(index == kGeneratorsTab);
  FModelOpen->setVisible(index == kGeneratorsTab);
  FGenerationTab->SelectFormatForFile(FState.Model->SQLFile());
}

void TFMain::AppIdle() {
  if (FState.Model) FLed->SetRed(FState.Model->Modified());
}

bool TFMain::FormCloseQuery() {
  // Only generator changes are worth the question; edits of the model information alone are not.
  if (!FState.Model->Cols().Modified()) return true;
  return AskYesNo(nullptr, QStringLiteral("Exit application ?"),
                  QStringLiteral("Model has been modified.\r\nYou will lose changes !\r\n"
                                 "Quit application anymore ?"),
                  TMsgIcon::Warning);
}

void TFMain::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  SaveState();
  event->accept();
}

bool TFMain::IsFrenchHelp() const {
  const QString def =
      PlainCaption(FHelp->text()) == u"Help" ? QStringLiteral("0") : QStringLiteral("1");
  return FSettings.ReadString(QStringLiteral("FrenchHelp"), def) != u"0";
}

void TFMain::SetFrenchHelp(bool french) {
  FSettings.WriteString(QStringLiteral("FrenchHelp"),
                        french ? QStringLiteral("1") : QStringLiteral("0"));
}

namespace {

// The index page of the user guide, or nothing when the guide is absent.
QString UserGuide(const QString& appDir) {
  // Beside the program in a build folder; under an installation prefix (bin/ and
  // share/doc/kelvast/help) wherever that prefix is.
  for (const QString& folder : {QStringLiteral("help"), QStringLiteral("../share/doc/kelvast/help")}) {
    const QString index = QDir(appDir).filePath(folder + QStringLiteral("/index.html"));
    if (QFileInfo(index).isFile()) return QDir::cleanPath(index);
  }
  return {};
}

}  // namespace

void TFMain::bbHelpClick() {
  // The e-book of the chosen language when it is there, else the guide shipped with the program.
  QString path =
      QDir(FPaths.AppDir)
          .filePath(QStringLiteral("Help/Kelvast_Help_%1.html")
                        .arg(IsFrenchHelp() ? QStringLiteral("FR") : QStringLiteral("US")));
  if (!QFileInfo(path).isFile()) path = UserGuide(FPaths.AppDir);
  if (!path.isEmpty()) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return;
  }
  ShowMessage(this, QStringLiteral("Kelvast e-book help file is missing !"));
}

}  // namespace kelvast::ui
