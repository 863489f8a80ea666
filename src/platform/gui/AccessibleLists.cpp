// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/AccessibleLists.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace rostrix {

namespace {

const char* const kKeepsName = "rostrixKeepsAccessibleName";

class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return widget()->accessibleName();
        if (t == QAccessible::Value) return box()->currentText();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == showMenuAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* namedComboBox(const QString&, QObject* object) {
    auto* box = qobject_cast<QComboBox*>(object);
    if (!box || !box->property(kKeepsName).toBool()) return nullptr;
    return new NamedComboBox(box);
}

}  // namespace

void keepAccessibleName(QComboBox* box, const QString& name) {
    box->setAccessibleName(name);
    static const bool installed = [] {
        QAccessible::installFactory(namedComboBox);
        return true;
    }();
    (void)installed;
    box->setProperty(kKeepsName, true);
    // An interface made before now would keep speaking the chosen item.
    QAccessibleInterface* known = QAccessible::queryAccessibleInterface(box);
    if (known && !dynamic_cast<NamedComboBox*>(known))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}

}  // namespace rostrix
