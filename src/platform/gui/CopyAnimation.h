// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

class QPainter;

namespace rostrix {

// Pages flying from one folder to another, the picture of a file being copied.
class CopyAnimation : public QWidget {
    Q_OBJECT
public:
    explicit CopyAnimation(QWidget* parent = nullptr);

    void start();
    void stop();
    bool isRunning() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawFolder(QPainter& p, int x) const;
    void drawPage(QPainter& p, double along) const;

    QTimer timer_;
    int frame_ = 0;
};

}  // namespace rostrix
