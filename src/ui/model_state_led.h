// SPDX-License-Identifier: MIT
#pragma once
// The model-state light: green while the current model has no unsaved changes, red otherwise.

#include <QWidget>

namespace kelvast::ui {

class TModelStateLed : public QWidget {
 public:
  explicit TModelStateLed(QWidget* parent = nullptr);

  bool IsRed() const { return FRed; }
  void SetRed(bool red);

  QSize sizeHint() const override { return {16, 16}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool FRed = false;
};

}  // namespace kelvast::ui
