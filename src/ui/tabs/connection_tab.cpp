#include "ui/tabs/connection_tab.h"

namespace kelvast::ui {

TConnectionTab::TConnectionTab(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet1"));
}

}  // namespace kelvast::ui
