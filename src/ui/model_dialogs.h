// SPDX-License-Identifier: MIT
#pragma once
// The model file dialogs, shared by the Open and Save commands and by adding a model to a plan.

#include "ui/file_dialogs.h"

namespace kelvast::ui {

inline TFileDialogRequest ModelDialogRequest(TFileDialogRequest::TKind kind, const QString& title,
                                             const QString& folder) {
  TFileDialogRequest request;
  request.Kind = kind;
  request.Title = title;
  request.Filter = QStringLiteral("Models|*.model|All (*.*)|*.*");
  request.DefaultExt = QStringLiteral("model");
  request.Folder = folder;
  request.MustExist = true;  // Open: the file must exist; Save: replacing it is asked first
  return request;
}

// "Open a model": an existing model file, starting in folder.
inline TFileDialogRequest OpenModelRequest(const QString& folder) {
  return ModelDialogRequest(TFileDialogRequest::Open, QStringLiteral("Open a model"), folder);
}

// "Save model", starting in folder.
inline TFileDialogRequest SaveModelRequest(const QString& folder) {
  return ModelDialogRequest(TFileDialogRequest::Save, QStringLiteral("Save model"), folder);
}

}  // namespace kelvast::ui
