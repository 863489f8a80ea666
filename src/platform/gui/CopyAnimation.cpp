// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/CopyAnimation.h"

#include <QPainter>
#include <cmath>

namespace rostrix {

namespace {
constexpr int kFrames = 24;
constexpr int kFolderWidth = 44;
}  // namespace

CopyAnimation::CopyAnimation(QWidget* parent) : QWidget(parent) {
    timer_.setInterval(60);
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kFrames;
        update();
    });
}

void CopyAnimation::start() {
    timer_.start();
}

void CopyAnimation::stop() {
    timer_.stop();
    frame_ = 0;
    update();
}

void CopyAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    drawFolder(p, 16);
    drawFolder(p, width() - 16 - kFolderWidth);
    if (isRunning()) drawPage(p, static_cast<double>(frame_) / kFrames);
}

void CopyAnimation::drawFolder(QPainter& p, int x) const {
    const int y = height() - 34;
    p.setPen(QColor(120, 90, 20));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(x, y - 5, 16, 6);  // the tab
    p.drawRect(x, y, kFolderWidth, 28);
}

// A sheet on an arc from the left folder to the right one, along = 0 .. 1.
void CopyAnimation::drawPage(QPainter& p, double along) const {
    const double left = 16 + kFolderWidth / 2.0;
    const double right = width() - 16 - kFolderWidth / 2.0;
    const double x = left + (right - left) * along;
    const double y = height() - 30 - std::sin(along * M_PI) * (height() - 36);
    p.save();
    p.translate(x, y);
    p.rotate(-20 + 40 * along);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(-7, -9, 14, 18));
    for (int line = 0; line < 3; ++line)
        p.drawLine(QPointF(-4, -5 + line * 4), QPointF(4, -5 + line * 4));
    p.restore();
}

}  // namespace rostrix
