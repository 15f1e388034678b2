#include "ui/tabs/generation_tab.h"

namespace kelvast::ui {

TGenerationTab::TGenerationTab(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet3"));
}

}  // namespace kelvast::ui
