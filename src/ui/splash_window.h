// SPDX-License-Identifier: MIT
#pragma once
// TFsplash: the borderless window shown while the program starts.

#include <QWidget>

class QLabel;

namespace kelvast::ui {

class TFsplash : public QWidget {
 public:
  explicit TFsplash(QWidget* parent = nullptr);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* FLoading;
};

}  // namespace kelvast::ui
