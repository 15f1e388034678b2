#pragma once
// TGenerationTab, the Generation tab: sample preview, output format and the run. Its contents
// come with the run work; for now it is an empty page.

#include <QWidget>

namespace kelvast::ui {

class TGenerationTab : public QWidget {
 public:
  explicit TGenerationTab(QWidget* parent = nullptr);
};

}  // namespace kelvast::ui
