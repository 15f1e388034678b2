#pragma once
// TConnectionTab, the Connection tab: connection commands and the schema browser. Its contents
// come with the connection work; for now it is an empty page.

#include <QWidget>

namespace kelvast::ui {

class TConnectionTab : public QWidget {
 public:
  explicit TConnectionTab(QWidget* parent = nullptr);
};

}  // namespace kelvast::ui
