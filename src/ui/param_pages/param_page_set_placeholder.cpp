// A stand-in for the parameter pages so that the window links while they are being built: the
// real pages (param_page_set.cpp) replace this file. It shows one empty page per generator type
// and follows the shown generator's type, nothing more.
#include "core/model/col_types.h"
#include "ui/param_pages/param_page_set.h"

#include <QLabel>

namespace kelvast::ui {

TParamPageSet::TParamPageSet(TUiState&, QWidget* parent) : QStackedWidget(parent), FImpl(nullptr) {
  setObjectName(QStringLiteral("ntbtype"));
  for (int t = 0; t < kColTypeCount; ++t) {
    auto* page = new QLabel(QString::fromLatin1(ColTypeNames[t].data(), ColTypeNames[t].size()));
    page->setAlignment(Qt::AlignCenter);
    addWidget(page);
  }
  setEnabled(false);
}

TParamPageSet::~TParamPageSet() = default;

void TParamPageSet::ShowParameters(TColToGenItem* item) {
  setCurrentIndex(item ? static_cast<int>(item->ColType()) : 0);
  setEnabled(item != nullptr);
}

}  // namespace kelvast::ui
