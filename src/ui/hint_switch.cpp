#include "ui/hint_switch.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPalette>
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

bool THintSwitch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return false;
  if (!FEnabled) return true;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->toolTip().isEmpty()) return false;
  // Shown here rather than by the widget so that the hint goes away on its own.
  const auto* help = static_cast<QHelpEvent*>(event);
  QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), kHintShowMs);
  return true;
}

}  // namespace kelvast::ui
