// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/CancelPrompt.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/gui/InputBlock.h"

namespace rostrix {

CancelPrompt::CancelPrompt(QWidget* owner, const QString& text, int delayMs)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("CancelPrompt"));
    setWindowTitle(owner ? owner->windowTitle() : QString());
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    auto* button = new QPushButton(QStringLiteral("Cancel"), this);
    button->setObjectName(QStringLiteral("CancelButton"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(label);
    column->addWidget(button, 0, Qt::AlignHCenter);
    connect(button, &QPushButton::clicked, this, &CancelPrompt::reject);
    InputBlock::exempt(this);
    delay_.setSingleShot(true);
    connect(&delay_, &QTimer::timeout, this, [this] {
        show();
        raise();
        activateWindow();
    });
    delay_.start(delayMs);
}

CancelPrompt::~CancelPrompt() {
    InputBlock::exempt(nullptr);
}

void CancelPrompt::reject() {
    cancelled_ = true;
    hide();
}

}  // namespace rostrix
