// SPDX-License-Identifier: MIT
// TFMain's model commands: saving the current model to a model file, and opening one, which
// also reopens the model's connection and reselects its target table.
#include "core/files/model_file.h"
#include "core/files/model_json.h"
#include "core/platform/file_io.h"
#include "ui/ansi_text.h"
#include "ui/current_model.h"
#include "ui/file_dialogs.h"
#include "ui/model_dialogs.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/tabs/connection_tab.h"
#include "ui/tabs/generation_tab.h"
#include "ui/tabs/plan_tab.h"
#include "ui/file_name_edit.h"

#include <QFileInfo>
#include <QTabWidget>

namespace kelvast::ui {

namespace {

std::filesystem::path FilePath(const QString& fileName) {
  return std::filesystem::path(FileSystemName(fileName));
}

}  // namespace

void TFMain::bbModelSaveClick() {
  TFileDialogRequest request = SaveModelRequest(FModelSaveDir);
  request.FileName = FModelFileName;
  const QString chosen = RunFileDialog(this, request);
  if (chosen.isEmpty()) return;
  try {
    SaveModelFile(FilePath(chosen), *FState.Model);
  } catch (const std::exception& e) {
    // The model keeps its state and the dialog its folder.
    ReportError(this, e);
    return;
  }
  FModelSaveDir = FolderPart(chosen);
  FState.Model->SetModified(false);
}

void TFMain::bbModelOpenClick() {
  const QString chosen = RunFileDialog(this, OpenModelRequest(FModelOpenDir));
  if (chosen.isEmpty()) return;
  FModelOpenDir = FolderPart(chosen);
  // A later Save proposes the opened file.
  FModelSaveDir = FModelOpenDir;
  FModelFileName = QFileInfo(chosen).fileName();
  LoadModel(chosen);
}

void TFMain::OpenFile(const QString& fileName) {
  const QFileInfo file(fileName);
  if (file.suffix().compare(QStringLiteral("plan"), Qt::CaseInsensitive) == 0) {
    FPlanTab->PlanFileField()->setText(file.absoluteFilePath());
    FPageControl->setCurrentWidget(FPlanTab);
    return;
  }
  FModelOpenDir = FolderPart(file.absoluteFilePath());
  FModelSaveDir = FModelOpenDir;
  FModelFileName = file.fileName();
  LoadModel(file.absoluteFilePath());
}

void TFMain::LoadModel(const QString& fileName) {
  std::unique_ptr<TGenModel> model;
  try {
    // A model's JSON form opens as the model it describes.
    if (QFileInfo(fileName).suffix().compare(QStringLiteral("json"), Qt::CaseInsensitive) == 0)
      model = ModelFromJson(ReadWholeFile(FilePath(fileName)));
    else
      model = LoadModelFile(FilePath(fileName));
  } catch (const std::exception&) {
    ShowMessage(this, QStringLiteral("Can't load this file!"));
    model = std::make_unique<TGenModel>();
  }
  ReplaceCurrentModel(FState, std::move(model));
  ReconnectModel(true);
  FState.Model->SetModified(false);
  ShowModel();
}

void TFMain::ReconnectModel(bool showErrors) {
  // Applying the connection selects a table of its own; the model's is put back and selected.
  const std::string table = FState.Model->TableName();
  try {
    FConnectionTab->ApplyConnectionString(FromAnsi(FState.Model->ConnectionString()),
                                          /*fromFile=*/true);
  } catch (const std::exception& e) {
    if (showErrors) ShowMessage(this, FromAnsi(e.what()), TMsgIcon::Error);
  }
  FState.Model->SetTableName(table);
  try {
    FConnectionTab->ShowTableFields(FromAnsi(table));
  } catch (const std::exception&) {
    // Without a connection the table list and the fields stay as they were.
  }
}

}  // namespace kelvast::ui
