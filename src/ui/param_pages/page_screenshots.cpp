// SPDX-License-Identifier: MIT
#include "ui/param_pages/page_screenshots.h"

#include "core/generators/composite_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "ui/dialogs/charset_editor.h"
#include "ui/dialogs/list_editor.h"
#include "ui/param_pages/param_page_set.h"

#include <QDir>
#include <QPixmap>

namespace kelvast::ui {

namespace {

// Shown without a window on screen, so that layouts run and grab() paints the real sizes.
void ShowHidden(QWidget& widget) {
  widget.setAttribute(Qt::WA_DontShowOnScreen);
  widget.show();
}

bool Save(QWidget& widget, const QDir& dir, const QString& name) {
  return widget.grab().save(dir.filePath(name), "PNG");
}

}  // namespace

int RenderPageScreenshots(const QString& dir) {
  const QDir out(dir);
  int written = 0;

  TUiState state;
  state.Model = std::make_unique<TGenModel>();
  TParamPageSet pages(state);
  pages.resize(460, 300);
  ShowHidden(pages);
  for (int type = 0; type < kColTypeCount; ++type) {
    TColToGenItem& item = state.Model->Cols().Add();
    item.SetColName("Generator " + std::to_string(type + 1));
    item.SetColType(static_cast<TColType>(type));
    if (auto* combo = dynamic_cast<TCPCombo*>(&item.Param()))
      combo->SetColnames({"Generator 3", "Generator 4"});
    state.FCurrentItem = &item;
    pages.ShowParameters(type == ctnone ? nullptr : &item);
    const QString name = QStringLiteral("page_%1_%2.png")
                             .arg(type, 2, 10, QLatin1Char('0'))
                             .arg(pages.currentWidget()->objectName().replace(' ', '_'));
    written += Save(pages, out, name);
  }
  state.FCurrentItem = nullptr;

  TFcseditor charset;
  charset.SetWorkingSet(TCPString().Charset());
  ShowHidden(charset);
  written += Save(charset, out, QStringLiteral("dialog_charset_editor.png"));

  TFMemo list;
  list.SetLines(TCPLastName::DefaultPhonemes());
  ShowHidden(list);
  written += Save(list, out, QStringLiteral("dialog_list_editor.png"));
  return written;
}

}  // namespace kelvast::ui
