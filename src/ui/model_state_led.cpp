// SPDX-License-Identifier: MIT
#include "ui/model_state_led.h"

#include <QPainter>
#include <QRadialGradient>

namespace kelvast::ui {

TModelStateLed::TModelStateLed(QWidget* parent) : QWidget(parent) { setFixedSize(sizeHint()); }

void TModelStateLed::SetRed(bool red) {
  if (FRed == red) return;
  FRed = red;
  update();
}

void TModelStateLed::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor lit = FRed ? QColor(230, 30, 30) : QColor(30, 200, 60);
  const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
  QRadialGradient glow(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() / 1.5);
  glow.setColorAt(0, lit.lighter(170));
  glow.setColorAt(1, lit.darker(120));
  painter.setBrush(glow);
  painter.setPen(QPen(lit.darker(200), 1));
  painter.drawEllipse(r);
}

}  // namespace kelvast::ui
