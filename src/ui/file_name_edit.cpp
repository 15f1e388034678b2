// SPDX-License-Identifier: MIT
#include "ui/file_name_edit.h"

#include <QAction>
#include <QStyle>

namespace kelvast::ui {

TFileNameEdit::TFileNameEdit(QWidget* parent) : QLineEdit(parent) {
  FRequest.Kind = TFileDialogRequest::Open;
  QAction* browse =
      addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
  // The text names the icon button for screen readers; the button shows the icon alone.
  browse->setText(QStringLiteral("Browse"));
  browse->setToolTip(QStringLiteral("Browse"));
  connect(browse, &QAction::triggered, this, &TFileNameEdit::Browse);
}

void TFileNameEdit::Browse() {
  TFileDialogRequest request = FRequest;
  request.FileName = text();
  const QString chosen = RunFileDialog(this, request);
  if (!chosen.isEmpty()) setText(chosen);
}

}  // namespace kelvast::ui
