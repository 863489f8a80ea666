// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/TitleStrip.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>
#include <algorithm>

namespace rostrix {

namespace {

bool ownBars = false;
constexpr int kPadding = 6;

QToolButton* stripButton(QWidget* strip, const char* name, QStyle::StandardPixmap icon,
                         const QString& text) {
    auto* button = new QToolButton(strip);
    button->setObjectName(QLatin1String(name));
    button->setIcon(strip->style()->standardIcon(icon, nullptr, strip));
    button->setAutoRaise(true);
    // Out of the tab chain: the window's keys keep going to its own controls.
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(text);
    button->setAccessibleName(text);
    return button;
}

bool ofFixedSize(const QWidget* window) {
    // A message box takes the size of its text as it is shown, and keeps it.
    if (qobject_cast<const QMessageBox*>(window)) return true;
    const QLayout* layout = window->layout();
    if (layout && layout->sizeConstraint() == QLayout::SetFixedSize) return true;
    return window->minimumSize() == window->maximumSize();
}

// Moves the window's contents down by the strip's height: a laid-out window through its
// top margin, one whose controls sit at fixed places by moving each of them.
void makeRoom(QWidget* window, const TitleStrip* strip) {
    const int height = strip->stripHeight();
    if (window->layout()) {
        QMargins margins = window->contentsMargins();
        margins.setTop(margins.top() + height);
        window->setContentsMargins(margins);
    } else {
        for (QObject* child : window->children()) {
            auto* control = qobject_cast<QWidget*>(child);
            if (control && control != strip && !control->isWindow())
                control->move(control->pos() + QPoint(0, height));
        }
    }
    // A layout of fixed size takes the margin in by itself.
    const bool laidOutFixed =
        window->layout() && window->layout()->sizeConstraint() == QLayout::SetFixedSize;
    if (!laidOutFixed && window->minimumSize() == window->maximumSize())
        window->setFixedSize(window->width(), window->height() + height);
}

}  // namespace

TitleStrip::TitleStrip(QWidget* window, bool minimise) : QWidget(window), title_(new QLabel(this)) {
    setObjectName(QStringLiteral("TitleStrip"));
    // The desktop's own font, not a window's smaller one.
    setFont(QGuiApplication::font());
    QFont bold = font();
    bold.setBold(true);
    title_->setObjectName(QStringLiteral("TitleStripTitle"));
    title_->setFont(bold);
    title_->setTextFormat(Qt::PlainText);
    if (minimise) {
        minimise_ = stripButton(this, "TitleStripMinimise", QStyle::SP_TitleBarMinButton,
                                QStringLiteral("Minimise"));
        connect(minimise_, &QToolButton::clicked, window, &QWidget::showMinimized);
    }
    close_ = stripButton(this, "TitleStripClose", QStyle::SP_TitleBarCloseButton,
                         QStringLiteral("Close"));
    // Exactly what the desktop's close does, so the window's closing questions still run.
    connect(close_, &QToolButton::clicked, window, &QWidget::close);
    connect(window, &QWidget::windowTitleChanged, this, [this] { showTitle(); });
    height_ = std::max(QFontMetrics(bold).height() + 2 * kPadding, close_->sizeHint().height());
    // The strip spans the window whatever width it takes.
    window->installEventFilter(this);
    setGeometry(0, 0, window->width(), height_);
    layOut();
}

void TitleStrip::layOut() {
    int x = width();
    for (QToolButton* button : {close_, minimise_}) {
        if (!button) continue;
        const QSize size = button->sizeHint();
        x -= size.width() + (button == close_ ? 2 : 0);
        button->setGeometry(x, (height_ - size.height()) / 2, size.width(), size.height());
    }
    title_->setGeometry(kPadding, 0, std::max(0, x - 2 * kPadding), height_);
    showTitle();
}

void TitleStrip::showTitle() {
    const QString title = window()->windowTitle();
    title_->setText(title_->fontMetrics().elidedText(title, Qt::ElideRight, title_->width()));
    // A screen reader hears the whole title, cut or not.
    title_->setAccessibleName(title);
}

bool TitleStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() && event->type() == QEvent::Resize) resize(window()->width(), height_);
    return false;
}

void TitleStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void TitleStrip::mousePressEvent(QMouseEvent* event) {
    // Dragging the strip moves the window, as a title bar does; the desktop does the moving.
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
    event->accept();
}

void TitleStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window).darker(112));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, height() - 1, width(), height() - 1);
}

void TitleStrip::changeEvent(QEvent* event) {
    // The title dims while another window is the active one, as title bars do.
    if (event->type() == QEvent::ActivationChange) {
        QPalette p = title_->palette();
        p.setColor(QPalette::WindowText,
                   palette().color(isActiveWindow() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::WindowText));
        title_->setPalette(p);
    }
    QWidget::changeEvent(event);
}

bool ownTitleBars() {
    return ownBars;
}

void setOwnTitleBars(bool on) {
    ownBars = on;
}

void chooseTitleBars(QWidget* shownMainWindow) {
    const QWindow* handle = shownMainWindow->windowHandle();
    // Qt knows whether it draws the title bar as soon as the window is shown: only then has
    // the window a frame of its own making. A desktop that draws title bars itself leaves
    // that frame empty, and so do X11 and the offscreen platform.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || !handle ||
        handle->frameMargins().top() <= 0)
        return;
    setOwnTitleBars(true);
    fitTitleBar(shownMainWindow);
}

void fitTitleBar(QWidget* window) {
    if (!ownBars || !window || !window->isWindow() || !ofFixedSize(window) ||
        window->findChild<TitleStrip*>(QStringLiteral("TitleStrip"), Qt::FindDirectChildrenOnly))
        return;
    const bool shown = window->isVisible();
    QWindow* const parent =
        window->windowHandle() ? window->windowHandle()->transientParent() : nullptr;
    // A new set of flags hides the window and may give it a new platform window. Qt keeps
    // the frame of a window that asks for anything in it: the strip takes that over.
    const Qt::WindowFlags titleBar = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                     Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                     Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint |
                                     Qt::WindowContextHelpButtonHint | Qt::WindowShadeButtonHint;
    const bool minimise = window->windowFlags() & Qt::WindowMinimizeButtonHint;
    window->setWindowFlags((window->windowFlags() & ~titleBar) | Qt::FramelessWindowHint);
    auto* strip = new TitleStrip(window, minimise);
    makeRoom(window, strip);
    strip->raise();
    if (parent) {
        window->winId();
        window->windowHandle()->setTransientParent(parent);
    }
    strip->show();
    if (shown) window->show();
}

}  // namespace rostrix
