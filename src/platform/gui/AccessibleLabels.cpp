// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/AccessibleLabels.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include "platform/gui/Clicks.h"
#include "platform/gui/ErrorBox.h"

namespace rostrix {

namespace {

const char* const kRoleProperty = "rostrixAccessibleRole";

// Paints a focus frame around the label's text, over the label, without taking clicks.
class FocusFrame : public QWidget {
public:
    explicit FocusFrame(QLabel* label) : QWidget(label), label_(label) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        const QRect text =
            style()->itemTextRect(label_->fontMetrics(), label_->contentsRect(),
                                  static_cast<int>(label_->alignment()), true, label_->text());
        option.rect = text.adjusted(-2, 0, 2, 0).intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }

private:
    QLabel* label_;
};

// Keys and focus of an activatable label.
class Activator : public QObject {
public:
    Activator(QLabel* label, std::function<void()> handler)
        : QObject(label),
          label_(label),
          frame_(new FocusFrame(label)),
          handler_(std::move(handler)) {}

    void activate() { guarded(handler_); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress: {
                auto* key = static_cast<QKeyEvent*>(event);
                const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
                const bool activates = key->key() == Qt::Key_Return ||
                                       key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
                if (!plain || !activates) return false;
                if (!key->isAutoRepeat()) activate();
                return true;
            }
            case QEvent::FocusIn: {
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                    reason == Qt::ShortcutFocusReason) {
                    frame_->setGeometry(label_->rect());
                    frame_->show();
                }
                return false;
            }
            case QEvent::FocusOut:
                frame_->hide();
                return false;
            default:
                return false;
        }
    }

private:
    QLabel* label_;
    FocusFrame* frame_;
    std::function<void()> handler_;
};

// A label as a link, a button or a status: the name is the text it shows now (unless
// it has a name of its own), and a link or button can be pressed.
class LabelAccessible : public QAccessibleWidget {
public:
    LabelAccessible(QLabel* label, QAccessible::Role role) : QAccessibleWidget(label, role) {}

    QString text(QAccessible::Text t) const override {
        const auto* label = static_cast<const QLabel*>(widget());
        if ((t == QAccessible::Name && label->accessibleName().isEmpty()) ||
            t == QAccessible::Value)
            return label->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (activator()) names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& name) override {
        if (name == pressAction()) {
            if (Activator* a = activator()) a->activate();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    Activator* activator() const {
        for (QObject* child : widget()->children())
            if (auto* a = dynamic_cast<Activator*>(child)) return a;
        return nullptr;
    }
};

QAccessibleInterface* labelInterface(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    if (!label) return nullptr;
    const QVariant role = label->property(kRoleProperty);
    if (!role.isValid()) return nullptr;
    return new LabelAccessible(label, static_cast<QAccessible::Role>(role.toInt()));
}

void useRole(QLabel* label, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(labelInterface);
        return true;
    }();
    (void)installed;
    label->setProperty(kRoleProperty, static_cast<int>(role));
    // An interface made before now (a screen reader told of the first text) would keep
    // the plain label's role: drop it so the next question gets the right one.
    QAccessibleInterface* known = QAccessible::queryAccessibleInterface(label);
    if (known && known->role() != role)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}

}  // namespace

void makeActivatable(QLabel* label, LabelActsAs role, std::function<void()> handler) {
    onClick(label, handler);
    label->setFocusPolicy(Qt::TabFocus);
    label->installEventFilter(new Activator(label, std::move(handler)));
    useRole(label, role == LabelActsAs::Link ? QAccessible::Link : QAccessible::Button);
}

void markAsStatus(QLabel* label) {
    useRole(label, QAccessible::StatusBar);
}

}  // namespace rostrix
