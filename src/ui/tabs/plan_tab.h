#pragma once
// TPlanTab, the Generation plan tab: the ordered list of saved models to run. Its contents
// come with the plan work; for now it is an empty page.

#include <QWidget>

namespace kelvast::ui {

class TPlanTab : public QWidget {
 public:
  explicit TPlanTab(QWidget* parent = nullptr);
};

}  // namespace kelvast::ui
