// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace rostrix {

// A title bar of our own along the top of a window of fixed size: its title (cut with "…"
// where it does not fit), a close button, a minimise button only where the window asks
// for one, and a grip that moves the window. It offers no maximise button: on a Wayland
// desktop that leaves title bars to the program, Qt's own title bar offers one on every
// window, and on a window of fixed size it does nothing.
class TitleStrip : public QWidget {
public:
    // minimise: whether the window asked for a minimise button.
    TitleStrip(QWidget* window, bool minimise);

    // The height it takes at the top of its window.
    int stripHeight() const { return height_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void layOut();
    void showTitle();

    QLabel* title_;
    QToolButton* close_;
    QToolButton* minimise_ = nullptr;
    int height_;
};

// Whether our windows of fixed size carry a title strip: only where Qt would draw their
// title bars itself (a Wayland desktop without server-side decorations). Off by default.
bool ownTitleBars();
// Tests switch it on and off.
void setOwnTitleBars(bool on);

// Decides once, for the main window just shown: when Qt draws its title bar, own title bars
// go on and the main window gets its strip at once, before the desktop has put it on the
// screen. Anywhere else nothing changes.
void chooseTitleBars(QWidget* shownMainWindow);

// With own title bars on, gives a window of fixed size its strip, once: the window turns
// frameless, grows by the strip's height and its contents move down by it. A shown window
// is shown again. Nothing happens to any other window or with own title bars off.
void fitTitleBar(QWidget* window);

}  // namespace rostrix
