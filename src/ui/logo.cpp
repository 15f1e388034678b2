// SPDX-License-Identifier: MIT
#include "ui/logo.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace kelvast::ui {

namespace {
const QColor kInk(40, 60, 140);
const QColor kCell(185, 185, 255);
}  // namespace

QPixmap LogoPicture(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF frame(1, 1, size - 2, size - 2);
  QLinearGradient back(frame.topLeft(), frame.bottomRight());
  back.setColorAt(0, QColor(90, 120, 220));
  back.setColorAt(1, kInk);
  p.setPen(Qt::NoPen);
  p.setBrush(back);
  p.drawRoundedRect(frame, size / 6.0, size / 6.0);
  // A 4 x 4 grid of cells, some filled: the data being generated.
  const double cell = size / 6.0;
  const double gap = cell / 6;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      const bool filled = (r * 5 + c * 3) % 4 != 0;
      p.setBrush(filled ? QColor(Qt::white) : kCell);
      p.drawRoundedRect(
          QRectF(cell + c * cell + gap / 2, cell + r * cell + gap / 2, cell - gap, cell - gap), gap,
          gap);
    }
  }
  return pixmap;
}

QPixmap RowsPicture(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::white);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const int rows = 6;
  const double rowH = height / double(rows);
  for (int r = 0; r < rows; ++r) {
    const QRectF row(0, r * rowH, width, rowH);
    p.fillRect(row, r == 0 ? kInk : (r % 2 ? QColor(240, 240, 255) : QColor(Qt::white)));
    if (r == 0) continue;
    // Each row filled a little further than the one above.
    const double filled = width * (0.35 + 0.12 * r);
    p.fillRect(QRectF(4, row.top() + rowH / 3, std::min(filled, width - 8.0), rowH / 3), kCell);
  }
  return pixmap;
}

QIcon TabIcon(int index) {
  static constexpr QStyle::StandardPixmap kIcons[] = {
      QStyle::SP_DriveNetIcon, QStyle::SP_FileDialogDetailedView, QStyle::SP_MediaPlay,
      QStyle::SP_FileIcon,     QStyle::SP_FileDialogListView,     QStyle::SP_MessageBoxInformation};
  if (index < 0 || index >= 6) return {};
  return QApplication::style()->standardIcon(kIcons[index]);
}

}  // namespace kelvast::ui
