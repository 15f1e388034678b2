#include "ui/tabs/plan_tab.h"

namespace kelvast::ui {

TPlanTab::TPlanTab(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet5"));
}

}  // namespace kelvast::ui
