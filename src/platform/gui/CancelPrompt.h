// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QTimer>

namespace rostrix {

// A small window over owner with a text and a Cancel button for a long step that blocks
// every other window (InputBlock). It appears only once the step has taken delayMs, and
// is the one window that takes input meanwhile; Cancel, Esc or its close box ask the step
// to stop. Object names: "CancelPrompt" for the window, "CancelButton" for the button.
class CancelPrompt : public QDialog {
public:
    CancelPrompt(QWidget* owner, const QString& text, int delayMs = 3000);
    ~CancelPrompt() override;
    CancelPrompt(const CancelPrompt&) = delete;
    CancelPrompt& operator=(const CancelPrompt&) = delete;

    bool cancelled() const { return cancelled_; }

public slots:
    void reject() override;

private:
    QTimer delay_;
    bool cancelled_ = false;
};

}  // namespace rostrix
