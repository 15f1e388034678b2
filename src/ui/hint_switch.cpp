// SPDX-License-Identifier: MIT
#include "ui/hint_switch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QPalette>
#include <QToolButton>
#include <QToolTip>
#include <QWidget>

namespace kelvast::ui {

namespace {
constexpr int kHintShowMs = 3000;
}

THintSwitch::THintSwitch(QObject* parent) : QObject(parent) {
  QPalette palette = QToolTip::palette();
  palette.setColor(QPalette::ToolTipBase, QColor(206, 206, 255));
  palette.setColor(QPalette::ToolTipText, Qt::black);
  QToolTip::setPalette(palette);
  qApp->installEventFilter(this);
}

THintSwitch::~THintSwitch() {
  if (qApp) qApp->removeEventFilter(this);
}

bool IsIconButton(const QWidget* widget) {
  const auto* button = qobject_cast<const QAbstractButton*>(widget);
  if (!button) return false;
  if (const auto* tool = qobject_cast<const QToolButton*>(button)) {
    if (tool->arrowType() != Qt::NoArrow) return true;
    if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly && !tool->icon().isNull()) return true;
  }
  return button->text().size() <= 1;
}

bool THintSwitch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  // An icon says less than words: its button's hint shows whatever the switch says.
  if (!FEnabled) return !IsIconButton(widget);
  if (!widget || widget->toolTip().isEmpty()) return false;
  // Shown here rather than by the widget so that the hint goes away on its own.
  const auto* help = static_cast<QHelpEvent*>(event);
  QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), kHintShowMs);
  return true;
}

}  // namespace kelvast::ui
